// The shared routines inside a real dialog, played by the scripted user.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>

#include "automation.h"
#include "list_texts.h"
#include "scratch_dir.h"
#include "scripted_user.h"
#include "dialog_help.h"
#include "dialog_readers.h"
#include "edit_filters.h"
#include "list_routines.h"
#include "messages.h"
#include "routines_ids.h"
#include "shared_state.h"

namespace {

INT_PTR CALLBACK Proc(HWND d, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        WCHAR text[128] = {0};
        GetDlgItemTextW(d, LOWORD(wp), text, 128);
        switch (LOWORD(wp)) {
        case IDC_NAME: FilterEditChars(d, IDC_NAME, text, '[', ']', kFilterExclude); break;
        case IDC_FAX: FilterFaxNumber(d, IDC_FAX, text); break;
        case IDC_DIGITS: FilterEditChars(d, IDC_DIGITS, text, '0', '9', kFilterRangeStarHash); break;
        case IDC_SEARCH: SearchListByPrefix(d, IDC_LIST); break;
        }
    }
    return msg == WM_INITDIALOG;
}

class RoutinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        static ScratchDir scratch("fax-routines");
        const std::string& dir = scratch.dir();
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
        StartScriptedUser();
    }
    void TearDown() override {
        EndScriptedUser();
    }
    void Run(automation::Script s) {
        s.call([](HWND d) { EndDialog(d, 1); });
        automation::Play(s);
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_ROUTINES), nullptr, Proc, 0);
    }
};

TEST_F(RoutinesTest, TypedCharactersAreFilteredAsTheyArrive) {
    struct Case {
        int id;
        std::u16string typed;
        std::u16string shown;
        size_t beeps;
    } cases[] = {
        {IDC_NAME, u"ab[c", u"abc", 1},
        {IDC_NAME, u"x\x01y]", u"xy", 2},          // field separators are never accepted
        {IDC_FAX, u"12a b{3", u"12AB3", 2},        // lower case shown in upper case, blank and { refused
        {IDC_FAX, u"[0,9]", u"09", 3},
        {IDC_DIGITS, u"1*#a2", u"1*#2", 1},
    };
    for (const auto& c : cases) {
        StartScriptedUser();
        std::u16string shown;
        Run(automation::Script().type(c.id, c.typed).call([&](HWND d) { shown = Text(d, c.id); }));
        EXPECT_EQ(shown, c.shown) << static_cast<int>(c.id);
        EXPECT_EQ(automation::Seen().beeps.size(), c.beeps) << static_cast<int>(c.id);
    }
}

TEST_F(RoutinesTest, PastedTextLosesOnlyTheRefusedCharacter) {
    std::u16string shown;
    Run(automation::Script().setText(IDC_NAME, u"ab[c").call([&](HWND d) { shown = Text(d, IDC_NAME); }));
    EXPECT_EQ(shown, u"abc");
}

TEST_F(RoutinesTest, DeletingSelectedItemsMovesTheParallelSlots) {
    static RecipientBlock block;
    static EntryDetails details[kMaxRecipients];
    block = RecipientBlock{};
    block.recipientCount = 3;
    for (int i = 0; i < 3; ++i) {
        block.recipients[i].name[0] = static_cast<char>('A' + i);
        details[i].workFlag = i;
    }
    LRESULT selected = -2;
    std::u16string first;
    Run(automation::Script()
            .call([](HWND d) {
                for (const char16_t* t : {u"A <1>", u"B <2>", u"C <3>"})
                    SendDlgItemMessageW(d, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
            })
            .selectMany(IDC_LIST, {0, 2})
            .call([&](HWND d) {
                DeleteSelectedItems(d, IDC_LIST, kMaxRecipients, &block, details);
                int sel = -1;
                if (SendDlgItemMessageW(d, IDC_LIST, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&sel)) == 1)
                    selected = sel;
                first = ListText(d, IDC_LIST, 0);
            }));
    EXPECT_EQ(first, u"B <2>");
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(block.recipientCount, 1);
    EXPECT_EQ(block.recipients[0].name[0], 'B');
    EXPECT_EQ(details[0].workFlag, 1);
}

TEST_F(RoutinesTest, SearchStartsAtTheSelection) {
    struct Case {
        int selectFirst;  // -1: nothing selected
        std::u16string typed;
        int expected;
    } cases[] = {{1, u"ma", 1}, {-1, u"ma", 0}, {0, u"mat", 1}, {1, u"pe", 2}, {2, u"ma", 0}, {-1, u"zz", -1}};
    for (const auto& c : cases) {
        StartScriptedUser();
        int got = -2;
        automation::Script s;
        s.call([](HWND d) {
            for (const char16_t* t : {u"Maija <1>", u"Matti <2>", u"Pekka <3>"})
                SendDlgItemMessageW(d, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
        });
        if (c.selectFirst >= 0) s.select(IDC_LIST, c.selectFirst);
        s.setText(IDC_SEARCH, c.typed).call([&](HWND d) {
            int sel = -1;
            got = SendDlgItemMessageW(d, IDC_LIST, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&sel)) == 1 ? sel : -1;
        });
        Run(s);
        int expected = c.expected < 0 ? c.selectFirst : c.expected;  // no match leaves the selection
        EXPECT_EQ(got, expected) << "selected " << c.selectFirst;
    }
}

TEST_F(RoutinesTest, MessagesShowTheirTexts) {
    automation::Play(automation::Script().answer(IDOK).answer(IDNO).answer(IDOK));
    ShowPhonebookFileError(nullptr, WIDE("C:\\X.KFD"), WIDE("Tietokantatiedoston virhe"), DB_NOT_FOUND);
    int button = ShowRecipientMessage(nullptr, WIDE("Anna"), WIDE("0123"), WIDE("\n\nLoppu"), WIDE("Otsikko"),
                                      MB_YESNO | MB_ICONQUESTION);
    ShowPhonebookFileError(nullptr, WIDE("P.KFD"), WIDE("C"), DB_WRITE_FAILED);
    const auto& seen = automation::Seen().messageBoxes;
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, u"Puhelinmuistiotiedostoa ei löydy - C:\\X.KFD");
    EXPECT_EQ(seen[0].caption, u"Tietokantatiedoston virhe");
    EXPECT_EQ(seen[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(seen[1].text, u"Nimi: Anna\nFaksinumero: 0123\n\nLoppu");
    EXPECT_EQ(button, IDNO);
    EXPECT_EQ(seen[2].text, u"P.KFD");
}

TEST_F(RoutinesTest, HelpIsClosedOnlyByTheDialogThatOpenedIt) {
    Run(automation::Script()
            .call([](HWND d) { CloseDialogHelp(d); })
            .call([](HWND d) { ShowDialogHelp(d, 15500); })
            .call([](HWND d) {
                CloseDialogHelp(d);
                CloseDialogHelp(d);
            }));
    const auto& help = automation::Seen().help;
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(help[0].data, 15500u);
    EXPECT_EQ(help[1].command, static_cast<UINT>(HELP_QUIT));
    EXPECT_NE(help[0].file.find(u"FAXHELP.HLP"), std::u16string::npos);
}

}  // namespace
