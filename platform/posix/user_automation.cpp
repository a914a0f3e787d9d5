// The scripted user: answers modal loops, message boxes and file dialogs
// from the steps of automation::Script, and records what it saw.
#include "../automation.h"
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

struct State {
    std::deque<automation::Script::Step> steps;
    automation::Observed seen;
    std::function<void(const std::string&)> onFailure;
    bool failed = false;
    bool everGiven = false;
    bool fileLoaded = false;
};

State& S() {
    static State s;
    return s;
}

void Log(const std::string& line) {
    const char* p = getenv("FAX_UI_LOG");
    if (!p || !*p) return;
    FILE* f = fopen(p, "a");
    if (!f) return;
    fprintf(f, "%s\n", line.c_str());
    fclose(f);
}

void LoadEnvScript() {
    State& s = S();
    if (s.fileLoaded || s.everGiven) return;
    s.fileLoaded = true;
    const char* p = getenv("FAX_UI_SCRIPT");
    if (!p || !*p) return;
    std::string err;
    if (!automation::LoadScript(p, err)) {
        fprintf(stderr, "FAX_UI_SCRIPT: %s\n", err.c_str());
        exit(3);
    }
}

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

std::string OpName(Op op) {
    static const char* n[] = {"type", "settext", "click", "check", "select", "selecttext", "dblclick", "key",
                              "enter", "escape", "close", "msgbox", "file", "file cancel", "wait", "call"};
    return n[(int)op];
}

bool IsDialogStep(Op op) { return op != Op::Answer && op != Op::File && op != Op::CancelFile; }

HWND Control(HWND dlg, int id, std::string& why) {
    HWND c = GetDlgItem(dlg, id);
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
    default:
        return "not a dialog step";
    }
}

int TemplateOf(HWND dlg) {
    Window* w = Find(dlg);
    return w ? w->templateId : 0;
}

bool Offers(UINT flags, int button) {
    switch (flags & MB_TYPEMASK) {
    case MB_OK: return button == IDOK;
    case MB_OKCANCEL: return button == IDOK || button == IDCANCEL;
    case MB_ABORTRETRYIGNORE: return button == IDABORT || button == IDRETRY || button == IDIGNORE;
    case MB_YESNOCANCEL: return button == IDYES || button == IDNO || button == IDCANCEL;
    case MB_YESNO: return button == IDYES || button == IDNO;
    case MB_RETRYCANCEL: return button == IDRETRY || button == IDCANCEL;
    case MB_CANCELTRYCONTINUE: return button == IDCANCEL || button == IDTRYAGAIN || button == IDCONTINUE;
    }
    return false;
}

}  // namespace

