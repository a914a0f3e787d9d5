#include "csv_fields.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The first c in [p, end), or end. Eight bytes are tested at once: contact
// files are hundreds of megabytes of short fields, and a byte loop or a
// library call per field costs several times the reading of the file.
char* FindByte(char* p, char* end, char c) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        std::uint64_t x = word ^ pattern;  // a zero byte where c is
        std::uint64_t hits = (x - kOnes) & ~x & kHighs;
        if (hits) {
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            // The lowest flag is exact: a borrow only reaches the bytes after
            // the first match.
            return p + __builtin_ctzll(hits) / 8;
#else
            break;
#endif
        }
        p += 8;
    }
    while (p < end && *p != c) ++p;
    return p;
}

// A quoted field starting at open (the opening quote) of a line ending at
// lineEnd. Writes the field's text in place, terminated, and returns the
// closing quote, or nullptr when there is none. Every NUL written lies
// before the closing quote, so the line still ends at lineEnd.
char* QuotedField(char* open, char* lineEnd) {
    char* text = open + 1;
    char* close = FindByte(text, lineEnd, '"');
    if (close == lineEnd) return nullptr;
    char* end = close;  // where the field's text ends so far
    while (close[1] == '"') {
        char* second = close + 1;
        char* next = FindByte(second + 1, lineEnd, '"');
        if (next == lineEnd) break;  // the field ends at the first quote of the pair
        size_t n = static_cast<size_t>(next - second);
        std::memmove(end, second, n);  // the second quote stays as the one quote
        end += n;
        close = next;
    }
    *end = '\0';
    return close;
}

// The separators of one line in order. A block of bytes is tested at once
// and its matches kept as bits, so that the short fields of a contact file
// cost a test a block rather than a search a field. Positions asked for
// never go back.
class SeparatorFinder {
public:
    SeparatorFinder(char c, char* line, char* end) : c_(c), line_(line), end_(end), block_(line) {
#if defined(__SSE2__)
        pattern_ = _mm_set1_epi8(c);
#else
        pattern_ = kOnes * static_cast<unsigned char>(c);
#endif
    }

    // The first separator in [p, end), or end.
    char* Next(char* p) {
#if defined(__SSE2__) || (defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
        if (hits_ != 0 && p < block_ + kBlock) {
            const int skipped = static_cast<int>(p - block_) * kBitsPerByte;
            const std::uint64_t left = hits_ >> skipped << skipped;
            if (left) return block_ + __builtin_ctzll(left) / kBitsPerByte;
            p = block_ + kBlock;
        }
        while (end_ - p >= kBlock) {
            const std::uint64_t hits = Matches(p);
            if (hits) {
                block_ = p;
                hits_ = hits;
                return p + __builtin_ctzll(hits) / kBitsPerByte;
            }
            p += kBlock;
        }
        if (p < end_ && end_ - line_ >= kBlock) {
            // The line's last block, overlapping bytes already passed.
            char* last = end_ - kBlock;
            const int skipped = static_cast<int>(p - last) * kBitsPerByte;
            block_ = last;
            hits_ = Matches(last);
            const std::uint64_t left = hits_ >> skipped << skipped;
            return left ? last + __builtin_ctzll(left) / kBitsPerByte : end_;
        }
#endif
        while (p < end_ && *p != c_) ++p;
        return p;
    }

private:
#if defined(__SSE2__)
    // A bit for each byte of the sixteen that matches.
    static constexpr int kBlock = 16;
    static constexpr int kBitsPerByte = 1;
    std::uint64_t Matches(const char* p) const {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern_)));
    }
    __m128i pattern_;
#else
    // The high bit of each byte of the eight that matches, exactly: no
    // borrow runs between bytes, so every match is flagged and only matches.
    static constexpr int kBlock = 8;
    static constexpr int kBitsPerByte = 8;
    static constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    static constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
    std::uint64_t Matches(const char* p) const {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t x = word ^ pattern_;
        return ~(((x & kLows) + kLows) | x | kLows);
    }
    std::uint64_t pattern_;
#endif
    const char c_;
    char* const line_;
    char* const end_;
    char* block_;             // the bytes whose matches hits_ holds
    std::uint64_t hits_ = 0;
};

}  // namespace

int SplitFields(char** fields) { return SplitFieldsBy(fields, ','); }

int SplitFieldsBy(char** fields, char separator) { return SplitFieldsBy(fields, separator, std::strlen(fields[0])); }

int SplitFieldsBy(char** fields, char separator, size_t length) {
    char* p = fields[0];
    if (length == 0) return 0;
    char* lineEnd = p + length;
    SeparatorFinder separators(separator, p, lineEnd);
    int n = 0;
    for (;;) {
        if (n == kMaxCsvFields - 1) {
            fields[n] = p;
            return n + 1;
        }
        char* comma;
        if (*p == '"') {
            char* close = QuotedField(p, lineEnd);
            if (!close) return kCsvUnclosedQuote;
            fields[n] = p + 1;
            comma = separators.Next(close + 1);
        } else {
            fields[n] = p;
            comma = separators.Next(p);
        }
        ++n;
        if (*comma != separator) return n;
        *comma = '\0';
        p = comma + 1;
    }
}

