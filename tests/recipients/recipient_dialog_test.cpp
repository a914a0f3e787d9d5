// The recipient list dialog played by the scripted user, one test per flow.
#include <cstring>

#include "comm_modes.h"
#include "dialog_flow_fixture.h"
#include "handoff_file.h"
#include "store.h"
#include "store_state.h"

namespace {

using automation::Script;
using RecipientDialogTest = DialogFlowTest;

TEST_F(RecipientDialogTest, OpensEmptyWithTheHostsRangeAndModes) {
    struct Case {
        int g4, s999;
        int thirdMode;
        int speedLabel;
    } cases[] = {{0, 0, kCommModeListEnd, 1025}, {1, 1, 1052, 1026}};
    for (const auto& c : cases) {
        host.g4Available = c.g4;
        host.speedDial999 = c.s999;
        Script s;
        s.dialog(101).call([&](HWND d) {
            EXPECT_TRUE(Items(d, 1008).empty());
            EXPECT_EQ(WorkingRecipients.recipientCount, 0);
            EXPECT_EQ(Buttons(d), "00001");
            EXPECT_EQ(GetFocus(), GetDlgItem(d, 1001));
            EXPECT_EQ(Text(d, 1016), U16(StoreState.currentPath));
            EXPECT_TRUE(Visible(d, 1003));
            EXPECT_FALSE(Visible(d, 1025) || Visible(d, 1026));
            EXPECT_EQ(RecipientCommModes[2], c.thirdMode);
        });
        s.check(1027).call([&](HWND d) {
            EXPECT_TRUE(Visible(d, c.speedLabel));
            EXPECT_FALSE(Visible(d, 1003));
        });
        s.type(1004, u"12345").call([](HWND d) { EXPECT_EQ(Text(d, 1004), u"123"); });  // three characters now
        s.check(1027, false).call([](HWND d) {
            EXPECT_EQ(Text(d, 1004), u"");  // switching empties the number
            EXPECT_TRUE(Visible(d, 1003));
            EXPECT_FALSE(Visible(d, 1025) || Visible(d, 1026));
        });
        s.type(1001, std::u16string(35, u'x')).call([](HWND d) { EXPECT_EQ(Text(d, 1001).size(), 30u); });
        EXPECT_EQ(OpenRecipients(s.click(2)), 0);
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecipientDialogTest, TypedCharactersAreFiltered) {
    struct Case {
        bool speedDial;
        int id;
        std::u16string typed, shown;
        size_t beeps;
    } cases[] = {
        {false, 1001, u"Ma[tt]i", u"Matti", 2},
        {false, 1004, u"0a1 2,3", u"0A123", 2},
        {true, 1004, u"1#*", u"1*", 1},
    };
    for (const auto& c : cases) {
        automation::Reset();
        Script s;
        if (c.speedDial) s.check(1027);
        s.type(c.id, c.typed).call([&](HWND d) { EXPECT_EQ(Text(d, c.id), c.shown); });
        OpenRecipients(s.click(2));
        EXPECT_EQ(automation::Seen().beeps.size(), c.beeps) << c.id;
    }
}

TEST_F(RecipientDialogTest, AddingChecksNumberAndDuplicates) {
    Script s;
    s.type(1001, u"Matti").click(1006).answer(IDOK, u"Anna faksinumero.");
    s.call([](HWND d) { EXPECT_EQ(GetFocus(), GetDlgItem(d, 1004)); });
    Add(s, u"", u"0123");
    s.call([](HWND d) {
        EXPECT_EQ(Items(d, 1008), std::vector<std::u16string>{u"Matti <0123>"});
        EXPECT_EQ(Text(d, 1001), u"");
        EXPECT_EQ(Text(d, 1004), u"");
        EXPECT_EQ(GetFocus(), GetDlgItem(d, 1008));
        EXPECT_EQ(Buttons(d), "01111");
    });
    Add(s, u"  matti ", u"0123").answer(IDNO, u"Nimi: matti\nFaksinumero: 0123\n\nVastaanottaja on jo luettelossa.");
    s.call([](HWND d) { EXPECT_EQ(Text(d, 1004), u"0123"); });  // No keeps what was typed
    s.click(1006).answer(IDYES);
    s.call([](HWND d) {
        EXPECT_EQ(Items(d, 1008).size(), 2u);
        EXPECT_EQ(Selected(d, 1008), std::vector<int>{1});
    });
    EXPECT_EQ(OpenRecipients(s.click(1)), 1);
    ASSERT_EQ(WorkingRecipients.recipientCount, 2);
    EXPECT_STREQ(WorkingRecipients.recipients[1].name, "matti");
    EXPECT_STREQ(WorkingRecipients.recipients[1].faxNumber, "0123");
    EXPECT_EQ(WorkingRecipients.recipients[1].comm.speedDial, 0);
    EXPECT_EQ(WorkingDetails[1].workFlag, 0);
    EXPECT_EQ(U16(WorkingDetails[1].name), u"matti");
    ASSERT_EQ(Boxes().size(), 3u);
    for (const auto& b : Boxes()) EXPECT_EQ(b.caption, u"Lisää luetteloon vastaanottaja");
    EXPECT_EQ(Boxes()[0].flags, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(Boxes()[1].flags, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
}

TEST_F(RecipientDialogTest, SpeedDialNumbersAreCheckedAndPadded) {
    const char16_t* wildcard = u"Jokerimerkkiä (*) voi käyttää vain muodoissa nn* tai ***.";
    const char16_t* range = u"Annettu lyhytvalintanumero on liian suuri.";
    struct Case {
        int s999;
        std::u16string typed;
        const char16_t* message;  // or null: added as shown
        std::u16string shown;
    } cases[] = {
        {0, u"5", nullptr, u"Sales <'005'>"},   {0, u"***", nullptr, u"Sales <'***'>"},
        {0, u"12*", nullptr, u"Sales <'12*'>"}, {0, u"20*", nullptr, u"Sales <'20*'>"},
        {0, u"00*", nullptr, u"Sales <'00*'>"}, {0, u"200", nullptr, u"Sales <'200'>"},
        {0, u"1*3", wildcard, u""},            {0, u"*12", wildcard, u""},
        {0, u"**", wildcard, u""},              {0, u"5*", wildcard, u""},
        {0, u"201", range, u""},                {0, u"21*", range, u""},
        {0, u"000", range, u""},                {1, u"999", nullptr, u"Sales <'999'>"},
        {1, u"99*", nullptr, u"Sales <'99*'>"},
    };
    for (const auto& c : cases) {
        automation::Reset();
        host.speedDial999 = c.s999;
        Script s;
        s.check(1027);
        Add(s, u"Sales", c.typed);
        if (c.message) s.answer(IDOK, c.message);
        s.call([&](HWND d) {
            auto items = Items(d, 1008);
            EXPECT_EQ(items.empty() ? u"" : items[0], c.shown) << std::string(c.typed.begin(), c.typed.end());
            if (!items.empty()) {
                EXPECT_EQ(Buttons(d), "00111");  // no comm settings for a speed dial
            }
        });
        OpenRecipients(s.click(2));
        EXPECT_EQ(Boxes().size(), c.message ? 1u : 0u);
        if (!c.message) {
            EXPECT_EQ(WorkingRecipients.recipients[0].comm.speedDial, 1);
        }
    }
}

TEST_F(RecipientDialogTest, FiftyIsTheLimit) {
    Script s;
    for (int i = 0; i < 50; ++i) Add(s, u"N", std::u16string(1, u'1') + char16_t(u'0' + i / 10) + char16_t(u'0' + i % 10));
    s.setText(1004, u"1").call([](HWND d) {
        EXPECT_FALSE(Enabled(d, 1006));
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);  // as if it were still enabled
    });
    s.answer(IDOK, u"Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\nVastaanottajaa ei lisätty luetteloon.");
    s.select(1008, 49).click(1024).answer(IDYES).call([](HWND d) {
        EXPECT_EQ(Items(d, 1008).size(), 49u);
        EXPECT_TRUE(Enabled(d, 1006));
    });
    OpenRecipients(s.click(1));
    EXPECT_EQ(WorkingRecipients.recipientCount, 49);
}

TEST_F(RecipientDialogTest, DeletingKeepsEachSlotWithItsRecipient) {
    Script s;
    for (const char16_t* n : {u"A", u"B", u"C", u"D", u"E"}) Add(s, n, u"1");
    s.call([](HWND) {
        for (int i = 0; i < 5; ++i) WorkingRecipients.recipients[i].comm.commMode = i, WorkingDetails[i].workFlag = i;
    });
    s.selectMany(1008, {1, 3}).key(1008, VK_DELETE).answer(IDNO, u"Haluatko poistaa valitut vastaanottajat luettelosta?");
    s.call([](HWND d) { EXPECT_EQ(Items(d, 1008).size(), 5u); });
    s.click(1024).answer(IDYES);
    s.call([](HWND d) {
        EXPECT_EQ(Items(d, 1008), (std::vector<std::u16string>{u"A <1>", u"C <1>", u"E <1>"}));
        EXPECT_EQ(Selected(d, 1008), std::vector<int>{1});
        EXPECT_EQ(Buttons(d), "11111");  // C has details and no speed dial
    });
    s.selectMany(1008, {0, 1, 2}).click(1024).answer(IDYES).call([](HWND d) { EXPECT_EQ(Buttons(d), "00001"); });
    s.key(1008, VK_DELETE);  // nothing selected, nothing asked
    OpenRecipients(s.click(2));
    EXPECT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[0].caption, u"Poista luettelosta vastaanottajia");
    EXPECT_EQ(WorkingRecipients.recipientCount, 0);
}

TEST_F(RecipientDialogTest, CommSettingsAndDetailsOfOneRecipient) {
    Script s;
    Add(s, u"A", u"1");
    Add(s, u"B", u"2");
    s.selectMany(1008, {0, 1}).call([](HWND d) {
        EXPECT_FALSE(Enabled(d, 1005));
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    });
    s.answer(IDOK, u"Tietoliikenneasetukset-valintaikkunan näyttäminen ei onnistunut.\n"
                   u"Näyttääksesi ikkunan valitse ensin vastaanottaja luettelosta.");
    s.select(1008, 1).click(1005).dialog(104).call([](HWND d) {
        EXPECT_STREQ(CurrentRecipient.name, "B");
        EXPECT_EQ(Title(d), u"Tiet.liik.asetukset - B <2>");
        EXPECT_EQ(SendDlgItemMessageW(d, 402, CB_GETCOUNT, 0, 0), 2);  // no G4 from this host
        CurrentRecipient.comm.commMode = 1;
        EndDialog(d, 1);
    });
    s.click(1005).dialog(104).call([](HWND d) {
        CurrentRecipient.comm.commMode = 2;
        EndDialog(d, 2);  // cancelled: the slot keeps its settings
    });
    s.dialog(101).doubleClick(1008, 1);  // no phonebook details: nothing opens
    s.call([](HWND) { WorkingDetails[1].workFlag = 1; }).select(1008, 1).call([](HWND d) {
        EXPECT_TRUE(Enabled(d, 1009));
    });
    s.click(1009).dialog(103).call([](HWND d) {
        EXPECT_EQ(U16(CurrentDetails.name), u"B");
        EndDialog(d, 2);
    });
    OpenRecipients(s.dialog(101).click(1));
    EXPECT_EQ(WorkingRecipients.recipients[1].comm.commMode, 1);
    EXPECT_EQ(automation::Seen().dialogsOpened, (std::vector<int>{101, 104, 104, 103}));
    EXPECT_EQ(Boxes()[0].caption, u"Tietoliikenneasetukset");
    EXPECT_EQ(Boxes()[0].flags, static_cast<UINT>(MB_ICONERROR | MB_OK));
}

TEST_F(RecipientDialogTest, StoringInThePhonebook) {
    Script s;
    Add(s, u"Anna", u"111");
    Add(s, u"Bo", u"222");
    s.check(1027);
    Add(s, u"Sp", u"7");
    s.call([](HWND d) { SendDlgItemMessageW(d, 1008, LB_SETSEL, FALSE, -1); }).click(1011);
    s.answer(IDOK, u"Luettelosta on valittava ainakin yksi vastaanottaja lisättäväksi nykyiseen muistioon.");
    s.select(1008, 2).click(1011).answer(IDOK, u"Lyhytvalintaa ei voi lisätä muistioon.");
    s.selectMany(1008, {0, 2}).click(1011).answer(IDOK, u"Valintaan sisältyy vähintään yksi lyhytvalinta.");
    s.select(1008, 0).click(1011).answer(IDNO, u"Vastaanottajan nimi on jo nykyisessä muistiossa.\nHaluatko korvata sen?");
    s.call([](HWND d) { EXPECT_TRUE(Enabled(d, 1009)); });  // the first recipient has its details
    s.selectMany(1008, {0, 1}).click(1011).answer(IDCANCEL, u"Nimi: Anna\nFaksinumero: 111");  // ends before Bo
    s.select(1008, 1).click(1011).call([](HWND d) { EXPECT_TRUE(Enabled(d, 1009)); });
    s.call([](HWND) { DeleteFileW(StoreState.currentPath); }).click(1011);
    s.answer(IDOK, u"Puhelinmuistiotiedostoa ei löydy");  // the listing's own message
    s.answer(IDOK, u"Valittujen vastaanottajien lisääminen nykyiseen muistioon ei onnistunut.");
    OpenRecipients(s.click(2));
    EXPECT_EQ(WorkingDetails[0].workFlag, 1);
    EXPECT_EQ(WorkingDetails[1].workFlag, 1);
    EXPECT_EQ(WorkingDetails[2].workFlag, 0);
    const auto& b = Boxes();
    ASSERT_EQ(b.size(), 7u);
    EXPECT_EQ(b[0].flags, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(b[1].flags, static_cast<UINT>(MB_ICONERROR | MB_OK));
    EXPECT_EQ(b[2].flags, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(b[3].flags, static_cast<UINT>(MB_ICONQUESTION | MB_YESNOCANCEL));
    for (size_t i : {0, 1, 2, 3, 4, 6}) EXPECT_EQ(b[i].caption, u"Lisää muistioon") << i;
}

TEST_F(RecipientDialogTest, StoredRecipientIsInThePhonebookFile) {
    Script s;
    Add(s, u"Anna", u"111").click(1011).click(1);
    OpenRecipients(s);
    FaxRecipient r;
    EntryDetails d;
    EXPECT_EQ(DBReadEntry(reinterpret_cast<const WCHAR*>(u"Anna <111>"), r, d), DB_DONE);
    EXPECT_STREQ(r.faxNumber, "111");
}

TEST_F(RecipientDialogTest, UnusablePhonebookDisablesStoring) {
    std::filesystem::create_directory(windir + "/DEFAULT.KFD");  // cannot be opened as a file
    Script s;
    s.answer(IDOK, u"Puhelinmuistiotiedostoa ei löydy");
    Add(s, u"A", u"1").call([](HWND d) {
        EXPECT_EQ(Text(d, 1016), u"--Ei--");
        EXPECT_EQ(Buttons(d), "01101");
    });
    OpenRecipients(s.click(2));
}

TEST_F(RecipientDialogTest, PickingFromThePhonebook) {
    Script s;
    Add(s, u"A", u"1");
    s.click(1010).dialog(600).call([](HWND d) {
        EXPECT_EQ(ExchangeRecipients.recipientCount, 1);
        ASSERT_NE(ExchangeDetails, nullptr);
        EndDialog(d, 0);  // cancelled: nothing changes
    });
    s.dialog(101).click(1010).dialog(600).call([](HWND d) {
        FaxRecipient& r = ExchangeRecipients.recipients[1];
        r = DefaultRecipient;
        std::strcpy(r.name, "Pb");
        std::strcpy(r.faxNumber, "555");
        ExchangeDetails[1].workFlag = 1;
        ExchangeRecipients.recipientCount = 2;
        EndDialog(d, 1);
    });
    s.dialog(101).call([](HWND d) {
        EXPECT_EQ(Items(d, 1008), (std::vector<std::u16string>{u"A <1>", u"Pb <555>"}));
        EXPECT_EQ(ExchangeDetails, nullptr);
    });
    s.select(1008, 1).call([](HWND d) { EXPECT_EQ(Buttons(d), "11111"); });
    OpenRecipients(s.click(1));
    EXPECT_EQ(WorkingRecipients.recipientCount, 2);
    EXPECT_EQ(WorkingDetails[1].workFlag, 1);
}

TEST_F(RecipientDialogTest, ImportStartsTheProgramAndReadsItsResult) {
    FaxRecipient sent[2] = {DefaultRecipient, DefaultRecipient};
    std::strcpy(sent[0].name, "Imp");
    std::strcpy(sent[0].faxNumber, "9");
    std::strcpy(sent[1].faxNumber, "42");
    sent[1].comm.speedDial = 1;
    sent[1].comm.commMode = 2;
    Script s;
    // No import program next to the module: nothing is said, nothing is
    // pending, the dialog goes on. The test hands back what a started one would.
    const std::string pending = dir + "/DB120000.TMP";
    s.click(1018).call([&](HWND d) {
        WorkingDetails[0].workFlag = 1;  // details of a recipient the import replaces
        ASSERT_EQ(StoreState.handoffPath[0], 0);
        std::snprintf(StoreState.handoffPath, sizeof StoreState.handoffPath, "%s", pending.c_str());
        ASSERT_EQ(WriteRecipientImportFile(StoreState.handoffPath, HandoffLayout::Standard, 1028, sent, 2),
                  HandoffWrite::Written);
        PostImportCompletion(d, 1028);
    });
    s.call([](HWND d) {
        EXPECT_EQ(Items(d, 1008), (std::vector<std::u16string>{u"Imp <9>", u" <'42'>"}));
        EXPECT_EQ(Selected(d, 1008), std::vector<int>{0});
        EXPECT_EQ(Buttons(d), "01111");
        EXPECT_EQ(GetFocus(), GetDlgItem(d, 1008));
        EXPECT_EQ(WorkingRecipients.recipients[1].comm.commMode, 2);
        // The number reaches the details that storing the recipient writes.
        EXPECT_EQ(WorkingDetails[0].faxNumber[0], '9');
        EXPECT_EQ(WorkingDetails[0].faxNumber[1], 0);
    });
    s.click(1018).answer(IDCANCEL, u"Tuodut vastaanottajat korvaavat kaikki");
    s.click(1018).answer(IDOK).call([&](HWND d) {
        std::snprintf(StoreState.handoffPath, sizeof StoreState.handoffPath, "%s", pending.c_str());
        ASSERT_EQ(WriteRecipientImportFile(StoreState.handoffPath, HandoffLayout::Standard, 1022, nullptr, 0),
                  HandoffWrite::Written);
        PostImportCompletion(d, 1022);
    });
    s.call([](HWND d) {
        EXPECT_TRUE(Items(d, 1008).empty());
        EXPECT_EQ(Buttons(d), "00001");
        PostImportCompletion(d, 1022);  // a cancelled import: no file, nothing changes
    });
    s.call([](HWND d) { EXPECT_TRUE(Items(d, 1008).empty()); });
    OpenRecipients(s.click(2));
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].caption, u"Tuo faksin vastaanottaja");
    EXPECT_EQ(Boxes()[0].flags, static_cast<UINT>(MB_ICONQUESTION | MB_OKCANCEL));
}

TEST_F(RecipientDialogTest, OkNeedsARecipientAndHelpIsClosed) {
    Script s;
    s.click(1017).click(1).answer(IDOK, u"Faksinumeroa ei ole annettu.\nFaksityötä ei voi lähettää.");
    s.escape();  // Cancel always closes
    EXPECT_EQ(OpenRecipients(s), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, u"Faksityö");
    EXPECT_EQ(Boxes()[0].flags, static_cast<UINT>(MB_ICONERROR | MB_OK));
    const auto& help = automation::Seen().help;
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(help[0].data, 15500u);
    EXPECT_EQ(help[1].command, static_cast<UINT>(HELP_QUIT));
}

}  // namespace
