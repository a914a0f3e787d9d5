// ANSI entry points: text-carrying messages are converted through code
// page 1252 (one byte per character, so lengths agree).
#include "posix/user/text.h"
#include "posix/user/window.h"

using namespace winuser;

namespace {
bool TakesText(UINT msg) {
    switch (msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
        return true;
    }
    return false;
}
}  // namespace

LRESULT WINAPI SendMessageA(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (TakesText(msg)) {
        std::u16string w = FromAnsi((LPCSTR)lp);
        return Send(h, msg, wp, lp ? (LPARAM)w.c_str() : 0);
    }
    switch (msg) {
    case WM_GETTEXT: {
        if (!wp || !lp) return 0;
        LRESULT len = Send(h, WM_GETTEXTLENGTH, 0, 0);
        std::u16string w((size_t)len + 1, u'\0');
        LRESULT n = Send(h, WM_GETTEXT, (WPARAM)len + 1, (LPARAM)&w[0]);
        std::string a = ToAnsi(w.substr(0, (size_t)n));
        size_t m = a.size() < wp - 1 ? a.size() : wp - 1;
        a.copy((char*)lp, m);
        ((char*)lp)[m] = 0;
        return (LRESULT)m;
    }
    case LB_GETTEXT:
    case CB_GETLBTEXT: {
        LRESULT len = Send(h, msg == LB_GETTEXT ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, wp, 0);
        if (len < 0 || !lp) return len < 0 ? len : LB_ERR;
        std::u16string w((size_t)len + 1, u'\0');
        LRESULT n = Send(h, msg, wp, (LPARAM)&w[0]);
        std::string a = ToAnsi(w.substr(0, (size_t)n));
        a.copy((char*)lp, a.size());
        ((char*)lp)[a.size()] = 0;
        return (LRESULT)a.size();
    }
    default:
        return Send(h, msg, wp, lp);
    }
}

BOOL WINAPI PostMessageA(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return PostMessageW(h, msg, wp, lp); }
