// The individual's view and edit dialogs and the new item choice, played
// by the scripted user.
#include "comm_dialog.h"
#include "dialog_fixture.h"
#include "entry_dialogs.h"
#include "store.h"

namespace {

using automation::Script;

class EntryDialogs : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CurrentRecipient = Recipient("Matti", "1");
        ClearEntryDetails(CurrentDetails);
        Set(CurrentDetails.name, u"Matti");
        Set(CurrentDetails.faxNumber, u"1");
        Set(CurrentDetails.company, u"Järvisen Kuljetus Oy");
        CurrentDetails.workFlag = 601;
    }
    template <size_t N>
    static void Set(WCHAR (&field)[N], const char16_t* text) {
        size_t i = 0;
        for (; text[i] && i + 1 < N; ++i) field[i] = (WCHAR)text[i];
        field[i] = 0;
    }
    // The phonebook dialog's list 601 holding these items.
    HWND PhonebookWith(std::initializer_list<const char16_t*> items, int listId = 601) {
        HWND owner = ParentWith(listId);
        for (const char16_t* t : items) SendDlgItemMessageW(owner, listId, LB_ADDSTRING, 0, (LPARAM)t);
        return owner;
    }
};

TEST_F(EntryDialogs, OkDecidesTheUpdateModeOrRefusesTheKey) {
    struct Row {
        const char* what;
        const char* oldName;
        const char* oldFax;
        std::u16string name, fax;
        int mode;               // -1: refused
        const char16_t* title;
    } rows[] = {
        {"unchanged", "Matti", "1", u"Matti", u"1", kModeSameKey, u"Muokkaa ominaisuuksia"},
        {"case only", "Matti", "1", u"MATTI", u"1", kModeSameKey, u"Muokkaa ominaisuuksia"},
        {"renamed", "Matti", "1", u"Maija", u"1", kModeKeyChanged, u"Muokkaa ominaisuuksia"},
        {"taken by another", "Matti", "1", u"Liisa", u"2", -1, u"Muokkaa ominaisuuksia"},
        {"new individual", "", "", u"Aino", u"3", kModeNew, u"Lisää yksi"},
        {"new without name", "", "", u"", u"4", kModeNew, u"Lisää yksi"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        CurrentRecipient = Recipient(row.oldName, row.oldFax);
        Script s;
        s.call([&](HWND d) { EXPECT_EQ(Title(d), row.title); })
            .setText(IDC_ENTRY_NAME, row.name)
            .setText(IDC_ENTRY_FAX, row.fax)
            .click(IDOK);
        if (row.mode < 0) s.answer(IDOK).click(IDCANCEL);
        const INT_PTR result = Open(IDD_ENTRY, EditDBInfoDlgProc, s, PhonebookWith({u"Matti <1>", u"Liisa <2>"}));
        EXPECT_EQ(result, row.mode < 0 ? IDCANCEL : IDOK);
        if (row.mode < 0) {
            ASSERT_EQ(Seen().messageBoxes.size(), 1u);
            EXPECT_EQ(Seen().messageBoxes[0].text, u"Tämä nimi on jo puhelinmuistiotiedostossa.\nAnna jokin toinen nimi.");
            EXPECT_EQ(Seen().messageBoxes[0].caption, row.title);
            EXPECT_EQ(Seen().messageBoxes[0].flags, (UINT)(MB_ICONWARNING | MB_OK));
            continue;
        }
        EXPECT_EQ(CurrentDetails.workFlag, row.mode);
        EXPECT_EQ(U16(CurrentDetails.name), row.name);
        EXPECT_EQ(AsU16(CurrentRecipient.faxNumber), row.fax);
    }
}

TEST_F(EntryDialogs, EmptyFaxNumberIsRefusedAndFieldsAreFilteredAndTrimmed) {
    const INT_PTR result = Open(IDD_ENTRY, EditDBInfoDlgProc,
                                Script()
                                    .setText(IDC_ENTRY_FAX, u"")
                                    .click(IDOK)
                                    .answer(IDOK, u"Anna faksinumero.")
                                    .type(IDC_ENTRY_FAX, u"09 12a")
                                    .setText(IDC_ENTRY_NAME, u"Matti[x]")
                                    .setText(IDC_ENTRY_COMPANY, u"  Oy Ab  ")
                                    .setText(IDC_ENTRY_PHONE, u" 040 ")
                                    .call([](HWND d) { EXPECT_EQ(Text(d, IDC_ENTRY_FAX), u"0912A"); })
                                    .click(IDOK),
                                PhonebookWith({u"Matti <1>"}));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(U16(CurrentDetails.name), u"Mattix");
    EXPECT_EQ(U16(CurrentDetails.company), u"Oy Ab");
    EXPECT_EQ(U16(CurrentDetails.phone), u"040");  // the filter refuses blanks
    EXPECT_EQ(CurrentDetails.workFlag, kModeKeyChanged);
    if (kHeadless) {
        EXPECT_EQ(Seen().beeps.size(), 5u);  // blanks in the numbers (3), '[' and ']'
    }
}

TEST_F(EntryDialogs, KeyIsReadOnlyOutsideThePhonebookList) {
    struct Row {
        int listId;
        int parentControl;
    } rows[] = {{605, 605}, {601, 701}};
    for (const Row& row : rows) {
        SetUp();
        CurrentDetails.workFlag = row.listId;
        HWND owner = ParentWith(row.parentControl);
        Open(IDD_ENTRY, EditDBInfoDlgProc,
             Script()
                 .call([](HWND d) {
                     EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_NAME), GWL_STYLE) & ES_READONLY);
                     EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_FAX), GWL_STYLE) & ES_READONLY);
                     EXPECT_FALSE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_MEMO), GWL_STYLE) & ES_READONLY);
                 })
                 .click(IDOK),
             owner);
        EXPECT_EQ(CurrentDetails.workFlag, kModeSameKey);
    }
}

