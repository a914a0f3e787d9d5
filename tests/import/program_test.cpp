// The import program run by the scripted user: data type, file, picking,
// confirmation, messages and the hand-off file.
#include <cstring>

#include "picked_set.h"
#include "program_fixture.h"
#include "rcpimport_ids.h"
#include "scripted_user.h"

namespace {

using automation::Script;
const std::u16string kNothing = u"Mit\u00e4\u00e4n tietoja ei tuoda.";
constexpr int kCsvType = 0;   // no address book is offered here
constexpr int kSpeedType = 1;

const char kContacts[] =
    "Nimi,Yritys,Faksi\r\n"
    "Anna Ek,Ek Oy,09 111\r\n"
    "Bo [Myynti],,09 222\r\n"
    "Anna Ek,Ek Oy,09 111\r\n"
    "Cia,,\r\n"
    "Dan,,09 444";

const char kSpeedDial[] =
    "*,1,0,1\r\n"
    "2,N,09 2,Bo\r\n"
    "10,N,09 10,Kymppi,,,4,,,,,ZGV6AQZlZD==,,,Aj==\r\n"
    "1,N,09 1,Yksi,,,,,,,,,P12/3/#5/004\r\n"
    "3,N,09 1,Yksi\r\n";

TEST_F(ProgramTest, CancelledAtTheStartShowsNothingAndWritesNothing) {
    automation::Play(Script().dialog(IDD_DATA_TYPE).click(IDCANCEL));
    Run();
    EXPECT_TRUE(MessageTexts().empty());
    std::vector<FaxRecipient> got;
    EXPECT_EQ(ReadBack(kImportDoneNames, got), -1);
}

TEST_F(ProgramTest, ContactFileWithColumnsFromTheHeader) {
    std::string path = Write("yhteys.csv", kContacts);
    automation::Play(Script()
                         .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kCsvType).check(IDC_TYPE_AUTO_CSV).click(IDOK)
                         .file(path)
                         .dialog(IDD_CSV_PICK).selectMany(IDC_PICK_SOURCE, {0, 1, 2, 3, 4}).click(IDC_PICK_ADD)
                         .selectMany(IDC_PICK_SOURCE, {2, 4}).click(IDC_PICK_ADD)  // both already picked
                         .click(IDC_PICK_HELP)
                         .call([](HWND dlg) {
                             // Empty fax numbers and repeats are not taken.
                             EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_PICK_SELECTED, LB_GETCOUNT, 0, 0), 3);
                         })
                         .click(IDOK)
                         .dialog(IDD_CONFIRM)
                         .call([](HWND dlg) {
                             char text[64];
                             GetDlgItemTextA(dlg, IDC_CONFIRM_COUNT, text, sizeof text);
                             EXPECT_STREQ(text, "Tuodaan 3 vastaanottajaa:");
                             EXPECT_EQ(GetDlgItemInt(dlg, IDC_CONFIRM_REJECTED, nullptr, FALSE), 1u);
                             EXPECT_EQ(GetDlgItemInt(dlg, IDC_CONFIRM_FOUND, nullptr, FALSE), 3u);
                         })
                         .click(IDOK));
    Run();
    EXPECT_TRUE(MessageTexts().empty());
    // The progress window came up while the picking list was filled.
    EXPECT_EQ(automation::Seen().dialogsOpened,
              (std::vector<int>{IDD_DATA_TYPE, IDD_CSV_PICK, IDD_PROGRESS, IDD_CONFIRM}));
    // Help opened on the picking list's context is closed with it.
    ASSERT_EQ(automation::Seen().help.size(), 2u);
    EXPECT_EQ(automation::Seen().help[0].data, 15511u);
    EXPECT_EQ(automation::Seen().help[1].command, static_cast<UINT>(HELP_QUIT));
    std::vector<FaxRecipient> got;
    ASSERT_EQ(ReadBack(kImportDoneNames, got), 3);
    EXPECT_STREQ(got[0].name, "Anna Ek");
    EXPECT_STREQ(got[0].faxNumber, "09111");
    EXPECT_STREQ(got[1].name, "Bo (Myynti)");
    EXPECT_STREQ(got[2].faxNumber, "09444");  // the last line has no line feed
    EXPECT_EQ(got[2].comm.commOption, '0');
}