namespace winuser {
namespace user {

void Fail(const std::string& why, HWND dlg) {
    State& s = S();
    if (s.failed) return;
    s.failed = true;
    std::string report = "user automation: " + why;
    if (dlg) report += "\n" + automation::Describe(dlg);
    Log("FAIL " + why);
    if (s.onFailure) {
        s.onFailure(report);
        return;
    }
    fprintf(stderr, "%s\n", report.c_str());
    fflush(stderr);
    _Exit(3);
}

bool Act(HWND dlg) {
    State& s = S();
    LoadEnvScript();
    if (s.failed) {
        EndDialog(dlg, -1);
        return false;
    }
    if (s.steps.empty()) {
        Fail("dialog " + std::to_string(TemplateOf(dlg)) + " waits for the user, but no action is left", dlg);
        EndDialog(dlg, -1);
        return false;
    }
    automation::Script::Step st = s.steps.front();
    if (!IsDialogStep(st.op)) {
        Fail("dialog " + std::to_string(TemplateOf(dlg)) + " waits for the user, but the next step is '" + OpName(st.op) +
                 "'",
             dlg);
        EndDialog(dlg, -1);
        return false;
    }
    if (st.guardDialog && st.guardDialog != TemplateOf(dlg)) {
        Fail("step '" + OpName(st.op) + "' expects dialog " + std::to_string(st.guardDialog) + ", but dialog " +
                 std::to_string(TemplateOf(dlg)) + " is open",
             dlg);
        EndDialog(dlg, -1);
        return false;
    }
    s.steps.pop_front();
    std::string why = Perform(dlg, st);
    if (!why.empty()) {
        Fail("step '" + OpName(st.op) + "' in dialog " + std::to_string(TemplateOf(dlg)) + ": " + why, Find(dlg) ? dlg : nullptr);
        if (Find(dlg)) EndDialog(dlg, -1);
        return false;
    }
    return true;
}

void RecordMessageBox(HWND, const std::u16string& text, const std::u16string& caption, UINT flags) {
    Log("MSGBOX " + std::to_string(flags) + " [" + ToUtf8(caption) + "] " + ToUtf8(text));
}

int AnswerMessageBox(HWND, const std::u16string& text, const std::u16string& caption, UINT flags) {
    State& s = S();
    LoadEnvScript();
    int answer = 0;
    if (!s.failed) {
        if (s.steps.empty() || s.steps.front().op != Op::Answer) {
            std::string next = s.steps.empty() ? "no step is left" : "the next step is '" + OpName(s.steps.front().op) + "'";
            Fail("message box \"" + ToUtf8(text) + "\" (" + ToUtf8(caption) + ") waits for an answer, but " + next, TopModal());
        } else {
            automation::Script::Step st = s.steps.front();
            s.steps.pop_front();
            if (!Offers(flags, st.value))
                Fail("message box \"" + ToUtf8(text) + "\" has no button " + std::to_string(st.value), TopModal());
            else if (!st.text.empty() && text.find(st.text) == std::u16string::npos)
                Fail("message box \"" + ToUtf8(text) + "\" does not contain \"" + ToUtf8(st.text) + "\"", TopModal());
            else
                answer = st.value;
        }
    }
    s.seen.messageBoxes.push_back({text, caption, flags, answer});
    return answer;
}

void RecordBeep(UINT type) {
    S().seen.beeps.push_back(type);
    Log("BEEP " + std::to_string((int)type));
}

void RecordHelp(HWND, const std::u16string& file, UINT cmd, ULONG_PTR data) {
    S().seen.help.push_back({file, cmd, data});
    Log("HELP " + std::to_string(cmd) + " " + std::to_string(data) + " " + ToUtf8(file));
}

bool AnswerFileDialog(bool save, const std::u16string& title, DWORD flags, std::u16string& path) {
    State& s = S();
    LoadEnvScript();
    s.seen.fileDialogs.push_back({save, title, flags});
    Log(std::string(save ? "SAVEFILE " : "OPENFILE ") + ToUtf8(title));
    if (s.failed) return false;
    if (s.steps.empty() || (s.steps.front().op != Op::File && s.steps.front().op != Op::CancelFile)) {
        Fail("file dialog \"" + ToUtf8(title) + "\" waits for an answer, but " +
                 (s.steps.empty() ? std::string("no step is left") : "the next step is '" + OpName(s.steps.front().op) + "'"),
             TopModal());
        return false;
    }
    automation::Script::Step st = s.steps.front();
    s.steps.pop_front();
    if (st.op == Op::CancelFile) return false;
    path = st.text;
    return true;
}

void DialogOpened(HWND dlg) {
    S().seen.dialogsOpened.push_back(TemplateOf(dlg));
    Log("DIALOG " + std::to_string(TemplateOf(dlg)));
}

void DialogEnded(HWND dlg, INT_PTR result) {
    S().seen.dialogsEnded.push_back({TemplateOf(dlg), result});
    Log("END " + std::to_string(TemplateOf(dlg)) + " " + std::to_string((long long)result));
}

}  // namespace user
}  // namespace winuser

