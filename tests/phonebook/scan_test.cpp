// The scan through a small work buffer must see exactly the records a
// whole-file scan sees, whatever the buffer size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kfd_format.h"
#include "record_stream.h"

namespace {

using namespace kfd;

struct Event {
    char kind;  // g gap, r record, d damaged, t tail
    uint64_t offset;
    std::string bytes;
    bool operator==(const Event& o) const { return kind == o.kind && offset == o.offset && bytes == o.bytes; }
};

class Recorder : public RecordVisitor {
public:
    std::vector<Event> events;
    Step Gap(uint64_t off, const uint8_t* d, size_t n) override { return Add('g', off, d, n); }
    Step Record(uint64_t off, const uint8_t* d, size_t n) override { return Add('r', off, d, n); }
    Step Damaged(uint64_t off, const uint8_t* d, size_t n) override { return Add('d', off, d, n); }
    Step IncompleteTail(uint64_t off, const uint8_t* d, size_t n) override { return Add('t', off, d, n); }
    // Gaps may arrive in pieces; join neighbours so that runs compare equal.
    std::vector<Event> Joined() const {
        std::vector<Event> out;
        for (const auto& e : events) {
            if (!out.empty() && e.kind == 'g' && out.back().kind == 'g' &&
                out.back().offset + out.back().bytes.size() == e.offset)
                out.back().bytes += e.bytes;
            else
                out.push_back(e);
        }
        return out;
    }

private:
    Step Add(char k, uint64_t off, const uint8_t* d, size_t n) {
        events.push_back({k, off, std::string(reinterpret_cast<const char*>(d), n)});
        return Step::Continue;
    }
};

ScanResult Scan(const std::string& file, size_t cap, Recorder& r) {
    MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    std::vector<uint8_t> buf(cap);
    return ScanRecords(src, 0, buf.data(), cap, r);
}

const std::string kHead = std::string(kMagicCurrent) + "\n";
const std::string kA = "\x01" "A\x03" "1\x03\x04";
const std::string kG = "\x02G\x03" "A\x03" "1\x03\x04";

TEST(ScanRecords, SameEventsForEveryBufferSize) {
    const struct {
        const char* what;
        std::string file;
        std::vector<Event> expected;
    } cases[] = {
        {"empty phonebook", kHead, {{'g', 0, kHead}}},
        {"records with bytes between",
         kHead + kA + "xy" + kG,
         {{'g', 0, kHead}, {'r', 35, kA}, {'g', 35 + kA.size(), "xy"}, {'r', 37 + kA.size(), kG}}},
        {"append cut short",
         kHead + kA + "\x01" "B\x03",
         {{'g', 0, kHead}, {'r', 35, kA}, {'t', 35 + kA.size(), "\x01" "B\x03"}}},
        {"record cut off by the next marker",
         kHead + "\x01" "B\x03" + kA,
         {{'g', 0, kHead}, {'d', 35, "\x01" "B\x03"}, {'r', 38, kA}}},
        {"end marker without a record", kHead + "\x04" + kA, {{'g', 0, kHead + "\x04"}, {'r', 36, kA}}},
    };
    for (const auto& c : cases) {
        for (size_t cap : {16u, 17u, 40u, 64u, 16384u}) {
            Recorder r;
            ASSERT_EQ(Scan(c.file, cap, r), ScanResult::Done) << c.what << " cap " << cap;
            EXPECT_EQ(r.Joined(), c.expected) << c.what << " cap " << cap;
        }
    }
}

TEST(ScanRecords, RecordLargerThanTheBufferIsRefused) {
    std::string big = "\x01" + std::string(100, 'x') + "\x03\x04";
    Recorder r;
    std::string file = kHead + kA + big + kA;
    MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    std::vector<uint8_t> buf(64);
    uint64_t where = 0;
    EXPECT_EQ(ScanRecords(src, 0, buf.data(), buf.size(), r, &where), ScanResult::TooLarge);
    EXPECT_EQ(where, 35 + kA.size());
    // The same file in a buffer that holds the record scans whole.
    Recorder whole;
    EXPECT_EQ(Scan(file, 16384, whole), ScanResult::Done);
    EXPECT_EQ(whole.Joined().size(), 4u);
}

TEST(ScanRecords, VisitorCanStopAndFail) {
    class StopAtFirst : public RecordVisitor {
    public:
        Step result;
        int records = 0;
        explicit StopAtFirst(Step s) : result(s) {}
        Step Gap(uint64_t, const uint8_t*, size_t) override { return Step::Continue; }
        Step Record(uint64_t, const uint8_t*, size_t) override {
            ++records;
            return result;
        }
    };
    std::string file = kHead + kA + kA;
    MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    std::vector<uint8_t> buf(64);
    StopAtFirst stop(Step::Stop), fail(Step::Fail);
    EXPECT_EQ(ScanRecords(src, 0, buf.data(), buf.size(), stop), ScanResult::Done);
    EXPECT_EQ(stop.records, 1);
    EXPECT_EQ(ScanRecords(src, 0, buf.data(), buf.size(), fail), ScanResult::Failed);
}

}  // namespace
