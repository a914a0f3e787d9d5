// The scripted user's steps, answers and records, shared by the headless
// layer and the Windows hooks; and the reader of script files.
#include "automation_internal.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace automation {
namespace {

struct State {
    std::deque<Script::Step> steps;
    Observed seen;
    std::function<void(const std::string&)> onFailure;
    bool failed = false;
    bool everGiven = false;
    bool fileLoaded = false;
};

State& S() {
    static State s;
    return s;
}

}  // namespace

namespace detail {

std::deque<Script::Step>& Steps() { return S().steps; }

void LoadEnvScript() {
    State& s = S();
    if (s.fileLoaded || s.everGiven) return;
    s.fileLoaded = true;
    const char* p = getenv("FAX_UI_SCRIPT");
    if (!p || !*p) return;
    std::string err;
    if (!LoadScript(p, err)) {
        fprintf(stderr, "FAX_UI_SCRIPT: %s\n", err.c_str());
        exit(3);
    }
}

const char* OpName(Op op) {
    static const char* n[] = {"type", "settext", "click", "check", "select", "selecttext", "dblclick", "key",
                              "enter", "escape", "close", "msgbox", "file", "file cancel", "wait", "call",
                              "page", "sheet", "help", "contextmenu", "waitenabled"};
    size_t i = (size_t)op;
    return i < sizeof n / sizeof n[0] ? n[i] : "?";
}

bool IsDialogStep(Op op) { return op != Op::Answer && op != Op::File && op != Op::CancelFile; }

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

void Log(const std::string& line) {
    const char* p = getenv("FAX_UI_LOG");
    if (!p || !*p) return;
    FILE* f = fopen(p, "a");
    if (!f) return;
    fprintf(f, "%s\n", line.c_str());
    fclose(f);
}

void Fail(const std::string& why, HWND dlg) {
    State& s = S();
    if (s.failed) return;
    s.failed = true;
    std::string report = "user automation: " + why;
    if (dlg) report += "\n" + Describe(dlg);
    Log("FAIL " + why);
    if (s.onFailure) {
        s.onFailure(report);
        return;
    }
    fprintf(stderr, "%s\n", report.c_str());
    fflush(stderr);
    _Exit(3);
}

int AnswerMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags) {
    State& s = S();
    LoadEnvScript();
    Log("MSGBOX " + std::to_string(flags) + " [" + ToUtf8(caption) + "] " + ToUtf8(text));
    int answer = 0;
    if (!s.failed) {
        if (s.steps.empty() || s.steps.front().op != Op::Answer) {
            std::string next = s.steps.empty() ? "no step is left"
                                               : std::string("the next step is '") + OpName(s.steps.front().op) + "'";
            Fail("message box \"" + ToUtf8(text) + "\" (" + ToUtf8(caption) + ") waits for an answer, but " + next,
                 OpenDialog());
        } else {
            Script::Step st = s.steps.front();
            s.steps.pop_front();
            if (!Offers(flags, st.value))
                Fail("message box \"" + ToUtf8(text) + "\" has no button " + std::to_string(st.value), OpenDialog());
            else if (!st.text.empty() && text.find(st.text) == std::u16string::npos)
                Fail("message box \"" + ToUtf8(text) + "\" does not contain \"" + ToUtf8(st.text) + "\"", OpenDialog());
            else
                answer = st.value;
        }
    }
    s.seen.messageBoxes.push_back({owner, text, caption, flags, answer});
    return answer;
}

bool AnswerFileDialog(HWND owner, bool save, const std::u16string& title, DWORD flags, std::u16string& path) {
    State& s = S();
    LoadEnvScript();
    s.seen.fileDialogs.push_back({owner, save, title, flags});
    Log(std::string(save ? "SAVEFILE " : "OPENFILE ") + ToUtf8(title));
    if (s.failed) return false;
    if (s.steps.empty() || (s.steps.front().op != Op::File && s.steps.front().op != Op::CancelFile)) {
        Fail("file dialog \"" + ToUtf8(title) + "\" waits for an answer, but " +
                 (s.steps.empty() ? std::string("no step is left")
                                  : std::string("the next step is '") + OpName(s.steps.front().op) + "'"),
             OpenDialog());
        return false;
    }
    Script::Step st = s.steps.front();
    s.steps.pop_front();
    if (st.op == Op::CancelFile) return false;
    path = st.text;
    return true;
}

void RecordBeep(UINT type) {
    S().seen.beeps.push_back(type);
    Log("BEEP " + std::to_string((int)type));
}

void RecordHelp(const std::u16string& file, UINT cmd, ULONG_PTR data) {
    S().seen.help.push_back({file, cmd, data});
    Log("HELP " + std::to_string(cmd) + " " + std::to_string((unsigned long long)data) + " " + ToUtf8(file));
}

void DialogOpened(int templateId) {
    S().seen.dialogsOpened.push_back(templateId);
    Log("DIALOG " + std::to_string(templateId));
}

void DialogEnded(int templateId, INT_PTR result) {
    S().seen.dialogsEnded.push_back({templateId, result});
    Log("END " + std::to_string(templateId) + " " + std::to_string((long long)result));
}

