// The stand-in address book libraries as the import program meets them:
// loaded by name, a book opened, entries picked in the library's own
// dialog by the scripted user, persons read and lists expanded, and all
// memory given back to the allocator it came from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "addrbook_api.h"
#include "automation.h"
#include "scratch_dir.h"
#include "scripted_user.h"

namespace {

const std::string kData = VCARD_DATA_DIR;

struct Library {
    HMODULE module = nullptr;
    explicit Library(const char* path) { module = LoadLibraryA(path); }
    ~Library() { if (module) FreeLibrary(module); }
    template <typename F> F Get(const char* name) { return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))); }
    std::vector<ULONG> Counts() {
        auto counts = Get<void (*)(ULONG*)>("StandinCounts");
        std::vector<ULONG> c(6);
        counts(c.data());
        return c;
    }
};

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartScriptedUser();
        unsetenv("FAX_ADDRESS_BOOK_FAIL");
    }
    void TearDown() override {
        EndScriptedUser();
        unsetenv("FAX_ADDRESS_BOOK_FAIL");
        unsetenv("FAX_ADDRESS_BOOK");
        unsetenv("FAX_ADDRESS_BOOK_LOG");
    }

    // Picks the named items of the book list into the well and confirms;
    // the dialog shows the texts of Parm.
    static automation::Script Pick(std::initializer_list<const char16_t*> names) {
        automation::Script s;
        s.dialog(100).call([](HWND dlg) {
            char text[3][32] = {};
            GetWindowTextA(dlg, text[0], 32);
            GetDlgItemTextA(dlg, 1005, text[1], 32);
            GetDlgItemTextA(dlg, 1002, text[2], 32);
            EXPECT_EQ(std::vector<std::string>(text, text + 3), (std::vector<std::string>{"Kirja", "Valitut", "Kenelle ->"}));
        });
        for (const char16_t* n : names) s.select(1001, n).click(1002);
        s.click(IDOK);
        return s;
    }

    // Texts other than the dialog template's own.
    static ADRPARM Parm() {
        static char caption[] = "Kirja";
        static char well[] = "Valitut";
        static char to[] = "Kenelle";
        static LPSTR titles[] = {to};
        static ULONG comps[] = {MAPI_TO};
        ADRPARM p{};
        p.ulFlags = DIALOG_MODAL;
        p.lpszCaption = caption;
        p.lpszDestWellsTitle = well;
        p.cDestFields = 1;
        p.lppszDestTitles = titles;
        p.lpulDestComps = comps;
        return p;
    }
};

ULONG FindLong(const SPropValue* v, ULONG n, ULONG tag) {
    for (ULONG i = 0; i < n; ++i) if (v[i].ulPropTag == tag) return v[i].Value.ul;
    return 0;
}
const SBinary* FindBinary(const SPropValue* v, ULONG n, ULONG tag) {
    for (ULONG i = 0; i < n; ++i) if (v[i].ulPropTag == tag) return &v[i].Value.bin;
    return nullptr;
}

