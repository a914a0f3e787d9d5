// The current-version reader: scan with a work buffer of a size chosen by
// the input, decode every individual, rewrite every group. Oracles: what
// the decoder reads writes back within every field's size, and a record
// once decoded re-encodes to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "entry_codec.h"
#include "kfd_format.h"
#include "record_stream.h"

namespace {

class Reader : public kfd::RecordVisitor {
public:
    kfd::Step Gap(uint64_t, const uint8_t*, size_t) override { return kfd::Step::Continue; }
    kfd::Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (rec[0] == kfd::kIndividual) {
            FaxRecipient r = DefaultRecipient;
            kfd::AnsiDetails d;
            kfd::DecodeEntry(rec, len, r, d);
            // Every text field must come back terminated inside its bound.
            if (!std::memchr(r.name, 0, sizeof r.name) || !std::memchr(d.memo, 0, sizeof d.memo) ||
                !std::memchr(r.comm.fCodePassword, 0, sizeof r.comm.fCodePassword) ||
                r.comm.relayDestCount < 0 || r.comm.relayDestCount > kMaxRelayDests)
                __builtin_trap();
            // What was read writes back as one well-formed record, every
            // field within its size, and reads back to the same bytes.
            std::string again;
            kfd::EncodeEntry(r, d, again);
            if (again.empty() || again.back() != '\x04' || again.find('\x04') != again.size() - 1) __builtin_trap();
            const uint8_t* a = reinterpret_cast<const uint8_t*>(again.data());
            if (!kfd::FieldsWithinSizes(a, again.size())) __builtin_trap();
            FaxRecipient r2 = DefaultRecipient;
            kfd::AnsiDetails d2;
            if (!kfd::DecodeEntry(a, again.size(), r2, d2)) __builtin_trap();
            std::string third;
            kfd::EncodeEntry(r2, d2, third);
            if (third != again) __builtin_trap();
            // The same record through the wide-character records of the dialogs.
            FaxRecipient wr = DefaultRecipient;
            EntryDetails wd;
            DBDecodeEntry(rec, len, wr, wd);
            if (wd.memo[254] != 0 || wd.name[30] != 0) __builtin_trap();
            // One key form for sets of keys: equal forms exactly for keys the store takes for one.
            kfd::Field n, x;
            kfd::RecordKey(rec, len, n, x);
            if (kfd::KeyEquals(n.data, n.len, x.data, x.len) != (kfd::FoldKey(n.data, n.len) == kfd::FoldKey(x.data, x.len)))
                __builtin_trap();
        } else {
            std::string out;
            kfd::RewriteGroupMembers(rec, len, "a", "1", "b", "2", out);
            out.clear();
            kfd::RewriteGroupMembers(rec, len, "a", "1", nullptr, nullptr, out);
        }
        std::string text = kfd::RecordListTextAnsi(rec, len);
        if (text.size() > kfd::kListTextAnsiMax) __builtin_trap();
        WCHAR wide[kListTextChars];
        DBRecordListText(rec, len, wide);
        return kfd::Step::Continue;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t cap = 8 + data[0] * 64;  // small buffers exercise the refills
    kfd::MemorySource src(data + 1, size - 1);
    std::vector<uint8_t> buf(cap);
    Reader v;
    kfd::ScanRecords(src, 0, buf.data(), cap, v);
    return 0;
}
