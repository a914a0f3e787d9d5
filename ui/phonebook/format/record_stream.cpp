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

ScanResult ScanRecords(ByteSource& src, uint64_t start, uint8_t* buf, size_t cap, RecordVisitor& v,
                       uint64_t* where) {
    uint64_t size = src.Size();
    uint64_t pos = start;
    while (pos < size) {
        uint64_t left = size - pos;
        size_t want = left < cap ? static_cast<size_t>(left) : cap;
        size_t n = 0;
        if (!src.ReadAt(pos, buf, want, &n)) return ScanResult::ReadError;
        if (n == 0) break;  // the file is shorter than it said
        bool atEnd = pos + n >= size || n < want;
        size_t i = 0;
        size_t consumed = n;
        while (i < n) {
            size_t j = i;
            while (j < n && !IsMarker(buf[j])) ++j;
            if (j > i) {
                Step s = v.Gap(pos + i, buf + i, j - i);
                if (s == Step::Stop) return ScanResult::Done;
                if (s == Step::Fail) return ScanResult::Failed;
            }
            if (j == n) {
                i = n;
                break;
            }
            size_t k = j + 1;
            while (k < n && buf[k] != kRecordEnd && !IsMarker(buf[k])) ++k;
            Step s;
            if (k < n && buf[k] == kRecordEnd) {
                s = v.Record(pos + j, buf + j, k - j + 1);
                i = k + 1;
            } else if (k < n) {
                s = v.Damaged(pos + j, buf + j, k - j);
                i = k;
            } else if (atEnd) {
                s = v.IncompleteTail(pos + j, buf + j, n - j);
                i = n;
            } else if (j == 0) {
                if (where) *where = pos;
                return ScanResult::TooLarge;
            } else {
                consumed = j;  // read again from this record's marker
                break;
            }
            if (s == Step::Stop) return ScanResult::Done;
            if (s == Step::Fail) return ScanResult::Failed;
        }
        pos += consumed;
        if (atEnd && consumed == n) break;
    }
    return ScanResult::Done;
}

}  // namespace kfd
