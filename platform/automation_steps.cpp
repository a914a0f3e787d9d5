// The scripted user's steps, done once for both systems through the public
// Win32 calls: the messages a person's keyboard and mouse would cause.
// What each system must do its own way is behind automation_internal.h.
#include "automation_internal.h"

#include <cctype>
#include <sstream>

#ifndef ID_APPLY_NOW
#define ID_APPLY_NOW 0x3021  // the Apply button of a property sheet
#endif

#if !defined(_WIN32)
namespace kernel {
// Programs this process started with WinExec: how each stands, its log.
std::string StartedProgramsReport();
}  // namespace kernel
#endif

namespace automation {
namespace detail {
namespace {

#if defined(_WIN32)
std::string StartedProgramsReport() { return std::string(); }
#else
using kernel::StartedProgramsReport;
#endif


std::u16string Text(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::u16string s((size_t)(n > 0 ? n : 0) + 1, u'\0');
    s.resize((size_t)GetWindowTextW(h, (LPWSTR)&s[0], n + 1));
    return s;
}

// Lower-case class name; a dialog's class reads "dialog".
std::string ClassOf(HWND h) {
    WCHAR cls[64] = {0};
    int n = GetClassNameW(h, cls, 64);
    std::string c;
    for (int i = 0; i < n; ++i) c.push_back((char)tolower((unsigned char)(cls[i] < 128 ? cls[i] : '?')));
    return c == "#32770" ? "dialog" : c;
}

HWND CurrentPage(HWND top) {
    return IsSheet(top) ? (HWND)SendMessageW(top, PSM_GETCURRENTPAGEHWND, 0, 0) : nullptr;
}

// A control of the dialog; in a property sheet, of its current page first.
HWND Control(HWND top, int id, std::string& why) {
    HWND page = CurrentPage(top);
    HWND c = page ? GetDlgItem(page, id) : nullptr;
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

// A key goes through the queue and the dialog loop, as a keystroke does:
// the dialog manager sees Enter, Esc and Tab first.
void PostKey(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, (LPARAM)0xC0000001u);
}

void Focus(HWND c) {
    if (GetFocus() != c) SetFocus(c);
}

int ItemCount(HWND c, bool list) { return (int)SendMessageW(c, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0); }

std::u16string ItemText(HWND c, bool list, int k) {
    LRESULT len = SendMessageW(c, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, (WPARAM)k, 0);
    if (len <= 0) return u"";
    std::u16string w((size_t)len + 1, u'\0');
    SendMessageW(c, list ? LB_GETTEXT : CB_GETLBTEXT, (WPARAM)k, (LPARAM)&w[0]);
    w.resize((size_t)len);
    return w;
}

// A click on items: the list takes the focus at the press, the selection
// changes, then the notifications of a click follow.
bool ListSelect(HWND c, const std::vector<int>& idx, bool dbl) {
    bool list = ClassOf(c) == "listbox";
    int count = ItemCount(c, list);
    for (int i : idx)
        if (i < 0 || i >= count) return false;
    if (!list) {
        if (idx.size() != 1) return false;
        Focus(c);
        // A pick from the dropped list: confirmed, then changed.
        SendMessageW(c, CB_SETCURSEL, (WPARAM)idx[0], 0);
        Notify(c, CBN_SELENDOK);
        if (IsWindow(c)) Notify(c, CBN_SELCHANGE);
        return true;
    }
    LONG style = GetWindowLongW(c, GWL_STYLE);
    if (!(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) && idx.size() != 1) return false;
    Focus(c);
    if (!IsWindow(c)) return true;
    if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessageW(c, LB_SETSEL, FALSE, -1);
        for (int i : idx) SendMessageW(c, LB_SETSEL, TRUE, i);
        if (!idx.empty()) {
            SendMessageW(c, LB_SETANCHORINDEX, (WPARAM)idx.back(), 0);
            SendMessageW(c, LB_SETCARETINDEX, (WPARAM)idx.back(), 0);
        }
    } else {
        SendMessageW(c, LB_SETCURSEL, (WPARAM)idx[0], 0);
    }
    if (style & LBS_NOTIFY) {
        Notify(c, LBN_SELCHANGE);
        if (dbl && IsWindow(c)) Notify(c, LBN_DBLCLK);
    }
    return true;
}

std::string SelectStep(HWND top, Script::Step& st) {
    std::string why;
    HWND c = Control(top, st.id, why);
    if (!c) return why;
    std::string cls = ClassOf(c);
    if (cls != "listbox" && cls != "combobox") return "control " + std::to_string(st.id) + " is not a list";
    std::vector<int> idx = st.indexes;
    if (st.op == Script::Op::SelectText) {
        bool list = cls == "listbox";
        int n = ItemCount(c, list), found = -1;
        for (int k = 0; k < n && found < 0; ++k)
            if (ItemText(c, list, k) == st.text) found = k;
        if (found < 0) return "list " + std::to_string(st.id) + " has no item \"" + ToUtf8(st.text) + "\"";
        idx = {found};
    }
    if (!ListSelect(c, idx, st.op == Script::Op::DoubleClick))
        return "list " + std::to_string(st.id) + " cannot select those items";
    return "";
}

std::string ClickStep(HWND top, Script::Step& st) {
    std::string why;
    HWND c = Control(top, st.id, why);
    if (!c) return why;
    if (ClassOf(c) != "button") return "control " + std::to_string(st.id) + " is not a button";
    if (st.op == Script::Op::Check && (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) == (st.value != 0))
        return "";
    // The button takes the focus itself, as at a press of the mouse.
    SendMessageW(c, BM_CLICK, 0, 0);
    return "";
}

std::string SheetStep(HWND top, Script::Step& st) {
    if (!IsSheet(top)) return "the dialog is not a property sheet";
    if (st.op == Script::Op::Page) return ClickTab(top, st.value);
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

// A right click on the control: WM_CONTEXTMENU with the screen point of
// the click, the middle of the control.
void RightClick(HWND c) {
    RECT r{0, 0, 0, 0};
    GetWindowRect(c, &r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(c, WM_CONTEXTMENU, (WPARAM)c, at);
}

}  // namespace

std::string Perform(HWND top, Script::Step& st) {
    using Op = Script::Op;
    std::string why;
    switch (st.op) {
    case Op::Type: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        Focus(c);
        for (char16_t ch : st.text) {
            if (!IsWindow(c)) break;
            SendMessageW(c, WM_CHAR, ch == u'\n' ? (WPARAM)u'\r' : (WPARAM)ch, 1);
        }
        return "";
    }
    case Op::SetText: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        SetWindowTextW(c, (LPCWSTR)st.text.c_str());
        return "";
    }
    case Op::Click:
    case Op::Check: return ClickStep(top, st);
    case Op::Select:
    case Op::SelectText:
    case Op::DoubleClick: return SelectStep(top, st);
    case Op::Key: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        Focus(c);
        if (IsWindow(c)) PostKey(c, (UINT)st.value);
        return "";
    }
    case Op::Help:
    case Op::ContextMenu: {
        HWND c = Control(top, st.id, why);
        if (!c) return why;
        if (st.op == Op::ContextMenu) {
            // An edit answers a right click with its own menu, not the dialog's.
            if (ClassOf(c) == "edit") return "control " + std::to_string(st.id) + " is an edit, which shows its own menu";
            RightClick(c);
            return "";
        }
        Focus(c);
        if (IsWindow(c)) PressHelpKey(c);
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
        if (!WaitForPost(st.value))
            return "no message arrived within " + std::to_string(st.value) + " ms" + StartedProgramsReport();
        return "";
    case Op::WaitEnabled:
        if (!WaitEnabled(top, st.value))
            return "the dialog was not enabled again within " + std::to_string(st.value) + " ms" +
                   StartedProgramsReport();
        return "";
    case Op::Call:
        if (st.fn) st.fn(top);
        return "";
    case Op::Page:
    case Op::Sheet: return SheetStep(top, st);
    default: return "not a dialog step";
    }
}

bool PlayNextStep(HWND top) {
    if (Failed()) {
        EndAfterFailure(top);
        return false;
    }
    Script::Step st;
    std::string why;
    int tid = GuardTemplate(top);
    if (!NextDialogStep(tid, st, why)) {
        Fail(why, top);
        EndAfterFailure(top);
        return false;
    }
    // While another process works on the dialog's behalf it is disabled
    // as a whole: a person can only wait.
    if (!IsWindowEnabled(top) && st.op != Script::Op::WaitEnabled && st.op != Script::Op::Wait &&
        st.op != Script::Op::Call)
        why = "the dialog is disabled (another program works on its behalf); wait until it is enabled";
    else
        why = Perform(top, st);
    if (!why.empty()) {
        bool alive = IsWindow(top) != FALSE;
        Fail(std::string("step '") + OpName(st.op) + "' in dialog " + std::to_string(tid) + ": " + why,
             alive ? top : nullptr);
        if (alive) EndAfterFailure(top);
        return false;
    }
    return true;
}

namespace {
void DescribeChildren(std::ostringstream& o, HWND parent) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        std::string cls = ClassOf(c);
        o << "  " << GetDlgCtrlID(c) << " " << cls << " \"" << ToUtf8(Text(c)) << "\""
          << (IsWindowEnabled(c) ? "" : " disabled") << (IsWindowVisible(c) ? "" : " hidden");
        if (cls == "button" && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) o << " checked";
        if (cls == "listbox" || cls == "combobox") {
            bool list = cls == "listbox";
            int n = ItemCount(c, list);
            bool multi = list && (GetWindowLongW(c, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
            int cur = (int)SendMessageW(c, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
            o << " items " << n << ":";
            for (int k = 0; k < n && k < 20; ++k) {
                bool sel = multi ? SendMessageW(c, LB_GETSEL, (WPARAM)k, 0) > 0 : k == cur;
                o << (sel ? " [*" : " [") << ToUtf8(ItemText(c, list, k)) << "]";
            }
            if (n > 20) o << " ...";
        }
        o << "\n";
    }
}
}  // namespace

}  // namespace detail

std::string Describe(HWND dlg) {
    if (!IsWindow(dlg)) return "(no dialog)";
    std::ostringstream o;
    o << "dialog " << detail::GuardTemplate(dlg) << " \"" << detail::ToUtf8(detail::Text(dlg)) << "\""
      << (IsWindowEnabled(dlg) ? "" : " disabled") << "\n";
    detail::DescribeChildren(o, dlg);
    if (HWND page = detail::CurrentPage(dlg)) {
        o << " page:\n";
        detail::DescribeChildren(o, page);
    }
    return o.str();
}

}  // namespace automation