TEST_F(ProgramTest, ContactFileColumnsMarkedByHand) {
    std::string path = Write("kasin.csv", "Name,Fax\nJohn,555 1\n");
    automation::Play(Script()
                         .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kCsvType).click(IDOK)
                         .file(path)
                         .dialog(IDD_FIELD_MAP).click(IDOK)
                         .answer(IDOK, u"V\u00e4hint\u00e4\u00e4n yksi kentt\u00e4 on liitett\u00e4v\u00e4 faksinumeroon.")
                         .select(IDC_MAP_FIELDS, 1).click(IDC_MAP_NAME_BUTTON)
                         .click(IDC_MAP_FAX_BUTTON)  // the same field: the name side lets go
                         .select(IDC_MAP_FIELDS, 0).click(IDC_MAP_NAME_BUTTON)
                         .click(IDOK)
                         .dialog(IDD_CSV_PICK).doubleClick(IDC_PICK_SOURCE, 0).click(IDOK)
                         .dialog(IDD_CONFIRM).click(IDOK));
    Run();
    std::vector<FaxRecipient> got;
    ASSERT_EQ(ReadBack(kImportDoneNames, got), 1);
    EXPECT_STREQ(got[0].name, "John");
    EXPECT_STREQ(got[0].faxNumber, "5551");
}

TEST_F(ProgramTest, ReaderErrorsBecomeTheirMessages) {
    struct Case {
        std::string file;
        std::u16string message;
    } cases[] = {
        {Write("ei_faksia.csv", "Nimi,Puhelin\nA,1\n"), u"Faksinumeroa ei l\u00f6ydy tiedostosta "},
        {Write("lainaus.csv", "Nimi,Faksi\nA,\"1\n"), u"CSV-muoto ei kelpaa!\nTiedostosta "},
        {Write("tyhja.csv", ""), u"k\u00e4ytt\u00f6 ei onnistu.\nTietoja ei ole luettu tuotavaksi."},
    };
    for (const auto& c : cases) {
        StartScriptedUser();
        automation::Play(Script()
                             .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kCsvType).check(IDC_TYPE_AUTO_CSV).click(IDOK)
                             .file(c.file)
                             .answer(IDOK, c.message)
                             .answer(IDOK, kNothing));
        Run();
        ASSERT_EQ(automation::Seen().messageBoxes.size(), 2u) << c.file;
        EXPECT_EQ(automation::Seen().messageBoxes[0].caption, u"Virhe CSV-tiedoston tuonnissa");
        EXPECT_NE(automation::Seen().messageBoxes[0].text.find(std::u16string(c.file.begin(), c.file.end())),
                  std::u16string::npos);
    }
    StartScriptedUser();
    automation::Play(Script()
                         .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kSpeedType).click(IDOK)
                         .file(Write("ei_lyhyt.csv", "Nimi,Faksi\n"))
                         .answer(IDOK, u"Lyhytvalinnan EWS-CSV-muoto ei kelpaa!")
                         .answer(IDOK, kNothing));
    Run();
    StartScriptedUser();  // a mapping cancelled: no error, nothing imported
    automation::Play(Script()
                         .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kCsvType).click(IDOK)
                         .file(Write("peru.csv", "Nimi,Faksi\nA,1\n"))
                         .dialog(IDD_FIELD_MAP).click(IDCANCEL)
                         .answer(IDOK, kNothing));
    Run();
    EXPECT_EQ(MessageTexts(), std::vector<std::u16string>{kNothing});
}

