#include "text_convert.h"

#include <cstring>
#include <vector>

size_t WideBoundedLen(const WCHAR* text, size_t cap) {
    size_t n = 0;
    while (n < cap && text[n]) ++n;
    return n;
}

void WideToAnsiField(const WCHAR* src, size_t srcCap, char* dst, size_t dstSize) {
    if (dstSize == 0) return;
    std::memset(dst, 0, dstSize);
    int count = static_cast<int>(WideBoundedLen(src, srcCap));
    while (count > 0) {
        int need = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, src, count, nullptr, 0, nullptr, nullptr);
        if (need > 0 && static_cast<size_t>(need) < dstSize) {
            WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, src, count, dst, need, nullptr, nullptr);
            return;
        }
        --count;
        // Never leave half of a surrogate pair.
        if (count > 0 && src[count - 1] >= 0xD800 && src[count - 1] <= 0xDBFF) --count;
    }
}

void AnsiToWideField(const char* src, size_t len, WCHAR* dst, size_t dstSize) {
    if (dstSize == 0) return;
    std::memset(dst, 0, dstSize * sizeof(WCHAR));
    const void* nul = std::memchr(src, 0, len);
    if (nul) len = static_cast<size_t>(static_cast<const char*>(nul) - src);
    if (len == 0) return;
    int need = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, src, static_cast<int>(len), nullptr, 0);
    if (need <= 0) return;
    std::vector<WCHAR> tmp(static_cast<size_t>(need));
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, src, static_cast<int>(len), tmp.data(), need);
    size_t n = static_cast<size_t>(need);
    if (n > dstSize - 1) {
        n = dstSize - 1;
        if (n > 0 && tmp[n - 1] >= 0xD800 && tmp[n - 1] <= 0xDBFF) --n;
    }
    std::memcpy(dst, tmp.data(), n * sizeof(WCHAR));
}

WideString AnsiToWide(const std::string& text) {
    if (text.empty()) return WideString();
    int need = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (need <= 0) return WideString();
    WideString out(static_cast<size_t>(need), 0);
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), static_cast<int>(text.size()), &out[0], need);
    return out;
}

std::string WideToAnsi(const WideString& text) {
    if (text.empty()) return std::string();
    int need = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    if (need <= 0) return std::string();
    std::string out(static_cast<size_t>(need), '\0');
    WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text.data(), static_cast<int>(text.size()), &out[0], need,
                        nullptr, nullptr);
    return out;
}

bool IsAnsiLeadByte(uint8_t b) { return IsDBCSLeadByte(b) != FALSE; }

WideString FoldCase(WideString text) {
    if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}
