// Global and local memory. A fixed block's handle is its address; a
// moveable block's handle is a separate token, as on Windows, so code that
// forgets GlobalLock fails here too. Unknown handles are refused, never
// dereferenced. Large zero-filled blocks (a whole file read into memory)
// are mapped directly and asked for large pages: faulting in and zeroing
// 4 KiB pages one by one otherwise costs more than reading the file.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

#include <sys/mman.h>

#include "posix/win_kernel.h"

namespace {

#define ERROR_NOT_LOCKED 158L

struct Block {
    void* data;
    size_t size;
    bool moveable;
    int locks;
    size_t mapped;  // length of the mapping, 0 for a heap block
};

constexpr size_t kLargePage = 2u << 20;
constexpr size_t kMapFrom = 4 * kLargePage;

// A zero-filled mapping of at least bytes; nullptr when there is none.
void* MapZeroed(size_t bytes, size_t& mapped) {
    if (bytes > static_cast<size_t>(-1) - kLargePage) return nullptr;
    mapped = (bytes + kLargePage - 1) & ~(kLargePage - 1);
    void* p = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, mapped, MADV_HUGEPAGE);  // only advice: small pages still work
#endif
    return p;
}

std::mutex memoryLock;
std::unordered_map<HGLOBAL, std::unique_ptr<Block>>& Blocks() {
    static std::unordered_map<HGLOBAL, std::unique_ptr<Block>> blocks;
    return blocks;
}

Block* Find(HGLOBAL h) {
    auto it = Blocks().find(h);
    if (it == Blocks().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

void ReleaseData(void* data, size_t mapped) {
    if (mapped) {
        munmap(data, mapped);
    } else {
        std::free(data);
    }
}

HGLOBAL Allocate(UINT flags, size_t bytes) {
    size_t mapped = 0;
    void* data = nullptr;
    if ((flags & GMEM_ZEROINIT) && bytes >= kMapFrom) {
        data = MapZeroed(bytes, mapped);
    } else {
        data = (flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
    }
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        auto block = std::make_unique<Block>(Block{data, bytes, (flags & GMEM_MOVEABLE) != 0, 0, mapped});
        HGLOBAL h = block->moveable ? static_cast<HGLOBAL>(block.get()) : data;
        std::lock_guard<std::mutex> guard(memoryLock);
        Blocks()[h] = std::move(block);
        return h;
    } catch (const std::bad_alloc&) {
        ReleaseData(data, mapped);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

LPVOID Lock(HGLOBAL h) {
    std::lock_guard<std::mutex> guard(memoryLock);
    Block* b = Find(h);
    if (!b) return nullptr;
    if (b->moveable) ++b->locks;
    return b->data;
}

BOOL Unlock(HGLOBAL h) {
    std::lock_guard<std::mutex> guard(memoryLock);
    Block* b = Find(h);
    if (!b) return FALSE;
    if (!b->moveable || b->locks == 0) {
        SetLastError(b->moveable ? ERROR_NOT_LOCKED : NO_ERROR);
        return FALSE;
    }
    if (--b->locks == 0) {
        SetLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

HGLOBAL Free(HGLOBAL h) {
    std::unique_ptr<Block> block;
    {
        std::lock_guard<std::mutex> guard(memoryLock);
        auto it = Blocks().find(h);
        if (it == Blocks().end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return h;
        }
        block = std::move(it->second);
        Blocks().erase(it);
    }
    ReleaseData(block->data, block->mapped);
    return nullptr;
}

}  // namespace

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, size_t dwBytes) { return Allocate(uFlags, dwBytes); }
LPVOID WINAPI GlobalLock(HGLOBAL hMem) { return Lock(hMem); }
BOOL WINAPI GlobalUnlock(HGLOBAL hMem) { return Unlock(hMem); }
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) { return Free(hMem); }
size_t WINAPI GlobalSize(HGLOBAL hMem) {
    std::lock_guard<std::mutex> guard(memoryLock);
    Block* b = Find(hMem);
    return b ? b->size : 0;
}
HLOCAL WINAPI LocalAlloc(UINT uFlags, size_t uBytes) { return Allocate(uFlags, uBytes); }
LPVOID WINAPI LocalLock(HLOCAL hMem) { return Lock(hMem); }
BOOL WINAPI LocalUnlock(HLOCAL hMem) { return Unlock(hMem); }
HLOCAL WINAPI LocalFree(HLOCAL hMem) { return Free(hMem); }

}  // extern "C"
