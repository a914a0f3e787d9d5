#include "text_image.h"

#include <cstdlib>
#include <cstring>

#include "import_codes.h"

TextImage::~TextImage() { Release(); }

void TextImage::Release() {
    std::free(lines_);
    std::free(data_);
    lines_ = nullptr;
    data_ = nullptr;
    size_ = 0;
    lineFeeds_ = 0;
}

int TextImage::Allocate(size_t size) {
    Release();
    if (size == static_cast<size_t>(-1)) return kImportNoMemory;
    // calloc: a large image comes as untouched zero pages, and the byte
    // after the file terminates the last line.
    data_ = static_cast<char*>(std::calloc(size + 1, 1));
    if (!data_) return kImportNoMemory;
    size_ = size;
    return 0;
}

int TextImage::SplitLines() {
    char* end = data_ + size_;
    size_t feeds = 0;
    for (char* p = data_; (p = static_cast<char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p) ++feeds;
    if (feeds >= static_cast<size_t>(-1) / sizeof(char*)) return kImportNoMemory;
    std::free(lines_);
    lines_ = static_cast<char**>(std::malloc((feeds + 1) * sizeof(char*)));
    if (!lines_) return kImportNoMemory;
    lineFeeds_ = feeds;
    size_t n = 0;
    char* start = data_;
    for (char* p = data_; (p = static_cast<char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p) {
        lines_[n++] = start;
        *p = '\0';
        if (p > start && p[-1] == '\r') p[-1] = '\0';
        start = p + 1;
    }
    lines_[n] = start;
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
    return image.SplitLines();
}
