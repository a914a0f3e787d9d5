#include "store_file.h"

#include <cstring>

bool FileHandle::Close() {
    if (!Valid()) return true;
    BOOL ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
}

HANDLE OpenPhonebookExclusive(const WCHAR* path) {
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool FileSize(HANDLE h, uint64_t* size) {
    DWORD high = 0;
    DWORD low = GetFileSize(h, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *size = (static_cast<uint64_t>(high) << 32) | low;
    return true;
}

bool SeekTo(HANDLE h, uint64_t pos) {
    LONG high = static_cast<LONG>(pos >> 32);
    DWORD low = SetFilePointer(h, static_cast<LONG>(pos & 0xffffffffu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool WriteAll(HANDLE h, const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
        DWORD chunk = n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
        DWORD written = 0;
        if (!WriteFile(h, p, chunk, &written, nullptr) || written != chunk) return false;
        p += written;
        n -= written;
    }
    return true;
}

WideString TempPathFor(const WCHAR* path) {
    WideString p(path, WideBoundedLen(path, 360));
    if (p.size() >= 4) p.resize(p.size() - 4);
    static const WCHAR kTmp[] = {'.', 'T', 'M', 'P', 0};
    p += kTmp;
    return p;
}

bool HandleSource::ReadAt(uint64_t pos, uint8_t* buf, size_t n, size_t* got) {
    *got = 0;
    if (pos != next_ && !SeekTo(h_, pos)) return false;
    next_ = UINT64_MAX;
    DWORD read = 0;
    if (!ReadFile(h_, buf, static_cast<DWORD>(n), &read, nullptr)) return false;
    *got = read;
    next_ = pos + read;
    return true;
}

bool BufferedWriter::Write(const void* data, size_t n) {
    if (failed_) return false;
    pending_.append(static_cast<const char*>(data), n);
    if (pending_.size() >= kChunk) return Flush();
    return true;
}

bool BufferedWriter::Flush() {
    if (failed_) return false;
    if (!pending_.empty() && !WriteAll(h_, pending_.data(), pending_.size())) failed_ = true;
    pending_.clear();
    return !failed_;
}

TempFile::TempFile(const WCHAR* targetPath)
    : tempPath_(TempPathFor(targetPath)), targetPath_(targetPath, WideBoundedLen(targetPath, 360)) {
    file_.Reset(Create());
    if (file_.Valid() || GetLastError() != ERROR_FILE_EXISTS) return;
    // Left by a change that never finished: never part of anything.
    SetFileAttributesW(tempPath_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(tempPath_.c_str());
    file_.Reset(Create());
}

HANDLE TempFile::Create() {
    return CreateFileW(tempPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TempFile::~TempFile() { Discard(); }

void TempFile::Discard() {
    if (!file_.Valid()) return;
    file_.Close();
    DeleteFileW(tempPath_.c_str());
}

DBResult TempFile::Commit() {
    if (!file_.Valid()) return DB_WRITE_FAILED;
    bool ok = FlushFileBuffers(file_.Get()) != FALSE;
    ok = file_.Close() && ok;
    // Write-through: the rename itself is on disk before this returns.
    if (ok) ok = MoveFileExW(tempPath_.c_str(), targetPath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) DeleteFileW(tempPath_.c_str());
    return ok ? DB_DONE : DB_WRITE_FAILED;
}
