// Edit controls: single line and multiline, text limit, selection,
// password style and the change notifications.
#include "posix/user/controls.h"
#include "posix/user/text.h"
#include "posix/user/window.h"

namespace winuser {
namespace {

void ClampSel(Window& w) {
    DWORD n = (DWORD)w.text.size();
    if (w.selStart > n) w.selStart = n;
    if (w.selEnd > n) w.selEnd = n;
}

void Changed(Window& w) {
    w.modified = true;
    Notify(w, EN_UPDATE);
    Notify(w, EN_CHANGE);
}

// Replaces the selection as the user or EM_REPLACESEL does: the text limit
// cuts what is inserted, and EN_MAXTEXT reports the cut.
bool ReplaceSel(Window& w, std::u16string ins, bool user) {
    ClampSel(w);
    DWORD a = w.selStart < w.selEnd ? w.selStart : w.selEnd;
    DWORD b = w.selStart < w.selEnd ? w.selEnd : w.selStart;
    if (w.style & ES_UPPERCASE)
        for (auto& c : ins) c = UpperChar(c);
    if (!(w.style & ES_MULTILINE)) {
        // A single-line edit keeps only the first line of what is pasted.
        size_t nl = ins.find_first_of(u"\r\n");
        if (nl != std::u16string::npos) ins.resize(nl);
    }
    size_t keep = w.text.size() - (b - a);
    size_t room = w.limit > keep ? w.limit - keep : 0;
    bool cut = ins.size() > room;
    if (cut) ins.resize(room);
    if (ins.empty() && a == b) {
        if (cut) Notify(w, EN_MAXTEXT);
        // A keystroke the limit refused still reports a possible change.
        if (cut && user) Changed(w);
        return false;
    }
    w.text.replace(a, b - a, ins);
    w.selStart = w.selEnd = a + (DWORD)ins.size();
    if (cut) Notify(w, EN_MAXTEXT);
    Changed(w);
    return true;
}

void TypeChar(Window& w, WCHAR c) {
    if (w.style & ES_READONLY) return;
    if (c == VK_BACK) {
        ClampSel(w);
        if (w.selStart == w.selEnd) {
            if (w.selStart == 0) return;
            w.selStart -= 1;
        }
        ReplaceSel(w, std::u16string(), true);
        return;
    }
    if (c == u'\r' || c == u'\n') {
        if (!(w.style & ES_MULTILINE)) return;
        ReplaceSel(w, u"\r\n", true);
        return;
    }
    if ((w.style & ES_NUMBER) && !(c >= u'0' && c <= u'9')) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    ReplaceSel(w, std::u16string(1, c), true);
}

LRESULT GetSel(Window& w, WPARAM wp, LPARAM lp) {
    ClampSel(w);
    DWORD a = w.selStart < w.selEnd ? w.selStart : w.selEnd;
    DWORD b = w.selStart < w.selEnd ? w.selEnd : w.selStart;
    if (wp) *(DWORD*)wp = a;
    if (lp) *(DWORD*)lp = b;
    return (LRESULT)(DWORD)MAKELONG(a > 0xFFFF ? 0xFFFF : a, b > 0xFFFF ? 0xFFFF : b);
}

void SetSel(Window& w, WPARAM wp, LPARAM lp) {
    long a = (long)(int)wp, b = (long)(int)lp;
    long n = (long)w.text.size();
    if (a == -1) {  // deselect, caret stays
        w.selStart = w.selEnd;
        return;
    }
    if (a < 0) a = n;  // other negatives count as the end
    if (b < 0) b = n;
    if (a > n) a = n;
    if (b > n) b = n;
    w.selStart = (DWORD)a;
    w.selEnd = (DWORD)b;
}

// Lines of a multiline edit are separated by CR LF.
std::vector<std::pair<size_t, size_t>> Lines(const std::u16string& t) {
    std::vector<std::pair<size_t, size_t>> r;
    size_t s = 0;
    for (;;) {
        size_t e = t.find(u"\r\n", s);
        if (e == std::u16string::npos) {
            r.push_back({s, t.size() - s});
            return r;
        }
        r.push_back({s, e - s});
        s = e + 2;
    }
}

}  // namespace

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Find(h);
    if (!w) return 0;
    switch (msg) {
    case WM_CREATE:
        if (w->style & ES_PASSWORD) w->passwordChar = u'*';
        if (w->style & ES_MULTILINE) w->limit = 0xFFFFFFFF;
        return 0;
    case WM_SETTEXT:
        w->text = W((LPCWSTR)lp);
        w->selStart = w->selEnd = 0;
        w->modified = false;
        // A multiline edit does not report text set by the program.
        if (!(w->style & ES_MULTILINE)) {
            Notify(*w, EN_UPDATE);
            Notify(*w, EN_CHANGE);
        }
        return TRUE;
    case WM_CHAR:
        TypeChar(*w, (WCHAR)wp);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_DELETE && !(w->style & ES_READONLY)) {
            ClampSel(*w);
            if (w->selStart == w->selEnd) {
                if (w->selEnd >= w->text.size()) return 0;
                w->selEnd += 1;
            }
            ReplaceSel(*w, std::u16string(), true);
        } else if (wp == VK_HOME) {
            w->selStart = w->selEnd = 0;
        } else if (wp == VK_END) {
            w->selStart = w->selEnd = (DWORD)w->text.size();
        }
        return 0;
    case WM_GETDLGCODE: {
        LRESULT c = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if ((w->style & ES_MULTILINE) && (w->style & ES_WANTRETURN)) c |= DLGC_WANTALLKEYS;
        return c;
    }
    case WM_SETFOCUS:
        Notify(*w, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Notify(*w, EN_KILLFOCUS);
        return 0;
    case EM_GETSEL: return GetSel(*w, wp, lp);
    case EM_SETSEL: SetSel(*w, wp, lp); return 0;
    case EM_REPLACESEL:
        ReplaceSel(*w, W((LPCWSTR)lp), false);
        return 0;
    case EM_LIMITTEXT:
        if (wp == 0) w->limit = (w->style & ES_MULTILINE) ? 0xFFFFFFFF : 0x7FFFFFFE;
        else w->limit = (DWORD)wp;
        return 0;
    case EM_GETLIMITTEXT: return (LRESULT)w->limit;
    case EM_GETMODIFY: return w->modified;
    case EM_SETMODIFY: w->modified = wp != 0; return 0;
    case EM_SETREADONLY:
        if (wp) w->style |= ES_READONLY;
        else w->style &= ~ES_READONLY;
        return TRUE;
    case EM_SETPASSWORDCHAR:
        if (w->style & ES_MULTILINE) return 0;
        w->passwordChar = (WCHAR)wp;
        if (wp) w->style |= ES_PASSWORD;
        else w->style &= ~ES_PASSWORD;
        return 0;
    case EM_GETPASSWORDCHAR: return w->passwordChar;
    case EM_SETTABSTOPS:
        if (!(w->style & ES_MULTILINE)) return FALSE;
        w->tabStops.assign(lp ? (const int*)lp : nullptr, lp ? (const int*)lp + wp : nullptr);
        return TRUE;
    case EM_CANUNDO: return FALSE;
    case EM_UNDO: return FALSE;
    case EM_EMPTYUNDOBUFFER: return 0;
    case EM_SCROLLCARET: return TRUE;
    case EM_GETLINECOUNT:
        return (w->style & ES_MULTILINE) ? (LRESULT)Lines(w->text).size() : 1;
    case EM_LINEINDEX: {
        if (!(w->style & ES_MULTILINE)) return 0;
        auto ls = Lines(w->text);
        long i = (long)(int)wp;
        if (i == -1) {
            size_t caret = w->selEnd;
            for (auto& l : ls)
                if (caret <= l.first + l.second) return (LRESULT)l.first;
            return (LRESULT)ls.back().first;
        }
        return i >= 0 && (size_t)i < ls.size() ? (LRESULT)ls[i].first : -1;
    }
    case EM_LINELENGTH: {
        auto ls = Lines(w->text);
        size_t ch = (int)wp < 0 ? w->selEnd : (size_t)wp;
        for (auto& l : ls)
            if (ch <= l.first + l.second) return (LRESULT)l.second;
        return 0;
    }
    case EM_LINEFROMCHAR: {
        auto ls = Lines(w->text);
        size_t ch = (int)wp < 0 ? w->selEnd : (size_t)wp;
        for (size_t i = 0; i < ls.size(); ++i)
            if (ch <= ls[i].first + ls[i].second) return (LRESULT)i;
        return (LRESULT)ls.size() - 1;
    }
    case EM_GETLINE: {
        auto ls = Lines(w->text);
        if (!lp || wp >= ls.size()) return 0;
        WCHAR* buf = (WCHAR*)lp;
        WORD max = *(WORD*)buf;
        size_t n = ls[wp].second < max ? ls[wp].second : max;
        for (size_t i = 0; i < n; ++i) buf[i] = w->text[ls[wp].first + i];
        return (LRESULT)n;  // not terminated, as documented
    }
    default:
        return DefWindowProcW(h, msg, wp, lp);
    }
}

}  // namespace winuser
