// What the tests read back, and a line in $FAX_ADDRESS_BOOK_LOG when the
// library is unloaded, for runs in another process.
#include <cstdio>
#include <cstdlib>

#include "exports.h"
#include "heap.h"
#include "objects.h"

void FAXAPI StandinCounts(ULONG counts[6]) {
    standin::HeapCounts c = standin::Counts();
    ULONG values[6] = {c.allocations, c.frees, c.live, c.wrongHeap, c.unknown, standin::LiveObjects()};
    for (int i = 0; i < 6; ++i) counts[i] = values[i];
}

namespace {
struct LogAtUnload {
    ~LogAtUnload() {
        const char* path = std::getenv("FAX_ADDRESS_BOOK_LOG");
        if (!path || !*path) return;
        if (FILE* f = std::fopen(path, "a")) {
            ULONG c[6];
            StandinCounts(c);
            std::fprintf(f, "allocations %lu frees %lu live %lu wrong %lu unknown %lu objects %lu\n",
                         (unsigned long)c[0], (unsigned long)c[1], (unsigned long)c[2], (unsigned long)c[3],
                         (unsigned long)c[4], (unsigned long)c[5]);
            std::fclose(f);
        }
    }
} logAtUnload;
}  // namespace
