#pragma once
// The oracle of the header targets: every line written is one well-formed
// PJL line: "@PJL " first, then printable bytes (0x80 and above are
// letters of the code page), quotes in pairs, CR only right before the LF
// that ends it; the last line is terminated.

#include <string>

inline void CheckPjlLines(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) __builtin_trap();
        if (text.compare(start, 5, "@PJL ") != 0) __builtin_trap();
        size_t quotes = 0;
        for (size_t i = start; i < end; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == '\r' && i == end - 1) continue;
            if (c < 0x20 || c == 0x7F) __builtin_trap();
            if (c == '"') ++quotes;
        }
        if (quotes % 2) __builtin_trap();
        start = end + 1;
    }
}
