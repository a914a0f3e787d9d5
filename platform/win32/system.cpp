// What the scripted user does its own way on Windows: the windows it is
// playing, a sheet's tabs, waiting in the real loop, and F1.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "tracked.h"

namespace automation {
namespace win {

std::vector<Tracked>& TrackedWindows() {
    static std::vector<Tracked> v;
    return v;
}

Tracked* FindTracked(HWND h) {
    for (auto& t : TrackedWindows())
        if (t.hwnd == h) return &t;
    return nullptr;
}

// The last one created is the innermost: a nested dialog disables its
// owner, and another process may disable the innermost itself.
Tracked* Innermost() {
    auto& v = TrackedWindows();
    for (size_t i = v.size(); i-- > 0;)
        if (IsWindow(v[i].hwnd)) return &v[i];
    return nullptr;
}

HWND CurrentPage(const Tracked& t) {
    if (t.kind != Kind::Sheet) return nullptr;
    return (HWND)SendMessageW(t.hwnd, PSM_GETCURRENTPAGEHWND, 0, 0);
}

int TemplateOf(const Tracked& t) {
    if (t.kind != Kind::Sheet) return t.templateId;
    HWND page = CurrentPage(t);
    if (!page) return 0;
    LRESULT i = SendMessageW(t.hwnd, PSM_HWNDTOINDEX, (WPARAM)page, 0);
    return i >= 0 && (size_t)i < t.pages.size() ? t.pages[(size_t)i] : 0;
}

}  // namespace win

namespace detail {

bool IsSheet(HWND top) {
    win::Tracked* t = win::FindTracked(top);
    return t && t->kind == win::Kind::Sheet;
}

int GuardTemplate(HWND top) {
    win::Tracked* t = win::FindTracked(top);
    return t ? win::TemplateOf(*t) : 0;
}

void EndAfterFailure(HWND top) {
    if (IsSheet(top)) PostMessageW(top, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    else EndDialog(top, -1);
}

// The tab control tells its sheet of a click: changing, then changed,
// unless the page refuses to be left.
std::string ClickTab(HWND sheet, int index) {
    HWND tab = (HWND)SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0);
    if (!tab) return "the sheet has no tabs";
    if (index >= SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)) return "the sheet has no page " + std::to_string(index);
    if (index == SendMessageW(tab, TCM_GETCURSEL, 0, 0)) return "";
    NMHDR nm{tab, (UINT_PTR)GetDlgCtrlID(tab), (UINT)TCN_SELCHANGING};
    if (SendMessageW(sheet, WM_NOTIFY, nm.idFrom, (LPARAM)&nm)) return "";
    SendMessageW(tab, TCM_SETCURSEL, (WPARAM)index, 0);
    nm.code = (UINT)TCN_SELCHANGE;
    SendMessageW(sheet, WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
    return "";
}

bool WaitForPost(int ms) {
    DWORD end = GetTickCount() + (DWORD)ms;
    for (;;) {
        MSG m;
        if (PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE)) return true;
        DWORD now = GetTickCount();
        if ((LONG)(end - now) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_POSTMESSAGE);
    }
}

// Runs the thread's messages (not the user's own timer) until the dialog
// is enabled again.
bool WaitEnabled(HWND top, int ms) {
    DWORD end = GetTickCount() + (DWORD)ms;
    for (;;) {
        if (!IsWindow(top)) return false;
        if (IsWindowEnabled(top)) return true;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_TIMER && !m.hwnd) continue;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (!IsWindow(top) || IsWindowEnabled(top)) continue;
        DWORD now = GetTickCount();
        if ((LONG)(end - now) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now < 50 ? end - now : 50, QS_ALLINPUT);
    }
}

// The system turns a pressed F1 into WM_HELP for the focused window; a
// key posted to the queue is not input, so the step sends what the
// system would.
void PressHelpKey(HWND focus) {
    HELPINFO hi{};
    hi.cbSize = sizeof hi;
    hi.iContextType = HELPINFO_WINDOW;
    hi.iCtrlId = GetDlgCtrlID(focus);
    hi.hItemHandle = focus;
    hi.dwContextId = GetWindowContextHelpId(focus);
    GetCursorPos(&hi.MousePos);
    SendMessageW(focus, WM_HELP, 0, (LPARAM)&hi);
}

}  // namespace detail
}  // namespace automation
