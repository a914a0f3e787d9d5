// Conversion of the older versions against hand-made files, and old files
// that do not follow the block structure.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "golden.h"
#include "old_format.h"

namespace {

using namespace kfd;

class AsciiFilter : public DuplicateFilter {
public:
    bool FirstTime(const std::string& name, const std::string& fax) override {
        std::string key = name + " <" + fax + ">";
        for (auto& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return seen_.insert(key).second;
    }

private:
    std::set<std::string> seen_;
};

class StringSink : public ByteSink {
public:
    std::string data;
    size_t limit = SIZE_MAX;
    bool Write(const void* p, size_t n) override {
        if (data.size() + n > limit) return false;
        data.append(static_cast<const char*>(p), n);
        return true;
    }
};

bool NoLeadBytes(uint8_t) { return false; }
bool HighLeadBytes(uint8_t b) { return b >= 0x81 && b <= 0xFE; }

ConvertResult Convert(const std::string& file, Version v, size_t cap, StringSink& out, ConvertStats* st = nullptr,
            LeadBytePredicate lead = NoLeadBytes) {
    MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    std::vector<uint8_t> buf(cap);
    AsciiFilter dups;
    return ConvertOldFile(src, v, buf.data(), cap, out, dups, lead, st);
}

TEST(ConvertOldFile, GoldenFilesOfBothVersions) {
    const std::string expected = ReadGolden("old_converted.KFD");
    ASSERT_FALSE(expected.empty());
    const struct {
        const char* file;
        Version v;
    } cases[] = {{"v1000.KFD", Version::V1000}, {"v0000.KFD", Version::V0000}};
    for (const auto& c : cases) {
        std::string old = ReadGolden(c.file);
        ASSERT_EQ(ClassifyMagic(reinterpret_cast<const uint8_t*>(old.data()), old.size()), c.v);
        // Buffers that hold the whole file, or one block at a time.
        for (size_t cap : {16384u, 140u}) {
            StringSink out;
            ConvertStats st;
            EXPECT_EQ(Convert(old, c.v, cap, out, &st), ConvertResult::Done) << c.file << " cap " << cap;
            EXPECT_EQ(out.data, expected) << c.file << " cap " << cap;
            EXPECT_EQ(st.groups, 2);
            EXPECT_EQ(st.members, 4);
            EXPECT_EQ(st.individuals, 3);
            EXPECT_EQ(st.damaged, 0);
        }
    }
}

TEST(ConvertOldFile, BlockLargerThanTheBufferIsNoMemory) {
    std::string old = ReadGolden("v1000.KFD");
    StringSink out;
    EXPECT_EQ(Convert(old, Version::V1000, 64, out), ConvertResult::BlockTooLarge);
}

TEST(ConvertOldFile, ShortWriteIsWriteFailure) {
    std::string old = ReadGolden("v0000.KFD");
    for (size_t limit : {0u, 35u, 60u, 200u}) {
        StringSink out;
        out.limit = limit;
        EXPECT_EQ(Convert(old, Version::V0000, 16384, out), ConvertResult::WriteFailed) << limit;
    }
}

std::string Old(const std::string& body) { return std::string(kMagic0000) + body; }

TEST(ConvertOldFile, BrokenStructureIsConvertedAsFarAsItGoes) {
    const struct {
        const char* what;
        std::string file;
        std::string expected;  // after the header
        int damaged;
    } cases[] = {
        {"count larger than the lines present", Old("{G}\n3\nA|1|||||0|0||0|0|||\n"),
         "\x01" "A\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03" "0\x03\x03\x03\x04"
         "\x02G\x03" "A\x03" "1\x03\x04",
         1},
        {"line cut short by the end of the file", Old("{G}\n1\nA|1|co"), "\x02G\x03\x04", 1},
        {"no end of the group name", Old("{G\n1\n"), "", 1},
        {"no blocks at all", Old("junk"), "", 0},
        {"count smaller than the lines", Old("{G}\n0\nA|1|||||0|0||0|0|||\n"), "\x02G\x03\x04", 0},
        {"control bytes inside fields are left out",
         Old("{G\x04}\n1\nA\x01|1|||||0|0||0|0|||\n"),
         "\x01" "A\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03" "0\x03\x03\x03\x04"
         "\x02G\x03" "A\x03" "1\x03\x04",
         0},
        {"over-long name is cut to 30 bytes", Old("{G}\n1\n" + std::string(40, 'n') + "|1|||||0|0||0|0|||\n"),
         "\x01" + std::string(30, 'n') + "\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03" "0\x03\x03\x03\x04"
         "\x02G\x03" + std::string(30, 'n') + "\x03" "1\x03\x04",
         0},
        // A line short of fields still gives a whole record, its missing fields empty.
        {"line short of fields after the memo", Old("{G}\n1\nA|1||||||\n"),
         "\x01" "A\x03" "1\x03\x03\x03\x03\x03" "\x03" "\x03\x03\x03\x03\x03\x03\x04"
         "\x02G\x03" "A\x03" "1\x03\x04",
         1},
        {"destinations counted but missing", Old("{G}\n1\nA|1|||||1|1|12|2|\n"),
         "\x01" "A\x03" "1\x03\x03\x03\x03\x03" "1\x03" "1\x03" "12\x03" "2\x03" "\x03\x03\x03\x03\x03\x04"
         "\x02G\x03" "A\x03" "1\x03\x04",
         1},
    };
    for (const auto& c : cases) {
        StringSink out;
        ConvertStats st;
        EXPECT_EQ(Convert(c.file, Version::V0000, 16384, out, &st), ConvertResult::Done) << c.what;
        EXPECT_EQ(out.data, std::string(kMagicCurrent) + "\n" + c.expected) << c.what;
        EXPECT_EQ(st.damaged, c.damaged) << c.what;
    }
}

TEST(ConvertOldFile, FieldsAfterTheMemoAreCutToTheirOwnSizes) {
    const struct {
        const char* what;
        std::string fields;    // after the memo, as in the old line
        std::string expected;  // the same fields in the converted record
        int mode;
        const char* mailbox;
        const char* password;
        const char* dests;
    } cases[] = {
        {"mailbox and comm mode too long", "0|0||0|12|1234|12345|",
         "0\x03" "0\x03\x03" "0\x03" "1\x03" "123\x03" "1234\x03", 1, "123", "1234", ""},
        {"station and a destination too long", "1|1|123|2|12345|abc|2|007|0000|",
         "1\x03" "1\x03" "12\x03" "2\x03" "123\x03" "abc\x03" "2\x03" "007\x03" "0000\x03", 2, "007", "0000",
         "123abc"},
        {"destination count beyond 20 is 20", "1|1|12|99|" + [] {
             std::string d;
             for (int i = 0; i < 20; ++i) d += "d" + std::to_string(10 + i) + "|";
             return d;
         }() + "0|1|2|",
         "1\x03" "1\x03" "12\x03" "20\x03" + [] {
             std::string d;
             for (int i = 0; i < 20; ++i) d += "d" + std::to_string(10 + i) + "\x03";
             return d;
         }() + "0\x03" "1\x03" "2\x03",
         0, "1", "2", nullptr},
    };
    for (const auto& c : cases) {
        StringSink out;
        ASSERT_EQ(Convert(Old("{G}\n1\nA|1|||||" + c.fields + "\n"), Version::V0000, 16384, out),
                  ConvertResult::Done)
            << c.what;
        const std::string head = std::string(kMagicCurrent) + "\n";
        const std::string rec = "\x01" "A\x03" "1\x03\x03\x03\x03\x03" + c.expected + "\x04";
        EXPECT_EQ(out.data.substr(0, head.size() + rec.size()), head + rec) << c.what;
        FaxRecipient r{};
        AnsiDetails d{};
        EXPECT_TRUE(DecodeEntry(reinterpret_cast<const uint8_t*>(rec.data()), rec.size(), r, d)) << c.what;
        EXPECT_EQ(r.comm.commMode, c.mode) << c.what;
        EXPECT_STREQ(r.comm.mailboxId, c.mailbox) << c.what;
        EXPECT_STREQ(r.comm.mailboxPassword, c.password) << c.what;
        if (c.dests) {
            EXPECT_EQ(std::string(r.comm.relayDests, std::strlen(c.dests)), c.dests) << c.what;
        }
    }
}

TEST(ConvertOldFile, DelimiterInsideADoubleByteCharacterIsText) {
    // 0x81 0x7C is one character whose second byte equals '|'; 0x95 0x7B
    // one whose second byte equals '{'; 0x83 0x5D one whose second byte is ']'.
    std::string file = Old("{G\x83]}\n1\nN\x95{\x81|x|1|||||0|0||0|0|||\n");
    StringSink dbcs;
    ASSERT_EQ(Convert(file, Version::V0000, 16384, dbcs, nullptr, HighLeadBytes), ConvertResult::Done);
    EXPECT_EQ(dbcs.data, std::string(kMagicCurrent) + "\n" +
                             "\x01N\x95{\x81|x\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03"
                             "0\x03\x03\x03\x04" "\x02G\x83]\x03N\x95{\x81|x\x03" "1\x03\x04");
    // In a single-byte code page the same bytes are delimiters.
    StringSink sbcs;
    EXPECT_EQ(Convert(file, Version::V0000, 16384, sbcs, nullptr, NoLeadBytes), ConvertResult::Done);
    EXPECT_NE(sbcs.data, dbcs.data);
}

}  // namespace

namespace {

class RecordCounter : public kfd::RecordVisitor {
public:
    int records = 0, damaged = 0;
    // A converted file holds nothing but its header outside records.
    kfd::Step Gap(uint64_t off, const uint8_t*, size_t) override {
        if (off >= kfd::kHeaderLen) ++damaged;
        return kfd::Step::Continue;
    }
    kfd::Step Record(uint64_t, const uint8_t*, size_t) override {
        ++records;
        return kfd::Step::Continue;
    }
    kfd::Step Damaged(uint64_t, const uint8_t*, size_t) override {
        ++damaged;
        return kfd::Step::Continue;
    }
    kfd::Step IncompleteTail(uint64_t, const uint8_t*, size_t) override {
        ++damaged;
        return kfd::Step::Continue;
    }
};

TEST(ConvertOldFile, ControlByteAfterALeadByteNeverReachesTheOutput) {
    // Version 1000 separates fields with 0x03; after a lead byte it is taken
    // as the second byte of a character, and must not land inside a field.
    std::string file = std::string(kfd::kMagic1000) + "\x01G\x02\n1\nN\x81\x04x\x03" "1\x03\x03\x03\x03\x03\n";
    StringSink out;
    ASSERT_EQ(Convert(file, kfd::Version::V1000, 16384, out, nullptr, HighLeadBytes), kfd::ConvertResult::Done);
    kfd::MemorySource src(reinterpret_cast<const uint8_t*>(out.data.data()), out.data.size());
    std::vector<uint8_t> buf(16384);
    RecordCounter count;
    ASSERT_EQ(kfd::ScanRecords(src, 0, buf.data(), buf.size(), count), kfd::ScanResult::Done);
    EXPECT_EQ(count.records, 2);  // the individual and its group
    EXPECT_EQ(count.damaged, 0);
}

}  // namespace
