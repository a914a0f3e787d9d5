// Text helpers of the user side: ANSI and UTF-8 conversion for scripts and
// logs, and the case folding used by list boxes, all through the kernel calls.
#include "user_internal.h"

namespace {
std::u16string Widen(UINT codePage, const char* s, size_t n) {
    if (!s || n == 0) return std::u16string();
    int len = MultiByteToWideChar(codePage, 0, s, (int)n, nullptr, 0);
    std::u16string r(len > 0 ? (size_t)len : 0, u'\0');
    if (len > 0) MultiByteToWideChar(codePage, 0, s, (int)n, &r[0], len);
    return r;
}
std::string Narrow(UINT codePage, const std::u16string& s) {
    if (s.empty()) return std::string();
    int len = WideCharToMultiByte(codePage, 0, s.data(), (int)s.size(), nullptr, 0, nullptr, nullptr);
    std::string r(len > 0 ? (size_t)len : 0, '\0');
    if (len > 0) WideCharToMultiByte(codePage, 0, s.data(), (int)s.size(), &r[0], len, nullptr, nullptr);
    return r;
}
}  // namespace

namespace winuser {

std::u16string FromAnsiN(const char* s, size_t n) { return Widen(CP_ACP, s, n); }

std::u16string FromAnsi(const char* s) {
    if (!s) return std::u16string();
    size_t n = 0;
    while (s[n]) ++n;
    return FromAnsiN(s, n);
}

std::string ToAnsi(const std::u16string& s) { return Narrow(CP_ACP, s); }

std::u16string FromUtf8(const std::string& s) { return Widen(CP_UTF8, s.data(), s.size()); }

std::string ToUtf8(const std::u16string& s) { return Narrow(CP_UTF8, s); }

std::u16string W(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

char16_t UpperChar(char16_t c) {
    return (char16_t)(uintptr_t)CharUpperW((LPWSTR)(uintptr_t)c);
}

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t x = UpperChar(a[i]), y = UpperChar(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool PrefixNoCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(text[i]) != UpperChar(prefix[i])) return false;
    return true;
}

}  // namespace winuser
