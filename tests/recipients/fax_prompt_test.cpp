// The fax confirmation and the whole fax flow, played by the scripted user.
#include <cstdio>
#include <cstring>

#include "dialog_flow_fixture.h"
#include "fax_flow.h"
#include "fax_prompt.h"

namespace {

using automation::Script;
using FaxPromptTest = DialogFlowTest;

INT_PTR OpenPrompt(const Script& user) {
    automation::Play(user);
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(108), nullptr, FaxPromptDlgProc, 0);
}

void FillWorking(int n) {
    WorkingRecipients.recipientCount = n;
    for (int i = 0; i < n; ++i) {
        FaxRecipient& r = WorkingRecipients.recipients[i];
        r = DefaultRecipient;
        std::strcpy(r.name, "Sales");
        std::snprintf(r.faxNumber, sizeof r.faxNumber, "%d", i);
        r.comm.speedDial = i % 2;
    }
}

TEST_F(FaxPromptTest, ShowsEveryRecipientAndStartsWithoutDelay) {
    FillWorking(50);
    PromptDelay = DelayedSend{1, 5, 5};
    Script s;
    s.dialog(108).call([](HWND d) {
        auto items = Items(d, 800);
        ASSERT_EQ(items.size(), 50u);
        EXPECT_EQ(items[0], u"Sales <0>");
        EXPECT_EQ(items[1], u"Sales <'1'>");
        EXPECT_EQ(GetFocus(), GetDlgItem(d, 801));
        EXPECT_EQ(IsDlgButtonChecked(d, 803), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_FALSE(Enabled(d, 804) || Enabled(d, 805));
        EXPECT_EQ(Text(d, 804), u"00");
        EXPECT_EQ(Text(d, 805), u"00");
        EXPECT_EQ(PromptDelay.on + PromptDelay.hour + PromptDelay.minute, 0);
    });
    s.escape().click(806).click(802);  // Esc does not end it
    EXPECT_EQ(OpenPrompt(s), 0);
    const auto& help = automation::Seen().help;
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].data, 15609u);
    EXPECT_EQ(help[1].command, static_cast<UINT>(HELP_QUIT));
}

TEST_F(FaxPromptTest, DelayedSendTimeIsCheckedAsTyped) {
    struct Case {
        bool check;
        std::u16string hour, minute;
        bool uncheckAfter;
        DelayedSend expect;
        std::u16string hourShown;
        size_t beeps;
    } cases[] = {
        {true, u"", u"", false, {1, 0, 0}, u"00", 0},       // checked, nothing typed: 00:00
        {true, u"75", u"", false, {1, 7, 0}, u"7", 1},      // 75 refused, 7 back
        {true, u"2x3", u"59", false, {1, 23, 59}, u"23", 1},
        {true, u"18", u"60", false, {1, 18, 6}, u"18", 1},  // 60 refused, 6 stays
        {true, u"9", u"30", true, {0, 9, 30}, u"9", 0},     // unchecked: sent now, time kept
        {false, u"", u"", false, {0, 0, 0}, u"00", 0},
    };
    for (const auto& c : cases) {
        automation::Reset();
        FillWorking(1);
        Script s;
        if (c.check) s.check(803);
        if (!c.hour.empty()) s.setText(804, u"").type(804, c.hour);
        if (!c.minute.empty()) s.setText(805, u"").type(805, c.minute);
        if (c.uncheckAfter) s.check(803, false);
        std::u16string shown;
        s.call([&](HWND d) { shown = Text(d, 804); }).click(801);
        EXPECT_EQ(OpenPrompt(s), 1);
        std::string label(c.hour.begin(), c.hour.end());
        EXPECT_EQ(PromptDelay.on, c.expect.on) << label;
        EXPECT_EQ(PromptDelay.hour, c.expect.hour) << label;
        EXPECT_EQ(PromptDelay.minute, c.expect.minute) << label;
        EXPECT_EQ(shown, c.hourShown) << label;
        EXPECT_EQ(automation::Seen().beeps.size(), c.beeps) << label;
        for (UINT b : automation::Seen().beeps) EXPECT_EQ(b, static_cast<UINT>(MB_OK)) << label;  // the default beep
    }
}

TEST_F(FaxPromptTest, FlowFillsFaxSSOnlyWhenBothAreConfirmed) {
    struct Case {
        bool listOk, promptOk;
        int result;
    } cases[] = {{false, false, 0}, {true, false, 0}, {true, true, 1}};
    for (const auto& c : cases) {
        automation::Reset();
        host.g4Available = 1;
        host.speedDial999 = 1;
        FaxSS ss = DefaultFaxSS;
        Script s;
        s.dialog(101).check(1027);
        Add(s, u"Far", u"999");
        s.click(c.listOk ? 1 : 2);
        if (c.listOk) {
            s.dialog(108).check(803).setText(804, u"").type(804, u"21").setText(805, u"").type(805, u"05");
            s.click(c.promptOk ? 801 : 802);
        }
        automation::Play(s);
        EXPECT_EQ(RunFaxFlow(nullptr, host, ss), c.result);
        EXPECT_EQ(automation::StepsLeft(), 0u);
        if (c.result) {
            EXPECT_EQ(ss.delaySend, 1);
            EXPECT_EQ(ss.delayHour, 21);
            EXPECT_EQ(ss.delayMinute, 5);
            ASSERT_EQ(ss.recipientCount, 1);
            EXPECT_STREQ(ss.recipients[0].faxNumber, "999");
            EXPECT_EQ(ss.recipients[0].comm.speedDial, 1);
        } else {
            EXPECT_EQ(std::memcmp(&ss, &DefaultFaxSS, sizeof ss), 0);
        }
    }
}

}  // namespace
