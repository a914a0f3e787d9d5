// Reading a contact file through the system's file calls.
#include "import_codes.h"
#include "text_image.h"
#include "windows.h"

namespace {

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

}  // namespace

int LoadTextImage(const char* path, TextImage& image) {
    FileHandle file{CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return kImportCannotOpen;
    DWORD high = 0;
    DWORD low = GetFileSize(file.h, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return kImportNoSize;
    unsigned long long size = (static_cast<unsigned long long>(high) << 32) | low;
    if (size >= static_cast<size_t>(-1)) return kImportNoMemory;
    // The system's zero-filled block: for a large file it comes as large
    // pages, which a heap block of that size does not.
    char* data = static_cast<char*>(GlobalAlloc(GPTR, static_cast<size_t>(size) + 1));
    if (!data) return kImportNoMemory;
    image.Adopt(data, static_cast<size_t>(size), [](char* block) { GlobalFree(block); });
    constexpr size_t kChunk = 256 * 1024;
    size_t done = 0;
    while (done < image.Size()) {
        size_t want = image.Size() - done;
        DWORD chunk = static_cast<DWORD>(want > kChunk ? kChunk : want);
        DWORD got = 0;
        if (!ReadFile(file.h, image.Data() + done, chunk, &got, nullptr) || got == 0) break;
        done += got;
    }
    if (done == 0) {
        image.Release();
        return kImportEmpty;
    }
    // A file that shrank while being read ends where the reading ended.
    image.Truncate(done);
    image.Decode();
    int rc = image.SplitLines();
    if (rc != 0) image.Release();
    return rc;
}
