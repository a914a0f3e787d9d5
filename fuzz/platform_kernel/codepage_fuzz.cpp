// Arbitrary bytes through both code pages and the formatter's string paths;
// each answer is checked against what the bytes must give.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "windows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 4096) return 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    int n = static_cast<int>(size);
    for (UINT cp : {static_cast<UINT>(CP_ACP), static_cast<UINT>(CP_UTF8)}) {
        int wide = MultiByteToWideChar(cp, 0, bytes, n, nullptr, 0);
        std::vector<WCHAR> w(static_cast<size_t>(wide) + 1);
        if (MultiByteToWideChar(cp, 0, bytes, n, w.data(), wide) != wide) __builtin_trap();
        DWORD flags = cp == CP_UTF8 ? 0 : WC_COMPOSITECHECK;
        int back = WideCharToMultiByte(cp, flags, w.data(), wide, nullptr, 0, nullptr, nullptr);
        std::vector<char> b(static_cast<size_t>(back) + 1);
        if (back > 0 && WideCharToMultiByte(cp, flags, w.data(), wide, b.data(), back, nullptr, nullptr) != back)
            __builtin_trap();
        // 1252 has a character for every byte: the round trip is exact.
        if (cp == CP_ACP && std::string(b.data(), static_cast<size_t>(back)) != std::string(bytes, size))
            __builtin_trap();
    }
    // Fuzz bytes as a format string with no arguments that would be read:
    // only literal text and %% are safe, so strip other specifications.
    std::string fmt(bytes, size);
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        if (i + 1 < fmt.size() && fmt[i + 1] == '%') ++i;  // keep "%%"
        else fmt[i] = '#';
    }
    fmt = fmt.substr(0, fmt.find('\0'));
    // What is left is literal text and "%%": the output is that text with
    // each "%%" as one '%', cut to 1023 characters and terminated.
    std::string expected;
    for (size_t i = 0; i < fmt.size(); ++i) {
        expected += fmt[i];
        if (fmt[i] == '%') ++i;
    }
    if (expected.size() > 1023) expected.resize(1023);
    char out[1100];
    int got = wsprintfA(out, fmt.c_str());
    if (got != static_cast<int>(expected.size()) || std::string(out) != expected) __builtin_trap();
    return 0;
}
