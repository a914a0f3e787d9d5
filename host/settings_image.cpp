#include "settings_image.h"

SettingsImage::SettingsImage(ImageLayout layout) : layout_(layout) {
    int32_t fixed = Reserve(sizeof(HostJobSettings), nullptr);
    int32_t sub = Reserve(sizeof(HostSubBlock), nullptr);
    int32_t sub2 = Reserve(sizeof(HostSubBlock2), nullptr);
    HostJobSettings& s = *At<HostJobSettings>(fixed);
    s.subBlockOffset = sub;
    s.subBlock2Offset = sub2;
}

int32_t SettingsImage::Reserve(int32_t size, const void* initial) {
    size_t offset = bytes_.size();
    if (offset > 0) {
        switch (layout_) {
        case ImageLayout::Standard:
            offset = (offset + 3) & ~size_t{3};
            break;
        case ImageLayout::Packed:
            offset |= 1;
            break;
        case ImageLayout::Spread:
            offset += kSpreadGap;
            break;
        }
    }
    size_t length = size > 0 ? static_cast<size_t>(size) : 0;
    bytes_.resize(offset, kGapByte);
    bytes_.resize(offset + length, 0);
    if (initial && length) std::memcpy(bytes_.data() + offset, initial, length);
    return static_cast<int32_t>(offset);
}

void SettingsImage::ReserveModuleBlocks(const AddOnTable& table, AddonMCB* mcb) {
    mcb->table = &table;
    mcb->block1Offset = Reserve(table.blockSize1, table.defaultBlock1);
    mcb->block2Offset = Reserve(table.blockSize2, table.defaultBlock2);
    mcb->block3Offset = Reserve(table.blockSize3, table.defaultBlock3);
}
