#include "job_image.h"

#include <cstring>

namespace {

// A run of bytes of the image, from its start. 'field' names what the bytes
// hold, so a field written is not compared with itself.
struct Span {
    int64_t start;
    int64_t size;
    int field;
};

template <typename T>
Span FieldAt(int32_t block, size_t offset, int field) {
    return {static_cast<int64_t>(block) + static_cast<int64_t>(offset), static_cast<int64_t>(sizeof(T)), field};
}

bool Share(const Span& a, const Span& b) { return a.start < b.start + b.size && b.start < a.start + a.size; }

enum Field {
    kHostOffsets, kCopies, kQtyForce, kOutputTray, kJobFields,
    kCollate, kSubOptions, kFaxInstalled, kAccountUser, kSpeedDial999,
    kSuppress, kFaxDS, kFaxSS,
};

// The host may lay its blocks as it likes, even over bytes of its own that
// this module does not know. What must hold is that a field this module
// writes (the account identity, the client id, the recipients) changes no
// other field that this module, the render add-on or the host reads here.
bool WritesApart(const HostJobSettings& s, const AddonMCB& mcb) {
    const int32_t sub = s.subBlockOffset, sub2 = s.subBlock2Offset;
    const Span used[] = {
        FieldAt<int32_t[2]>(0, offsetof(HostJobSettings, subBlockOffset), kHostOffsets),
        FieldAt<int32_t>(0, offsetof(HostJobSettings, copies), kCopies),
        FieldAt<int32_t>(0, offsetof(HostJobSettings, qtyForce), kQtyForce),
        FieldAt<int32_t>(0, offsetof(HostJobSettings, outputTray), kOutputTray),
        FieldAt<int32_t[3]>(0, offsetof(HostJobSettings, jobType), kJobFields),
        FieldAt<int32_t>(sub, offsetof(HostSubBlock, collateMode), kCollate),
        FieldAt<int32_t[3]>(sub, offsetof(HostSubBlock, optionB), kSubOptions),  // and g4Available, optionA
        FieldAt<int32_t>(sub, offsetof(HostSubBlock, faxInstalled), kFaxInstalled),
        FieldAt<char[32]>(sub, offsetof(HostSubBlock, accountUser), kAccountUser),
        FieldAt<int32_t>(sub, offsetof(HostSubBlock, speedDial999), kSpeedDial999),
        FieldAt<int32_t>(sub2, offsetof(HostSubBlock2, suppressAddon), kSuppress),
        FieldAt<FaxDS>(mcb.block1Offset, 0, kFaxDS),
        FieldAt<FaxSS>(mcb.block3Offset, 0, kFaxSS),
    };
    const Span written[] = {
        FieldAt<char[32]>(sub, offsetof(HostSubBlock, accountUser), kAccountUser),
        FieldAt<char[101]>(mcb.block1Offset, offsetof(FaxDS, clientId), kFaxDS),
        FieldAt<FaxSS>(mcb.block3Offset, 0, kFaxSS),
    };
    for (const Span& w : written)
        for (const Span& u : used)
            if (w.field != u.field && Share(w, u)) return false;
    return true;
}

template <typename T>
void CopyOut(const std::vector<uint8_t>& bytes, int32_t offset, T* to) {
    std::memcpy(to, bytes.data() + offset, sizeof *to);
}

void CopyIn(std::vector<uint8_t>& bytes, int32_t block, size_t offset, const void* from, size_t size) {
    std::memcpy(bytes.data() + block + offset, from, size);
}

}  // namespace

ImageState JobImage::Read(HDC dc, const AddonMCB& mcb) {
    bytes_.clear();
    usable_ = false;
    int size = ExtEscape(dc, kEscapeImageSize, 0, nullptr, 0, nullptr);
    if (size < static_cast<int>(sizeof(HostJobSettings)) || size > kMaxImageSize) return ImageState::Missing;
    bytes_.assign(static_cast<size_t>(size), 0);
    if (ExtEscape(dc, kEscapeReadImage, 0, nullptr, size, reinterpret_cast<LPSTR>(bytes_.data())) <= 0) {
        bytes_.clear();
        return ImageState::Missing;
    }
    CopyOut(bytes_, 0, &settings_);

    const HostJobSettings& s = settings_;
    if (!BlockFits<HostSubBlock>(bytes_.size(), s.subBlockOffset) ||
        !BlockFits<HostSubBlock2>(bytes_.size(), s.subBlock2Offset) ||
        !BlockFits<FaxDS>(bytes_.size(), mcb.block1Offset) || !BlockFits<FaxSS>(bytes_.size(), mcb.block3Offset) ||
        !WritesApart(s, mcb))
        return ImageState::Unusable;
    subOffset_ = s.subBlockOffset;
    sub2Offset_ = s.subBlock2Offset;
    dsOffset_ = mcb.block1Offset;
    ssOffset_ = mcb.block3Offset;
    CopyOut(bytes_, subOffset_, &sub_);
    CopyOut(bytes_, sub2Offset_, &sub2_);
    CopyOut(bytes_, dsOffset_, &ds_);
    CopyOut(bytes_, ssOffset_, &ss_);
    usable_ = true;
    return ImageState::Usable;
}

bool JobImage::Store(HDC dc) {
    if (!usable_) return false;
    CopyIn(bytes_, subOffset_, offsetof(HostSubBlock, accountUser), sub_.accountUser, sizeof sub_.accountUser);
    CopyIn(bytes_, dsOffset_, offsetof(FaxDS, clientId), ds_.clientId, sizeof ds_.clientId);
    CopyIn(bytes_, ssOffset_, 0, &ss_, sizeof ss_);
    return ExtEscape(dc, kEscapeWriteImage, static_cast<int>(bytes_.size()),
                     reinterpret_cast<LPCSTR>(bytes_.data()), 0, nullptr) > 0;
}
