#pragma once
// A copy of the job's settings image read from the host over the printer
// device context, with the blocks the fax code uses located and checked.
// The image comes from outside the module: its size and every offset in it
// are checked before any block is touched. Where the host puts its blocks
// is its own choice, on any byte boundary: the blocks are read into copies
// of their own and only the fields this module writes go back.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "addon.h"
#include "host_settings.h"

// Far above any real image (a few tens of kilobytes); a larger answer is a
// broken host, not something to allocate.
constexpr int32_t kMaxImageSize = 4 << 20;

// Whether blocks at these byte offsets and sizes share a byte (negative
// offsets are a broken host's and count as sharing).
inline bool BlocksOverlap(int32_t a, size_t aSize, int32_t b, size_t bSize) {
    if (a < 0 || b < 0) return true;
    size_t x = static_cast<size_t>(a), y = static_cast<size_t>(b);
    return x < y + bSize && y < x + aSize;
}

enum class ImageState {
    Missing,   // the host gave no image, or one too small for its fixed part
    Unusable,  // the fixed part was read; a block lies outside the image or
               // a field this module writes shares bytes with another field
    Usable,
};

class JobImage {
public:
    // Reads the image (escapes 15002 and 15000) and, given the fax control
    // block, copies out the host fields, the sub-blocks, FaxDS and FaxSS.
    // Unless the image is Missing, settings() holds the host's fixed part.
    ImageState Read(HDC dc, const AddonMCB& mcb);
    // Puts the account identity, the client id and FaxSS back into the image
    // and hands it to the host (escape 15001). False when the host refuses.
    bool Store(HDC dc);

    HostJobSettings& settings() { return settings_; }
    HostSubBlock& sub() { return sub_; }
    HostSubBlock2& sub2() { return sub2_; }
    FaxDS& ds() { return ds_; }
    FaxSS& ss() { return ss_; }
    const uint8_t* data() const { return bytes_.data(); }
    size_t size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
    bool usable_ = false;
    int32_t subOffset_ = 0;
    int32_t sub2Offset_ = 0;
    int32_t dsOffset_ = 0;
    int32_t ssOffset_ = 0;
    HostJobSettings settings_{};
    HostSubBlock sub_{};
    HostSubBlock2 sub2_{};
    FaxDS ds_{};
    FaxSS ss_{};
};
