// lstr* and CharUpper/CharLower. The comparisons are case-folding
// comparisons of UTF-16 units rather than the locale's word sort: equal
// results (the use this system makes of them) match Windows exactly.

#include <cstring>
#include <string>

#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace kernel {

WCHAR ToUpper(WCHAR c) {
    if (c >= 'a' && c <= 'z') return static_cast<WCHAR>(c - 32);
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : static_cast<WCHAR>(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x137 && c != 0x131) return (c & 1) ? static_cast<WCHAR>(c - 1) : c;
    if (c == 0x131) return 'I';
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : static_cast<WCHAR>(c - 1);
    if (c >= 0x14A && c <= 0x177) return (c & 1) ? static_cast<WCHAR>(c - 1) : c;
    if (c == 0x192) return 0x191;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<WCHAR>(c - 32);
    if (c >= 0x430 && c <= 0x44F) return static_cast<WCHAR>(c - 32);
    if (c >= 0x450 && c <= 0x45F) return static_cast<WCHAR>(c - 80);
    return c;
}

WCHAR ToLower(WCHAR c) {
    if (c >= 'A' && c <= 'Z') return static_cast<WCHAR>(c + 32);
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : static_cast<WCHAR>(c + 32);
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x137 && c != 0x130) return (c & 1) ? c : static_cast<WCHAR>(c + 1);
    if (c == 0x130) return 'i';
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? static_cast<WCHAR>(c + 1) : c;
    if (c >= 0x14A && c <= 0x177) return (c & 1) ? c : static_cast<WCHAR>(c + 1);
    if (c == 0x191) return 0x192;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<WCHAR>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<WCHAR>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<WCHAR>(c + 80);
    return c;
}

}  // namespace kernel

using namespace kernel;

