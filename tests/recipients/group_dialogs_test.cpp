// The group edit and group view dialogs, played by the scripted user on a
// phonebook of a private directory, opened from a phonebook list 601.
#include <algorithm>
#include <vector>

#include "dialog_fixture.h"
#include "entry_codec.h"
#include "entry_dialog_ids.h"
#include "group_dialogs.h"
#include "kfd_format.h"
#include "list_extent.h"
#include "scratch_dir.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"

namespace {

using automation::Script;
using Texts = std::vector<std::u16string>;

const char16_t kMatti[] = u"Matti Virtanen <091234567>";
const char16_t kLiisa[] = u"Liisa Korhonen <0405556677>";
const char16_t kAino[] = u"Aino Laine <0912>";
const char16_t kAsiakkaat[] = u"[Asiakkaat]";
const char16_t kToimisto[] = u"[Toimisto]";

std::string Individual(const char* name, const char* fax) {
    FaxRecipient r = Recipient(name, fax);
    EntryDetails d;
    ClearEntryDetails(d);
    std::string out;
    DBEncodeEntry(r, d, out);
    return out;
}

class GroupDialogs : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // Asiakkaat lists Matti before Liisa, as its members were added.
        book = std::string(kfd::kMagicCurrent) + "\n" + Individual("Matti Virtanen", "091234567") +
               Individual("Liisa Korhonen", "0405556677") + Individual("Aino Laine", "0912") +
               "\x02" "Asiakkaat\x03" "Matti Virtanen\x03" "091234567\x03" "Liisa Korhonen\x03" "0405556677\x03\x04"
               "\x02" "Toimisto\x03" "Aino Laine\x03" "0912\x03" "Matti Virtanen\x03" "091234567\x03\x04";
        scratch.Put("book.KFD", book);
        const std::string path = scratch.Path("book.KFD");
        std::fill(std::begin(StoreState.currentPath), std::end(StoreState.currentPath), 0);
        std::copy(path.begin(), path.end(), StoreState.currentPath);
        SetName(u"Asiakkaat");
        CurrentDetails.workFlag = 601;
    }
    void TearDown() override {
        FreeGroupRecord();
        DialogTest::TearDown();
    }

    static void SetName(const std::u16string& name) {
        std::fill(std::begin(CurrentGroupName), std::end(CurrentGroupName), 0);
        std::copy(name.begin(), name.end(), CurrentGroupName);
    }

    // The phonebook dialog's list 601 as the phonebook fills it, with the
    // items named in 'selected' selected.
    HWND Phonebook(const Texts& selected = {}) {
        if (parent) DestroyWindow(parent);
        parent = CreateWindowExW(0, WIDE("STATIC"), WIDE(""), WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        HWND list = CreateWindowExW(0, WIDE("LISTBOX"), WIDE(""), WS_CHILD | LBS_SORT | LBS_EXTENDEDSEL | LBS_NOTIFY, 0, 0,
                                    50, 50, parent, (HMENU)(INT_PTR)601, nullptr, nullptr);
        for (const char16_t* t : {kMatti, kLiisa, kAino, kAsiakkaat, kToimisto}) {
            LRESULT i = SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)t);
            SendMessageW(list, LB_SETITEMDATA, i, t[0] == u'[' ? kItemGroup : kItemIndividual);
        }
        for (const std::u16string& t : selected)
            SendMessageW(list, LB_SETSEL, TRUE, SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)t.c_str()));
        return parent;
    }

    INT_PTR Edit(const Script& s) { return Open(IDD_GROUP_EDIT, EditDBGrpDlgProc, s, Phonebook()); }

    // Selects items of a list by their texts (the sorted order differs
    // between systems), then double-clicks or not.
    static Script& Pick(Script& s, int list, const Texts& texts, bool doubleClick = false) {
        return s.call([=](HWND d) {
            SendDlgItemMessageW(d, list, LB_SETSEL, FALSE, -1);
            for (const std::u16string& t : texts)
                SendDlgItemMessageW(d, list, LB_SETSEL, TRUE,
                                    SendDlgItemMessageW(d, list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)t.c_str()));
            if (doubleClick) SendMessageW(d, WM_COMMAND, MAKEWPARAM(list, LBN_DBLCLK), (LPARAM)GetDlgItem(d, list));
        });
    }
    static Texts Items(HWND d, int list, bool sorted = false) {
        Texts out = ListTexts(d, list);
        if (sorted) std::sort(out.begin(), out.end());
        return out;
    }
    static Script& Look(Script& s, int list, Texts* into) {
        return s.call([=](HWND d) { *into = Items(d, list); });
    }
    static std::string Record() {
        return GroupRecordBuffer.data ? std::string((const char*)GroupRecordBuffer.data, GroupRecordBuffer.length) : "";
    }

    ScratchDir scratch{"fax-group"};
    std::string book;
};

