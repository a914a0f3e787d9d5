// The hand-off file on disk: written exclusively, read back and removed.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "handoff_file.h"
#include "scratch_dir_test.h"

namespace {

using HandoffFileTest = ScratchDirTest;

std::vector<FaxRecipient> Three() {
    std::vector<FaxRecipient> v(3, DefaultRecipient);
    for (int i = 0; i < 3; ++i) {
        std::snprintf(v[i].name, sizeof v[i].name, "Nimi %d", i);
        std::snprintf(v[i].faxNumber, sizeof v[i].faxNumber, "%d", 100 + i);
        v[i].comm.speedDial = 1;
        v[i].comm.commMode = i;
    }
    return v;
}

TEST_F(HandoffFileTest, WrittenAndReadInEveryLayout) {
    struct Case {
        HandoffLayout layout;
        int command;
        size_t size;
    } cases[] = {
        {HandoffLayout::Standard, kImportDoneFull, 712},
        {HandoffLayout::Compact, kImportDoneFull, 554},
        {HandoffLayout::Standard, kImportDoneNames, 190},
        {HandoffLayout::Compact, kImportDoneNames, 188},
    };
    for (const auto& c : cases) {
        std::string path = Path("DB142530.TMP");
        auto in = Three();
        ASSERT_EQ(WriteRecipientImportFile(path.c_str(), c.layout, c.command, in.data(), in.size()),
                  HandoffWrite::Written);
        EXPECT_EQ(Get("DB142530.TMP").size(), c.size);
        FaxRecipient out[kMaxRecipients];
        ASSERT_EQ(ReadRecipientImportFile(path.c_str(), c.layout, c.command, out, kMaxRecipients), 3);
        EXPECT_FALSE(std::filesystem::exists(path));  // the reader removes it
        EXPECT_STREQ(out[2].name, "Nimi 2");
        EXPECT_STREQ(out[2].faxNumber, "102");
        EXPECT_EQ(out[2].comm.commMode, c.command == kImportDoneFull ? 2 : 0);
    }
}

// The compact count is 16 bits: a list it cannot count is not written.
TEST_F(HandoffFileTest, CompactCountLimit) {
    const std::vector<FaxRecipient> many(65536, DefaultRecipient);
    struct Case {
        HandoffLayout layout;
        size_t count;
        HandoffWrite result;
    } cases[] = {{HandoffLayout::Compact, 65535, HandoffWrite::Written},
                 {HandoffLayout::Compact, 65536, HandoffWrite::Failed},
                 {HandoffLayout::Standard, 65536, HandoffWrite::Written}};
    for (const auto& c : cases) {
        std::string path = Path("DB000002.TMP");
        std::remove(path.c_str());
        EXPECT_EQ(WriteRecipientImportFile(path.c_str(), c.layout, kImportDoneNames, many.data(), c.count), c.result)
            << c.count;
        EXPECT_EQ(std::filesystem::exists(path), c.result == HandoffWrite::Written) << c.count;
    }
}

TEST_F(HandoffFileTest, NeverWritesThroughSomethingAlreadyThere) {
    auto in = Three();
    std::string path = Path("DB000000.TMP");
    Put("DB000000.TMP", "someone else's");
    EXPECT_EQ(WriteRecipientImportFile(path.c_str(), HandoffLayout::Standard, kImportDoneNames, in.data(), 3),
              HandoffWrite::Clash);
    EXPECT_EQ(Get("DB000000.TMP"), "someone else's");

    std::string target = Path("precious");
    Put("precious", "keep");
    std::string link = Path("DB000001.TMP");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_NE(WriteRecipientImportFile(link.c_str(), HandoffLayout::Standard, kImportDoneNames, in.data(), 3),
              HandoffWrite::Written);
    EXPECT_EQ(Get("precious"), "keep");
}

TEST_F(HandoffFileTest, CountsThatLieAreCutToWhatIsThere) {
    std::string path = Path("DB1.TMP");
    struct Case {
        int32_t count;
        int records;
        int max;
        int expected;
    } cases[] = {{3, 3, 50, 3}, {1000, 3, 50, 3}, {60, 60, 50, 50}, {-5, 2, 50, 0}, {2, 1, 50, 1}, {0, 0, 50, 0}};
    for (const auto& c : cases) {
        std::string bytes(4, '\0');
        std::memcpy(&bytes[0], &c.count, 4);
        for (int i = 0; i < c.records; ++i) bytes += std::string(62, 'x');
        bytes += "tail";  // a partial record is not read
        Put("DB1.TMP", bytes);
        FaxRecipient out[60];
        EXPECT_EQ(ReadRecipientImportFile(path.c_str(), HandoffLayout::Standard, kImportDoneNames, out, c.max),
                  c.expected)
            << c.count;
        if (c.expected > 0) {
            EXPECT_EQ(std::strlen(out[0].name), 30u);
        }
    }
    FaxRecipient out[1];
    EXPECT_EQ(ReadRecipientImportFile(Path("missing").c_str(), HandoffLayout::Standard, kImportDoneNames, out, 1), -1);
}

TEST_F(HandoffFileTest, ChoosesANameThatIsFree) {
    SYSTEMTIME t{};
    t.wHour = 14;
    t.wMinute = 25;
    t.wSecond = 30;
    std::string root = dir + "/";
    EXPECT_EQ(ChooseHandoffPath(root, t), root + "DB142530.TMP");
    Put("DB142530.TMP", "x");
    Put("DB142530A.TMP", "x");
    EXPECT_EQ(ChooseHandoffPath(root, t), root + "DB142530B.TMP");
    for (char letter = 'B'; letter <= 'Z'; ++letter) Put(std::string("DB142530") + letter + ".TMP", "x");
    EXPECT_EQ(ChooseHandoffPath(root, t), "");  // the plain name and A-Z all taken
}

}  // namespace
