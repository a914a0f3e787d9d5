#include "format.h"

#include <cstdint>

namespace {

const char DigitString[] = "0123456789ABCDEF";

// Collects output; drops what does not fit but keeps room for the NUL.
struct Sink {
    char* buffer;
    size_t limit;  // characters that may be stored before the NUL
    size_t count;

    void Put(char c) {
        if (count < limit) buffer[count++] = c;
    }
    void PutText(const char* s) {
        if (!s) return;
        while (*s && count < limit) Put(*s++);
    }
    void PutUnsigned(uint32_t v) {
        char digits[10];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        while (n) Put(digits[--n]);
    }
    void PutSigned(int32_t v) {
        if (v < 0) {
            Put('-');
            PutUnsigned(0u - static_cast<uint32_t>(v));
        } else {
            PutUnsigned(static_cast<uint32_t>(v));
        }
    }
    void PutHex(uint32_t v) {
        char digits[8];
        int n = 0;
        do {
            digits[n++] = DigitString[v & 15];
            v >>= 4;
        } while (v);
        if (n < 2) digits[n++] = '0';
        while (n) Put(digits[--n]);
    }
    // Signed fixed point with 8 fraction bits, fraction to thousandths.
    void PutFixed(int32_t v) {
        uint32_t magnitude = static_cast<uint32_t>(v);
        if (v < 0) {
            Put('-');
            magnitude = 0u - magnitude;
        }
        PutUnsigned(magnitude >> 8);
        uint32_t fraction = magnitude & 0xFF;
        if (fraction == 0) return;
        Put('.');
        uint32_t thousandths = (fraction * 100000u / 256u + 50u) / 100u;
        for (uint32_t scale = 100; scale && thousandths; scale /= 10) {
            Put(static_cast<char>('0' + thousandths / scale));
            thousandths %= scale;
        }
    }
};

size_t Format(char* buffer, size_t limit, const char* format, va_list args) {
    Sink out{buffer, limit, 0};
    if (format) {
        for (const char* p = format; *p && out.count < limit; ++p) {
            if (*p != '%') {
                out.Put(*p);
                continue;
            }
            char conv = *++p;
            if (!conv) break;  // a lone '%' at the end writes nothing
            switch (conv) {
                case 'd':
                case 'l':
                    out.PutSigned(va_arg(args, int32_t));
                    break;
                case 'u':
                    out.PutUnsigned(va_arg(args, uint32_t));
                    break;
                case 'x':
                case 'X':
                    out.PutHex(va_arg(args, uint32_t));
                    break;
                case 'c':
                    out.Put(static_cast<char>(va_arg(args, int32_t) & 0xFF));
                    break;
                case 's':
                    out.PutText(va_arg(args, const char*));
                    break;
                case 'b':
                    out.PutText(va_arg(args, int32_t) ? "true" : "false");
                    break;
                case 'f':
                    out.PutFixed(va_arg(args, int32_t));
                    break;
                default:
                    out.Put(conv);
                    break;
            }
        }
    }
    buffer[out.count] = '\0';
    return out.count;
}

}  // namespace

size_t FormatBoundedV(char* buffer, size_t capacity, const char* format, va_list args) {
    if (!buffer || capacity == 0) return 0;
    return Format(buffer, capacity - 1, format, args);
}

size_t FormatBounded(char* buffer, size_t capacity, const char* format, ...) {
    va_list args;
    va_start(args, format);
    size_t n = FormatBoundedV(buffer, capacity, format, args);
    va_end(args);
    return n;
}

size_t FormatUnboundedV(char* buffer, const char* format, va_list args) {
    if (!buffer) return 0;
    return Format(buffer, SIZE_MAX - 1, format, args);
}
