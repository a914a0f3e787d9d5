#include "text_decoder.h"

#include <algorithm>
#include <cstring>

#include "windows.h"

namespace {

// Input taken per conversion call: the work buffers stay small however
// large the file.
constexpr size_t kPiece = 64 * 1024;

bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The length a UTF-8 lead byte announces; 1 for a byte that leads nothing.
size_t SequenceLength(unsigned char b) {
    if (b >= 0xF0) return 4;
    if (b >= 0xE0) return 3;
    if (b >= 0xC0) return 2;
    return 1;
}

unsigned Utf16Unit(const unsigned char* b, TextEncoding e) {
    return e == TextEncoding::Utf16LE ? (b[0] | b[1] << 8) : (b[0] << 8 | b[1]);
}

}  // namespace

const char* EncodingName(TextEncoding e) {
    switch (e) {
    case TextEncoding::Ansi: return "ANSI (1252)";
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8Mark: return "UTF-8 with byte-order mark";
    case TextEncoding::Utf16LE: return "UTF-16 LE";
    case TextEncoding::Utf16BE: return "UTF-16 BE";
    }
    return "?";
}

TextEncoding EncodingFromMark(const void* p, size_t n, size_t* markLen) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    *markLen = 0;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        *markLen = 3;
        return TextEncoding::Utf8Mark;
    }
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        *markLen = 2;
        return TextEncoding::Utf16LE;
    }
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        *markLen = 2;
        return TextEncoding::Utf16BE;
    }
    return TextEncoding::Ansi;
}

size_t AsciiPrefix(const void* p, size_t n) {
    // Thirty-two bytes at a time (whole files go through here), then eight,
    // then one.
    const unsigned char* b = static_cast<const unsigned char*>(p);
    const unsigned char* end = b + n;
    while (end - b >= 32) {
        uint64_t w[4];
        std::memcpy(w, b, sizeof w);
        if ((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ull) break;
        b += 32;
    }
    while (end - b >= 8) {
        uint64_t word;
        std::memcpy(&word, b, sizeof word);
        if (word & 0x8080808080808080ull) break;
        b += 8;
    }
    while (b < end && *b < 0x80) ++b;
    return static_cast<size_t>(b - static_cast<const unsigned char*>(p));
}

bool Utf8Check::Feed(const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    const unsigned char* end = b + n;
    while (!bad_ && b < end) {
        if (need_ == 0) {
            b += AsciiPrefix(b, static_cast<size_t>(end - b));
            if (b == end) break;
            unsigned char c = *b++;
            nonAscii_ = true;
            lo_ = 0x80;
            hi_ = 0xBF;
            if (c >= 0xC2 && c <= 0xDF) {
                need_ = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                need_ = 2;
                if (c == 0xE0) lo_ = 0xA0;       // no overlong forms
                if (c == 0xED) hi_ = 0x9F;       // no surrogates
            } else if (c >= 0xF0 && c <= 0xF4) {
                need_ = 3;
                if (c == 0xF0) lo_ = 0x90;
                if (c == 0xF4) hi_ = 0x8F;       // nothing above U+10FFFF
            } else {
                bad_ = true;
            }
        } else {
            unsigned char c = *b++;
            if (c < lo_ || c > hi_) {
                bad_ = true;
                break;
            }
            --need_;
            lo_ = 0x80;
            hi_ = 0xBF;
        }
    }
    return !bad_;
}

size_t AnsiConverter::WholeCharacters(const unsigned char* in, size_t n, bool last) const {
    if (last) return n;
    if (enc_ == TextEncoding::Utf16LE || enc_ == TextEncoding::Utf16BE) {
        size_t even = n & ~static_cast<size_t>(1);
        if (even < 2) return 0;
        // A pair is converted together.
        return IsHighSurrogate(Utf16Unit(in + even - 2, enc_)) ? even - 2 : even;
    }
    for (size_t back = 1; back <= 4 && back <= n; ++back) {
        unsigned char b = in[n - back];
        if ((b & 0xC0) != 0x80) return back >= SequenceLength(b) ? n : n - back;
    }
    return n;
}

size_t AnsiConverter::ConvertPiece(const char* in, size_t n, char* out) {
    // One UTF-16 unit per UTF-8 byte at most, one ANSI byte per unit.
    wide_.resize(2 * n + 2);
    WCHAR* wide = reinterpret_cast<WCHAR*>(wide_.data());
    int units = 0;
    if (enc_ == TextEncoding::Utf16LE || enc_ == TextEncoding::Utf16BE) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(in);
        for (size_t i = 0; i + 1 < n; i += 2) wide[units++] = static_cast<WCHAR>(Utf16Unit(b + i, enc_));
    } else {
        units = MultiByteToWideChar(CP_UTF8, 0, in, static_cast<int>(n), wide, static_cast<int>(n) + 1);
    }
    if (units <= 0) return 0;
    ansi_.resize(2 * static_cast<size_t>(units) + 8);
    BOOL usedDefault = FALSE;
    int made = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, ansi_.data(),
                                   static_cast<int>(ansi_.size()), nullptr, &usedDefault);
    if (made <= 0) return 0;
    if (usedDefault) {
        if (made == units) {
            // One byte a unit: a default character stands where the unit was not one.
            for (int i = 0; i < units; ++i) {
                if (ansi_[i] == '?' && wide[i] != '?') lost_.push_back(written_ + static_cast<uint64_t>(i));
            }
        } else {
            // The lengths differ: unit by unit, a pair together.
            made = 0;
            for (int i = 0; i < units;) {
                int k = IsHighSurrogate(wide[i]) && i + 1 < units && IsLowSurrogate(wide[i + 1]) ? 2 : 1;
                BOOL lost = FALSE;
                char one[8];
                int m = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide + i, k, one, sizeof one, nullptr, &lost);
                for (int j = 0; j < m; ++j) {
                    if (lost) lost_.push_back(written_ + static_cast<uint64_t>(made));
                    ansi_[made++] = one[j];
                }
                i += k;
            }
        }
    }
    size_t outLen = std::min(static_cast<size_t>(made), n);
    std::memmove(out, ansi_.data(), outLen);
    written_ += outLen;
    return outLen;
}

