#include "record_stream.h"

#include <cstring>

#include "kfd_format.h"

namespace kfd {

bool MemorySource::ReadAt(uint64_t pos, uint8_t* buf, size_t n, size_t* got) {
    if (pos >= len_) {
        *got = 0;
        return true;
    }
    size_t avail = len_ - static_cast<size_t>(pos);
    *got = n < avail ? n : avail;
    std::memcpy(buf, data_ + pos, *got);
    return true;
}

namespace {

// Position of the first b in [from, to), or to.
size_t FindByte(const uint8_t* buf, size_t from, size_t to, uint8_t b) {
    if (from >= to) return to;
    const void* p = std::memchr(buf + from, b, to - from);
    return p ? static_cast<size_t>(static_cast<const uint8_t*>(p) - buf) : to;
}

// Position of the first record marker in [from, to), or to.
size_t FindMarker(const uint8_t* buf, size_t from, size_t to) {
    size_t individual = FindByte(buf, from, to, kIndividual);
    return FindByte(buf, from, individual, kGroup);
}

}  // namespace

ScanResult ScanRecords(ByteSource& src, uint64_t start, uint8_t* buf, size_t cap, RecordVisitor& v,
                       uint64_t* where) {
    uint64_t size = src.Size();
    uint64_t pos = start;  // file offset of buf[0]
    size_t kept = 0;       // bytes of a begun record carried to the front of buf
    while (pos + kept < size) {
        uint64_t left = size - pos - kept;
        size_t want = left < cap - kept ? static_cast<size_t>(left) : cap - kept;
        size_t got = 0;
        if (!src.ReadAt(pos + kept, buf + kept, want, &got)) return ScanResult::ReadError;
        if (got == 0) break;  // the file is shorter than it said
        size_t n = kept + got;
        bool atEnd = pos + n >= size || got < want;
        size_t i = 0;
        size_t consumed = n;
        while (i < n) {
            size_t j = IsMarker(buf[i]) ? i : FindMarker(buf, i, n);
            if (j > i) {
                Step s = v.Gap(pos + i, buf + i, j - i);
                if (s == Step::Stop) return ScanResult::Done;
                if (s == Step::Fail) return ScanResult::Failed;
            }
            if (j == n) {
                i = n;
                break;
            }
            size_t end = FindByte(buf, j + 1, n, kRecordEnd);
            size_t k = FindMarker(buf, j + 1, end);  // a marker before the end cuts the record off
            Step s;
            if (k < end) {
                s = v.Damaged(pos + j, buf + j, k - j);
                i = k;
            } else if (end < n) {
                s = v.Record(pos + j, buf + j, end - j + 1);
                i = end + 1;
            } else if (atEnd) {
                s = v.IncompleteTail(pos + j, buf + j, n - j);
                i = n;
            } else if (j == 0) {
                if (where) *where = pos;
                return ScanResult::TooLarge;
            } else {
                consumed = j;  // the record goes on in the next read
                break;
            }
            if (s == Step::Stop) return ScanResult::Done;
            if (s == Step::Fail) return ScanResult::Failed;
        }
        // The begun record moves to the front; the file is read on where it
        // stopped, so every byte is read once.
        kept = n - consumed;
        if (kept) std::memmove(buf, buf + consumed, kept);
        pos += consumed;
        if (atEnd && kept == 0) break;
    }
    return ScanResult::Done;
}

}  // namespace kfd
