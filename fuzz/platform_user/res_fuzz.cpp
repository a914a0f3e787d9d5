// Feeds arbitrary bytes to the .res reader, the dialog template reader and
// the string-table lookup on every entry found.
#include "posix/user_res.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<winres::ResEntry> entries;
    winres::ParseRes(data, size, entries);
    for (const auto& e : entries) {
        if (e.offset > size || e.size > size - e.offset) __builtin_trap();
        winres::DialogTemplate t;
        winres::ParseDialog(data + e.offset, e.size, t);
    }
    winres::DialogTemplate t;
    winres::ParseDialog(data, size, t);
    return 0;
}
