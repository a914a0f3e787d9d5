#include "text_image.h"

#include <cstdlib>
#include <cstring>

#include "import_codes.h"

namespace {

void FreeData(char* data) { std::free(data); }

}  // namespace

TextImage::~TextImage() { Release(); }

void TextImage::Release() {
    std::free(lines_);
    if (data_) releaseData_(data_);
    lines_ = nullptr;
    data_ = nullptr;
    releaseData_ = nullptr;
    size_ = 0;
    encoding_ = TextEncoding::Ansi;
    lost_ = 0;
    lineCapacity_ = 0;
    lineFeeds_ = 0;
}

int TextImage::Allocate(size_t size) {
    Release();
    if (size == static_cast<size_t>(-1)) return kImportNoMemory;
    // calloc: a large image comes as untouched zero pages, and the byte
    // after the file terminates the last line.
    data_ = static_cast<char*>(std::calloc(size + 1, 1));
    if (!data_) return kImportNoMemory;
    releaseData_ = FreeData;
    size_ = size;
    return 0;
}

void TextImage::Adopt(char* zeroed, size_t size, void (*release)(char*)) {
    Release();
    data_ = zeroed;
    releaseData_ = release;
    size_ = size;
}

void TextImage::Decode() {
    size_ = DecodeToAnsiInPlace(data_, size_, &encoding_, &lost_);
    data_[size_] = '\0';
}

void TextImage::Truncate(size_t n) {
    if (n >= size_) return;
    size_ = n;
    data_[n] = '\0';
}

bool TextImage::RoomForLine() {
    // One slot is always kept free for the line after the last feed.
    if (lineFeeds_ + 2 <= lineCapacity_) return true;
    size_t grown = lineCapacity_ ? 2 * lineCapacity_ : 1024;
    if (grown > static_cast<size_t>(-1) / sizeof(char*)) return false;
    char** bigger = static_cast<char**>(std::realloc(lines_, grown * sizeof(char*)));
    if (!bigger) return false;
    lines_ = bigger;
    lineCapacity_ = grown;
    return true;
}

int TextImage::SplitLines() {
    char* end = data_ + size_;
    char* lineStart = data_;
    if (!RoomForLine()) return kImportNoMemory;
    for (char* p = data_; (p = static_cast<char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p) {
        lines_[lineFeeds_++] = lineStart;
        *p = '\0';
        if (p > lineStart && p[-1] == '\r') p[-1] = '\0';
        lineStart = p + 1;
        if (!RoomForLine()) return kImportNoMemory;
    }
    lines_[lineFeeds_] = lineStart;
    return 0;
}

size_t TextImage::HeaderLine() const {
    for (size_t i = 0; i < lineFeeds_; ++i) {
        if (lines_[i][0] != '\0') return i;
    }
    return lineFeeds_;
}

int LoadTextImage(const void* bytes, size_t size, TextImage& image) {
    if (size == 0) return kImportEmpty;
    int rc = image.Allocate(size);
    if (rc != 0) return rc;
    std::memcpy(image.Data(), bytes, size);
    image.Decode();
    return image.SplitLines();
}
