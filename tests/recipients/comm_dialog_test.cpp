// The communication settings dialog played by the scripted user.
#include <functional>
#include <vector>

#include "comm_dialog.h"
#include "comm_modes.h"
#include "dialog_fixture.h"

namespace {

using automation::Script;

const char16_t kSecureCaption[] = u"Suojatun faksin asetukset eivät kelpaa";
const char16_t kRelayCaption[] = u"Jatkolähetysfaksin asetukset eivät kelpaa";

class CommDialog : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CurrentRecipient = Recipient("Matti Virtanen", "0401234567");
        SetRecipientCommModes(true);
    }
    INT_PTR Run(Script s, HWND owner = nullptr) {
        return Open(IDD_COMM_SETTINGS, CommDlgProc, s.dialog(IDD_COMM_SETTINGS), owner);
    }
    static void SetRelay(int destinations) {
        CurrentRecipient.comm.commOption = '1';
        strcpy(CurrentRecipient.comm.relayStationId, "5");
        for (int i = 0; i < destinations; ++i) {
            const char code[3] = {'0', char('0' + (i + 1) / 10), char('0' + (i + 1) % 10)};
            memcpy(CurrentRecipient.comm.relayDests + 3 * i, code, 3);
        }
        CurrentRecipient.comm.relayDestCount = destinations;
    }
    static std::string Dests() {
        return std::string(CurrentRecipient.comm.relayDests, 3 * CurrentRecipient.comm.relayDestCount);
    }
};

TEST_F(CommDialog, OpeningShowsTheGroupTheRecordSelects) {
    struct Row {
        const char* what;
        char option;
        int destinations;
        bool secureShown, relayShown, addEnabled, removeEnabled;
    } rows[] = {
        {"neither", '0', 0, false, false, false, false},
        {"secure", '4', 0, true, false, false, false},
        {"relay, empty list", '1', 0, false, true, true, false},
        {"relay, full list", '1', 20, false, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        if (row.option == '1') SetRelay(row.destinations);
        CurrentRecipient.comm.commOption = row.option;
        strcpy(CurrentRecipient.comm.mailboxId, "12");
        Run(Script().call([&](HWND d) {
            EXPECT_EQ(Title(d), u"Tietoliikenneasetukset");
            EXPECT_EQ(Checked(d, IDC_SECURE), row.option == '4');
            EXPECT_EQ(Checked(d, IDC_RELAY), row.option == '1');
            for (int id : {IDC_MAILBOX_LABEL, IDC_MAILBOX, IDC_MAILBOX_PASS_LABEL, IDC_MAILBOX_PASS}) {
                EXPECT_EQ(Visible(d, id), row.secureShown) << id;
                EXPECT_EQ(Enabled(d, id), row.secureShown) << id;
            }
            for (int id : {IDC_STATION, IDC_RELAY_PRINT, IDC_GROUP_SEND, IDC_DEST_NUMBER, IDC_DEST_LIST, IDC_DEST_LABEL_99})
                EXPECT_EQ(Visible(d, id), row.relayShown) << id;
            EXPECT_FALSE(Visible(d, IDC_DEST_LABEL_9));
            EXPECT_EQ(Enabled(d, IDC_DEST_ADD), row.addEnabled);
            EXPECT_EQ(Enabled(d, IDC_DEST_REMOVE), row.removeEnabled);
            EXPECT_EQ(Count(d, IDC_DEST_LIST), row.destinations);
            EXPECT_EQ(Text(d, IDC_MAILBOX), u"12");
            EXPECT_EQ(Focused(d), IDOK);
        }).click(IDCANCEL));
    }
}

TEST_F(CommDialog, FromTheRecipientListTitleNamesTheRecipientAndOffersItsModes) {
    struct Row {
        int speedDial;
        bool g4Offered;
        int storedMode;
        const char16_t* title;
        int items, selected;
    } rows[] = {
        {0, true, 2, u"Tiet.liik.asetukset - Matti Virtanen <0401234567>", 3, 2},
        {1, true, 1, u"Tiet.liik.asetukset - Matti Virtanen <'0401234567'>", 3, 1},
        {0, false, 2, u"Tiet.liik.asetukset - Matti Virtanen <0401234567>", 2, 0},
    };
    for (const Row& row : rows) {
        SetUp();
        SetRecipientCommModes(row.g4Offered);
        CurrentRecipient.comm.speedDial = row.speedDial;
        CurrentRecipient.comm.commMode = row.storedMode;
        EXPECT_EQ(Run(Script()
                          .call([&](HWND d) {
                              EXPECT_EQ(Title(d), row.title);
                              EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMM_MODE, CB_GETCOUNT, 0, 0), row.items);
                              EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMM_MODE, CB_GETCURSEL, 0, 0), row.selected);
                              if (row.selected == 0) { EXPECT_EQ(Text(d, IDC_COMM_MODE), u"G3 - Autom."); }
                          })
                          .click(IDOK),
                      ParentWith(IDC_RCP_LIST)),
                  IDOK);
        EXPECT_EQ(CurrentRecipient.comm.commMode, row.selected);
    }
}

