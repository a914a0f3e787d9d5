// MultiByteToWideChar / WideCharToMultiByte for the ANSI code page (1252)
// and UTF-8, with the buffer contract and error codes of Win32.

#include <cstring>
#include <string>

#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace kernel {
namespace {

// 0x80-0x9F of code page 1252. Zero marks the five undefined bytes, which
// Windows passes through as the C1 controls of the same value.
const WCHAR kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

struct Composition {
    WCHAR base;
    WCHAR mark;
    WCHAR composed;
};

// Base letter + combining mark pairs whose precomposed form exists in 1252.
const Composition kCompositions[] = {
    {'A', 0x300, 0xC0}, {'E', 0x300, 0xC8}, {'I', 0x300, 0xCC}, {'O', 0x300, 0xD2}, {'U', 0x300, 0xD9},
    {'a', 0x300, 0xE0}, {'e', 0x300, 0xE8}, {'i', 0x300, 0xEC}, {'o', 0x300, 0xF2}, {'u', 0x300, 0xF9},
    {'A', 0x301, 0xC1}, {'E', 0x301, 0xC9}, {'I', 0x301, 0xCD}, {'O', 0x301, 0xD3}, {'U', 0x301, 0xDA},
    {'Y', 0x301, 0xDD}, {'a', 0x301, 0xE1}, {'e', 0x301, 0xE9}, {'i', 0x301, 0xED}, {'o', 0x301, 0xF3},
    {'u', 0x301, 0xFA}, {'y', 0x301, 0xFD}, {'A', 0x302, 0xC2}, {'E', 0x302, 0xCA}, {'I', 0x302, 0xCE},
    {'O', 0x302, 0xD4}, {'U', 0x302, 0xDB}, {'a', 0x302, 0xE2}, {'e', 0x302, 0xEA}, {'i', 0x302, 0xEE},
    {'o', 0x302, 0xF4}, {'u', 0x302, 0xFB}, {'A', 0x303, 0xC3}, {'N', 0x303, 0xD1}, {'O', 0x303, 0xD5},
    {'a', 0x303, 0xE3}, {'n', 0x303, 0xF1}, {'o', 0x303, 0xF5}, {'A', 0x308, 0xC4}, {'E', 0x308, 0xCB},
    {'I', 0x308, 0xCF}, {'O', 0x308, 0xD6}, {'U', 0x308, 0xDC}, {'Y', 0x308, 0x178}, {'a', 0x308, 0xE4},
    {'e', 0x308, 0xEB}, {'i', 0x308, 0xEF}, {'o', 0x308, 0xF6}, {'u', 0x308, 0xFC}, {'y', 0x308, 0xFF},
    {'A', 0x30A, 0xC5}, {'a', 0x30A, 0xE5}, {'C', 0x327, 0xC7}, {'c', 0x327, 0xE7}, {'S', 0x30C, 0x160},
    {'s', 0x30C, 0x161}, {'Z', 0x30C, 0x17D}, {'z', 0x30C, 0x17E},
};

bool IsCombiningMark(WCHAR c) { return c >= 0x300 && c <= 0x36F; }

WCHAR Compose(WCHAR base, WCHAR mark) {
    for (const Composition& c : kCompositions)
        if (c.base == base && c.mark == mark) return c.composed;
    return 0;
}

bool IsAnsiPage(UINT cp) { return cp == CP_ACP || cp == CP_THREAD_ACP || cp == 1252; }

// Decodes UTF-8; returns false on the first invalid sequence when strict,
// otherwise substitutes U+FFFD for each bad byte.
bool DecodeUtf8(const unsigned char* s, size_t n, bool strict, std::u16string& out) {
    size_t i = 0;
    while (i < n) {
        unsigned char b = s[i];
        uint32_t cp = 0;
        size_t len = 0;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F;
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F;
            len = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07;
            len = 4;
        }
        bool ok = len != 0 && i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (ok && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                   (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            if (strict) return false;
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<WCHAR>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<WCHAR>(cp));
        }
        i += len;
    }
    return true;
}

void AppendUtf8(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Encodes UTF-16 as UTF-8; lone surrogates become U+FFFD unless strict.
bool EncodeUtf8(const WCHAR* s, size_t n, bool strict, std::string& out) {
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (strict) return false;
            c = 0xFFFD;
        }
        AppendUtf8(c, out);
    }
    return true;
}

struct AnsiEncodeOptions {
    DWORD flags;
    char defaultChar;
    bool usedDefault;
};

