#pragma once
// Contact files come in ANSI (code page 1252), in UTF-8 with or without a
// byte-order mark, or in UTF-16 of either byte order with its mark; the
// readers work in ANSI. Telling the encoding, and converting through the
// system's code-page calls.

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TextEncoding { Ansi, Utf8, Utf8Mark, Utf16LE, Utf16BE };

// "ANSI (1252)", "UTF-8", "UTF-8 with byte-order mark", "UTF-16 LE", "UTF-16 BE".
const char* EncodingName(TextEncoding e);

// The encoding a byte-order mark at the start of p[0..n) gives and the
// mark's length; Ansi and 0 when there is none.
TextEncoding EncodingFromMark(const void* p, size_t n, size_t* markLen);

// How many bytes at p[0..n) come before the first of 128 or more (n when
// there is none).
size_t AsciiPrefix(const void* p, size_t n);

// Validity as UTF-8 of bytes fed in pieces; a character may straddle two.
class Utf8Check {
public:
    // False once the bytes fed are not UTF-8; feeding more then changes nothing.
    bool Feed(const void* p, size_t n);
    // After the last piece: valid, nothing left unfinished, and at least one
    // byte of 128 or more (plain ASCII is read as ANSI, which is the same).
    bool IsUtf8Text() const { return !bad_ && need_ == 0 && nonAscii_; }

private:
    int need_ = 0;              // continuation bytes still to come
    unsigned char lo_ = 0x80;   // range of the next continuation byte
    unsigned char hi_ = 0xBF;
    bool bad_ = false;
    bool nonAscii_ = false;
};

// Converts text of one of the Unicode encodings to ANSI, piece by piece.
// The output is never longer than the input, so it may overwrite the input
// it was made from.
class AnsiConverter {
public:
    // start: the output position of the first byte this converter writes.
    explicit AnsiConverter(TextEncoding e, uint64_t start = 0) : enc_(e), written_(start) {}

    // Converts the whole characters at the start of in[0..n), all n bytes
    // when last, into out. Returns the input bytes used; *made is the
    // output written. Returns 0 with *made 0 when no whole character is
    // there yet. A default character written for a character the code page
    // lacks is noted by its output position.
    size_t Convert(const char* in, size_t n, bool last, char* out, size_t* made);

    // Whether a default character was written at an output position in
    // [from, to).
    bool LostIn(uint64_t from, uint64_t to) const;
    // Forgets the positions before pos (a stream that moved past them).
    void ForgetBefore(uint64_t pos);
    size_t LostCount() const { return lost_.size() - first_; }

private:
    size_t WholeCharacters(const unsigned char* in, size_t n, bool last) const;
    size_t ConvertPiece(const char* in, size_t n, char* out);

    TextEncoding enc_;
    uint64_t written_;
    std::vector<uint64_t> lost_;   // ascending
    size_t first_ = 0;             // lost_[first_..] are still wanted
    std::vector<char> wide_;       // work space, two bytes a unit
    std::vector<char> ansi_;
};

// Decodes size bytes at data in place when they are not ANSI: tells the
// encoding from a byte-order mark or from the bytes being UTF-8 text, and
// converts. Returns the new size; *enc is the encoding found and *lost the
// number of characters the code page lacks.
size_t DecodeToAnsiInPlace(char* data, size_t size, TextEncoding* enc, size_t* lost);