TEST_F(ProgramTest, SpeedDialRecordsWithTheirSettings) {
    std::string path = Write("lyhyt.csv", kSpeedDial);
    automation::Play(Script()
                         .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kSpeedType).click(IDOK)
                         .file(path)
                         .dialog(IDD_SPEED_PICK)
                         .call([](HWND dlg) {
                             char text[8];
                             SendDlgItemMessageA(dlg, IDC_PICK_SOURCE, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
                             EXPECT_STREQ(text, "10");  // sorted as text: 1, 10, 2, 3
                         })
                         .selectMany(IDC_PICK_SOURCE, {0, 1, 3})  // 1, 10, 3
                         .click(IDC_PICK_ADD)
                         .answer(IDYES, u"Vastaanottaja on jo nykyisess\u00e4 valinnassa.")
                         .selectMany(IDC_PICK_SOURCE, {0, 3}).click(IDC_PICK_ADD)  // 1 is 3's recipient, 3 is picked
                         .answer(IDNO, u"Nimi: Yksi\nFaksinumero: 091\n")
                         .call([](HWND dlg) {  // scrolls as far as its widest text
                             EXPECT_GT(SendDlgItemMessageA(dlg, IDC_PICK_SELECTED, LB_GETHORIZONTALEXTENT, 0, 0), 0);
                         })
                         .select(IDC_PICK_SOURCE, 2).click(IDC_PICK_DETAILS)
                         .dialog(IDD_SPEED_DETAILS)
                         .call([](HWND dlg) {
                             char text[32];
                             GetWindowTextA(dlg, text, sizeof text);
                             EXPECT_STREQ(text, "Lyhytvalintanro 2");
                         })
                         .click(IDOK)
                         .dialog(IDD_SPEED_PICK).click(IDOK)
                         .dialog(IDD_CONFIRM).click(IDOK));
    Run();
    // No progress window: the speed-dial list is filled without one.
    EXPECT_EQ(automation::Seen().dialogsOpened,
              (std::vector<int>{IDD_DATA_TYPE, IDD_SPEED_PICK, IDD_SPEED_DETAILS, IDD_CONFIRM}));
    std::vector<FaxRecipient> got;
    ASSERT_EQ(ReadBack(kImportDoneFull, got), 2);
    EXPECT_STREQ(got[0].name, "Kymppi");
    EXPECT_EQ(got[0].comm.commMode, 2);
    EXPECT_EQ(got[0].comm.commOption, '4');
    EXPECT_STREQ(got[0].comm.mailboxPassword, "4321");
    EXPECT_STREQ(got[0].comm.fCode, "7");
    // Yes moved "Yksi" to the end with speed dial 3, whose record has no relay.
    EXPECT_STREQ(got[1].name, "Yksi");
    EXPECT_EQ(got[1].comm.relayDestCount, 0);
    EXPECT_EQ(got[1].comm.commOption, '0');
}

TEST_F(ProgramTest, CompactLayoutOfTheSecondBuild) {
    app.layout = HandoffLayout::Compact;
    std::string path = Write("lyhyt2.csv", kSpeedDial);
    automation::Play(Script()
                         .dialog(IDD_DATA_TYPE).select(IDC_TYPE_COMBO, kSpeedType).click(IDOK)
                         .file(path)
                         .dialog(IDD_SPEED_PICK).select(IDC_PICK_SOURCE, 0).click(IDC_PICK_ADD).click(IDOK)
                         .dialog(IDD_CONFIRM).click(IDOK));
    Run();
    // Not held open: the reader asks for the file to itself.
    EXPECT_EQ(static_cast<long>(std::ifstream(handoff, std::ios::binary | std::ios::ate).tellg()), 2 + 184);
    std::vector<FaxRecipient> got;
    ASSERT_EQ(ReadBack(kImportDoneFull, got, HandoffLayout::Compact), 1);
    EXPECT_STREQ(got[0].comm.relayStationId, "12");
    EXPECT_EQ(got[0].comm.commOption, '1');
}

