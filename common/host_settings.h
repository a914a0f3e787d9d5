#pragma once
// The host driver's job-settings image: only the fields the fax code reads
// or writes, at the offsets the host keeps them. Everything else in the
// image, and where the fax blocks and sub-blocks lie, is the host's.

#include <cstddef>
#include <cstdint>

constexpr int kOutputTrayCount = 4;

struct HostJobSettings {
    uint8_t reserved0[548];
    int32_t subBlockOffset;   // HostSubBlock = image + this
    int32_t subBlock2Offset;  // HostSubBlock2 = image + this
    uint8_t reserved1[16];
    int32_t copies;
    uint8_t reserved2[16];
    int32_t qtyForce;
    uint8_t reserved3[44];
    int32_t outputTray;
    uint8_t reserved4[1156];
    int32_t jobType;          // 1 secure, 2 proof, 3 fax
    int32_t outputOption;
    int32_t jobMonitor;
};
static_assert(sizeof(HostJobSettings) == 1812, "HostJobSettings size");
static_assert(offsetof(HostJobSettings, subBlockOffset) == 548, "subBlockOffset");
static_assert(offsetof(HostJobSettings, subBlock2Offset) == 552, "subBlock2Offset");
static_assert(offsetof(HostJobSettings, copies) == 572, "copies");
static_assert(offsetof(HostJobSettings, qtyForce) == 592, "qtyForce");
static_assert(offsetof(HostJobSettings, outputTray) == 640, "outputTray");
static_assert(offsetof(HostJobSettings, jobType) == 1800, "jobType");
static_assert(offsetof(HostJobSettings, outputOption) == 1804, "outputOption");
static_assert(offsetof(HostJobSettings, jobMonitor) == 1808, "jobMonitor");

struct HostSubBlock {
    uint8_t reserved0[4];
    int32_t collateMode;
    uint8_t reserved1[668];
    int32_t optionB;
    int32_t g4Available;
    int32_t optionA;
    uint8_t reserved2[4];
    int32_t faxInstalled;
    uint8_t reserved3[60];
    char accountUser[32];
    uint8_t reserved4[44];
    int32_t speedDial999;
};
static_assert(sizeof(HostSubBlock) == 836, "HostSubBlock size");
static_assert(offsetof(HostSubBlock, collateMode) == 4, "collateMode");
static_assert(offsetof(HostSubBlock, optionB) == 676, "optionB");
static_assert(offsetof(HostSubBlock, g4Available) == 680, "g4Available");
static_assert(offsetof(HostSubBlock, optionA) == 684, "optionA");
static_assert(offsetof(HostSubBlock, faxInstalled) == 692, "faxInstalled");
static_assert(offsetof(HostSubBlock, accountUser) == 756, "accountUser");
static_assert(offsetof(HostSubBlock, speedDial999) == 832, "speedDial999");

struct HostSubBlock2 {
    uint8_t reserved0[164];
    int32_t suppressAddon;
};
static_assert(sizeof(HostSubBlock2) == 168, "HostSubBlock2 size");
static_assert(offsetof(HostSubBlock2, suppressAddon) == 164, "suppressAddon");

// Block at a host-given byte offset inside the image. The offsets are the
// host's own bookkeeping; callers that know the image size check them with
// BlockFits first.
template <typename T>
inline T* BlockAt(void* image, int32_t offset) {
    return reinterpret_cast<T*>(static_cast<uint8_t*>(image) + offset);
}
template <typename T>
inline const T* BlockAt(const void* image, int32_t offset) {
    return reinterpret_cast<const T*>(static_cast<const uint8_t*>(image) + offset);
}
template <typename T>
inline bool BlockFits(size_t imageSize, int32_t offset) {
    return offset >= 0 && static_cast<size_t>(offset) <= imageSize &&
           imageSize - static_cast<size_t>(offset) >= sizeof(T);
}
