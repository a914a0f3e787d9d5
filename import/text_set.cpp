#include "text_set.h"

#include <cstring>

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

}  // namespace

uint64_t TextSet::Hash(const char* text, size_t len) { return Mixed(text, len); }

void TextSet::Prefetch(uint64_t hash) const {
#if defined(__GNUC__)
    if (!slots_.empty()) __builtin_prefetch(&slots_[Home(hash)]);
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
    std::memcpy(&stored, &bytes_[at], sizeof stored);
    return stored == len && std::memcmp(&bytes_[at + sizeof stored], text, len) == 0;
}

size_t TextSet::Find(const char* text, size_t len, uint64_t hash) const {
    size_t mask = slots_.size() - 1;
    for (size_t i = Home(hash);; i = (i + 1) & mask) {
        uint64_t s = slots_[i];
        if (s == 0 || (Tag(s) == Tag(hash) && SameAt(s, text, len))) return i;
    }
}

bool TextSet::Contains(const char* text, size_t len) const {
    if (slots_.empty()) return false;
    return slots_[Find(text, len, Mixed(text, len))] != 0;
}

void TextSet::Grow() {
    std::vector<uint64_t> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
    bits_ = Log2(slots_.size());
    size_t mask = slots_.size() - 1;
    for (uint64_t s : old) {
        if (s == 0) continue;
        uint64_t hash = Tag(s);
        if (bits_ > tagBits_) {
            size_t at = static_cast<size_t>((s & kOffsetMask) - 1);
            uint32_t len;
            std::memcpy(&len, &bytes_[at], sizeof len);
            hash = Mixed(&bytes_[at + sizeof len], len);
        }
        size_t i = Home(hash);
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

bool TextSet::Insert(const char* text, size_t len, uint64_t hash) {
    // At most half full, so a probe ends soon.
    if (2 * (size_ + 1) > slots_.size()) Grow();
    size_t i = Find(text, len, hash);
    if (slots_[i] != 0) return false;
    uint32_t stored = static_cast<uint32_t>(len);
    size_t at = bytes_.size();
    bytes_.insert(bytes_.end(), reinterpret_cast<const char*>(&stored),
                  reinterpret_cast<const char*>(&stored) + sizeof stored);
    bytes_.insert(bytes_.end(), text, text + len);
    slots_[i] = Tag(hash) | (static_cast<uint64_t>(at) + 1);
    ++size_;
    return true;
}