char HeaderSeparator(const char* line) {
    const char kCandidates[] = {',', ';', '\t'};
    size_t counts[3] = {};
    bool quoted = false;
    for (const char* p = line; *p; ++p) {
        if (*p == '"') quoted = !quoted;
        for (int i = 0; i < 3 && !quoted; ++i) counts[i] += *p == kCandidates[i];
    }
    int best = 0;
    for (int i = 1; i < 3; ++i) {
        if (counts[i] > counts[best]) best = i;
    }
    return kCandidates[best];
}

void QuoteScan::Feed(const char* p, size_t n) {
    for (const char* end = p + n; p < end && state_ != kRest; ++p) {
        char c = *p;
        switch (state_) {
        case kFieldStart: state_ = c == '"' ? kQuoted : kPlain; break;
        case kQuoted:
            if (c == '"') state_ = kQuoteSeen;
            continue;
        case kQuoteSeen:
            // A doubled quote is one quote of the text; anything else follows the closed field.
            state_ = c == '"' ? kQuoted : kAfterQuote;
            break;
        default: break;
        }
        if (c == separator_ && state_ != kQuoted) {
            // The last field takes the rest of the line, quotes and all.
            state_ = ++fields_ == kMaxCsvFields ? kRest : kFieldStart;
        }
    }
}

void TrimBlanks(char* text) { TrimBlanksLength(text); }

size_t TrimBlanksLength(char* text) {
    size_t len = std::strlen(text);
    while (len > 0 && text[len - 1] == ' ') --len;
    size_t lead = 0;
    while (lead < len && text[lead] == ' ') ++lead;
    if (lead > 0) std::memmove(text, text + lead, len - lead);
    text[len - lead] = '\0';
    return len - lead;
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Whether the eight bytes at p hold a bracket or a byte of 128 or more.
bool BracketOrHighByte(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    std::uint64_t open = word ^ (kOnes * '[');
    std::uint64_t close = word ^ (kOnes * ']');
    // A zero byte of open or close sets its high bit in the difference.
    return (((open - kOnes) & ~open) | ((close - kOnes) & ~close) | word) & kHighs;
}

}  // namespace

void BracketsToParentheses(char* text) { BracketsToParentheses(text, std::strlen(text)); }

void BracketsToParentheses(char* text, size_t length) {
    unsigned char* p = reinterpret_cast<unsigned char*>(text);
    unsigned char* end = p + length;
    while (p < end) {
        if (end - p >= 8 && !BracketOrHighByte(p)) {
            p += 8;
            continue;
        }
        // The last eight bytes, overlapping those done: when none is a
        // bracket or a lead byte, neither is any of the rest.
        if (end - p < 8 && end - reinterpret_cast<unsigned char*>(text) >= 8 && !BracketOrHighByte(end - 8)) return;
        // Byte by byte over the eight (a second byte may reach one past them).
        unsigned char* stop = end - p >= 8 ? p + 8 : end;
        for (; p < stop; ++p) {
            if (*p == '[') {
                *p = '(';
            } else if (*p == ']') {
                *p = ')';
            } else if (*p >= 128) {
                if (p + 1 == end) return;
                ++p;
            }
        }
    }
}

namespace {

constexpr bool KeptInFaxNumber(unsigned char c) {
    return (c >= '!' && c <= '+') || (c >= '-' && c <= 'Z') || c == '\\' || (c >= '^' && c <= 'z');
}

// What a fax number keeps of each byte: its capital, or 0 when it is dropped.
struct FaxNumberBytes {
    unsigned char kept[256] = {};
    constexpr FaxNumberBytes() {
        for (int b = 0; b < 256; ++b) {
            unsigned char c = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
            kept[b] = KeptInFaxNumber(c) ? c : 0;
        }
    }
};

constexpr FaxNumberBytes kFaxNumberBytes;

}  // namespace

size_t CleanFaxNumber(char* text) {
    char* out = text;
    for (const char* p = text; *p; ++p) {
        unsigned char c = kFaxNumberBytes.kept[static_cast<unsigned char>(*p)];
        *out = static_cast<char>(c);  // out never passes p: this byte is read already
        out += c != 0;
    }
    *out = '\0';
    return static_cast<size_t>(out - text);
}

void CopyCut(char* field, size_t max, const char* text) {
    size_t n = 0;
    while (n < max && text[n]) {
        field[n] = text[n];
        ++n;
    }
    std::memset(field + n, 0, max + 1 - n);
}
