// Text helpers of the user side: code page 1252, UTF-8 for scripts and
// logs, and the case folding used by list boxes.
#include "user_internal.h"

namespace {
// Code page 1252, bytes 0x80-0x9F; 0xFFFD marks the five unassigned bytes,
// which Windows maps to the same-valued control characters.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
thread_local DWORD lastError = 0;
}  // namespace

__attribute__((weak)) void WINAPI SetLastError(DWORD e) { lastError = e; }
__attribute__((weak)) DWORD WINAPI GetLastError(void) { return lastError; }

namespace winuser {

std::u16string FromAnsiN(const char* s, size_t n) {
    std::u16string r;
    if (!s) return r;
    r.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        unsigned char b = (unsigned char)s[i];
        r.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : (char16_t)b);
    }
    return r;
}

std::u16string FromAnsi(const char* s) {
    if (!s) return std::u16string();
    size_t n = 0;
    while (s[n]) ++n;
    return FromAnsiN(s, n);
}

std::string ToAnsi(const std::u16string& s) {
    std::string r;
    r.reserve(s.size());
    for (char16_t c : s) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            r.push_back((char)c);
            continue;
        }
        char out = '?';  // the default character of the code page
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == c) out = (char)(0x80 + i);
        r.push_back(out);
    }
    return r;
}

std::u16string FromUtf8(const std::string& s) {
    std::u16string r;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = (unsigned char)s[i];
        char32_t cp;
        size_t n;
        if (b < 0x80) { cp = b; n = 1; }
        else if ((b >> 5) == 6) { cp = b & 0x1F; n = 2; }
        else if ((b >> 4) == 14) { cp = b & 0x0F; n = 3; }
        else if ((b >> 3) == 30) { cp = b & 0x07; n = 4; }
        else { r.push_back(0xFFFD); ++i; continue; }
        if (i + n > s.size()) { r.push_back(0xFFFD); break; }
        bool bad = false;
        for (size_t k = 1; k < n; ++k) {
            unsigned char c = (unsigned char)s[i + k];
            if ((c >> 6) != 2) bad = true;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (bad) { r.push_back(0xFFFD); ++i; continue; }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r.push_back((char16_t)(0xD800 + (cp >> 10)));
            r.push_back((char16_t)(0xDC00 + (cp & 0x3FF)));
        } else {
            r.push_back((char16_t)cp);
        }
    }
    return r;
}

std::string ToUtf8(const std::u16string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) r.push_back((char)cp);
        else if (cp < 0x800) { r.push_back((char)(0xC0 | (cp >> 6))); r.push_back((char)(0x80 | (cp & 0x3F))); }
        else if (cp < 0x10000) {
            r.push_back((char)(0xE0 | (cp >> 12)));
            r.push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
            r.push_back((char)(0x80 | (cp & 0x3F)));
        } else {
            r.push_back((char)(0xF0 | (cp >> 18)));
            r.push_back((char)(0x80 | ((cp >> 12) & 0x3F)));
            r.push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
            r.push_back((char)(0x80 | (cp & 0x3F)));
        }
    }
    return r;
}

std::u16string W(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

char16_t UpperChar(char16_t c) {
    if (c >= u'a' && c <= u'z') return (char16_t)(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return (char16_t)(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        // Latin Extended-A pairs upper/lower as even/odd, with two runs offset by one.
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) return (char16_t)(c - 1);
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return (char16_t)(c - 32);
    if (c >= 0x430 && c <= 0x44F) return (char16_t)(c - 32);
    if (c >= 0x450 && c <= 0x45F) return (char16_t)(c - 80);
    return c;
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

bool PrefixNoCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(text[i]) != UpperChar(prefix[i])) return false;
    return true;
}

}  // namespace winuser
