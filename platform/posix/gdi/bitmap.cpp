// The table of bitmap objects.
#include "posix/gdi/bitmap.h"

#include <memory>
#include <vector>

namespace winuser {
namespace {
std::vector<std::unique_ptr<BitmapObject>>& Bitmaps() {
    static std::vector<std::unique_ptr<BitmapObject>> b;
    return b;
}
}  // namespace

HBITMAP NewBitmap(const BitmapObject& header) {
    Bitmaps().push_back(std::make_unique<BitmapObject>(header));
    return (HBITMAP)Bitmaps().back().get();
}

BitmapObject* FindBitmap(HANDLE h) {
    for (auto& b : Bitmaps())
        if ((HANDLE)b.get() == h) return b.get();
    return nullptr;
}

void DeleteBitmap(HANDLE h) {
    auto& v = Bitmaps();
    for (size_t i = 0; i < v.size(); ++i)
        if ((HANDLE)v[i].get() == h) {
            v.erase(v.begin() + i);
            return;
        }
}

}  // namespace winuser
