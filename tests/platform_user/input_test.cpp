#include "harness.h"

#if defined(_WIN32)
#include <thread>
#endif

namespace {

// What a person's F1, right click and waiting cause, and painting.
struct Seen {
    std::vector<HELPINFO> help;
    std::vector<std::pair<HWND, HWND>> menus;  // window told, window clicked
    int paints = 0;
} seen;

INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_HELP: seen.help.push_back(*(const HELPINFO*)lp); return TRUE;
    case WM_CONTEXTMENU: seen.menus.push_back({h, (HWND)wp}); return TRUE;
    case WM_PAINT: ++seen.paints; return FALSE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(h, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

class InputTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        seen = Seen();
    }
    INT_PTR Run(const automation::Script& s) {
        automation::Play(s);
        return DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, Proc, 0);
    }
};

TEST_F(InputTest, HelpKeyTellsWhatHelpIsFor) {
    HWND check = nullptr;
    EXPECT_EQ(Run(automation::Script()
                      .call([&](HWND d) { check = GetDlgItem(d, IDC_CHECK); })
                      .help(IDC_CHECK)
                      .call([&](HWND) { EXPECT_EQ(GetFocus(), check) << "F1 is pressed on the focused control"; })
                      .click(IDOK)),
              IDOK);
    ASSERT_EQ(seen.help.size(), 1u) << "the unhandled request travels up to the dialog";
    EXPECT_EQ(seen.help[0].cbSize, (UINT)sizeof(HELPINFO));
    EXPECT_EQ(seen.help[0].iContextType, HELPINFO_WINDOW);
    EXPECT_EQ(seen.help[0].iCtrlId, IDC_CHECK);
    EXPECT_EQ(seen.help[0].hItemHandle, (HANDLE)check);
    EXPECT_TRUE(failures.empty()) << failures[0];
}

// Headless, a key step is input: F1 on it asks for help as the system does.
// (On Windows a posted key is not input; the help step stands for it.)
TEST_F(InputTest, HelpFromTheF1Key) {
    if (!kFollowsDocsOverWine) GTEST_SKIP() << "posted keys are not input on Windows";
    Run(automation::Script().key(IDC_EDIT, VK_F1).click(IDOK));
    ASSERT_EQ(seen.help.size(), 1u);
    EXPECT_EQ(seen.help[0].iCtrlId, IDC_EDIT);
}

TEST_F(InputTest, RightClickReachesTheDialog) {
    HWND list = nullptr;
    Run(automation::Script().call([&](HWND d) { list = GetDlgItem(d, IDC_SORTED); }).contextMenu(IDC_SORTED).click(IDOK));
    ASSERT_EQ(seen.menus.size(), 1u);
    EXPECT_EQ(seen.menus[0].second, list) << "the dialog is told which control was clicked";

    automation::Reset();
    Run(automation::Script().contextMenu(IDC_EDIT));
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("own menu"), std::string::npos) << failures[0];
}

// While another program works for the dialog it is disabled as a whole:
// a step fails loudly, a wait for it gives up after its time.
TEST_F(InputTest, DisabledDialogRefusesSteps) {
    struct Case {
        const char* name;
        automation::Script then;
        const char* expect;
    } cases[] = {
        {"click", automation::Script().click(IDOK), "dialog is disabled"},
        {"typing", automation::Script().type(IDC_EDIT, u"x"), "dialog is disabled"},
        {"wait too short", automation::Script().waitEnabled(50), "not enabled again within 50 ms"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        failures.clear();
        automation::Script s;
        s.call([](HWND d) { EnableWindow(d, FALSE); });
        for (auto& st : c.then.steps) s.steps.push_back(st);
        EXPECT_EQ(Run(s), -1);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_NE(failures[0].find(c.expect), std::string::npos) << failures[0];
    }
}

#if defined(_WIN32)
// Another thread stands for the other program here.
TEST_F(InputTest, WaitUntilEnabledAgain) {
    std::thread other;
    EXPECT_EQ(Run(automation::Script()
                      .call([&](HWND d) {
                          EnableWindow(d, FALSE);
                          other = std::thread([d] {
                              Sleep(100);
                              EnableWindow(d, TRUE);
                          });
                      })
                      .waitEnabled(5000)
                      .click(IDOK)),
              IDOK);
    other.join();
    EXPECT_TRUE(failures.empty()) << failures[0];
}
#endif

// The check box's paints, counted by a subclass procedure (a named one: a
// lambda converts to a pointer of the default calling convention, which on
// 32-bit Windows is not a window procedure's).
int* checkPaintCounter;
WNDPROC checkPreviousProc;
LRESULT CALLBACK CountCheckPaints(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) ++*checkPaintCounter;
    return CallWindowProcW(checkPreviousProc, h, m, w, l);
}

TEST_F(InputTest, ShownWindowsArePainted) {
    int atOpening = -1, checkPaints = 0;
    HWND check = nullptr;
    checkPaintCounter = &checkPaints;
    Run(automation::Script()
            .call([&](HWND d) {
                atOpening = seen.paints;
                check = GetDlgItem(d, IDC_CHECK);
                ShowWindow(check, SW_HIDE);
                checkPreviousProc =
                    (WNDPROC)SetWindowLongPtrW(check, GWLP_WNDPROC, (LONG_PTR)CountCheckPaints);
                ShowWindow(check, SW_SHOW);
            })
            .call([&](HWND) {
                EXPECT_GE(checkPaints, 1) << "a window shown is painted before the user acts again";
                SetWindowLongPtrW(check, GWLP_WNDPROC, (LONG_PTR)checkPreviousProc);
            })
            .click(IDOK));
    EXPECT_GE(atOpening, 1) << "the dialog is painted when it is first shown";
}

}  // namespace