TEST_F(CommDialog, FieldsAreFilteredAndStoredAsTyped) {
    struct Row {
        char option;
        int id;
        std::u16string typed, shown;
        size_t beeps;
        std::function<std::string()> stored;
        std::string expected;
    } rows[] = {
        {'4', IDC_MAILBOX, u"1a2", u"12", 1, [] { return std::string(CurrentRecipient.comm.mailboxId); }, "12"},
        {'4', IDC_MAILBOX_PASS, u"12-34", u"1234", 1, [] { return std::string(CurrentRecipient.comm.mailboxPassword, 4); }, "1234"},
        {'1', IDC_STATION, u"x9", u"9", 1, [] { return std::string(CurrentRecipient.comm.relayStationId); }, "9"},
        {'0', IDC_FCODE, u"12#3", u"123", 1, [] { return std::string(CurrentRecipient.comm.fCode); }, "123"},
        {'0', IDC_FCODE_PASS, u"1*#2", u"1*#2", 0, [] { return std::string(CurrentRecipient.comm.fCodePassword); }, "1*#2"},
        {'1', IDC_DEST_NUMBER, u"a7", u"7", 1, [] { return std::string(CurrentRecipient.comm.relayDests, 3); }, std::string(3, '\0')},
        // a digit is any character the system calls alphanumeric and not alphabetic
        {'1', IDC_DEST_NUMBER, u"\u00e4\u00b2", u"\u00b2", 1, [] { return std::string(CurrentRecipient.comm.relayDests, 3); }, std::string(3, '\0')},
    };
    for (const Row& row : rows) {
        SetUp();
        CurrentRecipient.comm.commOption = row.option;
        Run(Script().type(row.id, row.typed).call([&](HWND d) { EXPECT_EQ(Text(d, row.id), row.shown); }).click(IDCANCEL));
        if (kHeadless) {
            EXPECT_EQ(Seen().beeps.size(), row.beeps) << row.id;
        }
        EXPECT_EQ(row.stored(), row.expected) << row.id;
    }
}

