#pragma once
// The binary contract between the host printer driver and an add-on module:
// the function table a module returns, the host's module control block, and
// the host contexts passed to the hooks. Records holding pointers have these
// exact offsets on the 32-bit Windows build; 64-bit builds use natural width.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "callconv.h"
#include "fax_settings.h"

constexpr int32_t kAddOnTableFormat = 1235;
constexpr int32_t kFaxModuleId = 1388;
constexpr int kAddOnHookCount = 12;
// Hook slots, as indexes into AddOnTable::hooks (table byte 40 + 4 * index).
constexpr int kHookPage = 4;      // byte 56, faxui
constexpr int kHookWrite = 6;     // byte 64, faxrender
constexpr int kHookDocEvent = 9;  // byte 76, faxui

// The host's private escapes on the printer device context.
constexpr int kEscapeReadImage = 15000;   // the job's settings image
constexpr int kEscapeWriteImage = 15001;  // replace it by the image given
constexpr int kEscapeImageSize = 15002;   // the image's size in bytes
constexpr int kEscapeAddonDue = 15004;    // 1 when the add-on's print-time logic is due

// The header write points at which the host calls the write hook.
constexpr int32_t kEventJobStart = 0;
constexpr int32_t kEventJobSettings = 1;
constexpr int32_t kEventJobEnd = 2;
constexpr int32_t kEventJobEndAlt = 3;

// Windows document-event codes the host passes to the document-event hook.
constexpr int32_t kDocEventStartDoc = 5;
constexpr int32_t kDocEventStartPage = 6;
constexpr int32_t kDocEventEndPage = 7;
constexpr int32_t kDocEventEndDoc = 8;

typedef void(FAXAPI* AddOnHook)();

// Write hook: host, output context, settings image, -, module id, event,
// skip, FaxDS, -.
typedef void(FAXAPI* AddOnWriteHook)(void* host, void* out, void* settings, void* unused4,
                                     int32_t moduleId, int32_t event, int32_t skip, FaxDS* ds,
                                     void* unused9);
// Page hook: host, page context, settings image. Returns 1.
typedef int32_t(FAXAPI* AddOnPageHook)(void* host, void* pageContext, void* settings);
// Document-event hook: host, printer handle, printer DC, event code, and
// four more (the sixth points to the document info pointer on event 5).
typedef int32_t(FAXAPI* AddOnDocEventHook)(void* host, void* printer, void* dc, int32_t event,
                                           void* arg5, void* arg6, void* arg7, void* arg8);

struct AddOnTable {
    int32_t tableFormat;      // 1235
    int32_t tableSize;        // sizeof(AddOnTable)
    int32_t one;              // 1
    int32_t moduleId;         // 1388
    int32_t blockSize1;       // FaxDS
    int32_t blockSize2;       // unused, 0
    int32_t blockSize3;       // FaxSS
    const void* defaultBlock1;
    const void* defaultBlock2;
    const void* defaultBlock3;
    AddOnHook hooks[kAddOnHookCount];
};

struct AddonMCB {
    uint8_t reserved0[16];
    const AddOnTable* table;
    int32_t block1Offset;     // FaxDS, from the start of HostJobSettings
    int32_t block2Offset;
    int32_t block3Offset;     // FaxSS
    uint8_t reserved1[8];
};

// Host services table (the driver context points to it at byte 84): page
// registration at byte 56, the hint window at 64, the page message service
// at 116, the settings commit at 132.
typedef int32_t(FAXAPI* HostRegisterPagesFn)(void* pageContext, const void* pageSet, int32_t zero,
                                             void* instance, void* instance2, void* dlgProc,
                                             int32_t z1, int32_t z2, int32_t z3);
// Creates the hint window of a page: module instance, page window, page data.
typedef void*(FAXAPI* HostHintWindowFn)(void* instance, void* page, void* pageData);
// Messages the host handles for its pages: page window, message, lParam.
typedef intptr_t(FAXAPI* HostPageMessageFn)(void* page, uint32_t message, intptr_t lParam);
// Commits the sheet's settings: the host sheet context.
typedef int32_t(FAXAPI* HostCommitFn)(void* sheetContext);
struct HostServices {
    void* reserved[14];
    HostRegisterPagesFn registerPages;
    void* reserved1;
    HostHintWindowFn createHintWindow;
    void* reserved2[12];
    HostPageMessageFn pageMessage;
    void* reserved3[3];
    HostCommitFn commit;
    void* reserved4;
};

