#pragma once
// A contact file read a piece at a time, decoded to ANSI and handed out a
// line at a time, so that memory stays small however large the file. Lines
// are those of TextImage: a line feed ends a line (with the carriage return
// just before it), and the text after the last line feed is a line too.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "text_decoder.h"

// Aligned so that its fields, read for every line, share no cache line
// with what another thread writes (the sinks of a reading run on one).
class alignas(64) LineStream {
public:
    static constexpr size_t kPiece = 1 << 20;
    // piece: the bytes read at a time (at least 8; tests read in small ones).
    explicit LineStream(size_t piece = kPiece) : piece_(piece < 8 ? 8 : piece) {}
    ~LineStream();
    LineStream(const LineStream&) = delete;
    LineStream& operator=(const LineStream&) = delete;

    // 0, kImportCannotOpen, kImportNoSize or kImportEmpty. A file without
    // a byte-order mark is UTF-8 when all of it is UTF-8 text. Told first
    // (first: the whole file is read through once before its first line),
    // or when the first byte of 128 or more turns up (the text before it
    // reads the same either way): then from that byte to the file's end.
    int Open(const char* path, bool encodingFirst = true);
    // The encoding as far as it is known: ANSI until a later byte tells.
    TextEncoding Encoding() const { return encoding_; }
    // Tells the encoding from the bytes not read yet, when that is still
    // open (a reading that stops before the end).
    void Settle();
    uint64_t FileSize() const { return fileSize_; }
    // About how many lines the file holds, told from its first piece: only
    // a guess, for sizing what grows with the lines.
    uint64_t LinesGuess() const { return linesGuess_; }

    // The next line, NUL-terminated and changeable until the next call;
    // nullptr after the last line or on an error (Error() tells).
    char* NextLine();
    // The line last handed out with the next line joined to it at its line
    // break, which stays in the text; nullptr when there is no next line.
    char* JoinNextLine();
    // Length of the text last handed out, up to the NUL that ends it (one
    // it holds itself is counted in).
    size_t Length() const { return lineFeed_ - line_ - (crDropped_ ? 1 : 0); }
    // Index of the first file line of the text last handed out.
    size_t LineIndex() const { return lineIndex_; }
    // 0, kImportNoMemory or kImportCannotOpen (a read that failed).
    int Error() const { return error_; }

    // Whether the bytes [from, to) of the text last handed out hold a
    // character the code page lacks.
    bool LostIn(const char* from, const char* to) const;

private:
    // Reads and decodes the next piece after the text kept; false at the
    // end of the file or on an error.
    bool Fill();
    bool ReadRaw();
    void Decide();
    // Feeds the bytes of the file after those read to check, and reads on
    // from where it was.
    void CheckRest(Utf8Check& check);
    // Decides at the first byte of 128 or more among text_[from, end_),
    // converting the text from there when the file is UTF-8.
    void DecideFrom(size_t from);
    void GuessLines();
    char* FinishLine(size_t lineFeed);

    size_t piece_;
    void* file_ = nullptr;
    TextEncoding encoding_ = TextEncoding::Ansi;
    bool undecided_ = false;     // no mark, and only ASCII so far
    std::unique_ptr<AnsiConverter> converter_;
    char* raw_ = nullptr;        // bytes read and not yet decoded
    size_t rawLen_ = 0;
    bool rawEnd_ = false;        // the file has no more bytes
    uint64_t fileRead_ = 0;      // bytes read from the file so far
    uint64_t fileSize_ = 0;
    uint64_t linesGuess_ = 0;
    char* text_ = nullptr;       // decoded text; [start_, end_) is still to be handed out
    size_t capacity_ = 0;
    size_t start_ = 0;
    size_t end_ = 0;
    size_t scanned_ = 0;         // no line feed in [start_, scanned_)
    uint64_t base_ = 0;          // decoded position of text_[0]
    size_t line_ = 0;            // start of the text last handed out
    size_t lineFeed_ = 0;        // its line feed, or end_ for the last line
    bool crDropped_ = false;
    bool lastGiven_ = false;
    size_t nextIndex_ = 0;
    size_t lineIndex_ = 0;
    int error_ = 0;
};
