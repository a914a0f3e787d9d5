// How the host finds the module: its function table, its description and
// the lookup of its control block.

#include "exports.h"

namespace {

const AddOnTable kFuncTable = {
    kAddOnTableFormat,
    static_cast<int32_t>(sizeof(AddOnTable)),
    1,
    kFaxModuleId,
    static_cast<int32_t>(sizeof(FaxDS)),
    0,
    static_cast<int32_t>(sizeof(FaxSS)),
    &DefaultFaxDS,
    nullptr,
    &DefaultFaxSS,
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     reinterpret_cast<AddOnHook>(&AddOnWriteCallback), nullptr, nullptr, nullptr, nullptr,
     nullptr},
};
static_assert(kHookWrite == 6, "write hook slot is table byte 64");

const char* const kModuleInfo[] = {
    "Module: Printer interface DLL static library",
    "faxrender 1.0 (fax render add-on, module 1388)",
    "Writes the fax, held-print and accounting lines",
    "of the PJL job header from the job settings.",
    "Loaded by the host printer driver on its",
    "rendering side; it keeps no state between calls",
    "and starts no threads.",
    nullptr,
};

}  // namespace

extern "C" {

const AddOnTable* FAXAPI GetFuncTable(void) { return &kFuncTable; }

const char* const* FAXAPI ModuleInfo(void) { return kModuleInfo; }

const AddonMCB* FAXAPI GetFaxAddonMCB(const HostDriverContext* host) {
    return FindFaxAddonMCB(host);
}

}  // extern "C"
