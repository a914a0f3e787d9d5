// The headless side of the scripted user: the modal loop asks it for the
// next step; message boxes, file dialogs, beeps and help are recorded.
// The steps themselves are performed by the shared engine.
#include "automation_internal.h"
#include "posix/comctl/propsheet.h"
#include "posix/user/dialog.h"
#include "posix/user/ipc.h"
#include "posix/user/scripted_user.h"
#include "posix/user/window.h"

#include <chrono>

using namespace winuser;

namespace {

using Clock = std::chrono::steady_clock;

long LeftMs(Clock::time_point end) {
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
}

// Posts from other processes counted when the last step ended: one that
// arrived since then (and may already be delivered) satisfies a wait.
uint64_t postsAtLastStep = 0;

int TemplateOf(HWND dlg) {
    Window* w = Find(dlg);
    return w ? w->templateId : 0;
}

}  // namespace

namespace automation {
namespace detail {

void PlatformStart() {}
void PlatformReset() { winuser::Queue().clear(); }

bool IsSheet(HWND top) { return sheet::Is(top); }

int GuardTemplate(HWND top) { return sheet::Is(top) ? sheet::CurrentTemplate(top) : TemplateOf(top); }

std::string ClickTab(HWND s, int index) { return sheet::ClickTab(s, index); }

void EndAfterFailure(HWND top) {
    if (Find(top)) EndDialog(top, -1);
}

bool WaitForPost(int ms) {
    auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (!Queue().empty() || RemotePostCount() > postsAtLastStep) return true;
        long left = LeftMs(end);
        if (left <= 0) return false;
        ServeRemote((int)(left > 50 ? 50 : left));
    }
}

bool WaitEnabled(HWND top, int ms) {
    auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (!Find(top)) return false;
        if (IsWindowEnabled(top)) return true;
        if (DeliverOnePosted()) continue;
        long left = LeftMs(end);
        if (left <= 0) return false;
        ServeRemote((int)(left > 50 ? 50 : left));
    }
}

// The key goes through the loop, which turns F1 into WM_HELP.
void PressHelpKey(HWND focus) {
    PostMessageW(focus, WM_KEYDOWN, VK_F1, 1);
    PostMessageW(focus, WM_KEYUP, VK_F1, (LPARAM)0xC0000001u);
}

}  // namespace detail

HWND OpenDialog() { return winuser::TopModal(); }
int OpenDialogId() { return detail::GuardTemplate(winuser::TopModal()); }

}  // namespace automation

namespace winuser {
namespace user {

void Fail(const std::string& why, HWND dlg) { automation::detail::Fail(why, dlg); }

bool Act(HWND dlg) {
    bool more = automation::detail::PlayNextStep(dlg);
    postsAtLastStep = RemotePostCount();
    return more;
}

int AnswerMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags) {
    return automation::detail::AnswerMessageBox(owner, text, caption, flags);
}

void RecordBeep(UINT type) { automation::detail::RecordBeep(type); }

void RecordHelp(HWND, const std::u16string& file, UINT cmd, ULONG_PTR data) {
    automation::detail::RecordHelp(file, cmd, data);
}

bool AnswerFileDialog(HWND owner, bool save, const std::u16string& title, DWORD flags, std::u16string& path) {
    return automation::detail::AnswerFileDialog(owner, save, title, flags, path);
}

void DialogOpened(HWND dlg) { automation::detail::DialogOpened(TemplateOf(dlg)); }

void DialogEnded(HWND dlg, INT_PTR result) { automation::detail::DialogEnded(TemplateOf(dlg), result); }

}  // namespace user
}  // namespace winuser