TEST_F(GroupDialogs, OpeningLoadsMembersInStoredOrderAndNeverOffersTheGroupItself) {
    struct Row {
        const char* what;
        std::u16string name;
        const char16_t* title;
        Texts members;
        Texts available;  // in sorted order of our own
    } rows[] = {
        {"new", u"", u"Uusi ryhmä", {}, {kAino, kLiisa, kMatti, kAsiakkaat, kToimisto}},
        {"existing, named in another case", u"ASIAKKAAT", u"Muokkaa ryhmän ominaisuuksia", {kMatti, kLiisa},
         {kAino, kLiisa, kMatti, kToimisto}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        SetName(row.name);
        AllocateGroupRecord(10);  // forgotten by an earlier opener
        ExchangeRecipients.recipientCount = 0;
        EXPECT_EQ(Edit(Script()
                           .call([&](HWND d) {
                               EXPECT_EQ(Title(d), row.title);
                               EXPECT_EQ(Items(d, IDC_GROUP_MEMBERS), row.members);
                               Texts expected = row.available;
                               std::sort(expected.begin(), expected.end());
                               EXPECT_EQ(Items(d, IDC_GROUP_AVAILABLE, true), expected);
                               EXPECT_EQ(Text(d, IDC_GROUP_NAME), row.name);
                               EXPECT_EQ(Focused(d), IDC_GROUP_NAME);
                               EXPECT_EQ(SendDlgItemMessageW(d, IDC_GROUP_NAME, EM_GETLIMITTEXT, 0, 0), 30);
                               EXPECT_EQ(SendDlgItemMessageW(d, IDC_GROUP_SEARCH, EM_GETLIMITTEXT, 0, 0), 32);
                               EXPECT_EQ(GroupRecordBuffer.length, 0u);
                           })
                           .click(IDCANCEL)),
                  IDCANCEL);
        EXPECT_EQ(CurrentDetails.workFlag, 601);
        EXPECT_EQ(ExchangeRecipients.recipientCount, 0);  // listing members picks nobody
        EXPECT_EQ(U16(CurrentGroupName), row.name);
        EXPECT_TRUE(Seen().messageBoxes.empty());
    }
}

TEST_F(GroupDialogs, MembersThatCannotBeLoadedEndTheDialogAtOnce) {
    scratch.Put("book.KFD", "not a phonebook");
    EXPECT_EQ(Edit(Script().answer(IDOK, u"Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - ")), IDCANCEL);
    EXPECT_EQ(Seen().messageBoxes.size(), 1u);
}

TEST_F(GroupDialogs, AddingTakesIndividualsAndTheMembersOfGroupsOnce) {
    struct Row {
        const char* what;
        std::u16string name;
        Texts pick;
        bool doubleClick;
        Texts members;
    } rows[] = {
        {"a group and an individual already among its members", u"Asiakkaat", {kToimisto, kAino}, false,
         {kMatti, kLiisa, kAino}},
        {"an individual by double click", u"", {kLiisa}, true, {kLiisa}},
        {"a member again", u"Asiakkaat", {kMatti}, false, {kMatti, kLiisa}},
        {"nothing selected", u"", {}, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        SetName(row.name);
        Texts members;
        Script s;
        Pick(s, IDC_GROUP_AVAILABLE, row.pick, row.doubleClick);
        if (!row.doubleClick) s.click(IDC_GROUP_ADD);
        Look(s, IDC_GROUP_MEMBERS, &members).click(IDCANCEL);
        Edit(s);
        EXPECT_EQ(members, row.members);
        EXPECT_TRUE(Seen().messageBoxes.empty());
    }
}

TEST_F(GroupDialogs, RemovingMembersAsksFirst) {
    const std::u16string ask = u"Haluatko poistaa valitut ryhmän jäsenet luettelosta?";
    struct Row {
        const char* what;
        Texts select;
        bool byKey;
        int answer;  // 0: no question
        Texts members;
    } rows[] = {
        {"delete key, yes", {kMatti}, true, IDYES, {kLiisa}},
        {"remove button, yes to both", {kMatti, kLiisa}, false, IDYES, {}},
        {"remove button, no", {kLiisa}, false, IDNO, {kMatti, kLiisa}},
        {"nothing selected", {}, false, 0, {kMatti, kLiisa}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        Texts members;
        Script s;
        Pick(s, IDC_GROUP_MEMBERS, row.select);
        if (row.byKey)
            s.key(IDC_GROUP_MEMBERS, VK_DELETE);
        else
            s.click(IDC_GROUP_REMOVE);
        if (row.answer) s.answer(row.answer, ask);
        Look(s, IDC_GROUP_MEMBERS, &members).click(IDCANCEL);
        Edit(s);
        EXPECT_EQ(members, row.members);
        ASSERT_EQ(Seen().messageBoxes.size(), row.answer ? 1u : 0u);
        if (row.answer) {
            EXPECT_EQ(Seen().messageBoxes[0].caption, u"Poista ryhmästä jäseniä");
            EXPECT_EQ(Seen().messageBoxes[0].flags, (UINT)(MB_ICONQUESTION | MB_YESNO));
        }
    }
}

// OK: a refused name keeps the dialog open with the focus on the name and
// changes nothing; an accepted one gives the mode, the name and the record.
TEST_F(GroupDialogs, OkChecksTheNameThenGivesModeNameAndRecord) {
    const char16_t* const kTaken = u"Ryhmän nimi on jo nykyisessä puhelinmuistiotiedostossa.\nKirjoita jokin toinen nimi.";
    const char16_t* const kEdit = u"Muokkaa ryhmän ominaisuuksia";
    struct Row {
        const char* what;
        std::u16string old, typed;
        Texts remove;
        const char16_t* refused;  // the warning, or nullptr
        const char16_t* caption;
        int mode;
        std::u16string name;
        std::string record;
    } rows[] = {
        {"blanks only", u"Asiakkaat", u"   ", {}, u"Anna ryhmän nimi.", kEdit, 0, u"", ""},
        {"another group's name", u"Asiakkaat", u" toimisto ", {}, kTaken, kEdit, 0, u"", ""},
        {"new group, taken name", u"", u"Asiakkaat", {}, kTaken, u"Uusi ryhmä", 0, u"", ""},
        {"unchanged", u"Asiakkaat", u"Asiakkaat", {}, nullptr, nullptr, kModeSameKey, u"Asiakkaat",
         "\x02" "Asiakkaat\x03" "Matti Virtanen\x03" "091234567\x03" "Liisa Korhonen\x03" "0405556677\x03\x04"},
        {"case only", u"Asiakkaat", u"ASIAKKAAT", {kMatti}, nullptr, nullptr, kModeSameKey, u"ASIAKKAAT",
         "\x02" "ASIAKKAAT\x03" "Liisa Korhonen\x03" "0405556677\x03\x04"},
        {"renamed, trimmed", u"Asiakkaat", u"  Vanhat asiakkaat ", {}, nullptr, nullptr, kModeKeyChanged,
         u"Vanhat asiakkaat",
         "\x02" "Vanhat asiakkaat\x03" "Matti Virtanen\x03" "091234567\x03" "Liisa Korhonen\x03" "0405556677\x03\x04"},
        {"new, no members", u"", u"Tyhja", {}, nullptr, nullptr, kModeNew, u"Tyhja", "\x02" "Tyhja\x03\x04"},
        {"renamed, old name not listed", u"Poistettu", u"Uusi", {}, nullptr, nullptr, kModeNew, u"Uusi",
         "\x02" "Uusi\x03\x04"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        SetName(row.old);
        Script s;
        if (!row.remove.empty()) Pick(s, IDC_GROUP_MEMBERS, row.remove).click(IDC_GROUP_REMOVE).answer(IDYES);
        s.setText(IDC_GROUP_NAME, row.typed).click(IDOK);
        if (row.refused)
            s.answer(IDOK, row.refused)
                .call([](HWND d) { EXPECT_EQ(Focused(d), IDC_GROUP_NAME); })
                .click(IDCANCEL);
        EXPECT_EQ(Edit(s), row.refused ? IDCANCEL : IDOK);
        const auto& boxes = Seen().messageBoxes;
        ASSERT_EQ(boxes.size(), (row.refused || !row.remove.empty()) ? 1u : 0u);
        if (row.refused) {
            EXPECT_EQ(boxes[0].caption, row.caption);
            EXPECT_EQ(boxes[0].flags, (UINT)(MB_ICONWARNING | MB_OK));
        }
        EXPECT_EQ(CurrentDetails.workFlag, row.refused ? 601 : row.mode);
        EXPECT_EQ(U16(CurrentGroupName), row.refused ? row.old : row.name);
        EXPECT_EQ(Record(), row.record);
    }
}

TEST_F(GroupDialogs, NameIsFilteredAndHelpOpensAtItsContext) {
    Edit(Script()
             .setText(IDC_GROUP_NAME, u"")
             .type(IDC_GROUP_NAME, u"A[b]")
             .call([](HWND d) { EXPECT_EQ(Text(d, IDC_GROUP_NAME), u"Ab"); })
             .click(IDC_GROUP_HELP)
             .click(IDCANCEL));
    if (kHeadless) {
        EXPECT_EQ(Seen().beeps.size(), 2u);
    }
    ASSERT_EQ(Seen().help.size(), 2u);
    EXPECT_EQ(Seen().help[0].command, (UINT)HELP_CONTEXT);
    EXPECT_EQ(Seen().help[0].data, 15602u);
    EXPECT_EQ(Seen().help[1].command, (UINT)HELP_QUIT);
}

TEST_F(GroupDialogs, PropertiesNeedExactlyOneItem) {
    const std::u16string needOne =
        u"Yhden vastaanottajan ominaisuudet -valintaikkunan näyttäminen ei onnistunut.\n"
        u"Näyttääksesi ikkunan sinun on valittava yksi kohta luettelosta.";
    struct Row {
        const char* what;
        int dialog;  // where the button is pressed
        Texts select;
    } rows[] = {
        {"edit, none", IDD_GROUP_EDIT, {}},
        {"edit, two", IDD_GROUP_EDIT, {kAino, kLiisa}},
        {"view, none", IDD_GROUP_VIEW, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        Script s;
        Pick(s, IDC_GROUP_AVAILABLE, row.select).click(IDC_GROUP_PROPERTIES).answer(IDOK).click(IDCANCEL);
        if (row.dialog == IDD_GROUP_EDIT)
            Edit(s);
        else
            Open(IDD_GROUP_VIEW, ShowDBGrpDlgProc, s, Phonebook({kToimisto}));
        ASSERT_EQ(Seen().messageBoxes.size(), 1u);
        EXPECT_EQ(Seen().messageBoxes[0].text, needOne);
        EXPECT_EQ(Seen().messageBoxes[0].caption, u"Muokkaa ominaisuuksia");
        EXPECT_EQ(Seen().messageBoxes[0].flags, (UINT)(MB_ICONERROR | MB_OK));
    }
}

TEST_F(GroupDialogs, ViewShowsTheSelectedGroupsMembersAndSearchesThem) {
    struct Row {
        const char* what;
        Texts selected;  // in the phonebook list
        const char16_t* title;  // nullptr: ends at once
        Texts members;
        bool damaged;
    } rows[] = {
        {"first selected group", {kToimisto, kAsiakkaat}, u"Asiakkaat Ryhmän ominaisuudet", {kLiisa, kMatti}, false},
        {"nothing selected", {}, nullptr, {}, false},
        {"members cannot be loaded", {kAsiakkaat}, nullptr, {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        if (row.damaged) scratch.Put("book.KFD", "not a phonebook");
        ExchangeRecipients.recipientCount = 0;
        Script s;
        if (row.title)
            s.call([&](HWND d) {
                 EXPECT_EQ(Title(d), row.title);
                 EXPECT_EQ(Items(d, IDC_GROUP_AVAILABLE, true), row.members);
                 EXPECT_EQ(SendDlgItemMessageW(d, IDC_GROUP_SEARCH, EM_GETLIMITTEXT, 0, 0), 30);
                 EXPECT_GT(SendDlgItemMessageW(d, IDC_GROUP_AVAILABLE, LB_GETHORIZONTALEXTENT, 0, 0), 0);  // scrolls to its widest
             })
                .type(IDC_GROUP_SEARCH, u"li")
                .call([](HWND d) {
                    int sel[4] = {-1};
                    ASSERT_EQ(SendDlgItemMessageW(d, IDC_GROUP_AVAILABLE, LB_GETSELITEMS, 4, (LPARAM)sel), 1);
                    EXPECT_EQ(Item(d, IDC_GROUP_AVAILABLE, sel[0]), kLiisa);
                })
                .click(IDCANCEL);
        if (row.damaged) s.answer(IDOK, u"Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - ");
        EXPECT_EQ(Open(IDD_GROUP_VIEW, ShowDBGrpDlgProc, s, Phonebook(row.selected)), IDCANCEL);
        EXPECT_EQ(Seen().messageBoxes.size(), row.damaged ? 1u : 0u);
        EXPECT_EQ(ExchangeRecipients.recipientCount, 0);
    }
}

TEST_F(GroupDialogs, PropertiesOfAGroupOpenItsView) {
    Script s;
    Pick(s, IDC_GROUP_AVAILABLE, {kToimisto})
        .click(IDC_GROUP_PROPERTIES)
        .dialog(IDD_GROUP_VIEW)
        .call([](HWND d) {
            EXPECT_EQ(Title(d), u"Toimisto Ryhmän ominaisuudet");
            EXPECT_EQ(Items(d, IDC_GROUP_AVAILABLE, true), (Texts{kAino, kMatti}));
        })
        .click(IDCANCEL)
        .dialog(IDD_GROUP_EDIT)
        .click(IDCANCEL);
    Edit(s);
    EXPECT_EQ(Seen().dialogsOpened, (std::vector<int>{IDD_GROUP_EDIT, IDD_GROUP_VIEW}));
}

// An individual opened from either group dialog: its details can be
// changed, its key cannot, and the lists stay as they were.
TEST_F(GroupDialogs, AnIndividualsDetailsAreEditedButNotItsKey) {
    struct Row {
        const char* what;
        int dialog;
        int list;
        bool doubleClick;
    } rows[] = {
        {"member, double click", IDD_GROUP_EDIT, IDC_GROUP_MEMBERS, true},
        {"available, properties", IDD_GROUP_EDIT, IDC_GROUP_AVAILABLE, false},
        {"group view, properties", IDD_GROUP_VIEW, IDC_GROUP_AVAILABLE, false},
        {"group view, double click", IDD_GROUP_VIEW, IDC_GROUP_AVAILABLE, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        Texts before, after;
        Script s;
        Look(s, row.list, &before);
        Pick(s, row.list, {kMatti}, row.doubleClick);
        if (!row.doubleClick) s.click(IDC_GROUP_PROPERTIES);
        s.dialog(IDD_ENTRY)
            .call([](HWND d) {
                EXPECT_EQ(Text(d, IDC_ENTRY_NAME), u"Matti Virtanen");
                EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_NAME), GWL_STYLE) & ES_READONLY);
                EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_FAX), GWL_STYLE) & ES_READONLY);
            })
            .setText(IDC_ENTRY_COMPANY, u"Virtasen Rakennus Oy")
            .click(IDOK)
            .dialog(row.dialog);
        Look(s, row.list, &after).click(IDCANCEL);
        if (row.dialog == IDD_GROUP_EDIT)
            Edit(s);
        else
            Open(IDD_GROUP_VIEW, ShowDBGrpDlgProc, s, Phonebook({kAsiakkaat}));
        EXPECT_EQ(after, before);
        FaxRecipient r;
        EntryDetails d;
        ASSERT_EQ(DBReadEntry(reinterpret_cast<const WCHAR*>(kMatti), r, d), DB_DONE);
        EXPECT_EQ(U16(d.company), u"Virtasen Rakennus Oy");
        EXPECT_EQ(CurrentDetails.workFlag, 601);
        EXPECT_TRUE(Seen().messageBoxes.empty());
    }
}

#if defined(_WIN32)  // the headless layer keeps no pixels
TEST_F(GroupDialogs, TwoEtchedBandsAtOneAndEightNinthsOfTheHeight) {
    Edit(Script()
             .call([](HWND d) {
                 RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                 RECT c;
                 GetClientRect(d, &c);
                 HDC dc = GetDC(d);
                 for (int top : {(int)c.bottom / 9, (int)c.bottom * 8 / 9}) {
                     EXPECT_EQ(GetPixel(dc, c.right / 2, top), RGB(128, 128, 128)) << top;
                     EXPECT_EQ(GetPixel(dc, c.right / 2, top + 1), RGB(255, 255, 255)) << top;
                     EXPECT_NE(GetPixel(dc, c.right / 2, top - 1), RGB(128, 128, 128)) << top;
                 }
                 ReleaseDC(d, dc);
             })
             .click(IDCANCEL));
}
#endif

// A list of names keeps its horizontal extent at its widest text, however
// the texts come and go; a 30 + 30 character text needs the scroll bar.
TEST(ListExtent, FollowsTheWidestText) {
    HWND owner = CreateWindowExW(0, WIDE("STATIC"), WIDE(""), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExW(0, WIDE("LISTBOX"), WIDE(""), WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, 0, 160, 100, owner,
                                nullptr, nullptr, nullptr);
    auto text = [](const char16_t* t) { return reinterpret_cast<LPARAM>(t); };
    const char16_t kShort[] = u"Laine Ville <0442223344>";
    const char16_t kLong[] = u"Kauppahalli Hämeenlinna <0209876543>";
    const char16_t kLongest[] = u"Tilitoimisto Aalto ja Kumppani <020987654321098765432109876543>";
    SendMessageW(list, LB_ADDSTRING, 0, text(kLong));
    ScrollToWidestItem(list);  // on a list already filled
    constexpr int kGrows = -1, kZero = -2;
    const struct {
        const char* what;
        UINT message;
        WPARAM index;
        const char16_t* text;
        int extent;  // kGrows, kZero, or the same as after that row
    } rows[] = {
        {"emptied", LB_RESETCONTENT, 0, nullptr, kZero},
        {"a short text", LB_ADDSTRING, 0, kShort, kGrows},
        {"a longer one", LB_ADDSTRING, 0, kLong, kGrows},
        {"a short one inserted first", LB_INSERTSTRING, 0, kShort, 2},
        {"a short one deleted", LB_DELETESTRING, 0, nullptr, 2},
        {"the widest deleted", LB_DELETESTRING, 1, nullptr, 1},
        {"a delete that fails", LB_DELETESTRING, 5, nullptr, 1},
        {"the longest inserted", LB_INSERTSTRING, 0, kLongest, kGrows},
        {"the longest again", LB_ADDSTRING, 0, kLongest, 7},
        {"one of the two longest deleted", LB_DELETESTRING, 0, nullptr, 7},
        {"the other deleted", LB_DELETESTRING, 1, nullptr, 1},
    };
    std::vector<LRESULT> extents;
    LRESULT atInstall = SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0);
    for (const auto& r : rows) {
        SendMessageW(list, r.message, r.index, text(r.text));
        LRESULT extent = SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0);
        if (r.extent == kGrows) EXPECT_GT(extent, extents.empty() ? 0 : extents.back()) << r.what;
        else if (r.extent == kZero) EXPECT_EQ(extent, 0) << r.what;
        else EXPECT_EQ(extent, extents[static_cast<size_t>(r.extent)]) << r.what;
        extents.push_back(extent);
    }
    EXPECT_EQ(extents[2], atInstall) << "measured on installing as on adding";
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_LT(extents[2], extents[7]);
    EXPECT_GT(extents[7], client.right) << "the longest text reaches past the list's edge";

    // A tab reaches the stop set after installing: farther than a blank.
    HWND tabbed = CreateWindowExW(0, WIDE("LISTBOX"), WIDE(""), WS_CHILD | WS_HSCROLL | LBS_USETABSTOPS, 0, 0, 160, 100,
                                  owner, nullptr, nullptr, nullptr);
    ScrollToWidestItem(tabbed);
    INT stop = 70;
    SendMessageW(tabbed, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    SendMessageW(tabbed, LB_ADDSTRING, 0, text(u"10 Varasto <0401234567>"));
    LRESULT blank = SendMessageW(tabbed, LB_GETHORIZONTALEXTENT, 0, 0);
    SendMessageW(tabbed, LB_ADDSTRING, 0, text(u"10\tVarasto <0401234567>"));
    EXPECT_GT(SendMessageW(tabbed, LB_GETHORIZONTALEXTENT, 0, 0), blank);
    // A leading tab moves the text to the stop: 70 quarters of the average
    // character, the letters' mean width rounded.
    SIZE letters{};
    HDC dc = GetDC(tabbed);
    GetTextExtentPoint32W(dc, WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 52, &letters);
    ReleaseDC(tabbed, dc);
    SendMessageW(tabbed, LB_RESETCONTENT, 0, 0);
    SendMessageW(tabbed, LB_ADDSTRING, 0, text(u"Varasto"));
    LRESULT plain = SendMessageW(tabbed, LB_GETHORIZONTALEXTENT, 0, 0);
    SendMessageW(tabbed, LB_ADDSTRING, 0, text(u"\tVarasto"));
    EXPECT_EQ(SendMessageW(tabbed, LB_GETHORIZONTALEXTENT, 0, 0) - plain, 70 * ((letters.cx / 26 + 1) / 2) / 4);
    DestroyWindow(owner);
}

}  // namespace