// The host's driver context: a fixed part, then its control blocks, as
// many as addonCount says. The host sizes the context for the blocks it
// counts; the add-ons know no limit of their own.
struct HostDriverContext {
    uint8_t reserved0[44];
    int32_t addonCount;
    uint8_t reserved1[36];
    HostServices* services;
    uint8_t reserved2[220 - 88];
};
static_assert(sizeof(HostDriverContext) % alignof(AddonMCB) == 0, "control blocks follow the fixed part");

inline const AddonMCB* HostControlBlocks(const HostDriverContext* host) {
    return reinterpret_cast<const AddonMCB*>(host + 1);
}
inline AddonMCB* HostControlBlocks(HostDriverContext* host) { return reinterpret_cast<AddonMCB*>(host + 1); }

// Host output context handed to the write hook.
typedef int32_t(FAXAPI* HostWriteFn)(void* out, int32_t one, const void* bytes, int32_t length);
constexpr int kHostDocNameSize = 256;
struct HostOutputContext {
    uint8_t reserved0[64];
    HostWriteFn write;
    uint8_t reserved1[236 - 68];
    char docName[kHostDocNameSize];
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(AddOnTable) == 88, "AddOnTable size");
static_assert(offsetof(AddOnTable, defaultBlock1) == 28, "defaultBlock1");
static_assert(offsetof(AddOnTable, defaultBlock3) == 36, "defaultBlock3");
static_assert(offsetof(AddOnTable, hooks) == 40, "hooks");
static_assert(sizeof(AddonMCB) == 40, "AddonMCB size");
static_assert(offsetof(AddonMCB, table) == 16, "AddonMCB.table");
static_assert(offsetof(AddonMCB, block1Offset) == 20, "AddonMCB.block1Offset");
static_assert(offsetof(AddonMCB, block2Offset) == 24, "AddonMCB.block2Offset");
static_assert(offsetof(AddonMCB, block3Offset) == 28, "AddonMCB.block3Offset");
static_assert(offsetof(HostServices, registerPages) == 56, "registerPages");
static_assert(offsetof(HostServices, createHintWindow) == 64, "createHintWindow");
static_assert(offsetof(HostServices, pageMessage) == 116, "pageMessage");
static_assert(offsetof(HostServices, commit) == 132, "commit");
static_assert(sizeof(HostServices) == 140, "HostServices size");
static_assert(offsetof(HostDriverContext, addonCount) == 44, "addonCount");
static_assert(offsetof(HostDriverContext, services) == 84, "services");
static_assert(sizeof(HostDriverContext) == 220, "control blocks at byte 220");
static_assert(offsetof(HostOutputContext, write) == 64, "write");
static_assert(offsetof(HostOutputContext, docName) == 236, "docName");
#endif
static_assert(offsetof(AddOnTable, tableFormat) == 0, "tableFormat");
static_assert(offsetof(AddOnTable, moduleId) == 12, "moduleId");
static_assert(offsetof(AddOnTable, blockSize3) == 24, "blockSize3");
static_assert(offsetof(HostDriverContext, addonCount) == 44, "addonCount");

// The fax module's control block in the host context, or null: the first of
// the host's addonCount blocks whose table has the fax module id.
const AddonMCB* FindFaxAddonMCB(const HostDriverContext* host);

// A driver context as a host allocates it: zeroed, with room for and a
// count of 'blocks' control blocks.
class HostContext {
public:
    explicit HostContext(int blocks);
    HostDriverContext* get() { return reinterpret_cast<HostDriverContext*>(storage_.get()); }
    AddonMCB& block(int i) { return HostControlBlocks(get())[i]; }

private:
    std::unique_ptr<uint64_t[]> storage_;
};
