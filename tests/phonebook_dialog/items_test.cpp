// New items and properties from the phonebook dialog: the edit dialog's
// mode decides the list update, the store writes it, and a store failure
// shows its message and loses nothing.
#include "dialog_fixture.h"
#include "entry_dialog_ids.h"
#include "store.h"

namespace {

// Records are built at run time: the default recipient they start from is
// another file's static.
std::string Book() {
    return kHead + Entry("Matti", "1", "muistio") + Entry("Liisa", "2") + Group("G", {{"Matti", "1"}, {"Liisa", "2"}});
}
const Items kList = {u"[G]", u"Liisa <2>", u"Matti <1>"};
const std::u16string kProps = u"Muokkaa ominaisuuksia|";

class ItemsTest : public PhonebookDialogTest {
protected:
    // Opens the properties of Matti <1> and sets name and fax number.
    static Script& EditMatti(Script& s, const std::u16string& name, const std::u16string& fax) {
        return s.select(IDC_PB_PHONEBOOK_LIST, u"Matti <1>")
            .click(IDC_PB_PROPERTIES)
            .dialog(IDD_ENTRY)
            .setText(IDC_ENTRY_NAME, name)
            .setText(IDC_ENTRY_FAX, fax);
    }
    static Script& NewIndividual(Script& s, const std::u16string& name, const std::u16string& fax) {
        return s.click(IDC_PB_NEW_ITEM)
            .dialog(IDD_NEW_ENTRY)
            .click(IDOK)
            .dialog(IDD_ENTRY)
            .call([](HWND d) { EXPECT_EQ(Title(d), u"Lisää yksi"); })
            .type(IDC_ENTRY_NAME, name)
            .type(IDC_ENTRY_FAX, fax);
    }
    // One run of the phonebook manager on a fresh book: the user's steps,
    // then a look at the lists and Cancel; a lock the steps took is let go.
    template <typename User>
    DialogView RunManager(const std::string& book, const User& user) {
        automation::Reset();
#if !defined(_WIN32)
        fault::Reset();
#endif
        Put("book.KFD", book);
        DialogView v;
        Script s;
        user(s);
        Look(s.dialog(IDD_PHONEBOOK), &v).click(IDCANCEL);
        Run(IDD_PHONEBOOK, s);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        return v;
    }
};

// One row of the item tables: the user's steps, then the file and the lists.
struct ItemCase {
    const char* what;
    std::function<void(Script&)> user;
    std::string after;
    Items list, selected;
    std::vector<std::u16string> boxes;
    std::string before = "";  // the phonebook at the start, when not the test's own
};

TEST_F(ItemsTest, NewAndEditedIndividuals) {
    const std::string kBook = Book();
    // A replaced record moves to the end of the file.
    const std::string renamed =
        kHead + Entry("Liisa", "2") + Group("G", {{"Maija", "1"}, {"Liisa", "2"}}) + Entry("Maija", "1", "muistio");
    const ItemCase cases[] = {
        {"a new individual",
         [](Script& s) { NewIndividual(s, u"Aino", u"3").click(IDOK).dialog(IDD_PHONEBOOK); }, kBook + Entry("Aino", "3"),
         {u"[G]", u"Aino <3>", u"Liisa <2>", u"Matti <1>"}, {u"Aino <3>"}, {}},
        {"a new individual cancelled at its type", [](Script& s) { s.click(IDC_PB_NEW_ITEM).dialog(IDD_NEW_ENTRY).click(IDCANCEL); },
         kBook, kList, {u"[G]"}, {}},
        {"renamed: the old item goes, the new is selected, the group follows",
         [](Script& s) { EditMatti(s, u"Maija", u"1").click(IDOK); }, renamed,
         {u"[G]", u"Liisa <2>", u"Maija <1>"}, {u"Maija <1>"}, {}},
        {"renamed onto another individual: refused",
         [](Script& s) { EditMatti(s, u"Liisa", u"2").click(IDOK).answer(IDOK).click(IDCANCEL); }, kBook, kList,
         {u"Matti <1>"}, {kProps + u"Tämä nimi on jo puhelinmuistiotiedostossa.\nAnna jokin toinen nimi."}},
        {"only the case changed: replaced in place, the list as it was",
         [](Script& s) { EditMatti(s, u"MATTI", u"1").click(IDOK); },
         kHead + Entry("Liisa", "2") + Group("G", {{"Matti", "1"}, {"Liisa", "2"}}) + Entry("MATTI", "1", "muistio"),
         kList, {u"Matti <1>"}, {}},
        {"cancelled", [](Script& s) { EditMatti(s, u"Maija", u"9").click(IDCANCEL); }, kBook, kList, {u"Matti <1>"}, {}},
        {"a double click opens the properties",
         [](Script& s) {
             s.doubleClick(IDC_PB_PHONEBOOK_LIST, 1).dialog(IDD_ENTRY).setText(IDC_ENTRY_NAME, u"Leena").click(IDOK);
         },
         kHead + Entry("Matti", "1", "muistio") + Group("G", {{"Matti", "1"}, {"Leena", "2"}}) + Entry("Leena", "2"),
         {u"[G]", u"Leena <2>", u"Matti <1>"}, {u"Leena <2>"}, {}},
        {"a letter above ASCII in another case: a rename the group follows",
         [](Script& s) { s.select(IDC_PB_PHONEBOOK_LIST, u"\u00E4k\u00E4s <1>").click(IDC_PB_PROPERTIES).dialog(IDD_ENTRY)
                             .setText(IDC_ENTRY_NAME, u"\u00C4k\u00E4s").click(IDOK); },
         kHead + Group("G", {{"\xC4k\xE4s", "1"}}) + Entry("\xC4k\xE4s", "1"), {u"[G]", u"\u00C4k\u00E4s <1>"},
         {u"\u00C4k\u00E4s <1>"}, {}, kHead + Entry("\xE4k\xE4s", "1") + Group("G", {{"\xE4k\xE4s", "1"}})},
        {"a new name stored as an existing one: refused",
         [](Script& s) { NewIndividual(s, u"\u65E5ukasz", u"1").click(IDOK).answer(IDOK).click(IDCANCEL); },
         kHead + Entry("?ukasz", "1"), {u"?ukasz <1>"}, {u"?ukasz <1>"},
         {u"Lisää yksi|Tämä nimi on jo puhelinmuistiotiedostossa.\nAnna jokin toinen nimi."}, kHead + Entry("?ukasz", "1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        automation::Reset();
        Put("book.KFD", c.before.empty() ? kBook : c.before);
        DialogView v;
        Script s;
        c.user(s);
        Look(s.dialog(IDD_PHONEBOOK), &v).click(IDCANCEL);
        Run(IDD_PHONEBOOK, s);
        EXPECT_EQ(Get("book.KFD"), c.after);
        EXPECT_EQ(v.phonebook, c.list);
        EXPECT_EQ(v.selected, c.selected);
        EXPECT_EQ(Boxes(), c.boxes);
    }
}

TEST_F(ItemsTest, FailuresShowTheirMessageAndLoseNothing) {
    const std::string kBook = Book();
    const std::u16string oneItem = kProps +
                                   u"Yhden vastaanottajan ominaisuudet -valintaikkunan näyttäminen ei onnistunut.\n"
                                   u"Näyttääksesi ikkunan sinun on valittava yksi kohta luettelosta.";
    const std::u16string locked = u"Puhelinmuistion avaaminen ei onnistunut - " + U16Path("book.KFD");
    const std::u16string damaged = u"Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - " + U16Path("book.KFD");
    struct Case {
        const char* what;
        std::function<void(Script&)> user;
        std::string after;  // empty: the phonebook as it was
        std::vector<std::u16string> boxes;
    } cases[] = {
        {"properties without a selection",
         [](Script& s) { s.selectMany(IDC_PB_PHONEBOOK_LIST, {}).click(IDC_PB_PROPERTIES).answer(IDOK); }, "",
         {oneItem}},
        {"properties of two",
         [](Script& s) { s.selectMany(IDC_PB_PHONEBOOK_LIST, {1, 2}).click(IDC_PB_PROPERTIES).answer(IDOK); }, "",
         {oneItem}},
        {"locked before reading",
         [this](Script& s) {
             s.select(IDC_PB_PHONEBOOK_LIST, u"Matti <1>")
                 .call([this](HWND) { held = Hold(book); })
                 .click(IDC_PB_PROPERTIES)
                 .answer(IDOK);
         },
         "", {kProps + locked}},
        {"locked while editing",
         [this](Script& s) {
             EditMatti(s, u"Maija", u"1").call([this](HWND) { held = Hold(book); }).click(IDOK).answer(IDOK);
         },
         "", {kProps + locked}},
        {"damaged while editing",
         [this](Script& s) { EditMatti(s, u"Maija", u"1").call([this](HWND) { Put("book.KFD", "garbage"); }).click(IDOK).answer(IDOK); },
         "garbage", {kProps + damaged}},
        {"deleted meanwhile",
         [this](Script& s) {
             s.select(IDC_PB_PHONEBOOK_LIST, u"Matti <1>")
                 .call([this](HWND) { Put("book.KFD", kHead + Entry("Liisa", "2")); })
                 .click(IDC_PB_PROPERTIES)
                 .answer(IDOK);
         },
         kHead + Entry("Liisa", "2"),
         {kProps + u"Nimi: Matti\nFaksinumero: 1\n\nTietokantavirhe.\nKohtaa ei löydy puhelinmuistiotiedostosta - " +
          U16Path("book.KFD")}},
        {"a new individual on a locked phonebook",
         [this](Script& s) {
             NewIndividual(s, u"Aino", u"3").call([this](HWND) { held = Hold(book); }).click(IDOK).answer(IDOK);
         },
         "", {u"Lisää yksi|" + locked}},
#if !defined(_WIN32)  // faults are injected in the headless file layer only
        {"disk full while writing",
         [](Script& s) {
             EditMatti(s, u"Maija", u"1")
                 .call([](HWND) { fault::Arm({fault::Op::Write, fault::Calls(fault::Op::Write) + 1, fault::Action::Short}); })
                 .click(IDOK)
                 .answer(IDOK);
         },
         "", {kProps + u"Levytila ei riitä jatkamiseen.\nOminaisuuksia ei voi muokata."}},
        {"disk full for a new individual",
         [](Script& s) {
             NewIndividual(s, u"Aino", u"3")
                 .call([](HWND) { fault::Arm({fault::Op::Write, fault::Calls(fault::Op::Write) + 1, fault::Action::Short}); })
                 .click(IDOK)
                 .answer(IDOK);
         },
         "", {u"Lisää yksi|Levytila ei riitä jatkamiseen.\nTietoja ei voi luoda."}},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DialogView v = RunManager(kBook, c.user);
        EXPECT_EQ(Get("book.KFD"), c.after.empty() ? kBook : c.after);
        EXPECT_EQ(v.phonebook, kList);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_FALSE(Exists("book.TMP"));
    }
}

TEST_F(ItemsTest, GroupsThroughTheGroupDialog) {
    const std::string kBook = Book();
    const char* const n30 = "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNN";
    const std::u16string locked = u"Puhelinmuistion avaaminen ei onnistunut - " + U16Path("book.KFD");
    // The group dialog of [G], its name set.
    auto editG = [](Script& s, const std::u16string& name) -> Script& {
        return s.select(IDC_PB_PHONEBOOK_LIST, u"[G]")
            .click(IDC_PB_PROPERTIES)
            .dialog(IDD_GROUP_EDIT)
            .setText(IDC_GROUP_NAME, name);
    };
    auto newGroup = [](Script& s) -> Script& {
        return s.click(IDC_PB_NEW_ITEM)
            .dialog(IDD_NEW_ENTRY)
            .check(IDC_NEW_GROUP)
            .click(IDOK)
            .dialog(IDD_GROUP_EDIT)
            .type(IDC_GROUP_NAME, u"Uudet")
            .select(IDC_GROUP_AVAILABLE, u"Liisa <2>")
            .click(IDC_GROUP_ADD);
    };
    const ItemCase cases[] = {
        {"a new group, then its properties",
         [&](Script& s) {
             // Its item is a group's: the properties open the group dialog.
             newGroup(s).click(IDOK).dialog(IDD_PHONEBOOK).click(IDC_PB_PROPERTIES).dialog(IDD_GROUP_EDIT).click(IDCANCEL);
         },
         kBook + Group("Uudet", {{"Liisa", "2"}}),
         {u"[G]", u"[Uudet]", u"Liisa <2>", u"Matti <1>"}, {u"[Uudet]"}, {}},
        {"renamed: the old item goes, the new is selected", [&](Script& s) { editG(s, u"Kaikki").click(IDOK); },
         kHead + Entry("Matti", "1", "muistio") + Entry("Liisa", "2") + Group("Kaikki", {{"Matti", "1"}, {"Liisa", "2"}}),
         {u"[Kaikki]", u"Liisa <2>", u"Matti <1>"}, {u"[Kaikki]"}, {}},
        {"same name: written, the list as it was", [&](Script& s) { editG(s, u"g").click(IDOK); },
         kHead + Entry("Matti", "1", "muistio") + Entry("Liisa", "2") + Group("g", {{"Matti", "1"}, {"Liisa", "2"}}),
         kList, {u"[G]"}, {}},
        {"cancelled", [&](Script& s) { editG(s, u"Kaikki").click(IDCANCEL); }, kBook, kList, {u"[G]"}, {}},
        {"locked while editing",
         [&](Script& s) { editG(s, u"Kaikki").call([this](HWND) { held = Hold(book); }).click(IDOK).answer(IDOK); },
         kBook, kList, {u"[G]"}, {u"Muokkaa ryhmän ominaisuuksia|" + locked}},
        {"a new group on a locked phonebook",
         [&](Script& s) { newGroup(s).call([this](HWND) { held = Hold(book); }).click(IDOK).answer(IDOK); }, kBook,
         kList, {u"[G]"}, {u"Uusi ryhmä|" + locked}},
#if !defined(_WIN32)  // faults are injected in the headless file layer only
        {"disk full while renaming",
         [&](Script& s) {
             editG(s, u"Kaikki")
                 .call([](HWND) { fault::Arm({fault::Op::Write, fault::Calls(fault::Op::Write) + 1, fault::Action::Short}); })
                 .click(IDOK)
                 .answer(IDOK);
         },
         kBook, kList, {u"[G]"},
         {u"Muokkaa ryhmän ominaisuuksia|Levytila ei riitä jatkamiseen.\nRyhmän ominaisuuksia ei voi muokata."}},
#endif
        {"a letter above ASCII in another case: renamed; a member of a 30-character name kept",
         [&](Script& s) { s.click(IDC_PB_PROPERTIES).dialog(IDD_GROUP_EDIT).setText(IDC_GROUP_NAME, u"\u00E4ij\u00E4t").click(IDOK); },
         kHead + Entry(n30, "1") + Group("\xE4ij\xE4t", {{n30, "1"}}), {u"[\u00E4ij\u00E4t]", std::u16string(30, u'N') + u" <1>"},
         {u"[\u00E4ij\u00E4t]"}, {}, kHead + Entry(n30, "1") + Group("\xC4ij\xE4t", {{n30, "1"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DialogView v = RunManager(c.before.empty() ? kBook : c.before, c.user);
        EXPECT_EQ(Get("book.KFD"), c.after);
        EXPECT_EQ(v.phonebook, c.list);
        EXPECT_EQ(v.selected, c.selected);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(GroupRecordBuffer.data, nullptr);
        EXPECT_EQ(CurrentDetails.workFlag, 0);
    }
}

// In the picker, a picked recipient whose details are still in the
// phonebook opens with its key read-only; one handed over by the recipient
// dialog opens nothing.
TEST_F(ItemsTest, DoubleClickInThePickedList) {
    Put("book.KFD", Book());
    ExchangeRecipients.recipientCount = 1;
    ExchangeRecipients.recipients[0] = DefaultRecipient;
    std::strcpy(ExchangeRecipients.recipients[0].name, "Liisa");
    std::strcpy(ExchangeRecipients.recipients[0].faxNumber, "2");
    Script s;
    s.doubleClick(IDC_PB_PICKED_LIST, 0)
        .dialog(IDD_PHONEBOOK_PICK)
        .select(IDC_PB_PHONEBOOK_LIST, u"Matti <1>")
        .click(IDC_PB_PICK)
        .doubleClick(IDC_PB_PICKED_LIST, 1)
        .dialog(IDD_ENTRY)
        .call([](HWND d) {
            EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_NAME), GWL_STYLE) & ES_READONLY);
            EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_ENTRY_FAX), GWL_STYLE) & ES_READONLY);
        })
        .setText(IDC_ENTRY_COMPANY, u"Oy Ab")
        .click(IDOK)
        .dialog(IDD_PHONEBOOK_PICK)
        .click(IDCANCEL);
    Run(IDD_PHONEBOOK_PICK, s);
    FaxRecipient r;
    EntryDetails d;
    ASSERT_EQ(PhonebookReadEntry(Wide(book).c_str(), WIDE("Matti <1>"), r, d), DB_DONE);
    EXPECT_EQ(U16(d.company), u"Oy Ab");
    EXPECT_EQ(U16(d.memo), u"muistio");
    EXPECT_EQ(automation::Seen().dialogsOpened, (std::vector<int>{IDD_PHONEBOOK_PICK, IDD_ENTRY}));
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
