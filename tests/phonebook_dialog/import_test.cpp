// Import into the phonebook: starting the import program, and storing what
// it hands back with the duplicate question and the store's messages.
#include <fstream>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "handoff_file.h"
#include "store.h"
#include "store_state.h"

#include "dialog_fixture.h"

namespace {

const std::u16string kImportCaption = u"Tuo faksin vastaanottaja|";

std::u16string Duplicate(const char16_t* name, const char16_t* fax) {
    return kImportCaption + u"Nimi: " + name + u"\nFaksinumero: " + fax +
           u"\n\nVastaanottajan nimi on jo nykyisessä muistiossa.\nHaluatko korvata sen?";
}

class ImportTest : public PhonebookDialogTest {
protected:
    // What the import program would leave: the hand-off file of a pending
    // import, then its completion command.
    Script& HandBack(Script& s, int command, std::vector<FaxRecipient> records) {
        return s.call([this, command, records](HWND d) {
            std::snprintf(StoreState.handoffPath, sizeof StoreState.handoffPath, "%s", Path("DB120000.TMP").c_str());
            ASSERT_EQ(WriteRecipientImportFile(StoreState.handoffPath, HandoffLayout::Standard, command, records.data(),
                                               records.size()),
                      HandoffWrite::Written);
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        });
    }
};

TEST_F(ImportTest, ImportedRecipientsGoIntoThePhonebook) {
    FaxRecipient relayed = Recipient("Ville", "9");
    relayed.comm.commOption = '1';
    std::memcpy(relayed.comm.relayStationId, "12", 3);
    relayed.comm.relayDestCount = 1;
    std::memcpy(relayed.comm.relayDests, "034", 3);
    const std::string standard = StandardBook();
    const char* const k30 = "123456789012345678901234567890";
    struct Case {
        const char* what;
        int command;
        std::vector<FaxRecipient> records;
        std::vector<int> answers;
        std::function<void()> before;
        std::string after;
        std::vector<std::u16string> boxes;
    } cases[] = {
        {"names: new, replaced, kept", IDC_PB_IMPORT_NAMES,
         {Recipient("Ville", "9"), Recipient("anna", "1"), Recipient("Bo", "2")}, {IDYES, IDNO}, nullptr,
         kHead + Entry("Bo", "2") + Entry("Cai", "3") + Group("G", {{"Anna", "1"}, {"Bo", "2"}}) + Entry("Ville", "9") +
             Entry("anna", "1"),
         {Duplicate(u"anna", u"1"), Duplicate(u"Bo", u"2")}},
        {"a number of the full 30 digits, twice", IDC_PB_IMPORT_NAMES, {Recipient("Pitka", k30), Recipient("Pitka", k30)},
         {IDYES}, nullptr, standard + Entry("Pitka", k30), {Duplicate(u"Pitka", u"123456789012345678901234567890")}},
        {"cancelled at a duplicate", IDC_PB_IMPORT_NAMES, {Recipient("Cai", "3"), Recipient("Ville", "9")}, {IDCANCEL},
         nullptr, standard, {Duplicate(u"Cai", u"3")}},
        {"phonebook held by another process", IDC_PB_IMPORT_NAMES, {Recipient("Ville", "9")}, {IDOK},
         [this] { held = Hold(book); }, standard,
         {kImportCaption + u"Puhelinmuistion avaaminen ei onnistunut - " + U16Path("book.KFD")}},
        {"whole records keep their settings", IDC_PB_IMPORT_FULL, {relayed}, {}, nullptr, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        automation::Reset();
        Put("book.KFD", standard);
        DialogView v;
        Script s;
        if (c.before) s.call([&](HWND) { c.before(); });
        HandBack(s, c.command, c.records);
        for (int a : c.answers) s.answer(a);
        Look(s, &v).click(IDCANCEL);
        Run(IDD_PHONEBOOK_PICK, s);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_FALSE(Exists("DB120000.TMP"));
        EXPECT_EQ(StoreState.handoffPath[0], 0);
        if (!c.after.empty()) {
            EXPECT_EQ(Get("book.KFD"), c.after);
        }
    }
    FaxRecipient r;
    EntryDetails d;
    ASSERT_EQ(PhonebookReadEntry(Wide(book).c_str(), WIDE("Ville <9>"), r, d), DB_DONE);
    EXPECT_EQ(r.comm.commOption, '1');
    EXPECT_STREQ(r.comm.relayStationId, "12");
    EXPECT_EQ(r.comm.relayDestCount, 1);
    EXPECT_EQ(std::string(r.comm.relayDests, 3), "034");
}

#if !defined(_WIN32)  // a stand-in import program is a shell script
TEST_F(ImportTest, OnlyAStartedImportIsRead) {
    // A completion command with no import started finds nothing to read.
    std::string program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/rcpimport.EXE";
    Put("DB120000.TMP", "");
    Script s;
    s.call([](HWND d) {
        StoreState.handoffPath[0] = 0;
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_PB_IMPORT_NAMES, 0), 0);
    });
    s.click(IDCANCEL);
    Run(IDD_PHONEBOOK, s);
    EXPECT_TRUE(Exists("DB120000.TMP"));
    EXPECT_EQ(Get("book.KFD"), StandardBook());
    EXPECT_TRUE(Boxes().empty());

    // The import button starts the program with a hand-off path to wait for.
    {
        std::ofstream f(program);
        f << "#!/bin/sh\n: > \"$FAX_WINDIR/started\"\n";
    }
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    std::string pending;
    Script t;
    t.click(IDC_PB_IMPORT).call([&](HWND) { pending = StoreState.handoffPath; }).click(IDCANCEL);
    Run(IDD_PHONEBOOK, t);
    for (int i = 0; i < 500 && !Exists("started"); ++i) usleep(10000);
    std::filesystem::remove(program);
    EXPECT_FALSE(pending.empty());
    EXPECT_TRUE(Exists("started"));

    // A program that does not start leaves nothing pending.
    Script u;
    u.click(IDC_PB_IMPORT).call([&](HWND) { pending = StoreState.handoffPath; }).click(IDCANCEL);
    Run(IDD_PHONEBOOK, u);
    EXPECT_TRUE(pending.empty());
}
#endif

}  // namespace
