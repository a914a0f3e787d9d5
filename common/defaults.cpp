#include "addon.h"
#include "fax_settings.h"

namespace {
FaxRecipient MakeDefaultRecipient() {
    FaxRecipient r{};
    r.comm.commMode = 0;
    r.comm.commOption = kCommOptionNone;
    r.comm.relayPrint = '0';
    return r;
}
FaxDS MakeDefaultFaxDS() {
    FaxDS ds{};
    ds.resolution = 1;  // FINE
    ds.txReport = 1;    // ONERROR
    ds.txHeader = 1;    // ON
    return ds;
}
}  // namespace

const FaxDS DefaultFaxDS = MakeDefaultFaxDS();
const FaxSS DefaultFaxSS = {};
const FaxRecipient DefaultRecipient = MakeDefaultRecipient();

const AddonMCB* FindFaxAddonMCB(const HostDriverContext* host) {
    if (!host) return nullptr;
    const AddonMCB* blocks = HostControlBlocks(host);
    for (int32_t i = 0; i < host->addonCount; ++i) {
        const AddonMCB& mcb = blocks[i];
        if (mcb.table && mcb.table->moduleId == kFaxModuleId) return &mcb;
    }
    return nullptr;
}

HostContext::HostContext(int blocks) {
    if (blocks < 0) blocks = 0;
    size_t bytes = sizeof(HostDriverContext) + static_cast<size_t>(blocks) * sizeof(AddonMCB);
    storage_.reset(new uint64_t[(bytes + 7) / 8]());
    get()->addonCount = blocks;
}
