#pragma once
// A set of byte strings for files of millions of lines: the strings lie
// end to end in one block and an open-addressed table points at them, so
// an entry costs its bytes and a few more, not a node of its own. Both
// are zero-filled blocks of the system's: a large one is handed out as its
// pages are first touched (as large pages where the system has them), so
// room reserved costs nothing until it is used.

#include <cstddef>
#include <cstdint>

class TextSet {
public:
    // tagBits: how many of the hash bits kept beside each entry are used to
    // find its slot when the table grows (tests use fewer than all 24).
    explicit TextSet(int tagBits = 24) : tagBits_(tagBits) {}
    ~TextSet();
    TextSet(const TextSet&) = delete;
    TextSet& operator=(const TextSet&) = delete;

    // True when the text was not there yet (it is now). Throws
    // std::bad_alloc when there is no memory for it.
    bool Insert(const char* text, size_t len) { return Insert(text, len, Hash(text, len)); }
    bool Contains(const char* text, size_t len) const;

    // The same in two steps, for many texts in a row: the hash first, and
    // a fetch of its place in the table begun, so that the insert a little
    // later need not wait for memory.
    static uint64_t Hash(const char* text, size_t len);
    void Prefetch(uint64_t hash) const;
    bool Insert(const char* text, size_t len, uint64_t hash);
    size_t Size() const { return size_; }
    // Room for about this many bytes of texts and this many entries, so
    // that neither the block nor the table need be copied as they grow;
    // only advice (nothing happens when the system has no such block).
    // Growing by halves touches twice the memory the last table does, and
    // memory touched the first time is much of the cost of a large file.
    void Reserve(size_t bytes, size_t entries = 0);
    void Swap(TextSet& other);

private:
    size_t Home(uint64_t hash) const;
    size_t Find(const char* text, size_t len, uint64_t hash) const;  // its slot or an empty one
    bool SameAt(uint64_t slot, const char* text, size_t len) const;
    void Grow();
    // The table made anew with count slots (a power of two, more than
    // twice the entries); false when there is no memory for it.
    bool Rehash(size_t count);
    // Room for more bytes of texts; false when there is no memory.
    bool MakeRoom(size_t more);

    char* bytes_ = nullptr;       // each entry: 4 length bytes, then the text
    size_t used_ = 0;
    size_t room_ = 0;
    uint64_t* slots_ = nullptr;   // 0 empty, else the top hash bits and entry offset + 1
    size_t slotCount_ = 0;
    size_t size_ = 0;
    int bits_ = 0;                // the table has 2^bits_ slots
    int tagBits_;
};
