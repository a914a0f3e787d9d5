#include "terminal.h"

#include <cstdint>
#include <cstdio>

#include "windows.h"

std::string Utf8Text(const std::string& ansi) {
    if (ansi.empty()) return std::string();
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1);
    n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8(m > 0 ? m : 0, '\0');
    if (m > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &utf8[0], m, nullptr, nullptr);
    return utf8;
}

namespace {

constexpr size_t kMostPerByte = 3;  // the longest UTF-8 form of a code page byte

// Whether n bytes are all printable ASCII (32-127), eight at a time: most
// fields of a contact file are, and go out as they are.
bool PlainAscii(const char* p, size_t n) {
    constexpr uint64_t kBlanks = 0x2020202020202020ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    // A byte below 32 borrows into its high bit; one of 128 has it set.
    auto plain = [](const char* at) {
        uint64_t word;
        std::memcpy(&word, at, sizeof word);
        return (((word - kBlanks) | word) & kHighs) == 0;
    };
    if (n < 8) {
        for (size_t i = 0; i < n; ++i) {
            unsigned char b = static_cast<unsigned char>(p[i]);
            if (b < 0x20 || b >= 0x80) return false;
        }
        return true;
    }
    for (size_t i = 0; i + 8 < n; i += 8) {
        if (!plain(p + i)) return false;
    }
    return plain(p + n - 8);  // the last eight, overlapping those before
}

}  // namespace

Terminal::Terminal() : out_(2 * kFlushAt) {
    for (int b = 0; b < 256; ++b) {
        std::string form;
        if (b == '\n') form = "\\n";
        else if (b == '\r') form = "\\r";
        else if (b < 0x20) form = "?";
        else form = Utf8Text(std::string(1, static_cast<char>(b)));
        if (form.size() > kMostPerByte) form = "?";  // not for a code page of one or two bytes
        std::memcpy(table_[b], form.data(), form.size());
        tableLen_[b] = static_cast<unsigned char>(form.size());
    }
}

char* Terminal::Grow(size_t n) {
    out_.resize(used_ + n > 2 * out_.size() ? used_ + n : 2 * out_.size());
    return out_.data() + used_;
}

void Terminal::Field(const char* p, size_t size) {
    const void* nul = std::memchr(p, 0, size);
    size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - p) : size;
    char* o = Room(kMostPerByte * n);
    if (PlainAscii(p, n)) {
        std::memcpy(o, p, n);
        used_ += n;
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        unsigned char b = static_cast<unsigned char>(p[i]);
        for (unsigned k = 0; k < tableLen_[b]; ++k) *o++ = table_[b][k];
    }
    used_ = static_cast<size_t>(o - out_.data());
}

void Terminal::Flush() {
    if (used_) std::fwrite(out_.data(), 1, used_, stdout);
    used_ = 0;
    std::fflush(stdout);
}
