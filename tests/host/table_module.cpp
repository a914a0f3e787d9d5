// A module whose function table declares the block sizes named in
// FAX_TEST_BLOCK_SIZES ("first,second,third") and no hooks: the table a
// foreign or broken module may hand the loader.
#include <cstdio>
#include <cstdlib>

#include "addon.h"

namespace {
AddOnTable g_table;
}

extern "C" FAX_EXPORT const AddOnTable* FAXAPI GetFuncTable(void) {
    g_table = AddOnTable{};
    g_table.tableFormat = kAddOnTableFormat;
    g_table.tableSize = sizeof g_table;
    g_table.one = 1;
    g_table.moduleId = kFaxModuleId;
    const char* sizes = std::getenv("FAX_TEST_BLOCK_SIZES");
    if (sizes) std::sscanf(sizes, "%d,%d,%d", &g_table.blockSize1, &g_table.blockSize2, &g_table.blockSize3);
    return &g_table;
}
