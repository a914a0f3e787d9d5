// The picker: adding phonebook items as recipients with the limit of 50,
// removing them, and reading their details when it ends with OK.
#include "dialog_fixture.h"

namespace {

const std::u16string kAddCaption = u"Lisää luetteloon vastaanottaja|";
const std::u16string kSomeLeftOut =
    kAddCaption + u"Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\nJoitakin vastaanottajia ei ole lisätty luetteloon.";

class PickTest : public PhonebookDialogTest {
protected:
    // n recipients handed over by the recipient dialog: R0 <0> ...
    void Handed(int n) {
        for (int i = 0; i < n; ++i) {
            FaxRecipient& r = ExchangeRecipients.recipients[i];
            r = DefaultRecipient;
            std::snprintf(r.name, sizeof r.name, "R%d", i);
            std::snprintf(r.faxNumber, sizeof r.faxNumber, "%d", i);
            ClearEntryDetails(ExchangeDetails[i]);
            ExchangeDetails[i].memo[0] = static_cast<WCHAR>('a' + i % 26);
        }
        ExchangeRecipients.recipientCount = n;
    }
};

TEST_F(PickTest, AddingToThePickedList) {
    struct Case {
        const char* what;
        int handed;
        std::function<void(Script&)> user;  // in the sorted list: [G], Anna, Bo, Cai
        int count;
        Items lastPicked;  // the items after the handed ones
        std::vector<std::u16string> boxes;
    } cases[] = {
        {"an individual and a group, last selected first", 0,
         [](Script& s) { s.selectMany(IDC_PB_PHONEBOOK_LIST, {0, 3}).click(IDC_PB_PICK); }, 3,
         {u"Cai <3>", u"Anna <1>", u"Bo <2>"}, {}},
        {"a double click", 0, [](Script& s) { s.doubleClick(IDC_PB_PHONEBOOK_LIST, 3); }, 1, {u"Cai <3>"}, {}},
        {"two individuals onto 49: the lower one", 49,
         [](Script& s) { s.selectMany(IDC_PB_PHONEBOOK_LIST, {1, 2}).click(IDC_PB_PICK).answer(IDOK); }, 50,
         {u"Bo <2>"}, {kSomeLeftOut}},
        {"already full", 50, [](Script& s) { s.select(IDC_PB_PHONEBOOK_LIST, 1).click(IDC_PB_PICK).answer(IDOK); }, 50,
         {},
         {kAddCaption + u"Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\nVastaanottajaa ei lisätty luetteloon."}},
        {"a group making the 50th with its last member", 48,
         [](Script& s) { s.select(IDC_PB_PHONEBOOK_LIST, 0).click(IDC_PB_PICK); }, 50, {u"Anna <1>", u"Bo <2>"}, {}},
        {"a group with more members than room", 49,
         [](Script& s) { s.select(IDC_PB_PHONEBOOK_LIST, 0).click(IDC_PB_PICK).answer(IDOK); }, 50, {u"Anna <1>"},
         {kSomeLeftOut}},
        {"a duplicate declined, then accepted", 0,
         [](Script& s) {
             s.select(IDC_PB_PHONEBOOK_LIST, 1).click(IDC_PB_PICK).click(IDC_PB_PICK).answer(IDNO).click(IDC_PB_PICK).answer(IDYES);
         },
         2, {u"Anna <1>", u"Anna <1>"},
         {kAddCaption + u"Nimi: Anna\nFaksinumero: 1\n\nVastaanottaja on jo luettelossa.\nHaluatko silti lisätä sen?",
          kAddCaption + u"Nimi: Anna\nFaksinumero: 1\n\nVastaanottaja on jo luettelossa.\nHaluatko silti lisätä sen?"}},
        // Last: the phonebook it opens stays current.
        {"a group of a 30-character name", 0, [this](Script& s) {
             Put("long.KFD", kHead + Entry("Anna", "1") + Group("Pitk\xE4n nimen ryhm\xE4, 30 merkki\xE4", {{"Anna", "1"}}));
             s.click(IDC_PB_OPEN_BOOK).file(Path("long.KFD")).select(IDC_PB_PHONEBOOK_LIST, 0).click(IDC_PB_PICK);
         }, 1, {u"Anna <1>"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        automation::Reset();
        Handed(c.handed);
        DialogView v;
        Script s;
        c.user(s);
        Look(s, &v).click(IDCANCEL);
        EXPECT_EQ(Run(IDD_PHONEBOOK_PICK, s), 0);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(ExchangeRecipients.recipientCount, c.count);
        ASSERT_EQ(v.picked.size(), static_cast<size_t>(c.count));
        EXPECT_EQ(Items(v.picked.begin() + c.handed, v.picked.end()), c.lastPicked);
        for (int i = c.handed; i < c.count; ++i) {
            EXPECT_EQ(ExchangeDetails[i].workFlag, 1);
            EXPECT_EQ(ExchangeRecipients.recipients[i].faxNumber[0], 0);  // read on OK
        }
    }
}

TEST_F(PickTest, RemovingPickedRecipientsKeepsSlotsInStep) {
    struct Case {
        const char* what;
        std::function<void(Script&)> user;
        Items picked;
        char firstMemo;
    } cases[] = {
        {"by the button, confirmed",
         [](Script& s) { s.selectMany(IDC_PB_PICKED_LIST, {0, 2}).click(IDC_PB_UNPICK).answer(IDYES); },
         {u"R1 <1>"}, 'b'},
        {"by the delete key, declined",
         [](Script& s) { s.select(IDC_PB_PICKED_LIST, 0).key(IDC_PB_PICKED_LIST, VK_DELETE).answer(IDNO); },
         {u"R0 <0>", u"R1 <1>", u"R2 <2>"}, 'a'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        automation::Reset();
        Handed(3);
        DialogView v;
        Script s;
        c.user(s);
        Look(s, &v).click(IDCANCEL);
        Run(IDD_PHONEBOOK_PICK, s);
        EXPECT_EQ(v.picked, c.picked);
        EXPECT_EQ(ExchangeRecipients.recipientCount, static_cast<int>(c.picked.size()));
        EXPECT_EQ(ExchangeDetails[0].memo[0], static_cast<WCHAR>(c.firstMemo));
        EXPECT_EQ(Boxes(), (std::vector<std::u16string>{
                               u"Poista luettelosta vastaanottajia|Haluatko poistaa valitut vastaanottajat luettelosta?"}));
    }
}

TEST_F(PickTest, OkReadsTheDetailsOfPickedRecipients) {
    Handed(1);
    Put("book.KFD", StandardBook());
    Script s;
    s.selectMany(IDC_PB_PHONEBOOK_LIST, {1, 3})
        .click(IDC_PB_PICK)
        .call([&](HWND) {  // Cai is deleted by someone else meanwhile
            Put("book.KFD", kHead + Entry("Anna", "1", "muistio"));
        })
        .click(IDOK)
        .answer(IDOK);
    EXPECT_EQ(Run(IDD_PHONEBOOK_PICK, s), 1);
    ASSERT_EQ(ExchangeRecipients.recipientCount, 3);
    // The handed recipient is untouched; Anna is read; Cai keeps its name and number.
    EXPECT_STREQ(ExchangeRecipients.recipients[0].name, "R0");
    EXPECT_EQ(ExchangeDetails[0].memo[0], static_cast<WCHAR>('a'));
    const FaxRecipient& cai = ExchangeRecipients.recipients[1];
    EXPECT_STREQ(cai.name, "Cai");
    EXPECT_STREQ(cai.faxNumber, "3");
    EXPECT_EQ(U16(ExchangeDetails[1].name), u"Cai");
    const FaxRecipient& anna = ExchangeRecipients.recipients[2];
    EXPECT_STREQ(anna.name, "Anna");
    EXPECT_STREQ(anna.faxNumber, "1");
    EXPECT_EQ(anna.comm.speedDial, 0);
    EXPECT_EQ(U16(ExchangeDetails[2].memo), u"muistio");
    EXPECT_EQ(ExchangeDetails[2].workFlag, 1);
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Lue vastaanottajan ominaisuudet|Nimi: Cai\nFaksinumero: 3\n\n"
                                                     u"Tietokantavirhe.\nVastaanottajan ominaisuuksia ei voitu hakea."}));
}

// A picked recipient with a 30-character name and fax number is wider than
// list 605: the list scrolls to its end, and no further once it is removed.
TEST_F(PickTest, PickedListScrollsAsFarAsItsWidestRecipient) {
    Handed(2);
    FaxRecipient& wide = ExchangeRecipients.recipients[1];
    std::snprintf(wide.name, sizeof wide.name, "%s", "Tilitoimisto Aalto ja Kumppani");
    std::snprintf(wide.faxNumber, sizeof wide.faxNumber, "%s", "020987654321098765432109876543");
    std::vector<std::pair<LRESULT, LONG>> seen;  // extent, client width
    auto look = [&](HWND d) {
        HWND list = GetDlgItem(d, IDC_PB_PICKED_LIST);
        RECT client{};
        GetClientRect(list, &client);
        seen.emplace_back(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), client.right);
    };
    Script s;
    s.call(look).select(IDC_PB_PICKED_LIST, 1).click(IDC_PB_UNPICK).answer(IDYES).call(look).click(IDCANCEL);
    Run(IDD_PHONEBOOK_PICK, s);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_GT(seen[0].first, seen[0].second) << "scrolls to the end of the wide one";
    EXPECT_GT(seen[1].first, 0);
    EXPECT_LE(seen[1].first, seen[1].second) << "nothing left to scroll to";
}

}  // namespace
