#pragma once
// What the host and the user-interface add-on share about property pages:
// the page-set description a module registers, and the host's page and
// sheet contexts a page reads. Pointer-holding records have these exact
// offsets on the 32-bit Windows build; 64-bit builds use natural width.

#include <cstddef>
#include <cstdint>

#include "addon.h"

// One control of a page: type, id, hint string, help id.
struct PageControlDesc {
    int32_t type;
    int32_t id;
    int32_t hintStringId;
    int32_t helpId;
    uint8_t zero[44];
};
static_assert(sizeof(PageControlDesc) == 60, "PageControlDesc size");

struct PageEntry {
    int32_t templateId;
    int32_t kind;
    int32_t helpId;
    int32_t zero;
    int32_t minusOne;
    const int32_t* helpMap;          // control id, help id pairs, ending with 0
    int32_t controlCount;
    const PageControlDesc* controls;
    uint8_t zero2[16];
};

struct PageSet {
    int32_t count;
    const PageEntry* entries;
};

// A host callback told of committed settings: user data, 9, 0, 1.
typedef int32_t(FAXAPI* HostChangeCallback)(void* userData, int32_t what, int32_t zero, int32_t one);

constexpr uint8_t kSheetModeCopyOut = 0x01;
constexpr uint8_t kSheetModeCopyOut2 = 0x02;
constexpr uint8_t kSheetModeCommit = 0x40;

struct HostSheetContext {
    uint8_t reserved0[548];
    HostChangeCallback changeCallback;
    void* callbackData;
    uint8_t reserved1[24];
    int32_t notifyOnCommit;          // byte 580
    uint8_t reserved2[72];
    HostDriverContext* driver;       // byte 656
    uint8_t reserved3[24];
    int32_t imageSize;               // byte 684
    uint8_t reserved4[8];
    void* image;                     // byte 696
    void* outputBuffer;              // byte 700
    uint8_t reserved5[4];
    uint8_t modeFlags;               // byte 708
    uint8_t reserved6;
    uint8_t commitPending[4];        // byte 710: a 32-bit word, unaligned
    uint8_t reserved7[2];
};

struct HostPageContext {
    const PageEntry* entry;
    uint8_t reserved0[20];
    HostSheetContext* sheet;         // byte 24
    uint8_t reserved1[4];
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PageEntry) == 48, "PageEntry size");
static_assert(offsetof(PageEntry, helpMap) == 20, "helpMap");
static_assert(offsetof(PageEntry, controlCount) == 24, "controlCount");
static_assert(offsetof(PageEntry, controls) == 28, "controls");
static_assert(offsetof(HostSheetContext, changeCallback) == 548, "changeCallback");
static_assert(offsetof(HostSheetContext, callbackData) == 552, "callbackData");
static_assert(offsetof(HostSheetContext, notifyOnCommit) == 580, "notifyOnCommit");
static_assert(offsetof(HostSheetContext, driver) == 656, "driver");
static_assert(offsetof(HostSheetContext, imageSize) == 684, "imageSize");
static_assert(offsetof(HostSheetContext, image) == 696, "image");
static_assert(offsetof(HostSheetContext, outputBuffer) == 700, "outputBuffer");
static_assert(offsetof(HostSheetContext, modeFlags) == 708, "modeFlags");
static_assert(offsetof(HostSheetContext, commitPending) == 710, "commitPending");
static_assert(offsetof(HostPageContext, sheet) == 24, "sheet");
#endif
