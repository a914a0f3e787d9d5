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
    int count = host->addonCount;
    if (count > kHostMaxAddons) count = kHostMaxAddons;
    for (int i = 0; i < count; ++i) {
        const AddonMCB& mcb = host->addons[i];
        if (mcb.table && mcb.table->moduleId == kFaxModuleId) return &mcb;
    }
    return nullptr;
}