TEST_F(StandinTest, WabFilePickPersonAndListReadAndExpandWithoutLeaks) {
    Library wab(WAB_LIBRARY);
    ASSERT_TRUE(wab.module);
    auto open = wab.Get<LPWABOPEN>("WABOpen");
    ASSERT_TRUE(open);
    std::string file = kData + "/export_40.vcf";
    WAB_PARAM param{sizeof(WAB_PARAM), nullptr, &file[0], 0};
    LPADRBOOK book = nullptr;
    LPWABOBJECT wabObject = nullptr;
    ASSERT_EQ(open(&book, &wabObject, &param, 0), S_OK);

    // Moved twice, in the well once.
    automation::Play(Pick({u"Tiina Salo", u"Tiina Salo", u"Myyntitiimi (jakelulista)", u"Neuvotteluhuone 3"}));
    ADRPARM parm = Parm();
    ULONG_PTR ui = 0;
    LPADRLIST list = nullptr;
    ASSERT_EQ(book->Address(&ui, &parm, &list), S_OK);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->cEntries, 3u);
    // The entries run past the one the declaration counts.
    const ADRENTRY* entries = list->aEntries;
    EXPECT_EQ(FindLong(entries[2].rgPropVals, entries[2].cValues, PR_OBJECT_TYPE), 4u);  // a container

    // The person: its business fax, its name; a missing fax is an error value.
    const ADRENTRY& person = entries[0];
    EXPECT_EQ(FindLong(person.rgPropVals, person.cValues, PR_OBJECT_TYPE), MAPI_MAILUSER);
    const SBinary* id = FindBinary(person.rgPropVals, person.cValues, PR_ENTRYID);
    ASSERT_TRUE(id);
    ULONG type = 0;
    IUnknown* opened = nullptr;
    ASSERT_EQ(book->OpenEntry(id->cb, reinterpret_cast<LPENTRYID>(id->lpb), nullptr, 0, &type, &opened), S_OK);
    SizedPropTagArray<4> tags{4, {PR_DISPLAY_NAME_A, PR_PRIMARY_FAX_NUMBER_A, PR_BUSINESS_FAX_NUMBER_A, PR_HOME_FAX_NUMBER_A}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    EXPECT_EQ(static_cast<IMAPIProp*>(opened)->GetProps(tags.get(), 0, &count, &values), MAPI_W_ERRORS_RETURNED);
    ASSERT_EQ(count, 4u);
    EXPECT_STREQ(values[0].Value.lpszA, "Tiina Salo");
    EXPECT_EQ(PROP_TYPE(values[1].ulPropTag), PT_ERROR);
    EXPECT_STREQ(values[2].Value.lpszA, "+358-9-100-2000");
    wabObject->FreeBuffer(values);
    opened->Release();

    // The list: its two members through the contents table, one row at a time.
    const ADRENTRY& group = entries[1];
    EXPECT_EQ(FindLong(group.rgPropVals, group.cValues, PR_OBJECT_TYPE), MAPI_DISTLIST);
    const SBinary* gid = FindBinary(group.rgPropVals, group.cValues, PR_ENTRYID);
    ASSERT_EQ(book->OpenEntry(gid->cb, reinterpret_cast<LPENTRYID>(gid->lpb), nullptr, 0, &type, &opened), S_OK);
    EXPECT_EQ(type, MAPI_DISTLIST);
    IMAPITable* table = nullptr;
    ASSERT_EQ(static_cast<IMAPIContainer*>(opened)->GetContentsTable(0, &table), S_OK);
    SizedPropTagArray<3> cols{3, {PR_DISPLAY_NAME_A, PR_ENTRYID, PR_OBJECT_TYPE}};
    ASSERT_EQ(table->SetColumns(cols.get(), 0), S_OK);
    ASSERT_EQ(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr), S_OK);
    std::vector<std::string> members;
    ULONG same = 0;
    for (;;) {
        LPSRowSet rows = nullptr;
        ASSERT_EQ(table->QueryRows(1, 0, &rows), S_OK);
        if (rows->cRows == 0) { wabObject->FreeBuffer(rows); break; }
        members.push_back(rows->aRow[0].lpProps[0].Value.lpszA);
        const SBinary& mid = rows->aRow[0].lpProps[1].Value.bin;
        ULONG result = 0;
        EXPECT_EQ(book->CompareEntryIDs(mid.cb, reinterpret_cast<LPENTRYID>(mid.lpb), id->cb,
                                        reinterpret_cast<LPENTRYID>(id->lpb), 0, &result), S_OK);
        same += result;
        wabObject->FreeBuffer(rows->aRow[0].lpProps);
        wabObject->FreeBuffer(rows);
    }
    EXPECT_EQ(members, (std::vector<std::string>{"Tiina Salo", "Matti Koski"}));
    EXPECT_EQ(same, 1u);  // the picked person is the list's first member
    table->Release();
    opened->Release();

    for (ULONG i = 0; i < list->cEntries; ++i) wabObject->FreeBuffer(list->aEntries[i].rgPropVals);
    wabObject->FreeBuffer(list);
    book->Release();
    wabObject->Release();
    std::vector<ULONG> c = wab.Counts();
    EXPECT_EQ(c[2], 0u) << "live blocks";
    EXPECT_EQ(c[3] + c[4], 0u) << "wrong or unknown frees";
    EXPECT_EQ(c[5], 0u) << "live objects";
    EXPECT_EQ(c[0], c[1]);
}

