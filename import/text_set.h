#pragma once
// A set of byte strings for files of millions of lines: the strings lie
// end to end in one block and an open-addressed table points at them, so
// an entry costs its bytes and a few more, not a node of its own.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class TextSet {
public:
    // tagBits: how many of the hash bits kept beside each entry are used to
    // find its slot when the table grows (tests use fewer than all 24).
    explicit TextSet(int tagBits = 24) : tagBits_(tagBits) {}

    // True when the text was not there yet (it is now).
    bool Insert(const char* text, size_t len) { return Insert(text, len, Hash(text, len)); }
    bool Contains(const char* text, size_t len) const;

    // The same in two steps, for many texts in a row: the hash first, and
    // a fetch of its place in the table begun, so that the insert a little
    // later need not wait for memory.
    static uint64_t Hash(const char* text, size_t len);
    void Prefetch(uint64_t hash) const;
    bool Insert(const char* text, size_t len, uint64_t hash);
    size_t Size() const { return size_; }
    // Room for about this many bytes of texts, taken from the system only
    // as it is used: the block need not be copied as it grows.
    void Reserve(size_t bytes) { bytes_.reserve(bytes); }
    void Swap(TextSet& other) {
        bytes_.swap(other.bytes_);
        slots_.swap(other.slots_);
        std::swap(size_, other.size_);
        std::swap(bits_, other.bits_);
        std::swap(tagBits_, other.tagBits_);
    }

private:
    size_t Home(uint64_t hash) const;
    size_t Find(const char* text, size_t len, uint64_t hash) const;  // its slot or an empty one
    bool SameAt(uint64_t slot, const char* text, size_t len) const;
    void Grow();

    std::vector<char> bytes_;     // each entry: 4 length bytes, then the text
    std::vector<uint64_t> slots_; // 0 empty, else the top hash bits and entry offset + 1
    size_t size_ = 0;
    int bits_ = 0;                // the table has 2^bits_ slots
    int tagBits_;
};
