// The older-version converter, in single- and double-byte code pages; its
// output must read back as a current-version phonebook, every field within
// its size, every record whole (the file's own check), even where the old
// lines were damaged.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "kfd_format.h"
#include "old_format.h"
#include "record_stream.h"

namespace {

class Filter : public kfd::DuplicateFilter {
public:
    bool FirstTime(const std::string& name, const std::string& fax) override {
        return seen_.insert(name + '\n' + fax).second;
    }

private:
    std::set<std::string> seen_;
};

class Sink : public kfd::ByteSink {
public:
    std::string data;
    bool Write(const void* p, size_t n) override {
        data.append(static_cast<const char*>(p), n);
        return true;
    }
};

class Check : public kfd::RecordVisitor {
public:
    kfd::Step Gap(uint64_t off, const uint8_t*, size_t) override {
        // Nothing but the header lies outside records in a converted file.
        if (off >= kfd::kHeaderLen) __builtin_trap();
        return kfd::Step::Continue;
    }
    kfd::Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (!kfd::FieldsWithinSizes(rec, len)) __builtin_trap();
        if (rec[0] == kfd::kIndividual) {
            FaxRecipient r = DefaultRecipient;
            kfd::AnsiDetails d;
            if (!kfd::DecodeEntry(rec, len, r, d)) __builtin_trap();
        } else {
            size_t pos = 1, fields = 0;
            kfd::Field f;
            while (kfd::NextField(rec, len, pos, f)) ++fields;
            if (fields % 2 == 0) __builtin_trap();  // a member reference cut in half
        }
        return kfd::Step::Continue;
    }
    kfd::Step Damaged(uint64_t, const uint8_t*, size_t) override { __builtin_trap(); }
    kfd::Step IncompleteTail(uint64_t, const uint8_t*, size_t) override { __builtin_trap(); }
};

bool NoLead(uint8_t) { return false; }
bool HighLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    uint8_t mode = data[0];
    kfd::Version v = (mode & 1) ? kfd::Version::V1000 : kfd::Version::V0000;
    kfd::LeadBytePredicate lead = (mode & 2) ? HighLead : NoLead;
    size_t cap = 16 + (mode >> 2) * 256;
    std::string file(v == kfd::Version::V1000 ? kfd::kMagic1000 : kfd::kMagic0000);
    file.append(reinterpret_cast<const char*>(data + 1), size - 1);
    kfd::MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    std::vector<uint8_t> buf(cap);
    Filter dups;
    Sink out;
    if (kfd::ConvertOldFile(src, v, buf.data(), cap, out, dups, lead) != kfd::ConvertResult::Done) return 0;
    kfd::MemorySource converted(reinterpret_cast<const uint8_t*>(out.data.data()), out.data.size());
    std::vector<uint8_t> big(kfd::kWorkBufferSize);
    Check check;
    kfd::ScanRecords(converted, 0, big.data(), big.size(), check);
    return 0;
}
