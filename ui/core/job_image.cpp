#include "job_image.h"

namespace {

// A block must lie inside the image and on its natural alignment (the
// records are read in place).
template <typename T>
bool Fits(const std::vector<uint8_t>& bytes, int32_t offset) {
    return BlockFits<T>(bytes.size(), offset) && offset % alignof(T) == 0;
}

struct Span {
    int32_t offset;
    size_t size;
};

// The host lays its fixed part, its sub-blocks and each module's blocks one
// after another. Blocks sharing bytes would let a write into one (the
// account identity, the client id, the recipients) change another, or the
// host's own fields, in the image handed back.
bool Apart(const Span (&spans)[5]) {
    for (size_t i = 0; i < 5; ++i)
        for (size_t j = i + 1; j < 5; ++j)
            if (BlocksOverlap(spans[i].offset, spans[i].size, spans[j].offset, spans[j].size)) return false;
    return true;
}

}  // namespace

bool JobImage::Read(HDC dc, const AddonMCB& mcb) {
    bytes_.clear();
    sub_ = nullptr;
    sub2_ = nullptr;
    ds_ = nullptr;
    ss_ = nullptr;
    int size = ExtEscape(dc, kEscapeImageSize, 0, nullptr, 0, nullptr);
    if (size < static_cast<int>(sizeof(HostJobSettings)) || size > kMaxImageSize) return false;
    bytes_.assign(static_cast<size_t>(size), 0);
    if (ExtEscape(dc, kEscapeReadImage, 0, nullptr, size, reinterpret_cast<LPSTR>(bytes_.data())) <= 0)
        return false;

    const HostJobSettings& s = settings();
    if (!Fits<HostSubBlock>(bytes_, s.subBlockOffset) || !Fits<HostSubBlock2>(bytes_, s.subBlock2Offset) ||
        !Fits<FaxDS>(bytes_, mcb.block1Offset) || !Fits<FaxSS>(bytes_, mcb.block3Offset))
        return false;
    const Span spans[5] = {{0, sizeof(HostJobSettings)},
                           {s.subBlockOffset, sizeof(HostSubBlock)},
                           {s.subBlock2Offset, sizeof(HostSubBlock2)},
                           {mcb.block1Offset, sizeof(FaxDS)},
                           {mcb.block3Offset, sizeof(FaxSS)}};
    if (!Apart(spans)) return false;
    sub_ = BlockAt<HostSubBlock>(bytes_.data(), s.subBlockOffset);
    sub2_ = BlockAt<HostSubBlock2>(bytes_.data(), s.subBlock2Offset);
    ds_ = BlockAt<FaxDS>(bytes_.data(), mcb.block1Offset);
    ss_ = BlockAt<FaxSS>(bytes_.data(), mcb.block3Offset);
    return true;
}

bool JobImage::Store(HDC dc) {
    return ExtEscape(dc, kEscapeWriteImage, static_cast<int>(bytes_.size()),
                     reinterpret_cast<LPCSTR>(bytes_.data()), 0, nullptr) > 0;
}