TEST_F(CommDialog, DestinationsAreCodedCheckedAndNotRepeated) {
    struct Row {
        bool groupSend;
        std::vector<std::u16string> typed;
        std::vector<std::u16string> list;
        const char16_t* error;  // for the last number typed
    } rows[] = {
        {false, {u"7", u"42", u"7"}, {u"007", u"042"}, nullptr},
        {false, {u"*", u"**", u"4*"}, {u"00*", u"0**", u"04*"}, nullptr},
        {false, {u"*5"}, {}, u"Jokerimerkin '*' (lyhytvalinta) jälkeen ei tarvitse kirjoittaa numeroa syötettäessä lyhytvalintanumeroa faksin jatkolähetyksen kohdeluetteloon."},
        {false, {u"0"}, {}, u"Faksin jatkolähetystä varten on annettava ryhmäkohteen tunnus 1 - 99."},
        {false, {u"\u0663*"}, {}, u"Faksin jatkolähetystä varten on annettava ryhmäkohteen tunnus 1 - 99."},
        {true, {u"7"}, {u"0#7"}, nullptr},
        {true, {u"0"}, {}, u"Faksin jatkolähetystä varten on annettava ryhmäkohteen tunnus 1 - 9."},
    };
    for (const Row& row : rows) {
        SetUp();
        SetRelay(0);
        Script s;
        if (row.groupSend) {
            s.check(IDC_GROUP_SEND).call([](HWND d) {
                EXPECT_TRUE(Visible(d, IDC_DEST_LABEL_9));
                EXPECT_FALSE(Visible(d, IDC_DEST_LABEL_99));
            });
        }
        for (const auto& t : row.typed) {
            s.type(IDC_DEST_NUMBER, t).click(IDC_DEST_ADD);
            if (row.error) s.answer(IDOK);
        }
        s.call([&](HWND d) {
            EXPECT_EQ(ListTexts(d, IDC_DEST_LIST), row.list);
            EXPECT_EQ(Focused(d), row.error ? IDC_DEST_NUMBER : IDOK);
        });
        Run(s.click(IDCANCEL));
        std::string stored;
        for (const auto& code : row.list)
            for (char16_t c : code) stored.push_back((char)c);
        EXPECT_EQ(Dests(), stored);
        ASSERT_EQ(Seen().messageBoxes.size(), row.error ? 1u : 0u);
        if (row.error) {
            EXPECT_EQ(Seen().messageBoxes[0].text, row.error);
            EXPECT_EQ(Seen().messageBoxes[0].caption, kRelayCaption);
            EXPECT_EQ(Seen().messageBoxes[0].flags, (UINT)(MB_ICONSTOP | MB_OK));
        }
    }
}

TEST_F(CommDialog, TwentiethDestinationDisablesAddAndRemovingEnablesIt) {
    SetRelay(19);
    Run(Script()
            .type(IDC_DEST_NUMBER, u"99")
            .click(IDC_DEST_ADD)
            .call([](HWND d) {
                EXPECT_EQ(Count(d, IDC_DEST_LIST), 20);
                EXPECT_FALSE(Enabled(d, IDC_DEST_ADD));
                EXPECT_EQ(Text(d, IDC_DEST_NUMBER), u"");
                EXPECT_EQ(SendDlgItemMessageW(d, IDC_DEST_LIST, LB_GETSEL, 19, 0), 1);
                SetFocus(GetDlgItem(d, IDC_DEST_NUMBER));  // a click that reaches Add all the same adds nothing
                SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_DEST_ADD, BN_CLICKED), 0);
                EXPECT_EQ(Focused(d), IDOK);
            })
            .selectMany(IDC_DEST_LIST, {0, 1})
            .click(IDC_DEST_REMOVE)
            .call([](HWND d) {
                EXPECT_TRUE(Enabled(d, IDC_DEST_ADD));
                EXPECT_EQ(Item(d, IDC_DEST_LIST, 0), u"003");
                EXPECT_EQ(Focused(d), IDOK);
            })
            .click(IDOK));
    EXPECT_EQ(CurrentRecipient.comm.relayDestCount, 18);
    EXPECT_EQ(Dests().substr(0, 6), "003004");
    EXPECT_EQ(Dests().substr(51), "099");
}

TEST_F(CommDialog, RemovingTheLastDestinationDisablesRemove) {
    SetRelay(1);
    Run(Script()
            .select(IDC_DEST_LIST, 0)
            .click(IDC_DEST_REMOVE)
            .call([](HWND d) { EXPECT_FALSE(Enabled(d, IDC_DEST_REMOVE)); })
            .click(IDCANCEL));
    EXPECT_EQ(CurrentRecipient.comm.relayDestCount, 0);
    EXPECT_EQ(std::string(CurrentRecipient.comm.relayDests, 3), "001");  // bytes of removed codes stay
}

