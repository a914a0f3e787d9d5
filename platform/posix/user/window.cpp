// The window table and the generic window calls.
#include "posix/comctl/listbox.h"
#include "posix/user/controls.h"
#include "posix/user/dialog.h"
#include "posix/user/ipc.h"
#include "posix/user/text.h"
#include "posix/user/window.h"

#include <pthread.h>

#include <unistd.h>

#include <memory>
#include <unordered_map>

namespace winuser {
namespace {

// A handle carries the process id in its upper bits, so any process can
// tell whose window it is: (pid << 24) | serial.
constexpr int kSerialBits = 24;

struct Table {
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    uint32_t serial = 0;
    HWND focus = nullptr;
    HWND active = nullptr;
    std::deque<Posted> queue;
};

Table& T() {
    static Table t;
    return t;
}

struct ClassInfo {
    Kind kind;
    WNDPROC proc;
};

std::map<std::u16string, ClassInfo>& Classes() {
    static std::map<std::u16string, ClassInfo> c;
    return c;
}

std::u16string UpperAll(std::u16string s) {
    for (auto& c : s) c = UpperChar(c);
    return s;
}

bool BuiltinClass(const std::u16string& cls, ClassInfo& out) {
    std::u16string u = UpperAll(cls);
    if (u == u"BUTTON") out = {Kind::Button, ButtonProc};
    else if (u == u"EDIT") out = {Kind::Edit, EditProc};
    else if (u == u"STATIC") out = {Kind::Static, StaticProc};
    else if (u == u"LISTBOX") out = {Kind::ListBox, ListBoxProc};
    else if (u == u"COMBOBOX") out = {Kind::ComboBox, ComboBoxProc};
    else if (u == u"#32770") out = {Kind::Dialog, DialogProc};
    else {
        auto it = Classes().find(u);
        if (it == Classes().end()) return false;
        out = it->second;
    }
    return true;
}

}  // namespace

Window* Find(HWND h) {
    auto& w = T().windows;
    auto it = w.find((uintptr_t)h);
    if (it == w.end()) return nullptr;
    return it->second.get();
}

namespace {

// This process's id, asked for once: every window call compares handles
// with it. A forked child asks again.
DWORD g_selfPid = 0;
void ForgetSelfPid() { g_selfPid = 0; }

DWORD SelfPid() {
    if (!g_selfPid) {
        static const bool registered = pthread_atfork(nullptr, nullptr, ForgetSelfPid) == 0;
        (void)registered;
        g_selfPid = (DWORD)getpid();
    }
    return g_selfPid;
}

}  // namespace

bool IsLocalHandle(HWND h) { return h && HandleProcess(h) == SelfPid(); }
DWORD HandleProcess(HWND h) { return (DWORD)((uintptr_t)h >> kSerialBits); }

HWND NewHandle() {
    uint32_t s = ++T().serial & ((1u << kSerialBits) - 1);
    if (s == 0) s = ++T().serial & ((1u << kSerialBits) - 1);
    return (HWND)(((uintptr_t)SelfPid() << kSerialBits) | s);
}

std::deque<Posted>& Queue() { return T().queue; }

HWND Create(DWORD exStyle, const std::u16string& cls, const std::u16string& text, DWORD style, int x, int y,
            int cx, int cy, HWND parent, int id, HINSTANCE inst, LPVOID param) {
    ClassInfo ci;
    if (!BuiltinClass(cls, ci)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* p = parent ? Lookup(parent) : nullptr;
    if (parent && !p) return nullptr;
    auto w = std::make_unique<Window>();
    w->hwnd = NewHandle();
    w->kind = ci.kind;
    w->className = cls;
    w->proc = ci.proc;
    w->parent = parent;
    w->id = id;
    w->style = style;
    w->exStyle = exStyle;
    w->text = text;
    w->instance = inst;
    w->rect = {x, y, x + cx, y + cy};
    if (ci.kind == Kind::Edit && (style & ES_MULTILINE)) w->limit = 0xFFFFFFFF;
    w->invalid = (style & WS_VISIBLE) != 0;
    HWND h = w->hwnd;
    T().windows[(uintptr_t)h] = std::move(w);
    if (p && (style & WS_CHILD)) p->children.push_back(h);
    EnsureServer();
    if (Send(h, WM_CREATE, 0, (LPARAM)param) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    return h;
}

Window* Lookup(HWND h) {
    Window* w = Find(h);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Lookup(h);
    if (!w || !w->proc) return 0;
    return w->proc(h, msg, wp, lp);
}

void Notify(Window& ctl, int code) {
    if (!ctl.parent) return;
    Send(ctl.parent, WM_COMMAND, MAKEWPARAM(ctl.id, code), (LPARAM)ctl.hwnd);
}

namespace {

// F1 asks for help on the focused window (or the active one): WM_HELP
// with what the help is for.
void SendHelpKey() {
    HWND target = T().focus ? T().focus : T().active;
    if (!Find(target)) return;
    HELPINFO hi{};
    hi.cbSize = sizeof hi;
    hi.iContextType = HELPINFO_WINDOW;
    hi.iCtrlId = GetDlgCtrlID(target);
    hi.hItemHandle = target;
    hi.dwContextId = 0;
    Send(target, WM_HELP, 0, (LPARAM)&hi);
}

// Keystrokes pass the dialog manager of the open dialog first, as in the
// loop of a modal dialog; F1 then becomes a request for help.
void Dispatch(const Posted& p) {
    bool key = p.msg >= WM_KEYDOWN && p.msg <= WM_CHAR;
    MSG m{p.hwnd, p.msg, p.wp, p.lp, 0, {0, 0}};
    if (!key || !TopModal() || !IsDialogMessageW(TopModal(), &m)) Send(p.hwnd, p.msg, p.wp, p.lp);
    if (p.msg == WM_KEYDOWN && p.wp == VK_F1) SendHelpKey();
}

}  // namespace

bool DeliverOnePosted() {
    auto& q = T().queue;
    while (!q.empty()) {
        Posted p = q.front();
        q.pop_front();
        if (!Find(p.hwnd)) continue;  // the window went away meanwhile
        Dispatch(p);
        return true;
    }
    return false;
}

void Invalidate(HWND h) {
    Window* w = Find(h);
    if (!w) return;
    w->invalid = true;
    for (HWND c : w->children)
        if (Window* k = Find(c))
            if (k->style & WS_VISIBLE) Invalidate(c);
}

void Validate(HWND h) {
    if (Window* w = Find(h)) w->invalid = false;
}

namespace {
HWND FirstInvalid(HWND h) {
    Window* w = Find(h);
    if (!w || !(w->style & WS_VISIBLE)) return nullptr;
    if (w->invalid) return h;
    for (HWND c : w->children)
        if (HWND f = FirstInvalid(c)) return f;
    return nullptr;
}
}  // namespace

bool DeliverOnePaint() {
    std::vector<HWND> tops;
    for (auto& kv : T().windows)
        if (!(kv.second->style & WS_CHILD)) tops.push_back(kv.second->hwnd);
    for (HWND t : tops)
        if (HWND h = FirstInvalid(t)) {
            // Validated before it is sent: a window that never paints
            // must not be asked for ever.
            Validate(h);
            Send(h, WM_PAINT, 0, 0);
            return true;
        }
    return false;
}

void ForgetWindow(HWND h) {
    auto& t = T();
    if (t.focus == h) t.focus = nullptr;
    if (t.active == h) t.active = nullptr;
    t.windows.erase((uintptr_t)h);
}

void SetFocusInternal(HWND h) { T().focus = h; }

}  // namespace winuser

using namespace winuser;

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int cx, int cy,
                            HWND parent, HMENU menu, HINSTANCE inst, LPVOID param) {
    if (!cls) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::u16string c = IS_INTRESOURCE(cls) ? std::u16string() : std::u16string(cls);
    if (IS_INTRESOURCE(cls)) {
        switch ((uintptr_t)cls) {
        case 0x80: c = u"BUTTON"; break;
        case 0x81: c = u"EDIT"; break;
        case 0x82: c = u"STATIC"; break;
        case 0x83: c = u"LISTBOX"; break;
        case 0x85: c = u"COMBOBOX"; break;
        default: SetLastError(ERROR_CANNOT_FIND_WND_CLASS); return nullptr;
        }
    }
    int id = (style & WS_CHILD) ? (int)(uintptr_t)menu : 0;
    HWND h = Create(exStyle, c, W(name), style, x, y, cx, cy, parent, id, inst, param);
    if (h && (style & WS_VISIBLE)) {
        // already visible by style
    }
    return h;
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string u;
    for (const WCHAR* p = wc->lpszClassName; *p; ++p) u.push_back(UpperChar(*p));
    if (Classes().count(u)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    Classes()[u] = {Kind::Generic, wc->lpfnWndProc};
    return (ATOM)(0xC000 + Classes().size());
}

LRESULT WINAPI DefWindowProcW(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Find(h);
    if (!w) return 0;
    switch (msg) {
    case WM_SETTEXT:
        w->text = W((LPCWSTR)lp);
        return TRUE;
    case WM_GETTEXTLENGTH:
        return (LRESULT)w->text.size();
    case WM_GETTEXT: {
        if (!wp || !lp) return 0;
        size_t n = w->text.size() < wp - 1 ? w->text.size() : wp - 1;
        WCHAR* out = (WCHAR*)lp;
        for (size_t i = 0; i < n; ++i) out[i] = w->text[i];
        out[n] = 0;
        return (LRESULT)n;
    }
    case WM_CLOSE:
        DestroyWindow(h);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_CLOSE) Send(h, WM_CLOSE, 0, 0);
        return 0;
    case WM_HELP:
    case WM_CONTEXTMENU:
        // Unhandled help travels up to the parent, as on Windows.
        if (w->parent && (w->style & WS_CHILD)) return Send(w->parent, msg, wp, lp);
        return 0;
    default:
        return 0;
    }
}

LRESULT WINAPI CallWindowProcW(WNDPROC prev, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return prev ? prev(h, msg, wp, lp) : 0;
}

BOOL WINAPI DestroyWindow(HWND h) {
    Window* w = Lookup(h);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    if (w->style & WS_VISIBLE) w->style &= ~WS_VISIBLE;
    Send(h, WM_DESTROY, 0, 0);
    // Children are destroyed after their parent has seen WM_DESTROY.
    std::vector<HWND> kids = Find(h) ? Find(h)->children : std::vector<HWND>();
    for (HWND k : kids) DestroyWindow(k);
    // Owned popups go too.
    std::vector<HWND> owned;
    for (auto& kv : T().windows)
        if (kv.second->parent == h && !(kv.second->style & WS_CHILD)) owned.push_back(kv.second->hwnd);
    for (HWND o : owned) DestroyWindow(o);
    Send(h, WM_NCDESTROY, 0, 0);
    w = Find(h);
    if (!w) return TRUE;
    if (Window* p = Find(w->parent)) {
        auto& c = p->children;
        for (size_t i = 0; i < c.size(); ++i)
            if (c[i] == h) {
                c.erase(c.begin() + i);
                break;
            }
    }
    if (GetForegroundWindow() == h) SetForegroundLocal(nullptr);
    ForgetWindow(h);
    return TRUE;
}

namespace {
template <class Ch>
int CopyClassName(HWND h, Ch* out, int max, std::string (*narrow)(const std::u16string&)) {
    Window* w = Lookup(h);
    if (!w || !out || max <= 0) return 0;
    std::basic_string<Ch> name;
    if (narrow) for (char c : narrow(w->className)) name.push_back((Ch)c);
    else name.assign(w->className.begin(), w->className.end());
    size_t n = name.size() < (size_t)max - 1 ? name.size() : (size_t)max - 1;
    std::copy(name.begin(), name.begin() + n, out);
    out[n] = 0;
    return (int)n;
}
}  // namespace

int WINAPI GetClassNameW(HWND h, LPWSTR out, int max) { return CopyClassName<WCHAR>(h, out, max, nullptr); }
int WINAPI GetClassNameA(HWND h, LPSTR out, int max) { return CopyClassName<char>(h, out, max, ToAnsi); }

BOOL WINAPI IsWindow(HWND h) {
    if (!h) return FALSE;
    if (IsLocalHandle(h)) return Find(h) != nullptr;
    LRESULT r = 0;
    return RemoteCall(h, kIsWindow, 0, 0, 0, r) && r;
}

BOOL WINAPI IsChild(HWND parent, HWND h) {
    Window* w = Find(h);
    while (w && (w->style & WS_CHILD)) {
        if (w->parent == parent) return TRUE;
        w = Find(w->parent);
    }
    return FALSE;
}

HWND WINAPI GetParent(HWND h) {
    Window* w = Lookup(h);
    if (!w) return nullptr;
    // For a popup GetParent answers its owner.
    return w->parent;
}

HWND WINAPI GetWindow(HWND h, UINT cmd) {
    Window* w = Lookup(h);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER) return (w->style & WS_CHILD) ? nullptr : w->parent;
    Window* p = (w->style & WS_CHILD) ? Find(w->parent) : nullptr;
    if (!p) return nullptr;
    auto& c = p->children;
    size_t i = 0;
    while (i < c.size() && c[i] != h) ++i;
    switch (cmd) {
    case GW_HWNDFIRST: return c.front();
    case GW_HWNDLAST: return c.back();
    case GW_HWNDNEXT: return i + 1 < c.size() ? c[i + 1] : nullptr;
    case GW_HWNDPREV: return i > 0 ? c[i - 1] : nullptr;
    }
    return nullptr;
}