TEST_F(StandinTest, FreesWithTheWrongFunctionOrTwiceAreCounted) {
    ScratchDir dir("fax-standin");
    setenv("FAX_ADDRESS_BOOK_LOG", dir.Path("log").c_str(), 1);
    Library mapi(MAPI_LIBRARY);
    ASSERT_TRUE(mapi.module);
    auto alloc = mapi.Get<LPMAPIALLOCATEBUFFER>("MAPIAllocateBuffer");
    auto free = mapi.Get<LPMAPIFREEBUFFER>("MAPIFreeBuffer");
    std::vector<ULONG> before = mapi.Counts();
    void* p = nullptr;
    ASSERT_EQ(alloc(16, &p), S_OK);
    free(p);
    free(p);
    std::vector<ULONG> after = mapi.Counts();
    EXPECT_EQ(after[4] - before[4], 1u);
    EXPECT_EQ(after[2], before[2]);
    // The same in the line written at unload for runs in another process,
    // with a block still live; the block outlives its library.
    ASSERT_EQ(alloc(8, &p), S_OK);
    FreeLibrary(mapi.module);
    mapi.module = nullptr;
    std::free(p);
    EXPECT_EQ(dir.Get("log"), "allocations 2 frees 1 live 1 wrong 0 unknown 1 objects 0\n");
}

TEST_F(StandinTest, MapiSessionOpensTheDefaultBookAndRefusesOnPurpose) {
    setenv("FAX_ADDRESS_BOOK", (kData + "/export_30.vcf").c_str(), 1);
    Library mapi(MAPI_LIBRARY);
    auto logon = mapi.Get<LPMAPILOGONEX>("MAPILogonEx");
    ASSERT_TRUE(logon);
    struct Case { const char* fail; HRESULT logonResult; HRESULT openResult; } cases[] = {
        {"", S_OK, S_OK},
        {"logon", MAPI_E_LOGON_FAILED, S_OK},
        {"openbook", S_OK, MAPI_E_CALL_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail);
        setenv("FAX_ADDRESS_BOOK_FAIL", c.fail, 1);
        LPMAPISESSION session = nullptr;
        ASSERT_EQ(logon(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_EXTENDED | MAPI_NO_MAIL, &session), c.logonResult);
        if (!session) continue;
        LPADRBOOK book = nullptr;
        EXPECT_EQ(session->OpenAddressBook(0, nullptr, 0, &book), c.openResult);
        if (book) book->Release();
        session->Logoff(0, MAPI_LOGOFF_UI, 0);
        session->Release();
    }
    EXPECT_EQ(mapi.Counts()[5], 0u);
}