TEST_F(ProgramTest, PickingStopsAtTheLimitAndDeleteEmptiesTheSelection) {
    std::string text = "Nimi,Faksi\n";
    for (int i = 0; i < 60; ++i) text += "N" + std::to_string(i) + "," + std::to_string(1000 + i) + "\n";
    std::string path = Write("paljon.csv", text);
    TextImage image;
    ASSERT_EQ(LoadTextImage(path.c_str(), image), 0);
    CsvColumns columns;
    ASSERT_EQ(AutoCsvColumns(image.Line(0), columns), 0);
    CsvCandidates cands;
    ASSERT_EQ(cands.Collect(image, 0, columns), 0);
    app.selection.maxCount = 50;
    std::vector<int> first48, next5, last;
    for (int i = 0; i < 48; ++i) first48.push_back(i);
    for (int i = 48; i < 53; ++i) next5.push_back(i);
    automation::Play(Script()
                         .dialog(IDD_CSV_PICK).selectMany(IDC_PICK_SOURCE, first48).click(IDC_PICK_ADD)
                         .selectMany(IDC_PICK_SOURCE, next5).click(IDC_PICK_ADD)
                         .answer(IDOK, u"Voit tuoda enint\u00e4\u00e4n 50 vastaanottajaa.")
                         .click(IDC_PICK_ADD)
                         .answer(IDOK, u"Luettelosta valittujen vastaanottajien m\u00e4\u00e4r\u00e4 on suurin")
                         .call([](HWND dlg) {
                             EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_PICK_SELECTED, LB_GETCOUNT, 0, 0), 50);
                         })
                         .selectMany(IDC_PICK_SELECTED, {0, 1, 49}).key(IDC_PICK_SELECTED, VK_DELETE)
                         .call([](HWND dlg) {
                             EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_PICK_SELECTED, LB_GETCOUNT, 0, 0), 47);
                         })
                         .click(IDOK));
    ASSERT_TRUE(RunCsvPickDialog(app, cands, path));
    ASSERT_EQ(app.selection.entries.size(), 47u);
    EXPECT_EQ(app.selection.entries[0], "N2 <1002>");
    EXPECT_EQ(app.selection.entries[46], "N48 <1048>");
}

TEST(PickedSet, FindsTheListedRecipientAndItsPlace) {
    // Candidates 0 and 2 are one recipient; 3 has only the name of 0.
    const RecipientTexts texts[] = {{"A", "1"}, {"B", "2"}, {"A", "1"}, {"A", "3"}, {"C", "4"}, {"D", "5"}};
    PickedSet picked([&](size_t i) { return texts[i]; }, {1, 0}, 2);  // B, A
    picked.Append(5);                                                // B, A, D
    picked.Append(4);                                                // B, A, D, C
    picked.Remove(0);                                                // B, D, C
    struct Case {
        size_t i;
        bool found;
        size_t candidate, position;
    } cases[] = {{1, true, 1, 0}, {5, true, 5, 1}, {4, true, 4, 2}, {2, false, 0, 0}, {3, false, 0, 0}};
    for (const auto& c : cases) {
        size_t candidate = 0, position = 0;
        EXPECT_EQ(picked.Find(c.i, candidate, position), c.found) << c.i;
        EXPECT_EQ(candidate, c.candidate) << c.i;
        EXPECT_EQ(position, c.position) << c.i;
    }
}

TEST(EntryText, SplitByTheListTextRule) {
    struct Case {
        const char* entry;
        const char* name;
        const char* fax;
    } cases[] = {
        {"Anna <123>", "Anna", "123"},
        {"A<b <123>", "A<b", "123"},
        {"Anna <12>3>", "Anna", "12>3"},
        {" <5>", "", "5"},
        {"<1>", "", ""},
        {"Anna", "", ""},
    };
    for (const auto& c : cases) {
        std::string name, fax;
        EXPECT_EQ(SplitEntryText(c.entry, name, fax), c.fax[0] != 0) << c.entry;
        EXPECT_EQ(name, c.name) << c.entry;
        EXPECT_EQ(fax, c.fax) << c.entry;
    }
}

}  // namespace
