// Dialogs from templates, the dialog manager's default handling and the
// modal loop.
#include "posix/user/dialog.h"
#include "posix/user/ipc.h"
#include "posix/user/resources.h"
#include "posix/user/scripted_user.h"
#include "posix/user/text.h"
#include "posix/user/window.h"

#include <unistd.h>

namespace winuser {
namespace {

std::vector<HWND>& ModalStack() {
    static std::vector<HWND> s;
    return s;
}

std::u16string ClassOf(const winres::ResName& c) {
    if (!c.id) return c.name;
    switch (c.id) {
    case 0x80: return u"BUTTON";
    case 0x81: return u"EDIT";
    case 0x82: return u"STATIC";
    case 0x83: return u"LISTBOX";
    case 0x84: return u"SCROLLBAR";
    case 0x85: return u"COMBOBOX";
    }
    return u"";
}

// A control can take the focus by its own state: the dialog itself is not
// shown yet when its first control gets the focus.
bool Usable(HWND h) {
    Window* w = Find(h);
    return w && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

HWND FirstTabStop(Window& dlg) {
    for (HWND c : dlg.children) {
        Window* w = Find(c);
        if (w && (w->style & WS_TABSTOP) && Usable(c)) return c;
    }
    return nullptr;
}

void PushButtonStyle(HWND h, bool def) {
    Window* w = Find(h);
    if (!w || w->kind != Kind::Button) return;
    DWORD t = w->style & BS_TYPEMASK;
    if (t != BS_PUSHBUTTON && t != BS_DEFPUSHBUTTON) return;
    w->style = (w->style & ~BS_TYPEMASK) | (def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

// Enter: a focused push button is pressed; otherwise the default button.
void PressEnter(Window& dlg) {
    HWND f = GetFocus();
    Window* fw = Find(f);
    if (fw && fw->kind == Kind::Button && IsChild(dlg.hwnd, f)) {
        DWORD t = fw->style & BS_TYPEMASK;
        if (t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON) {
            Send(dlg.hwnd, WM_COMMAND, MAKEWPARAM(fw->id, BN_CLICKED), (LPARAM)f);
            return;
        }
    }
    LRESULT def = Send(dlg.hwnd, DM_GETDEFID, 0, 0);
    int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    HWND b = GetDlgItem(dlg.hwnd, id);
    if (b && !IsWindowEnabled(b)) {
        MessageBeep(0);
        return;
    }
    Send(dlg.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)b);
}

void PressEscape(Window& dlg) {
    HWND b = GetDlgItem(dlg.hwnd, IDCANCEL);
    if (b && !IsWindowEnabled(b)) {
        MessageBeep(0);
        return;
    }
    Send(dlg.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)b);
}

void NextDlgCtl(Window& dlg, WPARAM wp, LPARAM lp) {
    HWND target;
    if (LOWORD(lp)) target = (HWND)wp;
    else target = GetNextDlgTabItem(dlg.hwnd, GetFocus(), wp != 0);
    if (target) DialogFocus(dlg.hwnd, target, true);
}

}  // namespace

HWND TopModal() { return ModalStack().empty() ? nullptr : ModalStack().back(); }

void DialogFocus(HWND dlg, HWND ctl, bool selectAll) {
    (void)dlg;
    SetFocus(ctl);
    if (selectAll && Find(ctl) && (Send(ctl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        Send(ctl, EM_SETSEL, 0, -1);
}

HWND CreateDialogFromTemplate(HINSTANCE inst, const winres::DialogTemplate& t, HWND owner, DLGPROC proc,
                              LPARAM param, int templateId, bool child) {
    DWORD style = t.style & ~WS_VISIBLE;
    if (child) style = (style & ~WS_POPUP) | WS_CHILD;
    std::u16string cls = u"#32770";
    HWND h = Create(t.exStyle, cls, t.title, style, t.x, t.y, t.cx, t.cy, owner, 0, inst, nullptr);
    Window* d = Find(h);
    if (!d) return nullptr;
    d->dlgProc = proc;
    d->templateId = templateId;
    // Opened when created, as Windows' creation hook sees it: before its
    // controls and before WM_INITDIALOG, which may open others.
    if (!child) user::DialogOpened(h);
    for (const auto& it : t.items) {
        std::u16string text = it.title.id ? std::u16string() : it.title.name;
        std::u16string c = ClassOf(it.cls);
        HWND ch = Create(it.exStyle, c, text, it.style | WS_CHILD, it.x, it.y, it.cx, it.cy, h,
                         (int)(WORD)it.id, inst, nullptr);
        if (!ch) {
            if (t.style & DS_NOFAILCREATE) continue;
            DestroyWindow(h);
            return nullptr;
        }
    }
    d = Find(h);
    // The first default push button becomes the dialog's default id.
    for (HWND c : d->children) {
        Window* w = Find(c);
        if (w->kind == Kind::Button && (w->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            d->defId = w->id;
            break;
        }
    }
    HWND first = FirstTabStop(*d);
    LRESULT r = d->dlgProc ? d->dlgProc(h, WM_INITDIALOG, (WPARAM)first, param) : TRUE;
    d = Find(h);
    if (!d) return nullptr;
    if (r && !d->ended) {
        HWND f = FirstTabStop(*d);
        if (f) DialogFocus(h, f, true);
    }
    return h;
}

LRESULT CALLBACK DialogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* d = Find(h);
    if (!d) return 0;
    if (d->dlgProc && msg != WM_CREATE) {
        INT_PTR r = d->dlgProc(h, msg, wp, lp);
        d = Find(h);
        if (!d) return r;
        switch (msg) {
        case WM_INITDIALOG:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            // These answer through the return value itself.
            return r;
        default:
            if (r) return d->msgResult;
        }
    }
    return DefDlgProcW(h, msg, wp, lp);
}

HWND TopLevelOwner(HWND given) {
    Window* w = Find(given);
    while (w && (w->style & WS_CHILD)) w = Find(given = w->parent);
    return w ? given : nullptr;
}

ModalOwner DisableOwner(HWND given) {
    ModalOwner o;
    o.hwnd = TopLevelOwner(given);
    o.wasEnabled = o.hwnd && IsWindowEnabled(o.hwnd);
    if (o.wasEnabled) EnableWindow(o.hwnd, FALSE);
    return o;
}

void RestoreOwner(const ModalOwner& owner) {
    if (!Find(owner.hwnd)) return;
    if (owner.wasEnabled) EnableWindow(owner.hwnd, TRUE);
    SetActiveWindow(owner.hwnd);
    SetForegroundLocal(owner.hwnd);
    Window* o = Find(owner.hwnd);
    if (o && o->focus && Find(o->focus)) SetFocus(o->focus);
}

bool LoadDialogTemplate(HINSTANCE inst, LPCWSTR name, winres::DialogTemplate& t) {
    const unsigned char* data;
    DWORD size;
    winres::ResName type;
    type.id = 5;
    if (!FindResourceBytes(inst, type, ResNameFromW(name), data, size)) return false;
    if (winres::ParseDialog(data, size, t)) return true;
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return false;
}

}  // namespace winuser

using namespace winuser;

LRESULT WINAPI DefDlgProcW(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* d = Find(h);
    if (!d) return 0;
    switch (msg) {
    case DM_GETDEFID:
        return d->defId ? MAKELONG(d->defId, DC_HASDEFID) : 0;
    case DM_SETDEFID: {
        HWND old = GetDlgItem(h, d->defId);
        PushButtonStyle(old, false);
        d->defId = (int)wp;
        PushButtonStyle(GetDlgItem(h, d->defId), true);
        return TRUE;
    }
    case WM_NEXTDLGCTL:
        NextDlgCtl(*d, wp, lp);
        return 0;
    case WM_CLOSE:
        PressEscape(*d);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_RETURN) PressEnter(*d);
        else if (wp == VK_ESCAPE) PressEscape(*d);
        return 0;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return -1;
    case WM_INITDIALOG:
    case WM_COMMAND:
    case WM_NOTIFY:
        return 0;
    default:
        return DefWindowProcW(h, msg, wp, lp);
    }
}

// The dialog manager's share of a keystroke: Tab, Enter and Esc act on the
// dialog unless the control asks for them; everything else goes to the
// control, Enter also as the character a wanting control types.
BOOL WINAPI IsDialogMessageW(HWND dlg, LPMSG m) {
    Window* d = Find(dlg);
    if (!d || !m || (m->hwnd != dlg && !IsChild(dlg, m->hwnd))) return FALSE;
    if (m->message == WM_KEYDOWN) {
        LRESULT code = Send(m->hwnd, WM_GETDLGCODE, m->wParam, (LPARAM)m);
        bool wantsAll = (code & DLGC_WANTALLKEYS) != 0;
        if (m->wParam == VK_TAB && !wantsAll && !(code & DLGC_WANTTAB)) {
            NextDlgCtl(*d, 0, 0);
            return TRUE;
        }
        if ((m->wParam == VK_RETURN || m->wParam == VK_ESCAPE) && !wantsAll) {
            if (m->wParam == VK_RETURN) PressEnter(*d);
            else PressEscape(*d);
            return TRUE;
        }
    }
    Send(m->hwnd, m->message, m->wParam, m->lParam);
    if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN && Find(m->hwnd)) Send(m->hwnd, WM_CHAR, u'\r', m->lParam);
    return TRUE;
}

HWND WINAPI GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL prev) {
    Window* d = Lookup(dlg);
    if (!d || d->children.empty()) return nullptr;
    auto& c = d->children;
    int n = (int)c.size();
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (c[i] == ctl) start = i;
    if (start < 0) start = prev ? 0 : n - 1;
    for (int k = 1; k <= n; ++k) {
        int i = prev ? (start - k + n * 2) % n : (start + k) % n;
        Window* w = Find(c[i]);
        if (w && (w->style & WS_TABSTOP) && Usable(c[i])) return c[i];
    }
    return nullptr;
}

BOOL WINAPI MapDialogRect(HWND h, LPRECT r) {
    if (!Lookup(h) || !r) return FALSE;
    // The base units of the system font: 4 x 8 pixels per 4 x 8 dialog units
    // would be 1:1; Windows' default font gives 6 x 13 per 4 x 8.
    r->left = r->left * 6 / 4;
    r->right = r->right * 6 / 4;
    r->top = r->top * 13 / 8;
    r->bottom = r->bottom * 13 / 8;
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dlg, int id) {
    if (dlg && !IsLocalHandle(dlg)) {
        LRESULT r = 0;
        if (!RemoteCall(dlg, kGetDlgItem, 0, (WPARAM)id, 0, r)) return nullptr;
        return (HWND)r;
    }
    Window* d = Lookup(dlg);
    if (!d) return nullptr;
    for (HWND c : d->children) {
        Window* w = Find(c);
        if (w && (WORD)w->id == (WORD)id) return c;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND h) {
    Window* w = Lookup(h);
    if (!w) return 0;
    return (w->style & WS_CHILD) ? w->id : 0;
}

UINT WINAPI GetDlgItemTextW(HWND dlg, int id, LPWSTR buf, int max) {
    if (buf && max > 0) buf[0] = 0;
    HWND c = GetDlgItem(dlg, id);
    return c ? (UINT)GetWindowTextW(c, buf, max) : 0;
}

UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR buf, int max) {
    if (buf && max > 0) buf[0] = 0;
    HWND c = GetDlgItem(dlg, id);
    return c ? (UINT)GetWindowTextA(c, buf, max) : 0;
}

BOOL WINAPI SetDlgItemTextW(HWND dlg, int id, LPCWSTR s) {
    HWND c = GetDlgItem(dlg, id);
    return c ? SetWindowTextW(c, s) : FALSE;
}

BOOL WINAPI SetDlgItemTextA(HWND dlg, int id, LPCSTR s) {
    HWND c = GetDlgItem(dlg, id);
    return c ? SetWindowTextA(c, s) : FALSE;
}

UINT WINAPI GetDlgItemInt(HWND dlg, int id, BOOL* ok, BOOL isSigned) {
    if (ok) *ok = FALSE;
    HWND c = GetDlgItem(dlg, id);
    if (!c) return 0;
    std::u16string t;
    t.resize((size_t)GetWindowTextLengthW(c) + 1);
    t.resize((size_t)GetWindowTextW(c, &t[0], (int)t.size()));
    size_t i = 0;
    while (i < t.size() && (t[i] == u' ' || t[i] == u'\t')) ++i;
    bool neg = false;
    if (isSigned && i < t.size() && t[i] == u'-') {
        neg = true;
        ++i;
    }
    if (i >= t.size() || t[i] < u'0' || t[i] > u'9') return 0;
    unsigned long long v = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
        v = v * 10 + (t[i] - u'0');
        if (v > (isSigned ? 0x80000000ULL : 0xFFFFFFFFULL)) return 0;  // overflow fails
    }
    while (i < t.size() && (t[i] == u' ' || t[i] == u'\t')) ++i;
    if (i != t.size()) return 0;
    if (isSigned && !neg && v > 0x7FFFFFFF) return 0;
    if (ok) *ok = TRUE;
    return neg ? (UINT)(-(long long)v) : (UINT)v;
}