size_t AnsiConverter::Convert(const char* in, size_t n, bool last, char* out, size_t* made) {
    *made = 0;
    size_t used = 0;
    while (used < n) {
        size_t piece = std::min(n - used, kPiece);
        bool lastPiece = last && used + piece == n;
        size_t take = WholeCharacters(reinterpret_cast<const unsigned char*>(in + used), piece, lastPiece);
        if (take == 0) break;
        *made += ConvertPiece(in + used, take, out + *made);
        used += take;
    }
    return used;
}

bool AnsiConverter::LostIn(uint64_t from, uint64_t to) const {
    auto it = std::lower_bound(lost_.begin() + static_cast<std::ptrdiff_t>(first_), lost_.end(), from);
    return it != lost_.end() && *it < to;
}

void AnsiConverter::ForgetBefore(uint64_t pos) {
    while (first_ < lost_.size() && lost_[first_] < pos) ++first_;
    if (first_ > 4096 && first_ * 2 > lost_.size()) {
        lost_.erase(lost_.begin(), lost_.begin() + static_cast<std::ptrdiff_t>(first_));
        first_ = 0;
    }
}

size_t DecodeToAnsiInPlace(char* data, size_t size, TextEncoding* enc, size_t* lost) {
    size_t mark = 0;
    TextEncoding e = EncodingFromMark(data, size, &mark);
    if (e == TextEncoding::Ansi) {
        Utf8Check check;
        check.Feed(data, size);
        if (check.IsUtf8Text()) e = TextEncoding::Utf8;
    }
    *enc = e;
    *lost = 0;
    if (e == TextEncoding::Ansi) return size;
    AnsiConverter conv(e);
    size_t made = 0;
    conv.Convert(data + mark, size - mark, true, data, &made);
    *lost = conv.LostCount();
    return made;
}
