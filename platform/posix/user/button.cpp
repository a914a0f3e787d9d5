// Buttons, check boxes, radio buttons, group boxes and statics.
#include "posix/user/controls.h"
#include "posix/user/window.h"

namespace winuser {
namespace {

DWORD Type(const Window& w) { return w.style & BS_TYPEMASK; }

bool IsRadio(const Window& w) { return Type(w) == BS_RADIOBUTTON || Type(w) == BS_AUTORADIOBUTTON; }

// The auto radio buttons of one group: from the control that starts the
// group (WS_GROUP) up to the next one.
void UncheckGroupSiblings(Window& w) {
    Window* p = Find(w.parent);
    if (!p) return;
    auto& c = p->children;
    size_t i = 0;
    while (i < c.size() && c[i] != w.hwnd) ++i;
    if (i == c.size()) return;
    size_t first = i;
    while (first > 0 && !(Find(c[first])->style & WS_GROUP)) --first;
    for (size_t k = first; k < c.size(); ++k) {
        Window* s = Find(c[k]);
        if (k > first && (s->style & WS_GROUP)) break;
        if (s != &w && s->kind == Kind::Button && Type(*s) == BS_AUTORADIOBUTTON) s->check = BST_UNCHECKED;
    }
}

void Click(Window& w) {
    if (w.style & WS_DISABLED) return;
    switch (Type(w)) {
    case BS_AUTOCHECKBOX: w.check = w.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; break;
    case BS_AUTO3STATE: w.check = (w.check + 1) % 3; break;
    case BS_AUTORADIOBUTTON:
        w.check = BST_CHECKED;
        UncheckGroupSiblings(w);
        break;
    default: break;
    }
    Notify(w, BN_CLICKED);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Find(h);
    if (!w) return 0;
    switch (msg) {
    case BM_GETCHECK:
        return (Type(*w) >= BS_CHECKBOX && Type(*w) <= BS_AUTORADIOBUTTON && Type(*w) != BS_GROUPBOX) ? w->check : 0;
    case BM_SETCHECK:
        if (Type(*w) == BS_CHECKBOX || Type(*w) == BS_AUTOCHECKBOX || IsRadio(*w))
            w->check = wp == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        else if (Type(*w) == BS_3STATE || Type(*w) == BS_AUTO3STATE)
            w->check = wp <= BST_INDETERMINATE ? (int)wp : BST_UNCHECKED;
        return 0;
    case BM_GETSTATE:
        return w->check | (GetFocus() == h ? BST_FOCUS : 0);
    case BM_SETSTYLE:
        w->style = (w->style & ~0xFFFFu) | (DWORD)(wp & 0xFFFF);
        return 0;
    case BM_CLICK:
        // A click is a press of the mouse: the button takes the focus.
        if (GetFocus() != h) SetFocus(h);
        if (!(w = Find(h))) return 0;
        Click(*w);
        return 0;
    case WM_GETDLGCODE: {
        DWORD t = Type(*w);
        if (t == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (t == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (IsRadio(*w)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (t == BS_GROUPBOX) return DLGC_STATIC;
        return DLGC_BUTTON;
    }
    case WM_KEYDOWN:
        if (wp == VK_SPACE) Click(*w);
        return 0;
    case WM_SETFOCUS:
        if (w->style & BS_NOTIFY) Notify(*w, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (w->style & BS_NOTIFY) Notify(*w, BN_KILLFOCUS);
        return 0;
    default:
        return DefWindowProcW(h, msg, wp, lp);
    }
}

LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Find(h);
    if (!w) return 0;
    switch (msg) {
    case WM_GETDLGCODE: return DLGC_STATIC;
    case STM_SETIMAGE:
    case STM_SETICON: {
        LONG_PTR old = w->msgResult;
        w->msgResult = (LONG_PTR)(msg == STM_SETIMAGE ? lp : (LPARAM)wp);
        return old;
    }
    case STM_GETIMAGE:
    case STM_GETICON: return w->msgResult;
    default: return DefWindowProcW(h, msg, wp, lp);
    }
}

}  // namespace winuser