TEST_F(StandinTest, EntryFaultsAndFilesThatAreNoBook) {
    Library wab(WAB_LIBRARY);
    auto open = wab.Get<LPWABOPEN>("WABOpen");
    LPADRBOOK noBook = nullptr;
    EXPECT_EQ(open(&noBook, nullptr, nullptr, 0), MAPI_E_INVALID_PARAMETER);
    struct Case { const char* file; const char* fail; HRESULT result; } cases[] = {
        {"/not_a_vcard.vcf", "", MAPI_E_NOT_FOUND},
        {"/missing.vcf", "", MAPI_E_NOT_FOUND},
        {"/export_40.vcf", "wabopen", MAPI_E_CALL_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        setenv("FAX_ADDRESS_BOOK_FAIL", c.fail, 1);
        std::string file = kData + c.file;
        WAB_PARAM param{sizeof(WAB_PARAM), nullptr, &file[0], 0};
        LPADRBOOK book = nullptr;
        LPWABOBJECT w = nullptr;
        EXPECT_EQ(open(&book, &w, &param, 0), c.result);
        EXPECT_EQ(book, nullptr);
    }

    // getprops / openentry / rows switches act on the named entry only.
    setenv("FAX_ADDRESS_BOOK_FAIL", "getprops:Tiina Salo,rows:Myyntitiimi:1,openentry:Matti Koski", 1);
    std::string file = kData + "/export_40.vcf";
    WAB_PARAM param{sizeof(WAB_PARAM), nullptr, &file[0], 0};
    LPADRBOOK book = nullptr;
    LPWABOBJECT w = nullptr;
    ASSERT_EQ(open(&book, &w, &param, 0), S_OK);
    automation::Play(Pick({u"Tiina Salo", u"Matti Koski", u"Myyntitiimi (jakelulista)"}));
    ADRPARM parm = Parm();
    LPADRLIST list = nullptr;
    ASSERT_EQ(book->Address(nullptr, &parm, &list), S_OK);
    ASSERT_EQ(list->cEntries, 3u);
    const SBinary* ids[3];
    for (int i = 0; i < 3; ++i) ids[i] = FindBinary(list->aEntries[i].rgPropVals, list->aEntries[i].cValues, PR_ENTRYID);
    IUnknown* e = nullptr;
    ULONG type = 0;
    ASSERT_EQ(book->OpenEntry(ids[0]->cb, reinterpret_cast<LPENTRYID>(ids[0]->lpb), nullptr, 0, &type, &e), S_OK);
    SizedPropTagArray<1> name{1, {PR_DISPLAY_NAME_A}};
    ULONG n = 0;
    LPSPropValue v = nullptr;
    EXPECT_EQ(static_cast<IMAPIProp*>(e)->GetProps(name.get(), 0, &n, &v), MAPI_E_CALL_FAILED);
    e->Release();
    EXPECT_EQ(book->OpenEntry(ids[1]->cb, reinterpret_cast<LPENTRYID>(ids[1]->lpb), nullptr, 0, &type, &e), MAPI_E_CALL_FAILED);
    ASSERT_EQ(book->OpenEntry(ids[2]->cb, reinterpret_cast<LPENTRYID>(ids[2]->lpb), nullptr, 0, &type, &e), S_OK);
    IMAPITable* table = nullptr;
    ASSERT_EQ(static_cast<IMAPIContainer*>(e)->GetContentsTable(0, &table), S_OK);
    LPSRowSet rows = nullptr;
    ASSERT_EQ(table->QueryRows(1, 0, &rows), S_OK);
    w->FreeBuffer(rows->aRow[0].lpProps);
    w->FreeBuffer(rows);
    EXPECT_EQ(table->QueryRows(1, 0, &rows), MAPI_E_CALL_FAILED);  // midway
    table->Release();
    e->Release();
    for (ULONG i = 0; i < list->cEntries; ++i) w->FreeBuffer(list->aEntries[i].rgPropVals);
    w->FreeBuffer(list);

    // Cancel in the dialog gives no list.
    automation::Play(automation::Script().dialog(100).click(IDCANCEL));
    list = nullptr;
    EXPECT_EQ(book->Address(nullptr, &parm, &list), MAPI_E_USER_CANCEL);
    EXPECT_EQ(list, nullptr);
    book->Release();
    w->Release();
    std::vector<ULONG> c = wab.Counts();
    EXPECT_EQ(c[2], 0u);
    EXPECT_EQ(c[5], 0u);
}

}  // namespace
