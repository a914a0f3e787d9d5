// Hand-off files and records in both layouts, paths and command lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "handoff_file.h"

namespace {

FaxRecipient SpeedDialRecipient() {
    FaxRecipient r = DefaultRecipient;
    std::strcpy(r.name, "Varasto");
    std::strcpy(r.faxNumber, "17");
    r.comm.speedDial = 1;
    r.comm.commMode = 2;
    r.comm.commOption = '1';
    std::strcpy(r.comm.relayStationId, "9");
    r.comm.relayPrint = '1';
    r.comm.relayDestCount = 2;
    std::memcpy(r.comm.relayDests, "0010#2", 6);
    std::strcpy(r.comm.mailboxId, "12");
    std::strcpy(r.comm.mailboxPassword, "4321");
    std::strcpy(r.comm.fCode, "123");
    std::strcpy(r.comm.fCodePassword, "#*1");
    return r;
}

// Bytes written out by hand: a text NUL-padded to its field, a number
// little-endian in 'width' bytes.
std::string Text(const char* text, size_t field) {
    std::string bytes(text);
    bytes.resize(field, '\0');
    return bytes;
}
std::string Le(uint32_t value, size_t width) {
    std::string bytes;
    for (size_t i = 0; i < width; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

TEST(HandoffSizes, FileOfThreeSpeedDialRecipientsByteForByte) {
    const std::string names = Text("Varasto", 31) + Text("17", 31);
    const std::string full = names + Le(0, 2) + Le(2, 4) + "1" + Text("12", 4) + Text("4321", 5) + Le(0, 2) +
                             Text("9", 3) + "1" + Le(2, 4) + Text("0010#2", 100) + Le(1, 4) + Text("123", 21) +
                             Text("#*1", 21) + Le(0, 2);
    const std::string compact = names + Le(2, 2) + "1" + Text("12", 4) + Text("4321", 5) + Text("9", 3) + "1" +
                                Le(2, 2) + Text("0010#2", 60) + Le(0, 2) + Text("123", 21) + Text("#*1", 21);
    struct Case {
        HandoffLayout layout;
        int command;
        std::string count, record;
        size_t fileSize;
    } cases[] = {
        {HandoffLayout::Standard, kImportDoneFull, Le(3, 4), full, 712},
        {HandoffLayout::Compact, kImportDoneFull, Le(3, 2), compact, 554},
        {HandoffLayout::Standard, kImportDoneNames, Le(3, 4), names, 4 + 3 * 62},
        {HandoffLayout::Compact, kImportDoneNames, Le(3, 2), names, 2 + 3 * 62},
    };
    const std::string path = ::testing::TempDir() + "DB000001.TMP";
    const FaxRecipient three[3] = {SpeedDialRecipient(), SpeedDialRecipient(), SpeedDialRecipient()};
    for (const auto& c : cases) {
        std::remove(path.c_str());
        ASSERT_EQ(WriteRecipientImportFile(path.c_str(), c.layout, c.command, three, 3), HandoffWrite::Written);
        std::ifstream in(path, std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(file.size(), c.fileSize);
        EXPECT_EQ(file, c.count + c.record + c.record + c.record) << c.command;
    }
    std::remove(path.c_str());
}

TEST(HandoffRecords, CompactBytesAtTheirOffsets) {
    uint8_t rec[184];
    EncodeHandoffRecord(HandoffLayout::Compact, kImportDoneFull, SpeedDialRecipient(), rec);
    EXPECT_STREQ(reinterpret_cast<char*>(rec), "Varasto");
    EXPECT_STREQ(reinterpret_cast<char*>(rec + 31), "17");
    EXPECT_EQ(rec[62], 2);
    EXPECT_EQ(rec[63], 0);
    EXPECT_EQ(rec[64], '1');
    EXPECT_STREQ(reinterpret_cast<char*>(rec + 65), "12");
    EXPECT_STREQ(reinterpret_cast<char*>(rec + 69), "4321");
    EXPECT_STREQ(reinterpret_cast<char*>(rec + 74), "9");
    EXPECT_EQ(rec[77], '1');
    EXPECT_EQ(rec[78], 2);
    EXPECT_EQ(rec[79], 0);
    EXPECT_EQ(std::memcmp(rec + 80, "0010#2", 6), 0);
    EXPECT_EQ(rec[140], 0);
    EXPECT_EQ(rec[141], 0);
    EXPECT_STREQ(reinterpret_cast<char*>(rec + 142), "123");
    EXPECT_STREQ(reinterpret_cast<char*>(rec + 163), "#*1");
}

TEST(HandoffRecords, RoundTripInEveryLayout) {
    const FaxRecipient in = SpeedDialRecipient();
    struct Case {
        HandoffLayout layout;
        int command;
        bool keepsComm;
        int speedDial;
    } cases[] = {
        {HandoffLayout::Standard, kImportDoneFull, true, 1},
        {HandoffLayout::Compact, kImportDoneFull, true, 0},  // compact records carry no speedDial
        {HandoffLayout::Standard, kImportDoneNames, false, 0},
        {HandoffLayout::Compact, kImportDoneNames, false, 0},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> rec(HandoffRecordSize(c.layout, c.command));
        EncodeHandoffRecord(c.layout, c.command, in, rec.data());
        FaxRecipient out = DecodeHandoffRecord(c.layout, c.command, rec.data());
        EXPECT_STREQ(out.name, "Varasto");
        EXPECT_STREQ(out.faxNumber, "17");
        EXPECT_EQ(out.comm.speedDial, c.speedDial);
        if (c.keepsComm) {
            EXPECT_EQ(out.comm.commMode, 2);
            EXPECT_EQ(out.comm.relayDestCount, 2);
            EXPECT_STREQ(out.comm.fCodePassword, "#*1");
        } else {
            // A 62-byte record over DefaultRecipient leaves the defaults.
            EXPECT_EQ(out.comm.commMode, 0);
            EXPECT_EQ(out.comm.commOption, '0');
            EXPECT_EQ(out.comm.relayPrint, '0');
            EXPECT_EQ(out.comm.relayDestCount, 0);
        }
    }
}

TEST(HandoffRecords, HostileRecordIsBoundedAndClamped) {
    std::vector<uint8_t> rec(236, 'X');
    FaxRecipient out = DecodeHandoffRecord(HandoffLayout::Standard, kImportDoneFull, rec.data());
    EXPECT_EQ(std::strlen(out.name), 30u);
    EXPECT_EQ(std::strlen(out.faxNumber), 30u);
    EXPECT_EQ(std::strlen(out.comm.fCode), 20u);
    EXPECT_EQ(out.comm.relayDestCount, 20);
    std::vector<uint8_t> compact(184, 0xFF);
    out = DecodeHandoffRecord(HandoffLayout::Compact, kImportDoneFull, compact.data());
    EXPECT_EQ(out.comm.relayDestCount, 20);
    EXPECT_EQ(out.name[30], 0);
}

TEST(HandoffPath, RootAndName) {
    struct Case {
        const char* windowsDir;
        const char* root;
    } cases[] = {
        {"C:\\WINNT", "C:\\"},
        {"d:\\Windows\\", "d:\\"},
        {"", "C:\\"},
        {nullptr, "C:\\"},
        {"/home/u/.fax/windows", "/home/u/.fax/windows/"},
        {"/srv/win/", "/srv/win/"},
        {"\\\\server\\share\\win", "\\\\server\\share\\win\\"},
        {"/home/u/fax data/windows", "/home/u/"},
        {"/home/u/fax/win dows/", "/home/u/fax/"},
        {"/a b/windows", "/"},
        {"\\\\server\\my share\\win", "\\\\server\\"},
        {"rel dir/win", "C:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(HandoffRootFor(c.windowsDir), c.root) << (c.windowsDir ? c.windowsDir : "null");
    EXPECT_EQ(HandoffPath("C:\\", 14, 25, 30, 0), "C:\\DB142530.TMP");
    EXPECT_EQ(HandoffPath("C:\\", 9, 5, 3, 0), "C:\\DB090503.TMP");
    EXPECT_EQ(HandoffPath("C:\\", 9, 5, 3, 2), "C:\\DB090503B.TMP");
}

TEST(ImportCommandLine, ProgramBlankPathWithinTheBound) {
    EXPECT_EQ(ImportCommandLine("C:\\DRV\\rcpimport.EXE", "C:\\DB142530.TMP"),
              "C:\\DRV\\rcpimport.EXE C:\\DB142530.TMP");
    std::string longProgram(272 - 16, 'p');
    EXPECT_EQ(ImportCommandLine(longProgram, "C:\\DB142530.TMP").size(), 272u);
    EXPECT_EQ(ImportCommandLine(longProgram + "p", "C:\\DB142530.TMP"), "");
    EXPECT_EQ(ImportCommandLine("", "C:\\DB142530.TMP"), "");
    EXPECT_EQ(ImportCommandLine("C:\\DRV\\rcpimport.EXE", "C:\\My Dir\\DB142530.TMP"), "");

    EXPECT_EQ(HandoffPathFromArguments("C:\\DB142530.TMP"), "C:\\DB142530.TMP");
    EXPECT_EQ(HandoffPathFromArguments("C:\\DB142530.TMP extra"), "C:\\DB142530.TMP");
    EXPECT_EQ(HandoffPathFromArguments(""), "");
    EXPECT_EQ(HandoffPathFromArguments(std::string(272, 'a').c_str()), std::string(272, 'a'));
    EXPECT_EQ(HandoffPathFromArguments(std::string(273, 'a').c_str()), "");
}

}  // namespace
