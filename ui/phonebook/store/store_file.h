#pragma once
// The store's file handling over Win32: exclusive opens, whole writes,
// buffered output, and replacing a file through its temporary file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "db_result.h"
#include "record_stream.h"
#include "text_convert.h"
#include "windows.h"

// Owns a file handle; closes it unless released.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE Get() const { return h_; }
    void Reset(HANDLE h) {
        Close();
        h_ = h;
    }
    // Closes now; false when the close reports an error.
    bool Close();

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// Opens an existing phonebook for reading and writing, not shared.
HANDLE OpenPhonebookExclusive(const WCHAR* path);
bool FileSize(HANDLE h, uint64_t* size);
bool SeekTo(HANDLE h, uint64_t pos);
// Writes all n bytes; false when fewer were stored.
bool WriteAll(HANDLE h, const void* data, size_t n);

// The path with its last four characters replaced by ".TMP".
WideString TempPathFor(const WCHAR* path);

// Reads a file through ReadFile at given positions.
class HandleSource : public kfd::ByteSource {
public:
    HandleSource(HANDLE h, uint64_t size) : h_(h), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t pos, uint8_t* buf, size_t n, size_t* got) override;

private:
    HANDLE h_;
    uint64_t size_;
    // Where the file's pointer stands after our last read; a scan mostly
    // reads on from there, and then needs no seek.
    uint64_t next_ = UINT64_MAX;
};

// Collects output and writes it in large pieces; remembers the first failure.
class BufferedWriter : public kfd::ByteSink {
public:
    explicit BufferedWriter(HANDLE h) : h_(h) {}
    bool Write(const void* data, size_t n) override;
    bool Flush();
    bool Failed() const { return failed_; }

private:
    static constexpr size_t kChunk = 65536;
    HANDLE h_;
    std::string pending_;
    bool failed_ = false;
};

// The temporary file of a replace: created anew beside the target (a stale
// one left by an earlier crash is removed first), written, then made
// durable and put in place of the target in one step. Abandoned unless
// committed: the destructor removes it and the target stays as it was.
class TempFile {
public:
    // Creates the target's temporary file; Valid() tells whether it could be.
    explicit TempFile(const WCHAR* targetPath);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool Valid() const { return file_.Valid(); }
    HANDLE Get() const { return file_.Get(); }
    // Writes all n bytes; false when fewer were stored.
    bool Write(const void* data, size_t n) { return WriteAll(file_.Get(), data, n); }
    // Flushes, closes and renames the file over the target, which nobody may
    // hold open. Done, or 3 with the target untouched and the file removed.
    DBResult Commit();

private:
    HANDLE Create();
    void Discard();

    WideString tempPath_;
    WideString targetPath_;
    FileHandle file_;
};
