// The little painting the dialogs do: device contexts that accept bitmap
// copies. Nothing is drawn; sizes and handles behave.
#include "posix/gdi/bitmap.h"
#include "posix/user/window.h"

#include <memory>
#include <vector>

using namespace winuser;

namespace {
struct Dc {
    HWND hwnd;
    HGDIOBJ selected;
    int mapMode;
};
std::vector<std::unique_ptr<Dc>>& Dcs() {
    static std::vector<std::unique_ptr<Dc>> d;
    return d;
}
Dc* FindDc(HDC h) {
    for (auto& d : Dcs())
        if ((HDC)d.get() == h) return d.get();
    return nullptr;
}
HDC NewDc(HWND h) {
    Dcs().push_back(std::make_unique<Dc>(Dc{h, nullptr, MM_TEXT}));
    return (HDC)Dcs().back().get();
}
BOOL FreeDc(HDC h) {
    auto& v = Dcs();
    for (size_t i = 0; i < v.size(); ++i)
        if ((HDC)v[i].get() == h) {
            v.erase(v.begin() + i);
            return TRUE;
        }
    return FALSE;
}
}  // namespace

HDC WINAPI BeginPaint(HWND h, LPPAINTSTRUCT ps) {
    if (!Lookup(h) || !ps) return nullptr;
    *ps = PAINTSTRUCT{};
    Validate(h);
    ps->hdc = NewDc(h);
    GetClientRect(h, &ps->rcPaint);
    return ps->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) { return ps ? FreeDc(ps->hdc) : FALSE; }
HDC WINAPI GetDC(HWND h) { return (h && !Lookup(h)) ? nullptr : NewDc(h); }
int WINAPI ReleaseDC(HWND, HDC dc) { return FreeDc(dc); }
HDC WINAPI CreateCompatibleDC(HDC) { return NewDc(nullptr); }
BOOL WINAPI DeleteDC(HDC dc) { return FreeDc(dc); }

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ obj) {
    Dc* d = FindDc(dc);
    if (!d || !obj) return nullptr;
    HGDIOBJ old = d->selected;
    d->selected = obj;
    static int stockBitmap;  // what a fresh memory DC holds
    return old ? old : (HGDIOBJ)&stockBitmap;
}

BOOL WINAPI DeleteObject(HGDIOBJ obj) {
    if (!obj) return FALSE;
    DeleteBitmap(obj);
    return TRUE;
}

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) {
    BitmapObject* b = FindBitmap(h);
    if (!b) return 0;
    if (!pv) return (int)sizeof(BITMAP);
    if (c < (int)sizeof(BITMAP)) return 0;
    BITMAP* bm = (BITMAP*)pv;
    *bm = BITMAP{};
    bm->bmWidth = b->width;
    bm->bmHeight = b->height;
    bm->bmPlanes = 1;
    bm->bmBitsPixel = b->bits;
    bm->bmWidthBytes = ((b->width * b->bits + 15) / 16) * 2;
    return (int)sizeof(BITMAP);
}

BOOL WINAPI BitBlt(HDC dst, int, int, int, int, HDC src, int, int, DWORD) {
    return FindDc(dst) && (!src || FindDc(src));
}

BOOL WINAPI StretchBlt(HDC dst, int, int, int, int, HDC src, int, int, int, int, DWORD) {
    return FindDc(dst) && (!src || FindDc(src));
}

int WINAPI GetMapMode(HDC dc) {
    Dc* d = FindDc(dc);
    return d ? d->mapMode : 0;
}

int WINAPI SetMapMode(HDC dc, int mode) {
    Dc* d = FindDc(dc);
    if (!d || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    int old = d->mapMode;
    d->mapMode = mode;
    return old;
}

// No fonts here: every character is one average character of the font
// MapDialogRect assumes (6 x 13 pixels), so widths stay in proportion to
// the dialog layouts.
namespace {
const LONG kCharWidth = 6;
const LONG kCharHeight = 13;
}  // namespace

BOOL WINAPI GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
    if (!FindDc(dc) || !size || count < 0 || (count > 0 && !text)) return FALSE;
    size->cx = count * kCharWidth;
    size->cy = kCharHeight;
    return TRUE;
}

namespace {
// Without stops a tab reaches the next multiple of eight average
// characters; one stop gives the spacing; several are positions, and past
// the last the eight-character spacing holds again.
LONG NextTabStop(LONG x, int count, const INT* stops) {
    if (stops && count > 1)
        for (int i = 0; i < count; ++i)
            if (stops[i] > x) return stops[i];
    LONG step = stops && count == 1 && stops[0] > 0 ? stops[0] : 8 * kCharWidth;
    return (x / step + 1) * step;
}
}  // namespace

DWORD WINAPI GetTabbedTextExtentW(HDC dc, LPCWSTR text, int count, int tabCount, const INT* tabs) {
    if (!FindDc(dc) || count < 0 || (count > 0 && !text)) return 0;
    LONG x = 0;
    for (int i = 0; i < count; ++i) x = text[i] == u'\t' ? NextTabStop(x, tabCount, tabs) : x + kCharWidth;
    return MAKELONG(x, kCharHeight);
}
