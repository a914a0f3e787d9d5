#pragma once
// The host's job-settings image: the HostJobSettings fixed part, its two
// sub-blocks after it, then the private blocks of each add-on, placed where
// this host chooses and recorded in the add-on's control block.

#include <cstdint>
#include <cstring>
#include <vector>

#include "addon.h"
#include "host_settings.h"

// How the host lays out the blocks after its fixed part.
enum class ImageLayout {
    Standard,  // one after another, each on a 4-byte boundary
    Packed,    // one right after another from an odd offset: none aligned
    Spread,    // each after a gap of kSpreadGap bytes holding kGapByte
};
constexpr int32_t kSpreadGap = 4094;
constexpr uint8_t kGapByte = 0xEE;

class SettingsImage {
public:
    explicit SettingsImage(ImageLayout layout = ImageLayout::Standard);

    // Appends a block of size bytes, placed as the layout says, filled from
    // initial, or with zeros when initial is null. Returns its offset.
    int32_t Reserve(int32_t size, const void* initial);

    // Reserves the three blocks a module's table declares and records their
    // offsets in mcb.
    void ReserveModuleBlocks(const AddOnTable& table, AddonMCB* mcb);

    // The fixed part starts the image and is always aligned. sub(), sub2()
    // and At() give blocks in place: only in the standard layout are they
    // on their alignment; Get and Put copy in any layout.
    HostJobSettings& settings() { return *At<HostJobSettings>(0); }
    HostSubBlock& sub() { return *At<HostSubBlock>(settings().subBlockOffset); }
    HostSubBlock2& sub2() { return *At<HostSubBlock2>(settings().subBlock2Offset); }
    template <typename T>
    T* At(int32_t offset) {
        return BlockAt<T>(bytes_.data(), offset);
    }
    template <typename T>
    T Get(int32_t offset) const {
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }
    template <typename T>
    void Put(int32_t offset, const T& value) {
        std::memcpy(bytes_.data() + offset, &value, sizeof value);
    }

    uint8_t* data() { return bytes_.data(); }
    size_t size() const { return bytes_.size(); }

private:
    ImageLayout layout_;
    std::vector<uint8_t> bytes_;
};
