// Text helpers of the user side: ANSI and UTF-8 conversion for scripts and
// logs, and the case folding used by list boxes, all through the kernel calls.
#include "posix/user/text.h"
#include "posix/win_kernel.h"

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

namespace {

// Primary sort weight as the system's sorting in the Finnish locale gives
// it: punctuation and symbols first, then digits, then letters without
// regard to case or most accents, with Å, Ä and Ö after Z.
unsigned Weight(char16_t c) {
    char16_t u = UpperChar(c);
    if (u >= u'0' && u <= u'9') return 0x10000 + u;
    if (u >= u'A' && u <= u'Z') return 0x20000 + (unsigned)(u - u'A') * 4;
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) {
        static const char base[] = "AAAAAAACEEEEIIIIDNOOOOO-OUUUYYT";  // U+00C0..U+00DE
        switch (u) {
        case 0xC5: return 0x20000 + 26 * 4;      // Å
        case 0xC4: case 0xC6: return 0x20000 + 27 * 4;  // Ä, Æ
        case 0xD6: case 0xD8: return 0x20000 + 28 * 4;  // Ö, Ø
        default: return 0x20000 + (unsigned)(base[u - 0xC0] - 'A') * 4 + 1;
        }
    }
    if (u == 0xDF) return 0x20000 + (unsigned)('S' - 'A') * 4 + 2;  // ß
    if (u >= 0x100) return 0x30000 + u;  // other scripts after the Latin letters
    return u;                            // controls, blanks, punctuation, symbols
}

}  // namespace

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned x = Weight(a[i]), y = Weight(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    // Equal but for case: still distinct when the letters differ in accent.
    for (size_t i = 0; i < n; ++i) {
        char16_t x = UpperChar(a[i]), y = UpperChar(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::u32string SortKey(const std::u16string& text) {
    // The weights, a 0 below every weight (a shorter text sorts first),
    // then the upper-case letters that tell texts apart by accent alone.
    std::u32string k;
    k.reserve(text.size() * 2 + 1);
    for (char16_t c : text) k.push_back((char32_t)Weight(c));
    k.push_back(0);
    for (char16_t c : text) k.push_back((char32_t)UpperChar(c));
    return k;
}

bool PrefixNoCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(text[i]) != UpperChar(prefix[i])) return false;
    return true;
}

}  // namespace winuser
