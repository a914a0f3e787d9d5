// The steps of the scripted user on Windows, done with the messages a
// user's keyboard and mouse would cause, and the report of a dialog's state.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <sstream>

#include "tracked.h"

#ifndef ID_APPLY_NOW
#define ID_APPLY_NOW 0x3021  // the Apply button of a property sheet
#endif

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

Tracked* Innermost() {
    auto& v = TrackedWindows();
    for (size_t i = v.size(); i-- > 0;)
        if (IsWindow(v[i].hwnd) && IsWindowEnabled(v[i].hwnd)) return &v[i];
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

void EndAfterFailure(const Tracked& t) {
    if (t.kind == Kind::Sheet) PostMessageW(t.hwnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    else EndDialog(t.hwnd, -1);
}

std::u16string Text(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring w((size_t)n + 1, L'\0');
    w.resize((size_t)GetWindowTextW(h, &w[0], n + 1));
    return std::u16string(w.begin(), w.end());
}

namespace {

std::string ClassOf(HWND h) {
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    std::string c = cls;
    for (auto& ch : c) ch = (char)tolower((unsigned char)ch);
    if (c == "#32770") return "dialog";
    return c;
}

// A control of the dialog, or of a sheet's current page or the sheet itself.
HWND Control(HWND top, int id, std::string& why) {
    Tracked* t = FindTracked(top);
    HWND c = nullptr;
    if (t && t->kind == Kind::Sheet) {
        HWND page = CurrentPage(*t);
        if (page) c = GetDlgItem(page, id);
    }
    if (!c) c = GetDlgItem(top, id);
    if (!c) why = "control " + std::to_string(id) + " does not exist";
    else if (!IsWindowVisible(c)) why = "control " + std::to_string(id) + " is hidden";
    else if (!IsWindowEnabled(c)) why = "control " + std::to_string(id) + " is disabled";
    else return c;
    return nullptr;
}

void Notify(HWND c, int code) {
    SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), code), (LPARAM)c);
}

bool ListSelect(HWND c, const std::vector<int>& idx, bool dbl) {
    std::string cls = ClassOf(c);
    LONG style = GetWindowLongW(c, GWL_STYLE);
    if (cls == "combobox") {
        if (idx.size() != 1 || idx[0] >= SendMessageW(c, CB_GETCOUNT, 0, 0)) return false;
        SetFocus(c);
        // A pick from the dropped list: the choice is confirmed, then the
        // selection change follows when the list closes.
        SendMessageW(c, CB_SETCURSEL, (WPARAM)idx[0], 0);
        Notify(c, CBN_SELENDOK);
        Notify(c, CBN_SELCHANGE);
        return true;
    }
    LRESULT count = SendMessageW(c, LB_GETCOUNT, 0, 0);
    for (int i : idx)
        if (i < 0 || i >= count) return false;
    SetFocus(c);
    if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessageW(c, LB_SETSEL, FALSE, -1);
        for (int i : idx) SendMessageW(c, LB_SETSEL, TRUE, i);
        if (!idx.empty()) {
            SendMessageW(c, LB_SETANCHORINDEX, (WPARAM)idx.back(), 0);
            SendMessageW(c, LB_SETCARETINDEX, (WPARAM)idx.back(), 0);
        }
    } else {
        if (idx.size() != 1) return false;
        SendMessageW(c, LB_SETCURSEL, (WPARAM)idx[0], 0);
    }
    if (style & LBS_NOTIFY) {
        Notify(c, LBN_SELCHANGE);
        if (dbl && IsWindow(c)) Notify(c, LBN_DBLCLK);
    }
    return true;
}

// A key goes through the queue and the dialog loop, as a keystroke would:
// the dialog manager sees Enter, Esc and Tab first.
void PostKey(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
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

std::string ClickTab(HWND sheet, int index) {
    HWND tab = (HWND)SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0);
    if (!tab) return "the sheet has no tabs";
    if (index >= SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)) return "the sheet has no page " + std::to_string(index);
    if (index == SendMessageW(tab, TCM_GETCURSEL, 0, 0)) return "";  // the tab control tells nothing
    NMHDR nm{tab, (UINT_PTR)GetDlgCtrlID(tab), (UINT)TCN_SELCHANGING};
    if (SendMessageW(sheet, WM_NOTIFY, nm.idFrom, (LPARAM)&nm)) return "";  // the page kept the focus
    SendMessageW(tab, TCM_SETCURSEL, (WPARAM)index, 0);
    nm.code = (UINT)TCN_SELCHANGE;
    SendMessageW(sheet, WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
    return "";
}

}  // namespace