HWND WINAPI GetDesktopWindow(void) { return nullptr; }

DWORD WINAPI GetWindowThreadProcessId(HWND h, LPDWORD pid) {
    bool exists = IsLocalHandle(h) ? Lookup(h) != nullptr : IsWindow(h) != FALSE;
    if (!exists) return 0;
    if (pid) *pid = HandleProcess(h);
    return HandleProcess(h);
}

BOOL WINAPI PostMessageW(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (!h) {
        // A thread message; nothing here reads those.
        return TRUE;
    }
    if (!IsLocalHandle(h)) {
        LRESULT r = 0;
        if (!RemoteCall(h, kPost, msg, wp, lp, r)) return FALSE;
        return TRUE;
    }
    if (!Lookup(h)) return FALSE;
    Queue().push_back({h, msg, wp, lp});
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND h, int cmd) {
    Window* w = Lookup(h);
    if (!w) return FALSE;
    BOOL was = (w->style & WS_VISIBLE) != 0;
    bool show = cmd != SW_HIDE;
    if (show != (bool)was) {
        if (show) w->style |= WS_VISIBLE;
        else w->style &= ~WS_VISIBLE;
        if (show) Invalidate(h);
        Send(h, WM_SHOWWINDOW, show, 0);
        if (!show && GetFocus() == h) SetFocusInternal(nullptr);
    }
    return was;
}