namespace automation {

Script& Script::add(Step s) {
    s.guardDialog = guard_;
    guard_ = 0;
    steps.push_back(std::move(s));
    return *this;
}

Script& Script::dialog(int templateId) {
    guard_ = templateId;
    return *this;
}
Script& Script::type(int id, const std::u16string& t) { Step s{Op::Type}; s.id = id; s.text = t; return add(s); }
Script& Script::setText(int id, const std::u16string& t) { Step s{Op::SetText}; s.id = id; s.text = t; return add(s); }
Script& Script::click(int id) { Step s{Op::Click}; s.id = id; return add(s); }
Script& Script::check(int id, bool on) { Step s{Op::Check}; s.id = id; s.value = on; return add(s); }
Script& Script::select(int id, int index) { Step s{Op::Select}; s.id = id; s.indexes = {index}; return add(s); }
Script& Script::select(int id, const std::u16string& t) { Step s{Op::SelectText}; s.id = id; s.text = t; return add(s); }
Script& Script::selectMany(int id, const std::vector<int>& ix) { Step s{Op::Select}; s.id = id; s.indexes = ix; return add(s); }
Script& Script::doubleClick(int id, int index) { Step s{Op::DoubleClick}; s.id = id; s.indexes = {index}; return add(s); }
Script& Script::key(int id, UINT vk) { Step s{Op::Key}; s.id = id; s.value = (int)vk; return add(s); }
Script& Script::enter() { return add(Step{Op::Enter}); }
Script& Script::escape() { return add(Step{Op::Escape}); }
Script& Script::close() { return add(Step{Op::Close}); }
Script& Script::answer(int button, const std::u16string& t) { Step s{Op::Answer}; s.value = button; s.text = t; return add(s); }
Script& Script::file(const std::string& path) { Step s{Op::File}; s.text = FromUtf8(path); return add(s); }
Script& Script::cancelFile() { return add(Step{Op::CancelFile}); }
Script& Script::wait(int ms) { Step s{Op::Wait}; s.value = ms; return add(s); }
Script& Script::call(std::function<void(HWND)> fn) { Step s{Op::Call}; s.fn = std::move(fn); return add(s); }

void Play(const Script& sc) {
    State& s = S();
    s.everGiven = true;
    for (const auto& st : sc.steps) s.steps.push_back(st);
}

size_t StepsLeft() { return S().steps.size(); }
Observed& Seen() { return S().seen; }

void Reset() {
    State& s = S();
    s.steps.clear();
    s.seen = Observed();
    s.failed = false;
    winuser::Queue().clear();
}

void SetFailureHandler(std::function<void(const std::string&)> h) { S().onFailure = std::move(h); }
bool Failed() { return S().failed; }
HWND OpenDialog() { return winuser::TopModal(); }
int OpenDialogId() { return TemplateOf(winuser::TopModal()); }

std::string Describe(HWND dlg) {
    Window* d = Find(dlg);
    if (!d) return "(no dialog)";
    std::ostringstream o;
    o << "dialog " << d->templateId << " \"" << ToUtf8(d->text) << "\"\n";
    for (HWND c : d->children) {
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

namespace {
std::u16string Unescape(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[++i];
            r.push_back(n == 'n' ? '\n' : n == 't' ? '\t' : n);
        } else
            r.push_back(s[i]);
    }
    return FromUtf8(r);
}

bool Number(const std::string& w, int& v) {
    if (w.empty()) return false;
    char* end = nullptr;
    long x = strtol(w.c_str(), &end, 10);
    if (*end || x < -1000000 || x > 100000000) return false;
    v = (int)x;
    return true;
}

int NamedValue(const std::string& w) {
    static const std::pair<const char*, int> names[] = {
        {"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY}, {"IDIGNORE", IDIGNORE},
        {"IDYES", IDYES}, {"IDNO", IDNO}, {"DELETE", VK_DELETE}, {"UP", VK_UP}, {"DOWN", VK_DOWN},
        {"HOME", VK_HOME}, {"END", VK_END}, {"SPACE", VK_SPACE}, {"F1", VK_F1}, {"RETURN", VK_RETURN},
        {"ESCAPE", VK_ESCAPE}, {"PRIOR", VK_PRIOR}, {"NEXT", VK_NEXT}};
    int v;
    if (Number(w, v)) return v;
    for (auto& n : names)
        if (w == n.first) return n.second;
    return -1;
}
}  // namespace

bool LoadScript(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    Script sc;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t b = line.find_first_not_of(" \t");
        if (b == std::string::npos || line[b] == '#') continue;
        line = line.substr(b);
        std::istringstream ws(line);
        std::string cmd, a1;
        ws >> cmd;
        auto rest = [&](size_t words) {
            // Text after 'words' whitespace-separated words, one blank eaten.
            size_t p = 0;
            for (size_t k = 0; k < words; ++k) {
                p = line.find_first_not_of(" \t", p);
                p = line.find_first_of(" \t", p);
                if (p == std::string::npos) return std::string();
            }
            return line.substr(p + 1);
        };
        auto bad = [&](const std::string& why) {
            error = path + ":" + std::to_string(lineNo) + ": " + why;
            return false;
        };
        int id = 0, v = 0;
        if (cmd == "dialog" || cmd == "click" || cmd == "wait") {
            ws >> a1;
            if (!Number(a1, v)) return bad("expected a number");
            if (cmd == "dialog") sc.dialog(v);
            else if (cmd == "click") sc.click(v);
            else sc.wait(v);
        } else if (cmd == "type" || cmd == "settext" || cmd == "selecttext") {
            ws >> a1;
            if (!Number(a1, id)) return bad("expected a control id");
            std::u16string t = Unescape(rest(2));
            if (cmd == "type") sc.type(id, t);
            else if (cmd == "settext") sc.setText(id, t);
            else sc.select(id, t);
        } else if (cmd == "check") {
            std::string st;
            ws >> a1 >> st;
            if (!Number(a1, id) || (st != "on" && st != "off")) return bad("expected: check <id> on|off");
            sc.check(id, st == "on");
        } else if (cmd == "select" || cmd == "dblclick" || cmd == "multiselect") {
            ws >> a1;
            if (!Number(a1, id)) return bad("expected a control id");
            std::vector<int> ix;
            std::string w;
            while (ws >> w) {
                if (!Number(w, v) || v < 0) return bad("expected item indexes");
                ix.push_back(v);
            }
            if (ix.empty() || (cmd != "multiselect" && ix.size() != 1)) return bad("wrong number of items");
            if (cmd == "dblclick") sc.doubleClick(id, ix[0]);
            else sc.selectMany(id, ix);
        } else if (cmd == "key") {
            std::string k;
            ws >> a1 >> k;
            v = NamedValue(k);
            if (!Number(a1, id) || v < 0) return bad("expected: key <id> <virtual key>");
            sc.key(id, (UINT)v);
        } else if (cmd == "enter") {
            sc.enter();
        } else if (cmd == "escape") {
            sc.escape();
        } else if (cmd == "close") {
            sc.close();
        } else if (cmd == "msgbox") {
            ws >> a1;
            v = NamedValue(a1);
            if (v <= 0) return bad("expected a button");
            sc.answer(v, Unescape(rest(2)));
        } else if (cmd == "file") {
            std::string p = rest(1);
            if (p.empty()) return bad("expected a path or 'cancel'");
            if (p == "cancel") sc.cancelFile();
            else sc.file(p);
        } else {
            return bad("unknown step '" + cmd + "'");
        }
    }
    Play(sc);
    return true;
}

}  // namespace automation
