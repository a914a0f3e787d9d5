#pragma once
// The two allocators an address book hands memory out from: the messaging
// library's buffers and the address book object's. Every block remembers
// its allocator, so a test sees leaks, double frees and frees with the
// wrong function.

#include <cstddef>

#include "addrbook_api.h"

namespace standin {

enum class Heap { Mapi = 0, Wab = 1 };

void* Allocate(Heap heap, size_t size);
// Frees a block of this heap. A block of the other heap, or one not
// handed out (freed twice), is counted and left alone.
void Free(Heap heap, void* block);

// allocations, frees, live blocks, frees with the wrong function, frees of unknown blocks
struct HeapCounts {
    ULONG allocations, frees, live, wrongHeap, unknown;
};
HeapCounts Counts();
void ResetCounts();

}  // namespace standin