void EncodeAnsi(const WCHAR* s, size_t n, AnsiEncodeOptions& opt, std::string& out) {
    const bool composite = (opt.flags & WC_COMPOSITECHECK) != 0;
    for (size_t i = 0; i < n; ++i) {
        WCHAR c = s[i];
        if (composite && i + 1 < n && IsCombiningMark(s[i + 1])) {
            WCHAR composed = Compose(c, s[i + 1]);
            if (composed != 0) {
                c = composed;
                ++i;
            } else if (opt.flags & WC_DEFAULTCHAR) {
                out.push_back(opt.defaultChar);
                opt.usedDefault = true;
                ++i;
                continue;
            } else if (opt.flags & WC_DISCARDNS) {
                ++i;  // the base character is kept, the mark dropped
            }
        }
        unsigned char byte;
        if (WideToCp1252(c, &byte)) {
            out.push_back(static_cast<char>(byte));
        } else {
            out.push_back(opt.defaultChar);
            opt.usedDefault = true;
        }
    }
}

}  // namespace

WCHAR Cp1252ToWide(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    WCHAR w = kHigh1252[byte - 0x80];
    return w != 0 ? w : byte;
}

bool WideToCp1252(WCHAR wc, unsigned char* byte) {
    if (wc < 0x80 || (wc >= 0xA0 && wc <= 0xFF)) {
        *byte = static_cast<unsigned char>(wc);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        WCHAR mapped = kHigh1252[i] != 0 ? kHigh1252[i] : static_cast<WCHAR>(0x80 + i);
        if (mapped == wc) {
            *byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::u16string AnsiToWide(const char* text) {
    std::u16string out;
    for (const char* p = text; p && *p; ++p) out.push_back(Cp1252ToWide(static_cast<unsigned char>(*p)));
    return out;
}

std::string WideToAnsi(const std::u16string& text) {
    AnsiEncodeOptions opt{WC_COMPOSITECHECK, '?', false};
    std::string out;
    EncodeAnsi(text.data(), text.size(), opt, out);
    return out;
}

std::u16string Utf8ToWide(const std::string& text) {
    std::u16string out;
    DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size(), false, out);
    return out;
}

std::string WideToUtf8(const std::u16string& text) {
    std::string out;
    EncodeUtf8(text.data(), text.size(), false, out);
    return out;
}

std::u16string WideFrom(const WCHAR* text) {
    return text ? std::u16string(text) : std::u16string();
}

}  // namespace kernel

using namespace kernel;

extern "C" {

UINT WINAPI GetACP(void) { return 1252; }

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr) ||
        (cchWideChar > 0 && static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::u16string out;
    if (CodePage == CP_UTF8) {
        if (dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        if (!DecodeUtf8(reinterpret_cast<const unsigned char*>(lpMultiByteStr), n,
                        (dwFlags & MB_ERR_INVALID_CHARS) != 0, out)) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
    } else if (IsAnsiPage(CodePage)) {
        const DWORD known = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
        if ((dwFlags & ~known) || ((dwFlags & MB_PRECOMPOSED) && (dwFlags & MB_COMPOSITE))) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        for (size_t i = 0; i < n; ++i) out.push_back(Cp1252ToWide(static_cast<unsigned char>(lpMultiByteStr[i])));
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (cchWideChar == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<size_t>(cchWideChar)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpWideCharStr, out.data(), out.size() * sizeof(WCHAR));
    return static_cast<int>(out.size());
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr) ||
        (cbMultiByte > 0 && static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = 0;
    if (cchWideChar == -1) {
        while (lpWideCharStr[n]) ++n;
        ++n;
    } else {
        n = static_cast<size_t>(cchWideChar);
    }
    std::string out;
    if (CodePage == CP_UTF8) {
        if (dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        if (lpDefaultChar || lpUsedDefaultChar) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (!EncodeUtf8(lpWideCharStr, n, (dwFlags & WC_ERR_INVALID_CHARS) != 0, out)) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
    } else if (IsAnsiPage(CodePage)) {
        const DWORD known = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;
        if (dwFlags & ~known) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        AnsiEncodeOptions opt{dwFlags, lpDefaultChar ? lpDefaultChar[0] : '?', false};
        EncodeAnsi(lpWideCharStr, n, opt, out);
        if (lpUsedDefaultChar) *lpUsedDefaultChar = opt.usedDefault ? TRUE : FALSE;
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (cbMultiByte == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<size_t>(cbMultiByte)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpMultiByteStr, out.data(), out.size());
    return static_cast<int>(out.size());
}

BOOL WINAPI IsDBCSLeadByte(BYTE) { return FALSE; }

LPSTR WINAPI CharNextA(LPCSTR lpsz) {
    if (!lpsz) return nullptr;
    return const_cast<LPSTR>(*lpsz ? lpsz + 1 : lpsz);
}

LPWSTR WINAPI CharNextW(LPCWSTR lpsz) {
    if (!lpsz) return nullptr;
    return const_cast<LPWSTR>(*lpsz ? lpsz + 1 : lpsz);
}

}  // extern "C"
