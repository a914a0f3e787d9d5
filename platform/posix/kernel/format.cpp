// wsprintf/wvsprintf: the Win32 formatter, not the C runtime's. No floating
// point; 'l' means 32 bits; %s is the caller's own character width and %S
// the other one; output stops at 1024 characters including the NUL.

#include <cstdarg>
#include <string>

#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

using namespace kernel;

namespace {

const size_t kMaxOutput = 1024;

struct Conversion {
    bool left = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    enum { kDefault, kShort, kLong, kInt64 } size = kDefault;
    char type = 0;
};

// Reads one %-conversion after the '%'; returns the characters used.
template <typename Ch>
size_t ParseConversion(const Ch* f, Conversion& conv) {
    size_t i = 0;
    for (;; ++i) {
        if (f[i] == '-') conv.left = true;
        else if (f[i] == '#') conv.alternate = true;
        else if (f[i] == '0') conv.zero = true;
        else break;
    }
    while (f[i] >= '0' && f[i] <= '9') conv.width = conv.width * 10 + (f[i++] - '0');
    if (f[i] == '.') {
        conv.precision = 0;
        ++i;
        while (f[i] >= '0' && f[i] <= '9') conv.precision = conv.precision * 10 + (f[i++] - '0');
    }
    if (f[i] == 'l') {
        conv.size = Conversion::kLong;
        ++i;
    } else if (f[i] == 'h') {
        conv.size = Conversion::kShort;
        ++i;
    } else if (f[i] == 'I' && f[i + 1] == '6' && f[i + 2] == '4') {
        conv.size = Conversion::kInt64;
        i += 3;
    }
    if (conv.width > 1024) conv.width = 1024;
    if (conv.precision > 1024) conv.precision = 1024;
    conv.type = f[i] ? static_cast<char>(f[i] < 0x80 ? f[i] : '?') : 0;
    return f[i] ? i + 1 : i;
}

std::u16string Digits(uint64_t v, int base, bool upper) {
    std::u16string d;
    do {
        int x = static_cast<int>(v % static_cast<uint64_t>(base));
        d.insert(d.begin(), static_cast<char16_t>(x < 10 ? '0' + x : (upper ? 'A' : 'a') + x - 10));
        v /= static_cast<uint64_t>(base);
    } while (v);
    return d;
}

std::u16string FormatNumber(const Conversion& conv, va_list& ap) {
    bool isSigned = conv.type == 'd' || conv.type == 'i';
    uint64_t magnitude;
    bool negative = false;
    if (conv.size == Conversion::kInt64) {
        int64_t v = va_arg(ap, int64_t);
        negative = isSigned && v < 0;
        magnitude = negative ? static_cast<uint64_t>(0) - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    } else {
        uint32_t raw = va_arg(ap, uint32_t);
        if (conv.size == Conversion::kShort) raw = isSigned ? static_cast<uint32_t>(static_cast<int16_t>(raw)) : (raw & 0xFFFF);
        int32_t v = static_cast<int32_t>(raw);
        negative = isSigned && v < 0;
        magnitude = negative ? static_cast<uint64_t>(-static_cast<int64_t>(v)) : raw;
    }
    int base = (conv.type == 'x' || conv.type == 'X') ? 16 : 10;
    std::u16string digits = Digits(magnitude, base, conv.type == 'X');
    if (conv.precision == 0 && magnitude == 0) digits.clear();
    while (conv.precision > 0 && digits.size() < static_cast<size_t>(conv.precision)) digits.insert(0, 1, u'0');
    std::u16string prefix;
    if (negative) prefix = u"-";
    if (conv.alternate && base == 16 && magnitude != 0) prefix = conv.type == 'X' ? u"0X" : u"0x";
    size_t len = prefix.size() + digits.size();
    size_t width = static_cast<size_t>(conv.width);
    if (len >= width) return prefix + digits;
    std::u16string pad(width - len, conv.zero && !conv.left && conv.precision < 0 ? u'0' : u' ');
    if (conv.left) return prefix + digits + pad;
    if (pad[0] == u'0') return prefix + pad + digits;
    return pad + prefix + digits;
}

// `wideByDefault` is true for wsprintfW, where %s is wide and %S narrow.
std::u16string FormatString(const Conversion& conv, bool wideByDefault, va_list& ap) {
    bool wide = conv.size == Conversion::kLong    ? true
                : conv.size == Conversion::kShort ? false
                : (conv.type == 's') == wideByDefault;
    std::u16string text;
    if (wide) {
        const WCHAR* s = va_arg(ap, const WCHAR*);
        if (!s) s = u"(null)";
        for (size_t i = 0; s[i] && (conv.precision < 0 || i < static_cast<size_t>(conv.precision)) && i < kMaxOutput; ++i)
            text.push_back(s[i]);
    } else {
        const char* s = va_arg(ap, const char*);
        if (!s) s = "(null)";
        for (size_t i = 0; s[i] && (conv.precision < 0 || i < static_cast<size_t>(conv.precision)) && i < kMaxOutput; ++i)
            text.push_back(Cp1252ToWide(static_cast<unsigned char>(s[i])));
    }
    return text;
}

std::u16string FormatChar(const Conversion& conv, bool wideByDefault, va_list& ap) {
    bool wide = conv.size == Conversion::kLong    ? true
                : conv.size == Conversion::kShort ? false
                : (conv.type == 'c') == wideByDefault;
    int v = va_arg(ap, int);
    WCHAR c = wide ? static_cast<WCHAR>(v) : Cp1252ToWide(static_cast<unsigned char>(v));
    return c ? std::u16string(1, c) : std::u16string();
}

std::u16string Pad(std::u16string text, const Conversion& conv) {
    size_t width = static_cast<size_t>(conv.width);
    if (text.size() >= width) return text;
    std::u16string pad(width - text.size(), conv.zero && !conv.left ? u'0' : u' ');
    return conv.left ? text + pad : pad + text;
}

WCHAR ToWide(char c) { return Cp1252ToWide(static_cast<unsigned char>(c)); }
WCHAR ToWide(WCHAR c) { return c; }

// Formats into UTF-16; narrow callers convert back through 1252, which is
// lossless for everything that came in as 1252.
template <typename Ch>
std::u16string Format(const Ch* fmt, bool wideByDefault, va_list ap) {
    std::u16string out;
    va_list args;
    va_copy(args, ap);
    bool done = false;
    for (size_t i = 0; !done && fmt[i] && out.size() < kMaxOutput; ++i) {
        WCHAR wc = ToWide(fmt[i]);
        if (wc != '%') {
            out.push_back(wc);
            continue;
        }
        Conversion conv;
        size_t used = ParseConversion(fmt + i + 1, conv);
        i += used;
        switch (conv.type) {
            case 'd': case 'i': case 'u': case 'x': case 'X':
                out += FormatNumber(conv, args);
                break;
            case 's': case 'S':
                out += Pad(FormatString(conv, wideByDefault, args), conv);
                break;
            case 'c': case 'C':
                out += Pad(FormatChar(conv, wideByDefault, args), conv);
                break;
            case 0:  // a lone '%' at the end: nothing more to print
                done = true;
                break;
            default:  // "%%" and unknown types print the character itself
                out.push_back(ToWide(fmt[i]));
                break;
        }
    }
    va_end(args);
    if (out.size() > kMaxOutput - 1) out.resize(kMaxOutput - 1);
    return out;
}

}  // namespace

extern "C" {

int WINAPI wvsprintfA(LPSTR lpOut, LPCSTR lpFmt, va_list arglist) {
    if (!lpOut || !lpFmt) return 0;
    std::u16string text = Format(lpFmt, false, arglist);
    std::string ansi;
    for (WCHAR c : text) {
        unsigned char b;
        ansi.push_back(WideToCp1252(c, &b) ? static_cast<char>(b) : '?');
    }
    ansi.copy(lpOut, ansi.size());
    lpOut[ansi.size()] = 0;
    return static_cast<int>(ansi.size());
}

int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist) {
    if (!lpOut || !lpFmt) return 0;
    std::u16string text = Format(lpFmt, true, arglist);
    text.copy(lpOut, text.size());
    lpOut[text.size()] = 0;
    return static_cast<int>(text.size());
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
    va_list ap;
    va_start(ap, lpFmt);
    int n = wvsprintfA(lpOut, lpFmt, ap);
    va_end(ap);
    return n;
}

int WINAPIV wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
    va_list ap;
    va_start(ap, lpFmt);
    int n = wvsprintfW(lpOut, lpFmt, ap);
    va_end(ap);
    return n;
}

}  // extern "C"