BOOL WINAPI IsWindowVisible(HWND h) {
    if (!IsLocalHandle(h)) {
        LRESULT r = 0;
        return RemoteCall(h, kIsVisible, 0, 0, 0, r) && r;
    }
    // Visible only when it and all its ancestors are.
    for (Window* w = Find(h); w; w = (w->style & WS_CHILD) ? Find(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE)) return FALSE;
        if (!(w->style & WS_CHILD)) return TRUE;
    }
    return FALSE;
}

BOOL WINAPI EnableWindow(HWND h, BOOL enable) {
    if (h && !IsLocalHandle(h)) {
        LRESULT r = 0;
        if (!RemoteCall(h, kEnable, 0, enable ? 1 : 0, 0, r)) return FALSE;
        return (BOOL)r;
    }
    Window* w = Lookup(h);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        Send(h, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        // Documented: a window being disabled is first told to cancel any
        // mode (a capture, a drag) it is in.
        Send(h, WM_CANCELMODE, 0, 0);
        if (!(w = Find(h))) return FALSE;
        w->style |= WS_DISABLED;
        if (GetFocus() == h) SetFocus(nullptr);  // the control is told it lost the focus
        Send(h, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND h) {
    if (h && !IsLocalHandle(h)) {
        LRESULT r = 0;
        return RemoteCall(h, kIsEnabled, 0, 0, 0, r) && r;
    }
    Window* w = Lookup(h);
    return w && !(w->style & WS_DISABLED);
}

HWND WINAPI GetFocus(void) { return T().focus; }

HWND WINAPI SetFocus(HWND h) {
    HWND old = T().focus;
    if (h && !Lookup(h)) return nullptr;
    if (old == h) return old;
    T().focus = h;
    if (old && Find(old)) Send(old, WM_KILLFOCUS, (WPARAM)h, 0);
    if (h && T().focus == h) {
        // Remember it in the dialog, so activation can restore it.
        Window* w = Find(h);
        for (Window* p = w; p; p = (p->style & WS_CHILD) ? Find(p->parent) : nullptr)
            if (p->kind == Kind::Dialog && p != w) {
                p->focus = h;
                break;
            }
        Send(h, WM_SETFOCUS, (WPARAM)old, 0);
    }
    return old;
}

HWND WINAPI GetActiveWindow(void) { return T().active; }

HWND WINAPI SetActiveWindow(HWND h) {
    HWND old = T().active;
    if (h && !Lookup(h)) return nullptr;
    T().active = h;
    return old;
}

int WINAPI GetWindowTextLengthW(HWND h) { return (int)Send(h, WM_GETTEXTLENGTH, 0, 0); }
int WINAPI GetWindowTextLengthA(HWND h) { return GetWindowTextLengthW(h); }

int WINAPI GetWindowTextW(HWND h, LPWSTR buf, int max) {
    if (!buf || max <= 0) return 0;
    buf[0] = 0;
    if (!Lookup(h)) return 0;
    return (int)Send(h, WM_GETTEXT, (WPARAM)max, (LPARAM)buf);
}

int WINAPI GetWindowTextA(HWND h, LPSTR buf, int max) {
    if (!buf || max <= 0) return 0;
    buf[0] = 0;
    int len = GetWindowTextLengthW(h);
    std::u16string w(len + 1, u'\0');
    int n = GetWindowTextW(h, &w[0], len + 1);
    std::string a = ToAnsi(w.substr(0, n));
    size_t m = a.size() < (size_t)max - 1 ? a.size() : (size_t)max - 1;
    a.copy(buf, m);
    buf[m] = 0;
    return (int)m;
}

BOOL WINAPI SetWindowTextW(HWND h, LPCWSTR s) {
    if (!Lookup(h)) return FALSE;
    return (BOOL)Send(h, WM_SETTEXT, 0, (LPARAM)s);
}

BOOL WINAPI SetWindowTextA(HWND h, LPCSTR s) {
    std::u16string w = FromAnsi(s);
    return SetWindowTextW(h, s ? w.c_str() : nullptr);
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND h, int index) {
    Window* w = Lookup(h);
    if (!w) return 0;
    switch (index) {
    case GWLP_WNDPROC: return (LONG_PTR)w->proc;
    case GWLP_HINSTANCE: return (LONG_PTR)w->instance;
    case GWLP_HWNDPARENT: return (LONG_PTR)w->parent;
    case GWLP_ID: return w->id;
    case GWL_STYLE: return (LONG)w->style;
    case GWL_EXSTYLE: return (LONG)w->exStyle;
    case GWLP_USERDATA: return w->userData;
    }
    if (w->kind == Kind::Dialog) {
        if (index == (int)DWLP_MSGRESULT) return w->msgResult;
        if (index == (int)DWLP_DLGPROC) return (LONG_PTR)w->dlgProc;
        if (index == (int)DWLP_USER) return w->dlgUser;
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND h, int index, LONG_PTR v) {
    Window* w = Lookup(h);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtrW(h, index);
    switch (index) {
    case GWLP_WNDPROC: w->proc = (WNDPROC)v; return old;
    case GWLP_HINSTANCE: w->instance = (HINSTANCE)v; return old;
    case GWLP_ID: w->id = (int)v; return old;
    case GWL_STYLE: w->style = (DWORD)v; return old;
    case GWL_EXSTYLE: w->exStyle = (DWORD)v; return old;
    case GWLP_USERDATA: w->userData = v; return old;
    }
    if (w->kind == Kind::Dialog) {
        if (index == (int)DWLP_MSGRESULT) { w->msgResult = v; return old; }
        if (index == (int)DWLP_DLGPROC) { w->dlgProc = (DLGPROC)v; return old; }
        if (index == (int)DWLP_USER) { w->dlgUser = v; return old; }
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND h, int i) { return GetWindowLongPtrW(h, i); }
LONG_PTR WINAPI SetWindowLongPtrA(HWND h, int i, LONG_PTR v) { return SetWindowLongPtrW(h, i, v); }
LONG WINAPI GetWindowLongW(HWND h, int i) { return (LONG)GetWindowLongPtrW(h, i); }
LONG WINAPI SetWindowLongW(HWND h, int i, LONG v) { return (LONG)SetWindowLongPtrW(h, i, v); }

namespace {
// Property names compare without case; an atom name "#n" stands for itself.
std::u16string PropKey(LPCWSTR s) {
    if (IS_INTRESOURCE(s)) {
        std::u16string k = u"#";
        for (char c : std::to_string((uintptr_t)s)) k.push_back((char16_t)c);
        return k;
    }
    std::u16string k;
    for (; *s; ++s) k.push_back(UpperChar(*s));
    return k;
}
std::u16string PropKeyA(LPCSTR s) {
    if (IS_INTRESOURCE(s)) return PropKey((LPCWSTR)s);
    std::u16string w = FromAnsi(s);
    return PropKey(w.c_str());
}
BOOL SetPropKey(HWND h, const std::u16string& k, HANDLE v) {
    Window* w = Lookup(h);
    if (!w) return FALSE;
    w->props[k] = v;
    return TRUE;
}
HANDLE GetPropKey(HWND h, const std::u16string& k, bool remove) {
    Window* w = Lookup(h);
    if (!w) return nullptr;
    auto it = w->props.find(k);
    if (it == w->props.end()) return nullptr;
    HANDLE v = it->second;
    if (remove) w->props.erase(it);
    return v;
}
}  // namespace

BOOL WINAPI SetPropW(HWND h, LPCWSTR s, HANDLE v) { return s ? SetPropKey(h, PropKey(s), v) : FALSE; }
BOOL WINAPI SetPropA(HWND h, LPCSTR s, HANDLE v) { return s ? SetPropKey(h, PropKeyA(s), v) : FALSE; }
HANDLE WINAPI GetPropW(HWND h, LPCWSTR s) { return s ? GetPropKey(h, PropKey(s), false) : nullptr; }
HANDLE WINAPI GetPropA(HWND h, LPCSTR s) { return s ? GetPropKey(h, PropKeyA(s), false) : nullptr; }
HANDLE WINAPI RemovePropW(HWND h, LPCWSTR s) { return s ? GetPropKey(h, PropKey(s), true) : nullptr; }
HANDLE WINAPI RemovePropA(HWND h, LPCSTR s) { return s ? GetPropKey(h, PropKeyA(s), true) : nullptr; }

BOOL WINAPI GetClientRect(HWND h, LPRECT r) {
    Window* w = Lookup(h);
    if (!w || !r) return FALSE;
    *r = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND h, LPRECT r) {
    Window* w = Lookup(h);
    if (!w || !r) return FALSE;
    *r = w->rect;
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND h, int x, int y, int cx, int cy, BOOL) {
    Window* w = Lookup(h);
    if (!w) return FALSE;
    w->rect = {x, y, x + cx, y + cy};
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND h, const RECT*, BOOL) {
    if (!h) {
        for (auto& kv : T().windows) kv.second->invalid = true;
        return TRUE;
    }
    if (!Lookup(h)) return FALSE;
    Invalidate(h);
    return TRUE;
}

// Paints now when the window needs it, as the loop would later.
BOOL WINAPI UpdateWindow(HWND h) {
    Window* w = Lookup(h);
    if (!w) return FALSE;
    if (w->invalid && IsWindowVisible(h)) {
        Validate(h);
        Send(h, WM_PAINT, 0, 0);
    }
    return TRUE;
}

LRESULT WINAPI SendMessageW(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return Send(h, msg, wp, lp); }
