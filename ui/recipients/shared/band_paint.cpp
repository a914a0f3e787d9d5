#include "band_paint.h"

#include "dialog_help.h"
#include "string_ids.h"

namespace {
constexpr int kBandHeight = 5;
}  // namespace

void PaintEtchedBands(HWND dialog, std::initializer_list<int> ninths) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    HBITMAP band = LoadBitmapW(DialogModule(), MAKEINTRESOURCEW(IDB_BAND));
    if (dc && band) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory) {
            HGDIOBJ old = SelectObject(memory, band);
            RECT client;
            GetClientRect(dialog, &client);
            for (int ninth : ninths)
                BitBlt(dc, 0, client.bottom * ninth / 9, client.right, kBandHeight, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
    }
    if (band) DeleteObject(band);
    EndPaint(dialog, &ps);
}
