// Feeds arbitrary bytes to the .res reader and the dialog template reader.
// Oracle besides the sanitizers: every entry lies inside the data; a
// template that parses has as many items as its header counts, and the
// bytes DialogSize says it spans parse alone to the same template.
#include "posix/user/res.h"

#include <cstddef>
#include <cstdint>

namespace {

void CheckDialog(const uint8_t* data, size_t size) {
    winres::DialogTemplate t;
    bool ok = winres::ParseDialog(data, size, t);
    size_t n = winres::DialogSize(data, size);
    if (ok != (n > 0) || n > size) __builtin_trap();
    if (!ok) return;
    size_t countAt = t.extended ? 16 : 8;
    if (t.items.size() != static_cast<size_t>(data[countAt] | (data[countAt + 1] << 8))) __builtin_trap();
    winres::DialogTemplate alone;
    if (!winres::ParseDialog(data, n, alone) || alone.items.size() != t.items.size() || alone.title != t.title ||
        alone.face != t.face || alone.style != t.style)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<winres::ResEntry> entries;
    winres::ParseRes(data, size, entries);
    for (const auto& e : entries) {
        if (e.offset > size || e.size > size - e.offset) __builtin_trap();
        CheckDialog(data + e.offset, e.size);
    }
    CheckDialog(data, size);
    return 0;
}