BOOL WINAPI SetDlgItemInt(HWND dlg, int id, UINT v, BOOL isSigned) {
    std::string s = isSigned ? std::to_string((int)v) : std::to_string(v);
    return SetDlgItemTextA(dlg, id, s.c_str());
}

LRESULT WINAPI SendDlgItemMessageW(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp) {
    HWND c = GetDlgItem(dlg, id);
    return c ? SendMessageW(c, msg, wp, lp) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp) {
    HWND c = GetDlgItem(dlg, id);
    return c ? SendMessageA(c, msg, wp, lp) : 0;
}

BOOL WINAPI CheckDlgButton(HWND dlg, int id, UINT check) {
    HWND c = GetDlgItem(dlg, id);
    if (!c) return FALSE;
    SendMessageW(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dlg, int id) {
    HWND c = GetDlgItem(dlg, id);
    return c ? (UINT)SendMessageW(c, BM_GETCHECK, 0, 0) : 0;
}

BOOL WINAPI CheckRadioButton(HWND dlg, int first, int last, int check) {
    if (!Lookup(dlg)) return FALSE;
    for (int id = first; id <= last; ++id) {
        HWND c = GetDlgItem(dlg, id);
        if (c) SendMessageW(c, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL WINAPI EndDialog(HWND dlg, INT_PTR result) {
    Window* d = Find(dlg);
    if (!d || d->kind != Kind::Dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    d->ended = true;
    d->result = result;
    return TRUE;
}

namespace winuser {

void RunModal(HWND dlg) {
    ModalStack().push_back(dlg);
    for (;;) {
        Window* d = Find(dlg);
        if (!d || d->ended) break;
        if (DeliverOnePosted()) continue;
        if (ServeRemote(0)) continue;
        if (DeliverOnePaint()) continue;
        if (!user::Act(dlg)) break;
    }
    ModalStack().pop_back();
}

}  // namespace winuser

namespace {

INT_PTR RunDialog(HINSTANCE inst, const winres::DialogTemplate& t, HWND given, DLGPROC proc, LPARAM param,
                  int templateId) {
    ModalOwner owner = DisableOwner(given);
    HWND h = CreateDialogFromTemplate(inst, t, owner.hwnd, proc, param, templateId, false);
    INT_PTR result = -1;
    if (h) {
        Window* d = Find(h);
        if (!d->ended) {
            ShowWindow(h, SW_SHOWNORMAL);
            SetActiveWindow(h);
            SetForegroundLocal(h);
            RunModal(h);
        }
        d = Find(h);
        if (d) {
            result = d->result;
            user::DialogEnded(h, result);
            DestroyWindow(h);
        }
    }
    RestoreOwner(owner);
    return result;
}

int TemplateNumber(const winres::ResName& n) { return n.id; }

}  // namespace

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE inst, LPCDLGTEMPLATEW tmpl, HWND owner, DLGPROC proc, LPARAM param) {
    if (!tmpl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    winres::DialogTemplate t;
    // The caller vouches for the size of an in-memory template.
    if (!winres::ParseDialog((const unsigned char*)tmpl, 1u << 20, t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return RunDialog(inst, t, owner, proc, param, 0);
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE inst, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    winres::DialogTemplate t;
    if (!LoadDialogTemplate(inst, name, t)) return -1;
    return RunDialog(inst, t, owner, proc, param, TemplateNumber(ResNameFromW(name)));
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    if (IS_INTRESOURCE(name)) return DialogBoxParamW(inst, (LPCWSTR)name, owner, proc, param);
    std::u16string w = FromAnsi(name);
    return DialogBoxParamW(inst, w.c_str(), owner, proc, param);
}

// Modeless: created, initialised and shown when its template says so; it
// lives until DestroyWindow and runs no loop of its own.
HWND WINAPI CreateDialogParamW(HINSTANCE inst, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    winres::DialogTemplate t;
    if (!LoadDialogTemplate(inst, name, t)) return nullptr;
    HWND h = CreateDialogFromTemplate(inst, t, TopLevelOwner(owner), proc, param, TemplateNumber(ResNameFromW(name)),
                                      false);
    if (!h) return nullptr;
    if (t.style & WS_VISIBLE) ShowWindow(h, SW_SHOWNORMAL);
    return h;
}

HWND WINAPI CreateDialogParamA(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    if (IS_INTRESOURCE(name)) return CreateDialogParamW(inst, (LPCWSTR)name, owner, proc, param);
    std::u16string w = FromAnsi(name);
    return CreateDialogParamW(inst, w.c_str(), owner, proc, param);
}
