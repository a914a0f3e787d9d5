#include "line_stream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "import_codes.h"
#include "windows.h"

namespace {

HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }

}  // namespace

LineStream::~LineStream() {
    if (file_) CloseHandle(Handle(file_));
    std::free(raw_);
    std::free(text_);
}

int LineStream::Open(const char* path, bool encodingFirst) {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return kImportCannotOpen;
    file_ = h;
    DWORD high = 0;
    DWORD low = GetFileSize(h, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return kImportNoSize;
    fileSize_ = (static_cast<uint64_t>(high) << 32) | low;
    raw_ = static_cast<char*>(std::malloc(piece_));
    capacity_ = 2 * piece_ + 1;
    text_ = static_cast<char*>(std::malloc(capacity_));
    if (!raw_ || !text_) return kImportNoMemory;
    if (!ReadRaw()) return error_;
    if (rawLen_ == 0) return kImportEmpty;
    size_t mark = 0;
    encoding_ = EncodingFromMark(raw_, rawLen_, &mark);
    if (mark != 0) {
        std::memmove(raw_, raw_ + mark, rawLen_ - mark);
        rawLen_ -= mark;
        converter_.reset(new AnsiConverter(encoding_));
    } else if (encodingFirst) {
        Decide();
    } else {
        undecided_ = true;
    }
    GuessLines();
    return error_;
}

void LineStream::GuessLines() {
    uint64_t lines = 1;
    for (const char* p = raw_; (p = static_cast<const char*>(std::memchr(p, '\n', raw_ + rawLen_ - p))) != nullptr; ++p)
        ++lines;
    if (rawEnd_ || rawLen_ == 0) {
        linesGuess_ = lines;
        return;
    }
    // A line shorter than sixteen bytes rarely holds a name and a number:
    // a first piece of short lines does not make the guess run away.
    uint64_t perLine = std::max<uint64_t>(rawLen_ / lines, 16);
    linesGuess_ = fileSize_ / perLine;
}

bool LineStream::ReadRaw() {
    if (rawEnd_ || rawLen_ == piece_) return true;
    DWORD got = 0;
    if (!ReadFile(Handle(file_), raw_ + rawLen_, static_cast<DWORD>(piece_ - rawLen_), &got, nullptr)) {
        error_ = kImportCannotOpen;
        return false;
    }
    if (got == 0) rawEnd_ = true;
    rawLen_ += got;
    fileRead_ += got;
    return true;
}

// A file without a mark is UTF-8 when all of it is UTF-8 text: it is read
// through once first (a file of ANSI text mostly fails at its first
// letter of 128 or more).
void LineStream::Decide() {
    Utf8Check check;
    if (check.Feed(raw_, rawLen_) && !rawEnd_) CheckRest(check);
    if (error_ || !check.IsUtf8Text()) return;
    encoding_ = TextEncoding::Utf8;
    converter_.reset(new AnsiConverter(encoding_, base_ + end_));
}

void LineStream::CheckRest(Utf8Check& check) {
    char* more = static_cast<char*>(std::malloc(piece_));
    if (!more) {
        error_ = kImportNoMemory;
        return;
    }
    DWORD got = 0;
    while (ReadFile(Handle(file_), more, static_cast<DWORD>(piece_), &got, nullptr) && got > 0 &&
           check.Feed(more, got)) {
    }
    std::free(more);
    LONG high = static_cast<LONG>(fileRead_ >> 32);
    if (SetFilePointer(Handle(file_), static_cast<LONG>(fileRead_ & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        error_ = kImportCannotOpen;
}

void LineStream::DecideFrom(size_t from) {
    size_t at = from + AsciiPrefix(text_ + from, end_ - from);
    if (at == end_) return;
    undecided_ = false;
    Utf8Check check;
    if (check.Feed(text_ + at, end_ - at) && !rawEnd_) CheckRest(check);
    if (error_ || !check.IsUtf8Text()) return;
    encoding_ = TextEncoding::Utf8;
    converter_.reset(new AnsiConverter(encoding_, base_ + at));
    // The text from the byte on, converted where it is (it only shrinks); a
    // character cut at the end of what was read waits for its rest.
    size_t made = 0;
    size_t used = converter_->Convert(text_ + at, end_ - at, rawEnd_, text_ + at, &made);
    rawLen_ = end_ - at - used;
    std::memcpy(raw_, text_ + at + used, rawLen_);
    end_ = at + made;
}

void LineStream::Settle() {
    if (!undecided_ || error_) return;
    undecided_ = false;
    Utf8Check check;
    if (!rawEnd_) CheckRest(check);
    // Nothing more is read, so nothing is converted.
    if (!error_ && check.IsUtf8Text()) encoding_ = TextEncoding::Utf8;
}

bool LineStream::Fill() {
    if (line_ > 0) {
        // The text before the line being read is done with.
        std::memmove(text_, text_ + line_, end_ - line_);
        start_ -= line_;
        end_ -= line_;
        scanned_ -= line_;
        base_ += line_;
        line_ = 0;
        if (converter_) converter_->ForgetBefore(base_);
    }
    if (rawEnd_ && rawLen_ == 0) return false;
    size_t need = end_ + rawLen_ + piece_ + 1;
    if (capacity_ < need) {
        size_t grown = 2 * capacity_ > need ? 2 * capacity_ : need;
        char* bigger = static_cast<char*>(std::realloc(text_, grown));
        if (!bigger) {
            error_ = kImportNoMemory;
            return false;
        }
        text_ = bigger;
        capacity_ = grown;
    }
    if (!converter_) {
        // ANSI: straight into the text, after what Open read ahead.
        size_t from = end_;
        std::memcpy(text_ + end_, raw_, rawLen_);
        end_ += rawLen_;
        rawLen_ = 0;
        if (!rawEnd_) {
            DWORD got = 0;
            if (!ReadFile(Handle(file_), text_ + end_, static_cast<DWORD>(piece_), &got, nullptr)) {
                error_ = kImportCannotOpen;
                return false;
            }
            rawEnd_ = got == 0;
            end_ += got;
            fileRead_ += got;
        }
        if (undecided_) DecideFrom(from);
        return error_ == 0;
    } else {
        if (!ReadRaw()) return false;
        size_t made = 0;
        size_t used = converter_->Convert(raw_, rawLen_, rawEnd_, text_ + end_, &made);
        end_ += made;
        std::memmove(raw_, raw_ + used, rawLen_ - used);
        rawLen_ -= used;
    }
    return true;
}

char* LineStream::FinishLine(size_t lineFeed) {
    lineFeed_ = lineFeed;
    text_[lineFeed] = '\0';
    crDropped_ = lineFeed > line_ && text_[lineFeed - 1] == '\r';
    if (crDropped_) text_[lineFeed - 1] = '\0';
    start_ = scanned_ = lineFeed + 1;
    lineIndex_ = nextIndex_++;
    return text_ + line_;
}

char* LineStream::NextLine() {
    if (error_) return nullptr;
    line_ = start_;
    for (;;) {
        char* lf = static_cast<char*>(std::memchr(text_ + scanned_, '\n', end_ - scanned_));
        if (lf) return FinishLine(static_cast<size_t>(lf - text_));
        scanned_ = end_;
        if (!Fill()) {
            if (error_ || lastGiven_) return nullptr;
            // The text after the last line feed.
            lastGiven_ = true;
            text_[end_] = '\0';
            lineFeed_ = end_;
            crDropped_ = false;
            start_ = scanned_ = end_;
            lineIndex_ = nextIndex_++;
            return text_ + line_;
        }
    }
}

char* LineStream::JoinNextLine() {
    if (error_ || lastGiven_) return nullptr;
    text_[lineFeed_] = '\n';
    if (crDropped_) text_[lineFeed_ - 1] = '\r';
    size_t first = lineIndex_;
    char* joined = nullptr;
    for (;;) {
        char* lf = static_cast<char*>(std::memchr(text_ + scanned_, '\n', end_ - scanned_));
        if (lf) {
            joined = FinishLine(static_cast<size_t>(lf - text_));
            break;
        }
        scanned_ = end_;
        if (!Fill()) {
            if (error_) return nullptr;
            lastGiven_ = true;
            text_[end_] = '\0';
            lineFeed_ = end_;
            crDropped_ = false;
            start_ = scanned_ = end_;
            ++nextIndex_;
            joined = text_ + line_;
            break;
        }
    }
    lineIndex_ = first;
    return joined;
}

bool LineStream::LostIn(const char* from, const char* to) const {
    if (!converter_) return false;
    return converter_->LostIn(base_ + static_cast<uint64_t>(from - text_), base_ + static_cast<uint64_t>(to - text_));
}