std::string Perform(HWND top, Script::Step& st) {
    using Op = Script::Op;
    std::string why;
    Tracked* t = FindTracked(top);
    bool sheet = t && t->kind == Kind::Sheet;
    switch (st.op) {
    case Op::Type: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        if (GetFocus() != c) SetFocus(c);
        for (char16_t ch : st.text) {
            if (!IsWindow(c)) break;
            SendMessageW(c, WM_CHAR, ch == u'\n' ? (WPARAM)u'\r' : (WPARAM)ch, 1);
        }
        return "";
    }
    case Op::SetText: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        SetWindowTextW(c, Wide(st.text));
        return "";
    }
    case Op::Click:
    case Op::Check: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        if (ClassOf(c) != "button") return "control " + std::to_string(st.id) + " is not a button";
        if (st.op == Op::Check) {
            bool on = SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (on == (st.value != 0)) return "";
        }
        SendMessageW(c, BM_CLICK, 0, 0);
        return "";
    }
    case Op::Select:
    case Op::SelectText:
    case Op::DoubleClick: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        std::string cls = ClassOf(c);
        if (cls != "listbox" && cls != "combobox") return "control " + std::to_string(st.id) + " is not a list";
        std::vector<int> idx = st.indexes;
        if (st.op == Op::SelectText) {
            UINT getLen = cls == "listbox" ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
            UINT getText = cls == "listbox" ? LB_GETTEXT : CB_GETLBTEXT;
            int n = (int)SendMessageW(c, cls == "listbox" ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
            int found = -1;
            for (int k = 0; k < n && found < 0; ++k) {
                LRESULT len = SendMessageW(c, getLen, (WPARAM)k, 0);
                if (len < 0) continue;
                std::wstring w((size_t)len + 1, L'\0');
                SendMessageW(c, getText, (WPARAM)k, (LPARAM)&w[0]);
                w.resize((size_t)len);
                if (std::u16string(w.begin(), w.end()) == st.text) found = k;
            }
            if (found < 0)
                return "list " + std::to_string(st.id) + " has no item \"" + detail::ToUtf8(st.text) + "\"";
            idx = {found};
        }
        if (!ListSelect(c, idx, st.op == Op::DoubleClick))
            return "list " + std::to_string(st.id) + " cannot select those items";
        return "";
    }
    case Op::Key: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        if (GetFocus() != c) SetFocus(c);
        PostKey(c, (UINT)st.value);
        return "";
    }
    case Op::Enter:
    case Op::Escape: {
        HWND f = GetFocus();
        if (!f || (f != top && !IsChild(top, f))) f = top;
        PostKey(f, st.op == Op::Enter ? VK_RETURN : VK_ESCAPE);
        return "";
    }
    case Op::Close:
        if (!(GetWindowLongW(top, GWL_STYLE) & WS_SYSMENU)) return "the dialog has no close box";
        SendMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        return "";
    case Op::Wait:
        if (!WaitForPost(st.value)) return "no message arrived within " + std::to_string(st.value) + " ms";
        return "";
    case Op::Call:
        if (st.fn) st.fn(top);
        return "";
    case Op::Page:
        if (!sheet) return "the dialog is not a property sheet";
        return ClickTab(top, st.value);
    case Op::Sheet: {
        if (!sheet) return "the dialog is not a property sheet";
        int id = st.value == (int)Script::SheetButton::Ok       ? IDOK
                 : st.value == (int)Script::SheetButton::Cancel ? IDCANCEL
                                                                : ID_APPLY_NOW;
        HWND b = GetDlgItem(top, id);
        if (!b) return "the sheet has no button " + std::to_string(id);
        if (!IsWindowVisible(b)) return "the sheet's button " + std::to_string(id) + " is hidden";
        if (!IsWindowEnabled(b)) return "the sheet's button " + std::to_string(id) + " is disabled";
        SendMessageW(b, BM_CLICK, 0, 0);
        return "";
    }
    default:
        return "not a dialog step";
    }
}

namespace {
void DescribeChildren(std::ostringstream& o, HWND parent) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        std::string cls = ClassOf(c);
        o << "  " << GetDlgCtrlID(c) << " " << cls << " \"" << detail::ToUtf8(Text(c)) << "\""
          << (IsWindowEnabled(c) ? "" : " disabled") << (IsWindowVisible(c) ? "" : " hidden");
        if (cls == "button" && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) o << " checked";
        if (cls == "listbox" || cls == "combobox") {
            bool lb = cls == "listbox";
            int n = (int)SendMessageW(c, lb ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
            bool multi = lb && (GetWindowLongW(c, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
            int cur = (int)SendMessageW(c, lb ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
            o << " items " << n << ":";
            for (int k = 0; k < n && k < 20; ++k) {
                LRESULT len = SendMessageW(c, lb ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, (WPARAM)k, 0);
                std::wstring w(len > 0 ? (size_t)len + 1 : 1, L'\0');
                if (len > 0) SendMessageW(c, lb ? LB_GETTEXT : CB_GETLBTEXT, (WPARAM)k, (LPARAM)&w[0]);
                w.resize(len > 0 ? (size_t)len : 0);
                bool sel = multi ? SendMessageW(c, LB_GETSEL, (WPARAM)k, 0) > 0 : k == cur;
                o << (sel ? " [*" : " [") << detail::ToUtf8(std::u16string(w.begin(), w.end())) << "]";
            }
            if (n > 20) o << " ...";
        }
        o << "\n";
    }
}
}  // namespace

}  // namespace win

std::string Describe(HWND dlg) {
    if (!IsWindow(dlg)) return "(no dialog)";
    win::Tracked* t = win::FindTracked(dlg);
    std::ostringstream o;
    o << "dialog " << (t ? win::TemplateOf(*t) : 0) << " \"" << detail::ToUtf8(win::Text(dlg)) << "\"\n";
    win::DescribeChildren(o, dlg);
    if (t && t->kind == win::Kind::Sheet) {
        HWND page = win::CurrentPage(*t);
        if (page) {
            o << " page:\n";
            win::DescribeChildren(o, page);
        }
    }
    return o.str();
}

}  // namespace automation
