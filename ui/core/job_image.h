#pragma once
// A copy of the job's settings image read from the host over the printer
// device context, with the blocks the fax code uses located and checked.
// The image comes from outside the module: its size and every offset in it
// are checked before any block is touched.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "addon.h"
#include "host_settings.h"

constexpr int kEscapeReadImage = 15000;
constexpr int kEscapeWriteImage = 15001;
constexpr int kEscapeImageSize = 15002;
constexpr int kEscapeAddonDue = 15004;
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

class JobImage {
public:
    // Reads the image (escapes 15002 and 15000) and locates the host fields,
    // the sub-blocks and, given the fax control block, FaxDS and FaxSS.
    // False when the host gives no image or one whose offsets do not fit.
    bool Read(HDC dc, const AddonMCB& mcb);
    // Hands the image back to the host (escape 15001).
    bool Store(HDC dc);

    HostJobSettings& settings() { return *BlockAt<HostJobSettings>(bytes_.data(), 0); }
    HostSubBlock& sub() { return *sub_; }
    HostSubBlock2& sub2() { return *sub2_; }
    FaxDS& ds() { return *ds_; }
    FaxSS& ss() { return *ss_; }
    uint8_t* data() { return bytes_.data(); }
    size_t size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
    HostSubBlock* sub_ = nullptr;
    HostSubBlock2* sub2_ = nullptr;
    FaxDS* ds_ = nullptr;
    FaxSS* ss_ = nullptr;
};
