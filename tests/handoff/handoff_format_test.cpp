// Hand-off records in both layouts, paths and command lines.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "handoff.h"

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

TEST(HandoffSizes, FileSizesOfThreeSpeedDialRecipients) {
    struct Case {
        HandoffLayout layout;
        int command;
        size_t fileSize;
    } cases[] = {
        {HandoffLayout::Standard, kImportDoneFull, 712},
        {HandoffLayout::Compact, kImportDoneFull, 554},
        {HandoffLayout::Standard, kImportDoneNames, 4 + 3 * 62},
        {HandoffLayout::Compact, kImportDoneNames, 2 + 3 * 62},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HandoffCountSize(c.layout) + 3 * HandoffRecordSize(c.layout, c.command), c.fileSize);
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
