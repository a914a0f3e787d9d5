// Address book sources of the import program, through the stand-in
// libraries: the book is a vCard file, the user picks in the library's
// own dialog, and the counters, messages and hand-off follow.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include "callconv.h"  // built for Windows too, run under wine with the stand-ins loaded
#endif

#include "program_fixture.h"
#include "rcpimport_ids.h"

namespace {

using automation::Script;
constexpr int kPickerDialog = 100;
constexpr int kBookList = 1001;
constexpr int kAddToWell = 1002;
const std::u16string kNothing = u"Mit\u00e4\u00e4n tietoja ei tuoda.";

std::string Person(const std::string& uid, const std::string& name, const std::string& tels) {
    return "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:" + uid + "\r\nFN:" + name + "\r\n" + tels + "END:VCARD\r\n";
}
std::string List(const std::string& uid, const std::string& name, const std::vector<std::string>& members) {
    std::string s = "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nUID:" + uid + "\r\nFN:" + name + "\r\n";
    for (const std::string& m : members) s += "MEMBER:urn:uuid:" + m + "\r\n";
    return s + "END:VCARD\r\n";
}

class AddressBookTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(WAB_LIBRARY), sizeof WAB_LIBRARY);
        RegCloseKey(key);
        WriteProfileStringA("Mail", "MAPIX", "1");
        log_ = dir_ + "/standin.log";
        std::remove(log_.c_str());
        setenv("FAX_ADDRESS_BOOK_LOG", log_.c_str(), 1);
        unsetenv("FAX_ADDRESS_BOOK_FAIL");
#if defined(_WIN32)
        // The scripted user sees a library's dialogs when the library was
        // loaded before the script started: load both now, hold them while
        // the test runs and read their counts from them.
        mapi_ = LoadLibraryA(MAPI_COPY);
        wab_ = LoadLibraryA(WAB_LIBRARY);
        ASSERT_TRUE(mapi_ && wab_);
#endif
    }
    void TearDown() override {
        unsetenv("FAX_ADDRESS_BOOK_FAIL");
        unsetenv("FAX_ADDRESS_BOOK");
#if defined(_WIN32)
        if (mapi_) FreeLibrary(mapi_);
        if (wab_) FreeLibrary(wab_);
#endif
        ProgramTest::TearDown();
    }

    // Data type: 0 the messaging book, 1 the address book (default or a file).
    static Script Choose(int type, bool defaultBook) {
        Script s;
        s.dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, type);
        if (type == 1) s.check(IDC_TYPE_DEFAULT_WAB, defaultBook);
        return s.click(IDOK);
    }
    static void Pick(Script& s, const std::vector<std::u16string>& names) {
        s.dialog(kPickerDialog);
        for (const std::u16string& n : names) s.select(kBookList, n).click(kAddToWell);
        s.click(IDOK);
    }
    // found, rejected, confirmed as the confirmation shows them; then OK.
    static void Confirm(Script& s, int found, int rejected, int confirmed, const char* note = "") {
        s.dialog(IDD_CONFIRM).call([=](HWND dlg) {
            EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, IDC_CONFIRM_FOUND, nullptr, TRUE)), found);
            EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, IDC_CONFIRM_REJECTED, nullptr, TRUE)), rejected);
            EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, IDC_CONFIRM_CONFIRMED, nullptr, TRUE)), confirmed);
            char text[128] = {};
            GetDlgItemTextA(dlg, IDC_CONFIRM_NOTE, text, sizeof text);
            EXPECT_STREQ(text, note);
        }).click(IDOK);
    }
    std::vector<std::string> Imported() {
        std::vector<FaxRecipient> got;
        ReadBack(kImportDoneNames, got);
        std::vector<std::string> out;
        for (const FaxRecipient& r : got) out.push_back(std::string(r.name) + " <" + r.faxNumber + ">");
        return out;
    }
    // The stand-in's own account of its memory and objects when it was unloaded.
    void ExpectNothingLeaked() {
#if defined(_WIN32)
        for (HMODULE lib : {mapi_, wab_}) {
            typedef void(FAXAPI * CountsFn)(ULONG*);
            auto counts = reinterpret_cast<CountsFn>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "StandinCounts")));
            ASSERT_TRUE(counts);
            ULONG c[6] = {};
            counts(c);
            EXPECT_EQ(c[2], 0u) << "live blocks";
            EXPECT_EQ(c[3] + c[4], 0u) << "wrong or unknown frees";
            EXPECT_EQ(c[5], 0u) << "live objects";
        }
