#pragma once
// A whole text file in one buffer, split into lines in place.

#include <cstddef>

#include "text_decoder.h"

class TextImage {
public:
    TextImage() = default;
    ~TextImage();
    TextImage(const TextImage&) = delete;
    TextImage& operator=(const TextImage&) = delete;

    // Takes size bytes into a buffer one byte longer, zero-terminated.
    // Returns 0 or kImportNoMemory.
    int Allocate(size_t size);
    // Takes a zero-filled buffer of size + 1 bytes from elsewhere, and the
    // call that gives it back.
    void Adopt(char* zeroed, size_t size, void (*release)(char*));
    char* Data() { return data_; }
    size_t Size() const { return size_; }

    // Converts the bytes to ANSI when they are UTF-8 or UTF-16 (before the
    // lines are split); the size becomes that of the converted text.
    void Decode();
    // Keeps only the first n bytes (a file that shrank while being read).
    void Truncate(size_t n);
    TextEncoding Encoding() const { return encoding_; }
    // Characters that became the code page's default character.
    size_t LostCharacters() const { return lost_; }

    // Splits the buffer at line feeds (a CR just before one goes too) and
    // builds the line table: with N line feeds there are N + 1 lines.
    // Returns 0 or kImportNoMemory.
    int SplitLines();
    size_t LineFeeds() const { return lineFeeds_; }
    char* Line(size_t i) const { return lines_[i]; }

    // The first non-empty line before the last line feed, else line N.
    size_t HeaderLine() const;

    // Gives back the buffer and the line table.
    void Release();

private:
    bool RoomForLine();

    char* data_ = nullptr;
    void (*releaseData_)(char*) = nullptr;
    size_t size_ = 0;
    TextEncoding encoding_ = TextEncoding::Ansi;
    size_t lost_ = 0;
    char** lines_ = nullptr;
    size_t lineCapacity_ = 0;
    size_t lineFeeds_ = 0;
};

// Reads the file at path into image, decoded, with its lines split: 0, or
// kImportCannotOpen, kImportNoSize, kImportNoMemory, kImportEmpty.
int LoadTextImage(const char* path, TextImage& image);

// The same from bytes in memory (an empty block gives kImportEmpty).
int LoadTextImage(const void* bytes, size_t size, TextImage& image);
