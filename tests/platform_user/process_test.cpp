#include "harness.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<int> commands;

INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND) {
        commands.push_back(LOWORD(wp));
        if (LOWORD(wp) == 1022) EndDialog(h, 1022);
    }
    return msg == WM_INITDIALOG;
}

class ProcessTest : public UserTest {};

// The child plays the import program: it takes the foreground window,
// checks a control, disables and re-enables it and posts a command.
TEST_F(ProcessTest, AnotherProcessDisablesAndPosts) {
    bool wasDisabled = false;
    automation::Play(automation::Script()
                         .call([](HWND) {
                             pid_t pid = fork();
                             if (pid == 0) {
                                 HWND fg = GetForegroundWindow();
                                 int ok = fg && IsWindow(fg) && GetDlgItem(fg, IDC_MULTI) && !GetDlgItem(fg, 4444);
                                 ok = ok && EnableWindow(fg, FALSE) == FALSE;
                                 ok = ok && !IsWindowEnabled(fg);
                                 usleep(100000);
                                 ok = ok && EnableWindow(fg, TRUE) != FALSE;
                                 ok = ok && SetForegroundWindow(fg);
                                 ok = ok && PostMessageW(fg, WM_COMMAND, 1022, 0);
                                 _exit(ok ? 0 : 1);
                             }
                         })
                         .wait(5000)
                         .call([&](HWND d) { wasDisabled = !IsWindowEnabled(d); })
                         .wait(5000));
    INT_PTR r = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, Proc, 0);
    int status = 0;
    wait(&status);
    EXPECT_EQ(r, 1022);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(failures.empty()) << (failures.empty() ? "" : failures[0]);
    (void)wasDisabled;
}

// The user waits while the other program keeps the dialog disabled.
TEST_F(ProcessTest, UserWaitsUntilEnabledAgain) {
    bool enabled = false;
    automation::Play(automation::Script()
                         .call([](HWND) {
                             if (fork() == 0) {
                                 HWND fg = GetForegroundWindow();
                                 EnableWindow(fg, FALSE);
                                 PostMessageW(fg, WM_COMMAND, 1234, 0);
                                 usleep(150000);
                                 EnableWindow(fg, TRUE);
                                 _exit(0);
                             }
                         })
                         .wait(5000)
                         .waitEnabled(5000)
                         .call([&](HWND d) {
                             enabled = IsWindowEnabled(d) != FALSE;
                             EndDialog(d, 7);
                         }));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, Proc, 0), 7);
    wait(nullptr);
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(failures.empty()) << (failures.empty() ? "" : failures[0]);
}

TEST_F(ProcessTest, WaitTimesOutAndFails) {
    automation::Play(automation::Script().wait(50));
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, Proc, 0);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("no message arrived"), std::string::npos);
}

TEST_F(ProcessTest, GoneProcessIsNoWindow) {
    pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    HWND dead = (HWND)(((uintptr_t)pid << 24) | 1);
    EXPECT_FALSE(IsWindow(dead));
    EXPECT_FALSE(PostMessageW(dead, WM_COMMAND, 1, 0));
}

}  // namespace
