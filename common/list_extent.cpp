// The list is subclassed rather than told at each place that adds a text:
// the store's listings, the dialogs and the imports all fill these lists.
#include "list_extent.h"

#include <algorithm>
#include <map>
#include <new>
#include <vector>

namespace {

const WCHAR* const kStateProperty = WIDE("FaxListExtent");

// A list draws its texts a couple of pixels in from its edge; the extent
// leaves as much after the widest text's end.
const int kTextMargin = 4;

struct ExtentState {
    WNDPROC previous = nullptr;
    HDC dc = nullptr;                // holds the list's font for measuring
    HGDIOBJ originalFont = nullptr;  // what the context held before it
    bool tabbed = false;             // LBS_USETABSTOPS: tabs reach the stops
    std::vector<INT> tabStops;       // pixels; none: every 8 average characters
    // How many items measure each width, so that losing the widest text
    // finds the next widest without measuring the whole list again (which
    // made deleting many items cost the square of their number). Without
    // memory for the counts the list is measured whole, as before.
    std::map<int, size_t> widths;
    bool counted = true;
};

ExtentState* State(HWND list) { return static_cast<ExtentState*>(GetPropW(list, kStateProperty)); }

LRESULT Previous(HWND list, const ExtentState& s, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return CallWindowProcW(s.previous, list, message, wParam, lParam);
}

void SelectListFont(HWND list, ExtentState& s) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(Previous(list, s, WM_GETFONT));
    if (!font) return;  // the system font, which the context starts with
    HGDIOBJ old = SelectObject(s.dc, font);
    if (!s.originalFont) s.originalFont = old;
}

int TextWidth(const ExtentState& s, const WCHAR* text) {
    if (!text) return 0;
    int length = lstrlenW(text);
    if (s.tabbed) {
        DWORD size = GetTabbedTextExtentW(s.dc, text, length, static_cast<int>(s.tabStops.size()),
                                          s.tabStops.empty() ? nullptr : s.tabStops.data());
        return size ? LOWORD(size) + kTextMargin : 0;
    }
    SIZE size{};
    if (!GetTextExtentPoint32W(s.dc, text, length, &size)) return 0;
    return size.cx + kTextMargin;
}

int ItemWidth(HWND list, const ExtentState& s, WPARAM index) {
    LRESULT length = Previous(list, s, LB_GETTEXTLEN, index);
    if (length < 0) return 0;
    std::vector<WCHAR> text(static_cast<size_t>(length) + 1, 0);
    Previous(list, s, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return TextWidth(s, text.data());
}

int WidestItem(HWND list, const ExtentState& s) {
    LRESULT count = Previous(list, s, LB_GETCOUNT);
    int widest = 0;
    for (LRESULT i = 0; i < count; ++i) widest = std::max(widest, ItemWidth(list, s, static_cast<WPARAM>(i)));
    return widest;
}

void CountWidth(ExtentState& s, int width) {
    if (!s.counted) return;
    try {
        ++s.widths[width];
    } catch (const std::bad_alloc&) {
        s.widths.clear();
        s.counted = false;
    }
}

void UncountWidth(ExtentState& s, int width) {
    auto it = s.widths.find(width);
    if (it != s.widths.end() && --it->second == 0) s.widths.erase(it);
}

int Widest(HWND list, const ExtentState& s) {
    if (!s.counted) return WidestItem(list, s);
    return s.widths.empty() ? 0 : s.widths.rbegin()->first;
}

int Extent(HWND list, const ExtentState& s) { return static_cast<int>(Previous(list, s, LB_GETHORIZONTALEXTENT)); }
void SetExtent(HWND list, const ExtentState& s, int extent) {
    Previous(list, s, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent));
}

// Every item measured again: a new font or new tab stops.
void Recount(HWND list, ExtentState& s) {
    s.widths.clear();
    s.counted = true;
    LRESULT count = Previous(list, s, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) CountWidth(s, ItemWidth(list, s, static_cast<WPARAM>(i)));
    SetExtent(list, s, Widest(list, s));
}

LRESULT OnAdd(HWND list, ExtentState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT index = Previous(list, s, message, wParam, lParam);
    if (index >= 0) {
        int width = TextWidth(s, reinterpret_cast<const WCHAR*>(lParam));
        CountWidth(s, width);
        if (width > Extent(list, s)) SetExtent(list, s, width);
    }
    return index;
}

// Only the loss of the widest text narrows the extent.
LRESULT OnDelete(HWND list, ExtentState& s, WPARAM index) {
    int width = ItemWidth(list, s, index);
    LRESULT left = Previous(list, s, LB_DELETESTRING, index);
    if (left == LB_ERR) return left;
    UncountWidth(s, width);
    if (width >= Extent(list, s)) SetExtent(list, s, Widest(list, s));
    return left;
}

// The list counts its stops in quarters of its font's average character,
// reckoned as dialog units are (the letters' mean width, rounded); the
// measuring takes pixels.
LRESULT OnSetTabStops(HWND list, ExtentState& s, WPARAM count, LPARAM stops) {
    LRESULT result = Previous(list, s, LB_SETTABSTOPS, count, stops);
    if (!result || !s.tabbed) return result;
    const WCHAR* const letters = WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    SIZE size{};
    if (!GetTextExtentPoint32W(s.dc, letters, 52, &size)) return result;
    const LONG average = (size.cx / 26 + 1) / 2;
    const INT* units = reinterpret_cast<const INT*>(stops);
    s.tabStops.clear();
    for (WPARAM i = 0; units && i < count; ++i) s.tabStops.push_back(static_cast<INT>(units[i] * average / 4));
    Recount(list, s);
    return result;
}

LRESULT OnNcDestroy(HWND list, ExtentState* s, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = s->previous;
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(list, kStateProperty);
    if (s->originalFont) SelectObject(s->dc, s->originalFont);
    DeleteDC(s->dc);
    delete s;
    return CallWindowProcW(previous, list, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK ExtentProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    ExtentState* s = State(list);
    if (!s) return DefWindowProcW(list, message, wParam, lParam);
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: return OnAdd(list, *s, message, wParam, lParam);
    case LB_DELETESTRING: return OnDelete(list, *s, wParam);
    case LB_SETTABSTOPS: return OnSetTabStops(list, *s, wParam, lParam);
    case LB_RESETCONTENT: {
        LRESULT result = Previous(list, *s, message, wParam, lParam);
        s->widths.clear();
        s->counted = true;
        SetExtent(list, *s, 0);
        return result;
    }
    case WM_SETFONT: {
        LRESULT result = Previous(list, *s, message, wParam, lParam);
        SelectListFont(list, *s);
        Recount(list, *s);
        return result;
    }
    case WM_NCDESTROY: return OnNcDestroy(list, s, wParam, lParam);
    default: return Previous(list, *s, message, wParam, lParam);
    }
}

}  // namespace

void ScrollToWidestItem(HWND list) {
    if (!list || State(list)) return;
    auto* s = new (std::nothrow) ExtentState;
    if (!s) return;  // the list works on, only without the scrolling
    s->dc = CreateCompatibleDC(nullptr);
    s->tabbed = (GetWindowLongPtrW(list, GWL_STYLE) & LBS_USETABSTOPS) != 0;
    if (s->dc && SetPropW(list, kStateProperty, s))
        s->previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ExtentProc)));
    if (!s->previous) {
        RemovePropW(list, kStateProperty);
        if (s->dc) DeleteDC(s->dc);
        delete s;
        return;
    }
    SelectListFont(list, *s);
    Recount(list, *s);
}
