// List boxes and drop-down list combo boxes. Notifications are sent only
// for what the user does, never for what the program sends.
#include "posix/comctl/listbox.h"
#include "posix/user/text.h"
#include "posix/user/window.h"

namespace winuser {
namespace {

bool Multi(const Window& w) { return (w.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
bool Sorted(const Window& w) {
    return w.kind == Kind::ListBox ? (w.style & LBS_SORT) != 0 : (w.style & CBS_SORT) != 0;
}
int Count(const Window& w) { return (int)w.items.size(); }
bool Valid(const Window& w, WPARAM i) { return (int)i >= 0 && (int)i < Count(w); }

// Index adjustments of the single selection and caret after an insert or delete.
void Inserted(Window& w, int at) {
    if (w.curSel >= at) ++w.curSel;
    if (w.caret >= at && Count(w) > 1) ++w.caret;
    if (w.anchor >= at && Count(w) > 1) ++w.anchor;
}
void Deleted(Window& w, int at) {
    if (w.curSel == at) w.curSel = -1;
    else if (w.curSel > at) --w.curSel;
    if (w.caret > at) --w.caret;
    if (w.caret >= Count(w)) w.caret = Count(w) > 0 ? Count(w) - 1 : 0;
    if (w.anchor > at) --w.anchor;
    if (w.anchor >= Count(w)) w.anchor = Count(w) > 0 ? Count(w) - 1 : 0;
    if (w.top >= Count(w)) w.top = Count(w) > 0 ? Count(w) - 1 : 0;
}

ListItem NewItem(const Window& w, std::u16string text) {
    ListItem it;
    if (Sorted(w)) it.key = SortKey(text);
    it.text = std::move(text);
    return it;
}

LRESULT Add(Window& w, std::u16string text) {
    ListItem it = NewItem(w, std::move(text));
    size_t pos = Sorted(w) ? w.items.upperBound(it.key) : w.items.size();
    w.items.insert(pos, std::move(it));
    Inserted(w, (int)pos);
    return (LRESULT)pos;
}

LRESULT Insert(Window& w, WPARAM wp, std::u16string text, int err) {
    int at = (int)wp;
    if (at == -1) at = Count(w);
    if (at < 0 || at > Count(w)) return err;
    w.items.insert((size_t)at, NewItem(w, std::move(text)));
    Inserted(w, at);
    return at;
}

LRESULT Delete(Window& w, WPARAM wp, int err) {
    if (!Valid(w, wp)) return err;
    w.items.erase(wp);
    Deleted(w, (int)wp);
    return Count(w);
}

void Reset(Window& w) {
    w.items.clear();
    w.curSel = -1;
    w.caret = w.top = 0;
    w.anchor = -1;
}

LRESULT GetText(Window& w, WPARAM wp, LPARAM lp, int err) {
    if (!Valid(w, wp) || !lp) return err;
    const auto& t = w.items.at(wp).text;
    WCHAR* out = (WCHAR*)lp;
    for (size_t i = 0; i < t.size(); ++i) out[i] = t[i];
    out[t.size()] = 0;
    return (LRESULT)t.size();
}

// Searches after 'start', wrapping round to it; -1 searches from the top.
LRESULT FindText(const Window& w, WPARAM wp, LPCWSTR s, bool exact, int err) {
    int n = Count(w);
    if (n == 0 || !s) return err;
    std::u16string key(s);
    if (key.empty() && !exact) return err;
    int start = (int)wp;
    if (start < -1 || start >= n) start = -1;
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        const auto& t = w.items.at(i).text;
        if (exact ? CompareNoCase(t, key) == 0 : PrefixNoCase(t, key)) return i;
    }
    return err;
}

// LB_SETCURSEL leaves the anchor where it was; a click or key sets it.
void SelectOnly(Window& w, int i, bool setAnchor = true) {
    if (Multi(w))
        for (size_t k = 0; k < w.items.size(); ++k) w.items.at(k).selected = (int)k == i;
    else
        w.curSel = i;
    w.caret = i;
    if (setAnchor) w.anchor = i;
}

int SelCount(const Window& w) {
    int n = 0;
    for (size_t k = 0; k < w.items.size(); ++k) n += w.items.at(k).selected;
    return n;
}

void NotifyList(Window& w, int code) {
    if (w.style & LBS_NOTIFY) Notify(w, code);
}

// Default keyboard action of a list box on 'vk', moving the caret.
void KeyAction(Window& w, UINT vk, int target) {
    int n = Count(w);
    if (n == 0) return;
    int cur = Multi(w) ? w.caret : (w.curSel < 0 ? -1 : w.curSel);
    int next = cur;
    switch (vk) {
    case VK_UP: next = cur <= 0 ? 0 : cur - 1; break;
    case VK_DOWN: next = cur < 0 ? 0 : (cur + 1 < n ? cur + 1 : n - 1); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = n - 1; break;
    case VK_PRIOR: next = cur - 10 < 0 ? 0 : cur - 10; break;
    case VK_NEXT: next = cur + 10 >= n ? n - 1 : cur + 10; break;
    case VK_SPACE:
        if (w.style & LBS_MULTIPLESEL) {
            if (target >= 0) w.caret = target;
            ListItem& it = w.items.at(w.caret);
            it.selected = !it.selected;
            NotifyList(w, LBN_SELCHANGE);
        }
        return;
    default: return;
    }
    if (target >= 0 && target < n) next = target;
    if (next == cur && !Multi(w)) return;
    if (w.style & LBS_MULTIPLESEL) {
        w.caret = next;
        return;
    }
    SelectOnly(w, next);
    NotifyList(w, LBN_SELCHANGE);
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* wp_ = Find(h);
    if (!wp_) return 0;
    Window& w = *wp_;
    switch (msg) {
    case LB_ADDSTRING: return Add(w, W((LPCWSTR)lp));
    case LB_INSERTSTRING: return Insert(w, wp, W((LPCWSTR)lp), LB_ERR);
    case LB_DELETESTRING: return Delete(w, wp, LB_ERR);
    case LB_RESETCONTENT: Reset(w); return 0;
    case LB_GETCOUNT: return Count(w);
    case LB_GETTEXT: return GetText(w, wp, lp, LB_ERR);
    case LB_GETTEXTLEN: return Valid(w, wp) ? (LRESULT)w.items.at(wp).text.size() : LB_ERR;
    case LB_GETITEMDATA: return Valid(w, wp) ? w.items.at(wp).data : LB_ERR;
    case LB_SETITEMDATA:
        if (!Valid(w, wp)) return LB_ERR;
        w.items.at(wp).data = lp;
        return TRUE;
    case LB_SETCURSEL:
        if (Multi(w)) return LB_ERR;
        if ((int)wp == -1) {
            w.curSel = -1;
            return LB_ERR;  // documented: -1 clears and answers LB_ERR
        }
        if (!Valid(w, wp)) return LB_ERR;
        SelectOnly(w, (int)wp, false);
        return (LRESULT)wp;
    case LB_GETCURSEL:
        if (Multi(w)) return Count(w) ? w.caret : LB_ERR;
        return w.curSel;
    case LB_SETSEL: {
        int i = (int)lp;
        if (!Multi(w)) {
            // A single-selection list takes it as moving (or, with -1,
            // clearing) the one selection, whatever the state asked for.
            if (i == -1) {
                w.curSel = w.anchor = -1;
                return 0;
            }
            if (!Valid(w, (WPARAM)i)) return LB_ERR;
            SelectOnly(w, i);
            return 0;
        }
        if (i == -1) {
            for (size_t k = 0; k < w.items.size(); ++k) w.items.at(k).selected = wp != 0;
            w.anchor = -1;
            return 0;
        }
        if (!Valid(w, (WPARAM)i)) return LB_ERR;
        w.items.at(i).selected = wp != 0;
        w.caret = i;
        if (wp) w.anchor = i;
        return 0;
    }
    case LB_GETSEL:
        if (!Valid(w, wp)) return LB_ERR;
        return Multi(w) ? (w.items.at(wp).selected ? 1 : 0) : ((int)wp == w.curSel ? 1 : 0);
    case LB_GETSELCOUNT:
        if (!Multi(w)) return LB_ERR;
        return SelCount(w);
    case LB_GETSELITEMS: {
        if (!Multi(w)) return LB_ERR;
        int* out = (int*)lp;
        int n = 0;
        for (size_t k = 0; k < w.items.size() && n < (int)wp; ++k)
            if (w.items.at(k).selected) out[n++] = (int)k;
        return n;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
        if (!Multi(w)) return LB_ERR;
        int a, b;
        bool sel;
        if (msg == LB_SELITEMRANGE) {
            a = LOWORD(lp);
            b = HIWORD(lp);
            sel = wp != 0;
        } else {
            a = (int)wp;
            b = (int)lp;
            sel = a <= b;
            if (!sel) std::swap(a, b);
        }
        if (a > b) std::swap(a, b);
        if (a < 0) return LB_ERR;
        for (int k = a; k <= b && k < Count(w); ++k) w.items.at(k).selected = sel;
        return 0;
    }
    case LB_FINDSTRING: return FindText(w, wp, (LPCWSTR)lp, false, LB_ERR);
    case LB_FINDSTRINGEXACT: return FindText(w, wp, (LPCWSTR)lp, true, LB_ERR);
    case LB_SELECTSTRING: {
        LRESULT i = FindText(w, wp, (LPCWSTR)lp, false, LB_ERR);
        if (i == LB_ERR) return LB_ERR;
        if (Multi(w)) return LB_ERR;
        SelectOnly(w, (int)i);
        return i;
    }
    case LB_SETTOPINDEX: {
        // Out of range is brought into range, not refused.
        int top = (int)wp;
        if (top >= Count(w)) top = Count(w) - 1;
        w.top = top < 0 ? 0 : top;
        return 0;
    }
    case LB_GETTOPINDEX: return w.top;
    case LB_SETTABSTOPS:
        if (!(w.style & LBS_USETABSTOPS)) return FALSE;
        w.tabStops.assign(lp ? (const int*)lp : nullptr, lp ? (const int*)lp + wp : nullptr);
        return TRUE;
    case LB_SETCARETINDEX:
        if (!Multi(w) || !Valid(w, wp)) return LB_ERR;
        w.caret = (int)wp;
        return 0;
    case LB_GETCARETINDEX: return w.caret;
    case LB_SETANCHORINDEX:
        if (!Valid(w, wp)) return LB_ERR;
        w.anchor = (int)wp;
        return 0;
    case LB_GETANCHORINDEX: return w.anchor;
    case LB_INITSTORAGE: return Count(w) + (LRESULT)wp;
    case LB_GETHORIZONTALEXTENT: return w.horizontalExtent;
    case LB_SETHORIZONTALEXTENT:
        // Nothing is drawn here, so there is no scroll bar to show or hide.
        w.horizontalExtent = (int)wp;
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: {
        int target = -1;
        if (w.style & LBS_WANTKEYBOARDINPUT) {
            LRESULT r = Send(w.parent, WM_VKEYTOITEM, MAKEWPARAM(wp, Multi(w) ? w.caret : (w.curSel < 0 ? 0 : w.curSel)),
                             (LPARAM)h);
            if (!Find(h)) return 0;
            if (r == -2) return 0;
            if (r >= 0) target = (int)r;
        }
        KeyAction(w, (UINT)wp, target);
        return 0;
    }
    case WM_SETFOCUS: NotifyList(w, LBN_SETFOCUS); return 0;
    case WM_KILLFOCUS: NotifyList(w, LBN_KILLFOCUS); return 0;
    case WM_SETTEXT: return LB_ERR;
    default: return DefWindowProcW(h, msg, wp, lp);
    }
}

LRESULT CALLBACK ComboBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* wp_ = Find(h);
    if (!wp_) return 0;
    Window& w = *wp_;
    switch (msg) {
    case CB_ADDSTRING: return Add(w, W((LPCWSTR)lp));
    case CB_INSERTSTRING: return Insert(w, wp, W((LPCWSTR)lp), CB_ERR);
    case CB_DELETESTRING: return Delete(w, wp, CB_ERR);
    case CB_RESETCONTENT:
        Reset(w);
        w.text.clear();
        return CB_OKAY;
    case CB_GETCOUNT: return Count(w);
    case CB_GETLBTEXT: return GetText(w, wp, lp, CB_ERR);
    case CB_GETLBTEXTLEN: return Valid(w, wp) ? (LRESULT)w.items.at(wp).text.size() : CB_ERR;
    case CB_GETITEMDATA: return Valid(w, wp) ? w.items.at(wp).data : CB_ERR;
    case CB_SETITEMDATA:
        if (!Valid(w, wp)) return CB_ERR;
        w.items.at(wp).data = lp;
        return TRUE;
    case CB_SETCURSEL:
        if (!Valid(w, wp)) {
            w.curSel = -1;  // out of range or -1 clears the selection
            w.text.clear();
            return CB_ERR;
        }
        w.curSel = (int)wp;
        w.text = w.items.at(wp).text;
        return (LRESULT)wp;
    case CB_GETCURSEL: return w.curSel;
    case CB_FINDSTRING: return FindText(w, wp, (LPCWSTR)lp, false, CB_ERR);
    case CB_FINDSTRINGEXACT: return FindText(w, wp, (LPCWSTR)lp, true, CB_ERR);
    case CB_SELECTSTRING: {
        LRESULT i = FindText(w, wp, (LPCWSTR)lp, false, CB_ERR);
        if (i != CB_ERR) {
            w.curSel = (int)i;
            w.text = w.items.at(i).text;
        }
        return i;
    }
    case CB_SHOWDROPDOWN: return TRUE;
    case CB_GETDROPPEDSTATE: return FALSE;
    case CB_LIMITTEXT: return TRUE;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: return DefWindowProcW(h, msg, wp, lp);
    case WM_SETTEXT:
        if ((w.style & 3) == CBS_DROPDOWNLIST) {
            // Only the text of an item can be shown.
            LRESULT i = FindText(w, (WPARAM)-1, (LPCWSTR)lp, false, CB_ERR);
            if (i == CB_ERR) return CB_ERR;
            w.curSel = (int)i;
            w.text = w.items.at(i).text;
            return TRUE;
        }
        return DefWindowProcW(h, msg, wp, lp);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: Notify(w, CBN_SETFOCUS); return 0;
    case WM_KILLFOCUS:
        // Leaving the combo box drops a choice not yet confirmed.
        Notify(w, CBN_SELENDCANCEL);
        if (Find(h)) Notify(*Find(h), CBN_KILLFOCUS);
        return 0;
    default: return DefWindowProcW(h, msg, wp, lp);
    }
}

}  // namespace winuser