#else
        std::ifstream in(log_);
        std::string line;
        int lines = 0;
        while (std::getline(in, line)) {
            ++lines;
            unsigned long a, f, live, wrong, unknown, objects;
            ASSERT_EQ(std::sscanf(line.c_str(), "allocations %lu frees %lu live %lu wrong %lu unknown %lu objects %lu",
                                  &a, &f, &live, &wrong, &unknown, &objects), 6) << line;
            EXPECT_EQ(live, 0u) << line;
            EXPECT_EQ(wrong + unknown, 0u) << line;
            EXPECT_EQ(objects, 0u) << line;
        }
        // The book library probed for the data type list, then the one imported from.
        EXPECT_EQ(lines, 2) << "a library was never unloaded";
#endif
    }
    std::string log_;
    HMODULE mapi_ = nullptr;
    HMODULE wab_ = nullptr;
};

const std::string kBook =
    Person("p1", "Liisa M\xC3\xA4kinen", "TEL;TYPE=fax,work:09 123 4568\r\nTEL;TYPE=fax,home:091234568\r\n") +
    Person("p2", "Pekka Virtanen", "TEL;TYPE=fax:09 555 0101\r\n") +
    Person("p3", "Ilman Faksia", "TEL;TYPE=cell:040 1\r\n") +
    Person("p4", "Kuusi Kolme Kaksi Yksi Nollaa Viisi", "TEL;TYPE=fax:09 777\r\n") +
    List("l1", "Myynti", {"p1", "p2", "l2"}) + List("l2", "Tuki", {"l1", "p3"}) +
    "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:location\r\nFN:Neuvotteluhuone\r\nTEL;TYPE=fax:09 9\r\nEND:VCARD\r\n";

TEST_F(AddressBookTest, ChosenFilePeopleAndListsThatContainEachOther) {
    std::string book = Write("kontaktit.vcf", kBook);
    Script s = Choose(1, false);
    s.file(book);
    Pick(s, {u"Liisa M\u00e4kinen", u"Myynti (jakelulista)", u"Neuvotteluhuone",
             u"Kuusi Kolme Kaksi Yksi Nollaa Viisi"});
    // Liisa twice (picked and through Myynti), Pekka, Ilman Faksia through
    // Tuki, the place and the long name: each list expanded once.
    Confirm(s, 6, 3, 3);
    automation::Play(s);
    Run();
    EXPECT_TRUE(MessageTexts().empty());
    // Equal numbers after cleaning give one recipient; the name is cut to
    // 30 bytes before blanks are trimmed.
    EXPECT_EQ(Imported(), (std::vector<std::string>{"Liisa M\xE4kinen <091234568>", "Pekka Virtanen <095550101>",
                                                    "Kuusi Kolme Kaksi Yksi Nollaa <09777>"}));
    ExpectNothingLeaked();
}

TEST_F(AddressBookTest, SixtyPeopleIntoTheRecipientListStopAtFifty) {
    std::string text;
    std::vector<std::string> all;
    for (int i = 0; i < 60; ++i) {
        std::string uid = "m" + std::to_string(i);
        text += Person(uid, "Henkil\xC3\xB6 " + std::to_string(100 + i), "TEL;TYPE=fax:09 " + std::to_string(1000 + i) + "\r\n");
        all.push_back(uid);
    }
    text += List("kaikki", "Kaikki", all);
    setenv("FAX_ADDRESS_BOOK", Write("oletus.vcf", text).c_str(), 1);
    // The recipient list in front: a window with the list's control.
    HWND caller = CreateWindowExW(0, WIDE("STATIC"), WIDE("Vastaanottajat"), WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, WIDE("LISTBOX"), WIDE(""), WS_CHILD | WS_VISIBLE, 0, 0, 100, 50, caller,
                    reinterpret_cast<HMENU>(1008), nullptr, nullptr);
    SetForegroundWindow(caller);
    Script s = Choose(1, true);
    Pick(s, {u"Kaikki (jakelulista)"});
    Confirm(s, 60, 0, 60, "*Vain 50 ensimm\xE4ist\xE4 vastaanottajaa tuodaan.");
    automation::Play(s);
    Run();
    DestroyWindow(caller);
    EXPECT_EQ(Imported().size(), 50u);
    ExpectNothingLeaked();
}

