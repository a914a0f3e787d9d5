#pragma once
// The host's job-settings image: the HostJobSettings fixed part, its two
// sub-blocks right after it, then the private blocks of each add-on, placed
// where this host chooses and recorded in the add-on's control block.

#include <cstdint>
#include <vector>

#include "addon.h"
#include "host_settings.h"

class SettingsImage {
public:
    SettingsImage();

    // Appends a block of size bytes (4-byte aligned) filled from initial,
    // or with zeros when initial is null. Returns its offset.
    int32_t Reserve(int32_t size, const void* initial);

    // Reserves the three blocks a module's table declares and records their
    // offsets in mcb.
    void ReserveModuleBlocks(const AddOnTable& table, AddonMCB* mcb);

    HostJobSettings& settings() { return *At<HostJobSettings>(0); }
    HostSubBlock& sub() { return *At<HostSubBlock>(settings().subBlockOffset); }
    HostSubBlock2& sub2() { return *At<HostSubBlock2>(settings().subBlock2Offset); }
    template <typename T>
    T* At(int32_t offset) {
        return BlockAt<T>(bytes_.data(), offset);
    }

    uint8_t* data() { return bytes_.data(); }
    size_t size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};
