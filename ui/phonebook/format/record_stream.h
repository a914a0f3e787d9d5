#pragma once
// Streams a phonebook through one work buffer and hands the visitor the
// bytes outside records, each complete record, and the damaged spots, in
// file order. A record is kept whole across reads; one that does not fit
// in the buffer stops the scan.

#include <cstddef>
#include <cstdint>

namespace kfd {

// Where the bytes come from: a file of the store or memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads up to n bytes at pos; false on a read error.
    virtual bool ReadAt(uint64_t pos, uint8_t* buf, size_t n, size_t* got) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t len) : data_(data), len_(len) {}
    uint64_t Size() const override { return len_; }
    bool ReadAt(uint64_t pos, uint8_t* buf, size_t n, size_t* got) override;

private:
    const uint8_t* data_;
    size_t len_;
};

enum class Step { Continue, Stop, Fail };

class RecordVisitor {
public:
    virtual ~RecordVisitor() = default;
    // Bytes outside any record (the header, anything between records).
    virtual Step Gap(uint64_t offset, const uint8_t* data, size_t len) = 0;
    // A whole record, from its marker to its 0x04.
    virtual Step Record(uint64_t offset, const uint8_t* rec, size_t len) = 0;
    // A marker whose record is cut off by the next marker: the bytes up to
    // that marker. Kept as they are by default.
    virtual Step Damaged(uint64_t offset, const uint8_t* data, size_t len) { return Gap(offset, data, len); }
    // A record begun but not ended before the end of the file (an append cut
    // short). Readers ignore it.
    virtual Step IncompleteTail(uint64_t, const uint8_t*, size_t) { return Step::Continue; }
};

enum class ScanResult {
    Done,      // the whole file was visited, or the visitor stopped
    Failed,    // the visitor failed
    TooLarge,  // a record larger than the buffer (offset in *where)
    ReadError,
};

// Scans the source from offset start with a work buffer of buf/cap bytes.
ScanResult ScanRecords(ByteSource& src, uint64_t start, uint8_t* buf, size_t cap, RecordVisitor& v,
                       uint64_t* where = nullptr);

}  // namespace kfd

namespace kfd {

// Where converted or copied bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when fewer bytes than asked were stored.
    virtual bool Write(const void* data, size_t n) = 0;
};

}  // namespace kfd