TEST_F(AddressBookTest, TwoHundredFiftySevenNestedListsStopAt256) {
    // Each list holds its person and the next list; the 257th list is met
    // when 256 are visited and is rejected, its person never reached.
    std::string text;
    for (int i = 0; i <= 256; ++i) {
        std::string n = std::to_string(i);
        text += Person("p" + n, "Henkil\xC3\xB6 " + n, "TEL;TYPE=fax:09 " + std::to_string(1000 + i) + "\r\n");
        std::vector<std::string> members{"p" + n};
        if (i < 256) members.push_back("l" + std::to_string(i + 1));
        text += List("l" + n, "Lista " + n, members);
    }
    setenv("FAX_ADDRESS_BOOK", Write("sisakkain.vcf", text).c_str(), 1);
    Script s = Choose(1, true);
    Pick(s, {u"Lista 0 (jakelulista)"});
    Confirm(s, 257, 1, 256);
    automation::Play(s);
    Run();
    std::vector<std::string> got = Imported();
    ASSERT_EQ(got.size(), 256u);
    EXPECT_EQ(got.back(), "Henkil\xF6 255 <091255>");
    ExpectNothingLeaked();
}

TEST_F(AddressBookTest, FailuresShowTheirMessagesAndImportNothing) {
    std::string book = Write("kontaktit.vcf", kBook);
    std::string empty = Write("tyhja.vcf", "");
    std::string huge = Write("valtava.vcf", "");
    std::filesystem::resize_file(huge, 33u << 20);
    std::string notCard = Write("muistio.vcf", "Soita Liisalle huomenna.\r\n");
    const std::u16string wabFailed = u"Windows-osoitteiston avaaminen ei onnistunut.\nTietoja ei voi tuoda kohteesta ";
    const std::u16string wabDefault = wabFailed + u"Oletus-WAB-tiedosto.";
    struct Case {
        const char* name;
        const char* fail;
        int type;
        std::string defaultBook;
        std::vector<std::u16string> messages;
    } cases[] = {
        {"logon refused", "logon", 0, book, {kNothing}},
        {"messaging book not opened", "openbook", 0, book, {kNothing}},
        {"address book file not opened", "wabopen", 1, book, {wabDefault, kNothing}},
        {"address dialog fails", "address", 1, book, {kNothing}},
        {"empty book", "", 1, empty, {wabDefault, kNothing}},
        {"book over 32 MiB", "", 1, huge, {wabDefault, kNothing}},
        {"book that is no vCard file", "", 1, notCard, {wabDefault, kNothing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        setenv("FAX_ADDRESS_BOOK_FAIL", c.fail, 1);
        setenv("FAX_ADDRESS_BOOK", c.defaultBook.c_str(), 1);
        app = ImportApp{};
        app.instance = GetModuleHandleA(nullptr);
        Script s = Choose(c.type, true);
        for (const std::u16string& m : c.messages) s.answer(IDOK, m);
        automation::Play(s);
        Run();
        EXPECT_EQ(MessageTexts(), c.messages);
        std::vector<FaxRecipient> got;
        EXPECT_EQ(ReadBack(kImportDoneNames, got), -1);
    }
}

TEST_F(AddressBookTest, EntriesThatCannotBeReadAreRejectedAndPickingNothingImportsNothing) {
    setenv("FAX_ADDRESS_BOOK", Write("kontaktit.vcf", kBook).c_str(), 1);
    setenv("FAX_ADDRESS_BOOK_FAIL", "getprops:Pekka Virtanen,openentry:Liisa M\xE4kinen", 1);
    Script s = Choose(0, true);
    Pick(s, {u"Liisa M\u00e4kinen", u"Pekka Virtanen", u"Ilman Faksia"});
    // Liisa cannot be opened, Pekka not read, Ilman Faksia has no fax number.
    s.answer(IDOK, u"Kaikista valituista tiedoista ei l\u00f6ydy faksinumeroa.");
    automation::Play(s);
    Run();
    std::vector<FaxRecipient> got;
    EXPECT_EQ(ReadBack(kImportDoneNames, got), -1);
    ExpectNothingLeaked();
}

TEST_F(AddressBookTest, MissingMessagingLibraryIsNamed) {
    // The library is found next to the program; move it aside for this run.
#if defined(_WIN32)
    FreeLibrary(mapi_);
    mapi_ = nullptr;
#endif
    std::string lib = std::string(MAPI_COPY);
    ASSERT_EQ(std::rename(lib.c_str(), (lib + ".aside").c_str()), 0);
    automation::Play(Choose(0, true).answer(IDOK).answer(IDOK));
    Run();
    std::rename((lib + ".aside").c_str(), lib.c_str());
    ASSERT_EQ(automation::Seen().messageBoxes.size(), 2u);
    EXPECT_EQ(automation::Seen().messageBoxes[0].text, u"Tarvittavaa DLL-tiedostoa, MAPI32.DLL, ei l\u00f6ytynyt.");
    EXPECT_EQ(automation::Seen().messageBoxes[0].caption, u"MAPI-alij\u00e4rjestelm\u00e4n k\u00e4ynnistysvirhe");
    EXPECT_EQ(automation::Seen().messageBoxes[1].text, kNothing);
}

}  // namespace