TEST_F(EntryDialogs, CommSettingsCancelRestoresTheRecord) {
    const FaxRecipient before = CurrentRecipient;
    Open(IDD_ENTRY, EditDBInfoDlgProc,
         Script()
             .click(IDC_ENTRY_COMM)
             .dialog(IDD_COMM_SETTINGS)
             .call([](HWND d) { EXPECT_EQ(Title(d), u"Tietoliikenneasetukset"); })
             .check(IDC_SECURE)
             .type(IDC_MAILBOX, u"12")
             .click(IDCANCEL)
             .dialog(IDD_ENTRY)
             .click(IDCANCEL),
         PhonebookWith({u"Matti <1>"}));
    EXPECT_EQ(memcmp(&before, &CurrentRecipient, sizeof before), 0);
}

TEST_F(EntryDialogs, ViewShowsTheDetailsReadOnly) {
    Set(CurrentDetails.memo, std::u16string(254, u'm').c_str());  // a field of its full length, shown whole
    EXPECT_EQ(Open(IDD_ENTRY, ShowDBInfoDlgProc,
                   Script()
                       .call([](HWND d) {
                           EXPECT_EQ(Title(d), u"Vastaanottajan tiedot");
                           EXPECT_EQ(Text(d, IDCANCEL), u"Sulje");
                           EXPECT_FALSE(Visible(d, IDOK));
                           EXPECT_FALSE(Visible(d, IDC_ENTRY_COMM));
                           EXPECT_TRUE(Visible(d, IDC_ENTRY_FAX_VIEW));
                           EXPECT_EQ(Text(d, IDC_ENTRY_FAX_VIEW), u"1");
                           EXPECT_EQ(Text(d, IDC_ENTRY_COMPANY), u"Järvisen Kuljetus Oy");
                           EXPECT_EQ(Text(d, IDC_ENTRY_MEMO), std::u16string(254, u'm'));
                           EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_COMPANY), GWL_STYLE) & ES_READONLY);
                           EXPECT_EQ(Focused(d), IDCANCEL);
                       })
                       .click(IDCANCEL)),
              IDCANCEL);
}

TEST_F(EntryDialogs, NewEntryAnswersTheChosenKind) {
    struct Row {
        int choose;  // 0: as opened
        int button;
        INT_PTR result;
    } rows[] = {{0, IDOK, IDC_NEW_INDIVIDUAL}, {IDC_NEW_GROUP, IDOK, IDC_NEW_GROUP}, {IDC_NEW_GROUP, IDCANCEL, IDCANCEL}};
    for (const Row& row : rows) {
        SetUp();
        Script s;
        if (row.choose) s.click(row.choose);
        EXPECT_EQ(Open(IDD_NEW_ENTRY, NewEntryDlgProc, s.click(row.button)), row.result);
    }
}

}  // namespace
