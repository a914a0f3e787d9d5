#include "text_set.h"

#include <cstring>

namespace {

constexpr int kOffsetBits = 40;  // entry offsets below a terabyte
constexpr uint64_t kOffsetMask = (uint64_t{1} << kOffsetBits) - 1;

uint64_t HashOf(const char* p, size_t n) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * 0x100000001b3ull;
    return h ^ (h >> 29);
}

uint64_t Tag(uint64_t hash) { return hash >> kOffsetBits << kOffsetBits; }

}  // namespace

bool TextSet::SameAt(uint64_t slot, const char* text, size_t len) const {
    size_t at = static_cast<size_t>((slot & kOffsetMask) - 1);
    uint32_t stored;
    std::memcpy(&stored, &bytes_[at], sizeof stored);
    return stored == len && std::memcmp(&bytes_[at + sizeof stored], text, len) == 0;
}

size_t TextSet::Find(const char* text, size_t len, uint64_t hash) const {
    size_t mask = slots_.size() - 1;
    for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
        uint64_t s = slots_[i];
        if (s == 0 || (Tag(s) == Tag(hash) && SameAt(s, text, len))) return i;
    }
}

bool TextSet::Contains(const char* text, size_t len) const {
    if (slots_.empty()) return false;
    return slots_[Find(text, len, HashOf(text, len))] != 0;
}

void TextSet::Grow() {
    std::vector<uint64_t> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
    size_t mask = slots_.size() - 1;
    for (uint64_t s : old) {
        if (s == 0) continue;
        size_t at = static_cast<size_t>((s & kOffsetMask) - 1);
        uint32_t len;
        std::memcpy(&len, &bytes_[at], sizeof len);
        size_t i = static_cast<size_t>(HashOf(&bytes_[at + sizeof len], len)) & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

bool TextSet::Insert(const char* text, size_t len) {
    // At most half full, so a probe ends soon.
    if (2 * (size_ + 1) > slots_.size()) Grow();
    uint64_t hash = HashOf(text, len);
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
