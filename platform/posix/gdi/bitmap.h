#pragma once
// Bitmap objects: what LoadBitmap makes and GetObject, SelectObject and
// DeleteObject take. Only the header is kept, so GetObject can answer the
// size; nothing is ever drawn.
#include "posix/win_base.h"

namespace winuser {

struct BitmapObject {
    LONG width;
    LONG height;
    WORD bits;
};

HBITMAP NewBitmap(const BitmapObject& header);
BitmapObject* FindBitmap(HANDLE h);  // null when h is no bitmap of ours
void DeleteBitmap(HANDLE h);         // no-op for anything else

}  // namespace winuser
