#pragma once
// The function table of a fax module as faxui hands it to the host: FaxDS
// and FaxSS with their defaults. For programs that play the host.

#include "addon.h"
#include "fax_settings.h"

inline AddOnTable FaxAddOnTable() {
    AddOnTable t{};
    t.tableFormat = kAddOnTableFormat;
    t.tableSize = sizeof t;
    t.one = 1;
    t.moduleId = kFaxModuleId;
    t.blockSize1 = sizeof(FaxDS);
    t.blockSize3 = sizeof(FaxSS);
    t.defaultBlock1 = &DefaultFaxDS;
    t.defaultBlock3 = &DefaultFaxSS;
    return t;
}