TEST_F(CommDialog, OkReportsTheFirstBrokenRuleAndStaysOpen) {
    struct Row {
        const char* what;
        char option;
        const char *mailbox, *password, *station;
        int destinations;
        const char16_t* text;  // nullptr: passes
        const char16_t* caption;
        int focus;
    } rows[] = {
        {"mailbox 200, no password", '4', "200", "", "", 0, nullptr, nullptr, 0},
        {"mailbox empty", '4', "", "", "", 0, u"Suojatun faksin lähetystä varten on annettava postilokeron tunnus (1 - 200).", kSecureCaption, IDC_MAILBOX},
        {"mailbox 0", '4', "0", "", "", 0, u"Suojatun faksin lähetystä varten on annettava postilokeron tunnus (1 - 200).", kSecureCaption, IDC_MAILBOX},
        {"mailbox 201", '4', "201", "1234", "", 0, u"Suojatun faksin lähetystä varten on annettava postilokeron tunnus (1 - 200).", kSecureCaption, IDC_MAILBOX},
        {"password 123", '4', "5", "123", "", 0, u"Suojattua faksilähetystä varten on annettava 4-numeroinen salasana.", kSecureCaption, IDC_MAILBOX_PASS},
        {"password 1234", '4', "5", "1234", "", 0, nullptr, nullptr, 0},
        {"station 00", '1', "", "", "00", 3, u"Faksin jatkolähetystä varten on annettava jatkolähetysaseman tunnus (1 - 99).", kRelayCaption, IDC_STATION},
        {"no destination", '1', "", "", "5", 0, u"Faksin jatkolähetystä varten on kohdeluetteloon lisättävä kohteen tunnus.", kRelayCaption, IDC_DEST_NUMBER},
        {"relay complete", '1', "", "", "5", 1, nullptr, nullptr, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        if (row.option == '1') SetRelay(row.destinations);
        CurrentRecipient.comm.commOption = row.option;
        Script s;
        if (row.option == '4') s.type(IDC_MAILBOX, AsU16(row.mailbox)).type(IDC_MAILBOX_PASS, AsU16(row.password));
        if (row.option == '1') s.setText(IDC_STATION, AsU16(row.station));
        s.click(IDOK);
        if (row.text) s.answer(IDOK).call([&](HWND d) { EXPECT_EQ(Focused(d), row.focus); }).click(IDCANCEL);
        EXPECT_EQ(Run(s), row.text ? IDCANCEL : IDOK);
        ASSERT_EQ(Seen().messageBoxes.size(), row.text ? 1u : 0u);
        if (row.text) {
            EXPECT_EQ(Seen().messageBoxes[0].text, row.text);
            EXPECT_EQ(Seen().messageBoxes[0].caption, row.caption);
        }
    }
}

TEST_F(CommDialog, RelayAndSecureExcludeEachOtherAndKeepTheOtherFields) {
    CurrentRecipient.comm.commOption = '4';
    strcpy(CurrentRecipient.comm.mailboxId, "17");
    Run(Script()
            .check(IDC_RELAY)
            .call([](HWND d) {
                EXPECT_FALSE(Checked(d, IDC_SECURE));
                EXPECT_FALSE(Visible(d, IDC_MAILBOX));
                EXPECT_TRUE(Visible(d, IDC_STATION));
                EXPECT_TRUE(Enabled(d, IDC_DEST_ADD));
                EXPECT_FALSE(Enabled(d, IDC_DEST_REMOVE));
            })
            .check(IDC_RELAY_PRINT)
            .check(IDC_RELAY, false)
            .call([](HWND d) {
                EXPECT_FALSE(Visible(d, IDC_STATION));
                EXPECT_FALSE(Visible(d, IDC_DEST_LABEL_99));
            })
            .click(IDOK));
    EXPECT_EQ(CurrentRecipient.comm.commOption, '0');
    EXPECT_EQ(CurrentRecipient.comm.relayPrint, '1');
    EXPECT_STREQ(CurrentRecipient.comm.mailboxId, "17");
}

TEST_F(CommDialog, HelpOpensAtItsContextAndClosesWithTheDialog) {
    Run(Script().click(IDC_COMM_HELP).click(IDCANCEL));
    ASSERT_EQ(Seen().help.size(), 2u);
    EXPECT_EQ(Seen().help[0].command, (UINT)HELP_CONTEXT);
    EXPECT_EQ(Seen().help[0].data, 15508u);
    EXPECT_EQ(Seen().help[0].file.substr(Seen().help[0].file.size() - 11), u"FAXHELP.HLP");
    EXPECT_EQ(Seen().help[1].command, (UINT)HELP_QUIT);
}

}  // namespace
