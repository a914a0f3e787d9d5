// The scripted user: answers modal loops, message boxes and file dialogs
// from the steps of automation::Script, and records what it saw.
#include "../automation_internal.h"
#include "user_internal.h"

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <sstream>

namespace winuser {
namespace user_actions {
bool ListSelect(HWND h, const std::vector<int>& idx, bool dbl);
}
}  // namespace winuser

using namespace winuser;
using Op = automation::Script::Op;

namespace {

using automation::detail::NextDialogStep;
using automation::detail::OpName;

const char* ClassName(Kind k) {
    switch (k) {
    case Kind::Button: return "button";
    case Kind::Edit: return "edit";
    case Kind::Static: return "static";
    case Kind::ListBox: return "listbox";
    case Kind::ComboBox: return "combobox";
    case Kind::Dialog: return "dialog";
    default: return "window";
    }
}

// A control of the dialog; in a property sheet, of the current page first.
HWND Control(HWND dlg, int id, std::string& why) {
    HWND page = sheet::CurrentPage(dlg);
    HWND c = page ? GetDlgItem(page, id) : nullptr;
    if (!c) c = GetDlgItem(dlg, id);
    if (!c) why = "control " + std::to_string(id) + " does not exist";
    else if (!IsWindowVisible(c)) why = "control " + std::to_string(id) + " is hidden";
    else if (!IsWindowEnabled(c)) why = "control " + std::to_string(id) + " is disabled";
    else return c;
    return nullptr;
}

bool WaitForPost(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (!Queue().empty()) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
        if (left <= 0) return false;
        if (!ServeRemote((int)(left > 50 ? 50 : left))) {
            // Nothing asked of us; keep waiting.
        }
    }
}