bool NextDialogStep(int templateId, Script::Step& step, std::string& why) {
    State& s = S();
    LoadEnvScript();
    if (s.steps.empty()) {
        why = "dialog " + std::to_string(templateId) + " waits for the user, but no action is left";
        return false;
    }
    const Script::Step& st = s.steps.front();
    if (!IsDialogStep(st.op)) {
        why = "dialog " + std::to_string(templateId) + " waits for the user, but the next step is '" + OpName(st.op) + "'";
        return false;
    }
    if (st.guardDialog && st.guardDialog != templateId) {
        why = std::string("step '") + OpName(st.op) + "' expects dialog " + std::to_string(st.guardDialog) +
              ", but dialog " + std::to_string(templateId) + " is open";
        return false;
    }
    step = st;
    s.steps.pop_front();
    return true;
}

std::u16string FromUtf8(const std::string& s) {
    std::u16string r;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = (unsigned char)s[i];
        char32_t cp;
        size_t n;
        if (b < 0x80) { cp = b; n = 1; }
        else if ((b >> 5) == 6) { cp = b & 0x1F; n = 2; }
        else if ((b >> 4) == 14) { cp = b & 0x0F; n = 3; }
        else if ((b >> 3) == 30) { cp = b & 0x07; n = 4; }
        else { r.push_back(0xFFFD); ++i; continue; }
        if (i + n > s.size()) { r.push_back(0xFFFD); break; }
        bool bad = false;
        for (size_t k = 1; k < n; ++k) {
            unsigned char c = (unsigned char)s[i + k];
            if ((c >> 6) != 2) bad = true;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (bad) { r.push_back(0xFFFD); ++i; continue; }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r.push_back((char16_t)(0xD800 + (cp >> 10)));
            r.push_back((char16_t)(0xDC00 + (cp & 0x3FF)));
        } else {
            r.push_back((char16_t)cp);
        }
    }
    return r;
}

std::string ToUtf8(const std::u16string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) r.push_back((char)cp);
        else if (cp < 0x800) { r.push_back((char)(0xC0 | (cp >> 6))); r.push_back((char)(0x80 | (cp & 0x3F))); }
        else if (cp < 0x10000) {
            r.push_back((char)(0xE0 | (cp >> 12)));
            r.push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
            r.push_back((char)(0x80 | (cp & 0x3F)));
        } else {
            r.push_back((char)(0xF0 | (cp >> 18)));
            r.push_back((char)(0x80 | ((cp >> 12) & 0x3F)));
            r.push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
            r.push_back((char)(0x80 | (cp & 0x3F)));
        }
    }
    return r;
}

}  // namespace detail

using detail::Op;

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
Script& Script::file(const std::string& path) { Step s{Op::File}; s.text = detail::FromUtf8(path); return add(s); }
Script& Script::cancelFile() { return add(Step{Op::CancelFile}); }
Script& Script::wait(int ms) { Step s{Op::Wait}; s.value = ms; return add(s); }
Script& Script::waitEnabled(int ms) { Step s{Op::WaitEnabled}; s.value = ms; return add(s); }
Script& Script::help(int id) { Step s{Op::Help}; s.id = id; return add(s); }
Script& Script::contextMenu(int id) { Step s{Op::ContextMenu}; s.id = id; return add(s); }
Script& Script::call(std::function<void(HWND)> fn) { Step s{Op::Call}; s.fn = std::move(fn); return add(s); }
Script& Script::page(int index) { Step s{Op::Page}; s.value = index; return add(s); }
Script& Script::sheetButton(SheetButton b) { Step s{Op::Sheet}; s.value = (int)b; return add(s); }

void Play(const Script& sc) {
    State& s = S();
    s.everGiven = true;
    for (const auto& st : sc.steps) s.steps.push_back(st);
    detail::PlatformStart();
}

size_t StepsLeft() { return S().steps.size(); }
Observed& Seen() { return S().seen; }

void Reset() {
    State& s = S();
    s.steps.clear();
    s.seen = Observed();
    s.failed = false;
    detail::PlatformReset();
}

void SetFailureHandler(std::function<void(const std::string&)> h) { S().onFailure = std::move(h); }
bool Failed() { return S().failed; }

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
    return detail::FromUtf8(r);
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
        if (cmd == "dialog" || cmd == "click" || cmd == "wait" || cmd == "page" || cmd == "help" ||
            cmd == "contextmenu" || cmd == "waitenabled") {
            ws >> a1;
            if (!Number(a1, v) || ((cmd == "page" || cmd == "waitenabled") && v < 0)) return bad("expected a number");
            if (cmd == "dialog") sc.dialog(v);
            else if (cmd == "click") sc.click(v);
            else if (cmd == "page") sc.page(v);
            else if (cmd == "help") sc.help(v);
            else if (cmd == "contextmenu") sc.contextMenu(v);
            else if (cmd == "waitenabled") sc.waitEnabled(v);
            else sc.wait(v);
        } else if (cmd == "sheet") {
            ws >> a1;
            if (a1 == "ok") sc.sheetButton(Script::SheetButton::Ok);
            else if (a1 == "cancel") sc.sheetButton(Script::SheetButton::Cancel);
            else if (a1 == "apply") sc.sheetButton(Script::SheetButton::Apply);
            else return bad("expected: sheet ok|cancel|apply");
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
