#pragma once
// Standard output of the import commands, a line per recipient for files
// of millions of lines: the lines are built in one buffer and written in
// large blocks; fields of the file go out as UTF-8 through a table of the
// 256 bytes, their control bytes made visible.

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

// ANSI text as UTF-8.
std::string Utf8Text(const std::string& ansi);

class Terminal {
public:
    Terminal();
    ~Terminal() { Flush(); }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    void Text(const char* text, size_t n) {
        std::memcpy(Room(n), text, n);
        used_ += n;
    }
    void Text(const char* text) { Text(text, std::strlen(text)); }
    void Text(const std::string& utf8) { Text(utf8.data(), utf8.size()); }
    // A field of at most size bytes, up to its NUL.
    void Field(const char* p, size_t size);
    void EndLine() {
        *Room(1) = '\n';
        if (++used_ >= kFlushAt) Flush();
    }
    void Flush();

private:
    // Room for n more bytes; where they go.
    char* Room(size_t n) { return out_.size() - used_ >= n ? out_.data() + used_ : Grow(n); }
    char* Grow(size_t n);

    static constexpr size_t kFlushAt = 1 << 16;
    // The UTF-8 form of each byte, at most three bytes.
    char table_[256][4];
    unsigned char tableLen_[256];
    std::vector<char> out_;
    size_t used_ = 0;
};