namespace {

template <typename Ch>
int Length(const Ch* s) {
    if (!s) return 0;
    int n = 0;
    while (s[n]) ++n;
    return n;
}

template <typename Ch>
Ch* CopyN(Ch* dst, const Ch* src, int max) {
    if (!dst || !src || max <= 0) return dst;
    int i = 0;
    for (; i < max - 1 && src[i]; ++i) dst[i] = src[i];
    dst[i] = 0;
    return dst;
}

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// NULL sorts before any string, as with Windows.
int CompareWide(const WCHAR* a, const WCHAR* b, bool ignoreCase) {
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    int tie = 0;
    for (size_t i = 0;; ++i) {
        WCHAR ua = ToUpper(a[i]), ub = ToUpper(b[i]);
        if (ua != ub) return Sign(static_cast<int>(ToLower(a[i])) - static_cast<int>(ToLower(b[i])));
        // Equal letters differing only in case: lower case sorts first,
        // decided by the first such difference.
        if (!ignoreCase && tie == 0 && a[i] != b[i]) tie = ToLower(a[i]) == a[i] ? -1 : 1;
        if (a[i] == 0) return tie;
    }
}

int CompareAnsi(const char* a, const char* b, bool ignoreCase) {
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    std::u16string wa = AnsiToWide(a), wb = AnsiToWide(b);
    return CompareWide(wa.c_str(), wb.c_str(), ignoreCase);
}

bool IsSingleChar(const void* p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

template <typename Fn>
void MapAnsi(char* s, DWORD n, Fn fn) {
    for (DWORD i = 0; i < n; ++i) {
        unsigned char out;
        if (WideToCp1252(fn(Cp1252ToWide(static_cast<unsigned char>(s[i]))), &out)) s[i] = static_cast<char>(out);
    }
}

template <typename Fn>
void MapWide(WCHAR* s, DWORD n, Fn fn) {
    for (DWORD i = 0; i < n; ++i) s[i] = fn(s[i]);
}

template <typename Int>
char* ToText(Int value, bool negative, char* buffer, int radix) {
    if (!buffer) return buffer;
    if (radix < 2 || radix > 36) {
        buffer[0] = 0;
        return buffer;
    }
    char digits[72];
    int n = 0;
    do {
        int d = static_cast<int>(value % static_cast<Int>(radix));
        digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
        value /= static_cast<Int>(radix);
    } while (value != 0);
    char* p = buffer;
    if (negative) *p++ = '-';
    while (n > 0) *p++ = digits[--n];
    *p = 0;
    return buffer;
}

}  // namespace

extern "C" {

int WINAPI lstrlenA(LPCSTR s) { return Length(s); }
int WINAPI lstrlenW(LPCWSTR s) { return Length(s); }

LPSTR WINAPI lstrcpyA(LPSTR d, LPCSTR s) {
    if (!d || !s) return nullptr;
    return std::strcpy(d, s);
}
LPWSTR WINAPI lstrcpyW(LPWSTR d, LPCWSTR s) {
    if (!d || !s) return nullptr;
    int i = 0;
    for (; s[i]; ++i) d[i] = s[i];
    d[i] = 0;
    return d;
}
LPSTR WINAPI lstrcpynA(LPSTR d, LPCSTR s, int n) { return CopyN(d, s, n); }
LPWSTR WINAPI lstrcpynW(LPWSTR d, LPCWSTR s, int n) { return CopyN(d, s, n); }

LPSTR WINAPI lstrcatA(LPSTR d, LPCSTR s) {
    if (!d || !s) return nullptr;
    return std::strcat(d, s);
}
LPWSTR WINAPI lstrcatW(LPWSTR d, LPCWSTR s) {
    if (!d || !s) return nullptr;
    lstrcpyW(d + Length(d), s);
    return d;
}

int WINAPI lstrcmpA(LPCSTR a, LPCSTR b) { return CompareAnsi(a, b, false); }
int WINAPI lstrcmpW(LPCWSTR a, LPCWSTR b) { return CompareWide(a, b, false); }
int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) { return CompareAnsi(a, b, true); }
int WINAPI lstrcmpiW(LPCWSTR a, LPCWSTR b) { return CompareWide(a, b, true); }

// A pointer whose high word is zero carries one character in its low word.
LPSTR WINAPI CharUpperA(LPSTR s) {
    if (IsSingleChar(s)) {
        char c = static_cast<char>(reinterpret_cast<uintptr_t>(s));
        MapAnsi(&c, 1, ToUpper);
        return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(c)));
    }
    MapAnsi(s, static_cast<DWORD>(std::strlen(s)), ToUpper);
    return s;
}
LPWSTR WINAPI CharUpperW(LPWSTR s) {
    if (IsSingleChar(s)) return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(ToUpper(static_cast<WCHAR>(reinterpret_cast<uintptr_t>(s)))));
    MapWide(s, static_cast<DWORD>(Length(s)), ToUpper);
    return s;
}
DWORD WINAPI CharUpperBuffA(LPSTR s, DWORD n) {
    if (!s) return 0;
    MapAnsi(s, n, ToUpper);
    return n;
}
DWORD WINAPI CharUpperBuffW(LPWSTR s, DWORD n) {
    if (!s) return 0;
    MapWide(s, n, ToUpper);
    return n;
}
LPSTR WINAPI CharLowerA(LPSTR s) {
    if (IsSingleChar(s)) {
        char c = static_cast<char>(reinterpret_cast<uintptr_t>(s));
        MapAnsi(&c, 1, ToLower);
        return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(c)));
    }
    MapAnsi(s, static_cast<DWORD>(std::strlen(s)), ToLower);
    return s;
}
LPWSTR WINAPI CharLowerW(LPWSTR s) {
    if (IsSingleChar(s)) return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(ToLower(static_cast<WCHAR>(reinterpret_cast<uintptr_t>(s)))));
    MapWide(s, static_cast<DWORD>(Length(s)), ToLower);
    return s;
}
DWORD WINAPI CharLowerBuffW(LPWSTR s, DWORD n) {
    if (!s) return 0;
    MapWide(s, n, ToLower);
    return n;
}

char* _ltoa(long value, char* buffer, int radix) {
    // Windows prints a negative value with a sign only in radix 10; other
    // radixes show the 32-bit two's complement.
    int32_t v = static_cast<int32_t>(value);  // LONG is 32-bit on Windows
    if (radix == 10 && v < 0) return ToText(static_cast<uint32_t>(-static_cast<int64_t>(v)), true, buffer, radix);
    return ToText(static_cast<uint32_t>(v), false, buffer, radix);
}
char* _ultoa(unsigned long value, char* buffer, int radix) {
    return ToText(static_cast<uint32_t>(value), false, buffer, radix);
}
char* _itoa(int value, char* buffer, int radix) { return _ltoa(value, buffer, radix); }

}  // extern "C"
