#pragma once
// A set of byte strings for files of millions of lines: the strings lie
// end to end in one block and an open-addressed table points at them, so
// an entry costs its bytes and a few more, not a node of its own.

#include <cstddef>
#include <cstdint>
#include <vector>

class TextSet {
public:
    // True when the text was not there yet (it is now).
    bool Insert(const char* text, size_t len);
    bool Contains(const char* text, size_t len) const;
    size_t Size() const { return size_; }

private:
    size_t Find(const char* text, size_t len, uint64_t hash) const;  // its slot or an empty one
    bool SameAt(uint64_t slot, const char* text, size_t len) const;
    void Grow();

    std::vector<char> bytes_;     // each entry: 4 length bytes, then the text
    std::vector<uint64_t> slots_; // 0 empty, else the top hash bits and entry offset + 1
    size_t size_ = 0;
};
