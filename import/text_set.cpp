#include "text_set.h"

#include <cstring>
#include <new>
#include <utility>

#include "windows.h"

namespace {

constexpr int kOffsetBits = 40;  // entry offsets below a terabyte
constexpr uint64_t kOffsetMask = (uint64_t{1} << kOffsetBits) - 1;

uint64_t Mixed(const char* p, size_t n) {
    // Eight bytes a step; the last step takes what is left, with the length.
    uint64_t h = 0xcbf29ce484222325ull ^ n;
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        h = (h ^ word) * 0x9e3779b97f4a7c15ull;
        h ^= h >> 29;
    }
    uint64_t rest = 0;
    std::memcpy(&rest, p, n);
    h = (h ^ rest) * 0x9e3779b97f4a7c15ull;
    // Mix every bit into the top ones, which choose the slot.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 33);
}

uint64_t Tag(uint64_t hash) { return hash >> kOffsetBits << kOffsetBits; }

int Log2(size_t n) {
    int b = 0;
    while ((size_t{1} << b) < n) ++b;
    return b;
}

// A zero-filled block of the system's (never of 0 bytes here), or nullptr.
void* ZeroedBlock(size_t bytes) { return GlobalAlloc(GPTR, bytes); }

void FreeBlock(void* block) {
    if (block) GlobalFree(block);
}

}  // namespace

TextSet::~TextSet() {
    FreeBlock(bytes_);
    FreeBlock(slots_);
}

void TextSet::Swap(TextSet& other) {
    std::swap(bytes_, other.bytes_);
    std::swap(used_, other.used_);
    std::swap(room_, other.room_);
    std::swap(slots_, other.slots_);
    std::swap(slotCount_, other.slotCount_);
    std::swap(size_, other.size_);
    std::swap(bits_, other.bits_);
    std::swap(tagBits_, other.tagBits_);
}

bool TextSet::MakeRoom(size_t more) {
    if (room_ - used_ >= more) return true;
    size_t want = used_ + more;
    if (want < more) return false;
    size_t grown = room_ < 4096 ? 4096 : room_;
    while (grown < want) {
        if (grown > static_cast<size_t>(-1) / 2) return false;
        grown *= 2;
    }
    char* bigger = static_cast<char*>(ZeroedBlock(grown));
    if (!bigger) return false;
    if (used_) std::memcpy(bigger, bytes_, used_);
    FreeBlock(bytes_);
    bytes_ = bigger;
    room_ = grown;
    return true;
}

void TextSet::Reserve(size_t bytes, size_t entries) {
    if (bytes > room_) MakeRoom(bytes - used_);
    const size_t most = static_cast<size_t>(-1) / sizeof(uint64_t) / 2;
    size_t count = 1024;
    while (count / 2 < entries + 1 && count <= most) count *= 2;
    if (entries > 0 && count > slotCount_) Rehash(count);
}

uint64_t TextSet::Hash(const char* text, size_t len) { return Mixed(text, len); }

void TextSet::Prefetch(uint64_t hash) const {
#if defined(__GNUC__)
    if (slots_) __builtin_prefetch(&slots_[Home(hash)]);
#else
    (void)hash;
#endif
}

// The slot of a hash is its top bits, so the table is in the order of the
// hashes: a larger table is filled in one pass over the smaller, from the
// tags alone while the tag holds all the bits the slot needs.
size_t TextSet::Home(uint64_t hash) const { return static_cast<size_t>(hash >> (64 - bits_)); }

bool TextSet::SameAt(uint64_t slot, const char* text, size_t len) const {
    size_t at = static_cast<size_t>((slot & kOffsetMask) - 1);
    uint32_t stored;
    std::memcpy(&stored, bytes_ + at, sizeof stored);
    return stored == len && std::memcmp(bytes_ + at + sizeof stored, text, len) == 0;
}

size_t TextSet::Find(const char* text, size_t len, uint64_t hash) const {
    size_t mask = slotCount_ - 1;
    for (size_t i = Home(hash);; i = (i + 1) & mask) {
        uint64_t s = slots_[i];
        if (s == 0 || (Tag(s) == Tag(hash) && SameAt(s, text, len))) return i;
    }
}

bool TextSet::Contains(const char* text, size_t len) const {
    if (!slots_) return false;
    return slots_[Find(text, len, Mixed(text, len))] != 0;
}

void TextSet::Grow() {
    if (!Rehash(slotCount_ ? 2 * slotCount_ : 1024)) throw std::bad_alloc();
}

bool TextSet::Rehash(size_t count) {
    if (count > static_cast<size_t>(-1) / sizeof(uint64_t)) return false;
    uint64_t* old = slots_;
    size_t oldCount = slotCount_;
    slots_ = static_cast<uint64_t*>(ZeroedBlock(count * sizeof(uint64_t)));
    if (!slots_) {
        slots_ = old;
        return false;
    }
    slotCount_ = count;
    bits_ = Log2(count);
    size_t mask = count - 1;
    for (size_t k = 0; k < oldCount; ++k) {
        uint64_t s = old[k];
        if (s == 0) continue;
        uint64_t hash = Tag(s);
        if (bits_ > tagBits_) {
            size_t at = static_cast<size_t>((s & kOffsetMask) - 1);
            uint32_t len;
            std::memcpy(&len, bytes_ + at, sizeof len);
            hash = Mixed(bytes_ + at + sizeof len, len);
        }
        size_t i = Home(hash);
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
    FreeBlock(old);
    return true;
}

bool TextSet::Insert(const char* text, size_t len, uint64_t hash) {
    // At most half full, so a probe ends soon.
    if (2 * (size_ + 1) > slotCount_) Grow();
    size_t i = Find(text, len, hash);
    if (slots_[i] != 0) return false;
    uint32_t stored = static_cast<uint32_t>(len);
    if (!MakeRoom(sizeof stored + len)) throw std::bad_alloc();
    size_t at = used_;
    std::memcpy(bytes_ + at, &stored, sizeof stored);
    std::memcpy(bytes_ + at + sizeof stored, text, len);
    used_ += sizeof stored + len;
    slots_[i] = Tag(hash) | (static_cast<uint64_t>(at) + 1);
    ++size_;
    return true;
}