// Runs one dialog step; returns an empty string or why it could not.
std::string Perform(HWND dlg, automation::Script::Step& st) {
    std::string why;
    switch (st.op) {
    case Op::Type: {
        HWND c = Control(dlg, st.id, why);
        if (!c) return why;
        if (GetFocus() != c) SetFocus(c);
        for (char16_t ch : st.text) {
            if (!Find(c)) break;
            Send(c, WM_CHAR, ch == u'\n' ? (WPARAM)u'\r' : (WPARAM)ch, 1);
        }
        return "";
    }
    case Op::SetText: {
        HWND c = Control(dlg, st.id, why);
        if (!c) return why;
        SetWindowTextW(c, st.text.c_str());
        return "";
    }
    case Op::Click:
    case Op::Check: {
        HWND c = Control(dlg, st.id, why);
        if (!c) return why;
        Window* w = Find(c);
        if (w->kind != Kind::Button) return "control " + std::to_string(st.id) + " is not a button";
        if (st.op == Op::Check) {
            bool on = Send(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (on == (st.value != 0)) return "";
        }
        DWORD t = w->style & BS_TYPEMASK;
        if (t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON) SetFocus(c);
        if (Find(c)) Send(c, BM_CLICK, 0, 0);
        return "";
    }
    case Op::Select:
    case Op::SelectText:
    case Op::DoubleClick: {
        HWND c = Control(dlg, st.id, why);
        if (!c) return why;
        Window* w = Find(c);
        if (w->kind != Kind::ListBox && w->kind != Kind::ComboBox)
            return "control " + std::to_string(st.id) + " is not a list";
        std::vector<int> idx = st.indexes;
        if (st.op == Op::SelectText) {
            int found = -1;
            for (size_t k = 0; k < w->items.size(); ++k)
                if (w->items.at(k).text == st.text) {
                    found = (int)k;
                    break;
                }
            if (found < 0) return "list " + std::to_string(st.id) + " has no item \"" + ToUtf8(st.text) + "\"";
            idx = {found};
        }
        if (!user_actions::ListSelect(c, idx, st.op == Op::DoubleClick))
            return "list " + std::to_string(st.id) + " cannot select those items";
        return "";
    }
    case Op::Key: {
        HWND c = Control(dlg, st.id, why);
        if (!c) return why;
        if (GetFocus() != c) SetFocus(c);
        if ((st.value == VK_RETURN || st.value == VK_ESCAPE) && !(Send(c, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS)) {
            DefDlgProcW(dlg, WM_KEYDOWN, (WPARAM)st.value, 0);
            return "";
        }
        if (Find(c)) Send(c, WM_KEYDOWN, (WPARAM)st.value, 1);
        return "";
    }
    case Op::Enter:
    case Op::Escape: {
        HWND f = GetFocus();
        UINT vk = st.op == Op::Enter ? VK_RETURN : VK_ESCAPE;
        if (f && IsChild(dlg, f) && (Send(f, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS)) {
            Send(f, WM_KEYDOWN, vk, 1);
            if (vk == VK_RETURN && Find(f)) Send(f, WM_CHAR, u'\r', 1);
            return "";
        }
        DefDlgProcW(dlg, WM_KEYDOWN, vk, 0);
        return "";
    }
    case Op::Close:
        if (!(Find(dlg)->style & WS_SYSMENU)) return "the dialog has no close box";
        Send(dlg, WM_CLOSE, 0, 0);
        return "";
    case Op::Wait:
        if (!WaitForPost(st.value)) return "no message arrived within " + std::to_string(st.value) + " ms";
        return "";
    case Op::Call:
        if (st.fn) st.fn(dlg);
        return "";
    case Op::Page:
        return sheet::ClickTab(dlg, st.value);
    case Op::Sheet: {
        if (!sheet::Is(dlg)) return "the dialog is not a property sheet";
        int id = st.value == (int)automation::Script::SheetButton::Ok       ? IDOK
                 : st.value == (int)automation::Script::SheetButton::Cancel ? IDCANCEL
                                                                            : ID_APPLY_NOW;
        HWND b = GetDlgItem(dlg, id);
        if (!b) return "the sheet has no button " + std::to_string(id);
        if (!IsWindowVisible(b)) return "the sheet's button " + std::to_string(id) + " is hidden";
        if (!IsWindowEnabled(b)) return "the sheet's button " + std::to_string(id) + " is disabled";
        Send(b, BM_CLICK, 0, 0);
        return "";
    }
    default:
        return "not a dialog step";
    }
}

// The template a step's guard is checked against: a property sheet's
// current page's.
int GuardTemplate(HWND dlg) {
    if (sheet::Is(dlg)) return sheet::CurrentTemplate(dlg);
    Window* w = Find(dlg);
    return w ? w->templateId : 0;
}

int TemplateOf(HWND dlg) {
    Window* w = Find(dlg);
    return w ? w->templateId : 0;
}

}  // namespace

namespace winuser {
namespace user {

void Fail(const std::string& why, HWND dlg) { automation::detail::Fail(why, dlg); }

bool Act(HWND dlg) {
    if (automation::Failed()) {
        EndDialog(dlg, -1);
        return false;
    }
    automation::Script::Step st;
    std::string why;
    int tid = GuardTemplate(dlg);
    if (!NextDialogStep(tid, st, why)) {
        Fail(why, dlg);
        EndDialog(dlg, -1);
        return false;
    }
    why = Perform(dlg, st);
    if (!why.empty()) {
        Fail(std::string("step '") + OpName(st.op) + "' in dialog " + std::to_string(tid) + ": " + why,
             Find(dlg) ? dlg : nullptr);
        if (Find(dlg)) EndDialog(dlg, -1);
        return false;
    }
    return true;
}

void RecordMessageBox(HWND, const std::u16string&, const std::u16string&, UINT) {}

int AnswerMessageBox(HWND, const std::u16string& text, const std::u16string& caption, UINT flags) {
    return automation::detail::AnswerMessageBox(text, caption, flags);
}

void RecordBeep(UINT type) { automation::detail::RecordBeep(type); }

void RecordHelp(HWND, const std::u16string& file, UINT cmd, ULONG_PTR data) {
    automation::detail::RecordHelp(file, cmd, data);
}

bool AnswerFileDialog(bool save, const std::u16string& title, DWORD flags, std::u16string& path) {
    return automation::detail::AnswerFileDialog(save, title, flags, path);
}

void DialogOpened(HWND dlg) { automation::detail::DialogOpened(TemplateOf(dlg)); }

void DialogEnded(HWND dlg, INT_PTR result) { automation::detail::DialogEnded(TemplateOf(dlg), result); }

}  // namespace user
}  // namespace winuser

namespace automation {

namespace detail {
void PlatformStart() {}
void PlatformReset() { winuser::Queue().clear(); }
}  // namespace detail

HWND OpenDialog() { return winuser::TopModal(); }
int OpenDialogId() { return GuardTemplate(winuser::TopModal()); }

std::string Describe(HWND dlg) {
    Window* d = Find(dlg);
    if (!d) return "(no dialog)";
    std::ostringstream o;
    o << "dialog " << GuardTemplate(dlg) << " \"" << ToUtf8(d->text) << "\"\n";
    std::vector<HWND> controls = d->children;
    if (HWND page = sheet::CurrentPage(dlg))
        if (Window* p = Find(page)) controls.insert(controls.end(), p->children.begin(), p->children.end());
    for (HWND c : controls) {
        Window* w = Find(c);
        if (!w) continue;
        o << "  " << w->id << " " << ClassName(w->kind) << " \"" << ToUtf8(w->text) << "\""
          << (IsWindowEnabled(c) ? "" : " disabled") << (IsWindowVisible(c) ? "" : " hidden");
        if (w->kind == Kind::Button && w->check) o << " checked";
        if (w->kind == Kind::ListBox || w->kind == Kind::ComboBox) {
            o << " items " << w->items.size() << ":";
            for (size_t k = 0; k < w->items.size() && k < 20; ++k) {
                bool sel = (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) && w->kind == Kind::ListBox
                               ? w->items.at(k).selected
                               : (int)k == w->curSel;
                o << (sel ? " [*" : " [") << ToUtf8(w->items.at(k).text) << "]";
            }
            if (w->items.size() > 20) o << " ...";
        }
        o << "\n";
    }
    return o.str();
}

}  // namespace automation
