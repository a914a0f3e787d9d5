#include "heap.h"

#include <cstdlib>
#include <map>

namespace standin {
namespace {

struct State {
    std::map<void*, Heap> blocks;
    HeapCounts counts{};
};

State& Get() {
    static State s;
    return s;
}

}  // namespace

void* Allocate(Heap heap, size_t size) {
    void* p = std::calloc(1, size ? size : 1);
    if (!p) return nullptr;
    State& s = Get();
    s.blocks.emplace(p, heap);
    ++s.counts.allocations;
    return p;
}

void Free(Heap heap, void* block) {
    if (!block) return;
    State& s = Get();
    auto it = s.blocks.find(block);
    if (it == s.blocks.end()) {
        ++s.counts.unknown;
        return;
    }
    if (it->second != heap) {
        ++s.counts.wrongHeap;
        return;
    }
    s.blocks.erase(it);
    std::free(block);
    ++s.counts.frees;
}

HeapCounts Counts() {
    State& s = Get();
    HeapCounts c = s.counts;
    c.live = static_cast<ULONG>(s.blocks.size());
    return c;
}

void ResetCounts() { Get().counts = HeapCounts{}; }

}  // namespace standin
