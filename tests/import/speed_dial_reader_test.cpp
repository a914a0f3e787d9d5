// The speed-dial export: header check, record rules and the texts kept for
// the hand-off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import_fixture.h"
#include "speed_dial_reader.h"

namespace {

struct SpeedDialRun {
    int rc = 0;
    std::vector<std::string> keys;
    int rejected = 0;
};

SpeedDialRun ReadText(const std::string& text, SpeedDialCandidates& c) {
    TextImage image;
    SpeedDialRun run;
    run.rc = LoadTextImage(text.data(), text.size(), image);
    if (run.rc == 0) run.rc = ReadSpeedDialLines(image, c);
    run.keys = c.speedDialKeys;
    run.rejected = static_cast<int>(c.rejected.size());
    return run;
}

TEST(SpeedDialFile, HeaderCheck) {
    struct Case {
        const char* header;
        int rc;
    } cases[] = {
        {"*,1,0,1", 0},
        {"*, 1 , 0 ,1 ,anything,else,more", 0},
        {"\r\n\r\n*,1,0,1", 0},
        {" *,1,0,1", kImportBadSpeedDialHeader},
        {"*,1,0", kImportBadSpeedDialHeader},
        {"*,1,1,1", kImportBadSpeedDialHeader},
        {"\"*\",\"1\",\"0\",\"1\"", 0},
        {"*,\"1,0,1", kImportBadCsv},
        {"Nimi,Faksi", kImportBadSpeedDialHeader},
    };
    for (const auto& c : cases) {
        SpeedDialCandidates cands;
        std::string text = std::string(c.header) + "\n";
        EXPECT_EQ(ReadText(text, cands).rc, c.rc) << c.header;
    }
}

TEST(SpeedDialFile, RecordRules) {
    using Keys = std::vector<std::string>;
    struct Case {
        const char* data;
        int rc;
        Keys keys;
        int rejected;
    } cases[] = {
        {"1,N,123,A\n", 0, {"1"}, 0},
        {" 7 ,N,123,A\n", 0, {"7"}, 0},
        {"1,I,123,A\n2, I,123,B\n", 0, {"2"}, 1},
        {"  ,N,123,A\n", 0, {}, 1},
        {"1,N,   ,A\n", 0, {}, 1},
        {"1\n1,N\n", 0, {}, 2},
        {"1,N,123\n", 0, {"1"}, 0},
        {"1,N,1\n*\n2,N,2\n", 0, {"1"}, 0},
        {"1,N,1\n* \n2,N,2\n", 0, {"1", "2"}, 1},
        {"1,N,1\n\n\n2,N,2", 0, {"1", "2"}, 0},  // the last line counts without its line feed
        {"1,N,1\n2,N,\"2\n", kImportBadCsv, {}, 0},
    };
    for (const auto& c : cases) {
        SpeedDialCandidates cands;
        SpeedDialRun run = ReadText(std::string("*,1,0,1\n") + c.data, cands);
        EXPECT_EQ(run.rc, c.rc) << c.data;
        EXPECT_EQ(run.keys, c.keys) << c.data;
        EXPECT_EQ(run.rejected, c.rejected) << c.data;
        EXPECT_EQ(cands.records.size(), cands.fCodeTexts.size());
    }
}

TEST(SpeedDialFile, ShortLinesHaveNoTextsOfEarlierLines) {
    SpeedDialCandidates c;
    ReadText("*,1,0,1\n"
             "1,N,1,A,,,4,,,,,S1,R1,,F1\n"
             "2,N,2,B,,,x,,,,\n"
             "3,N,3,C,,,,,,,,S3\n"
             "4,N,4,D,,,,,,,,S4,R4,x\n",
             c);
    ASSERT_EQ(c.Count(), 4u);
    EXPECT_EQ(c.secureTexts, (std::vector<std::string>{"S1", "", "S3", "S4"}));
    EXPECT_EQ(c.relayTexts, (std::vector<std::string>{"R1", "", "", "R4"}));
    EXPECT_EQ(c.fCodeTexts, (std::vector<std::string>{"F1", "", "", ""}));
    EXPECT_EQ(c.commModeTexts, (std::vector<std::string>{"4", "x", "", ""}));
    EXPECT_EQ(c.records[0].comm.commMode, 2);
    EXPECT_EQ(c.records[1].comm.commMode, 0);
}

TEST(SpeedDialFile, ExportAsWrittenByThePrinter) {
    TextImage image;
    ASSERT_EQ(LoadTextImage(DataFile("lyhytvalinnat.csv").c_str(), image), 0);
    SpeedDialCandidates c;
    ASSERT_EQ(ReadSpeedDialLines(image, c), 0);
    EXPECT_EQ(c.speedDialKeys, (std::vector<std::string>{"1", "2", "4", "10"}));
    EXPECT_EQ(c.rejected.size(), 2u);

    struct Expected {
        const char* name;
        const char* fax;
        int mode;
        char option;
        const char* mailbox;
        const char* password;
        const char* station;
        int dests;
        const char* fCode;
    } expected[] = {
        {"P\xE4\xE4konttori (HKI)", "091234567", 1, '4', "12", "4321", "", 0, "7"},
        {"Varasto", "0401234567", 2, '1', "", "", "12", 3, ""},
        {"V\xE4lily\xF6nti ennen I", "09555000", 0, '0', "", "", "", 0, ""},
        {"Jatko ja lokero", "09888999", 1, '1', "200", "12", "12", 2, "34"},
    };
    for (size_t i = 0; i < c.Count(); ++i) {
        FaxRecipient r = c.Completed(i);
        const Expected& e = expected[i];
        EXPECT_STREQ(r.name, e.name);
        EXPECT_STREQ(r.faxNumber, e.fax);
        EXPECT_EQ(r.comm.commMode, e.mode) << e.name;
        EXPECT_EQ(r.comm.commOption, e.option) << e.name;
        EXPECT_STREQ(r.comm.mailboxId, e.mailbox) << e.name;
        EXPECT_STREQ(r.comm.mailboxPassword, e.password) << e.name;
        EXPECT_STREQ(r.comm.relayStationId, e.station) << e.name;
        EXPECT_EQ(r.comm.relayDestCount, e.dests) << e.name;
        EXPECT_STREQ(r.comm.fCode, e.fCode) << e.name;
        EXPECT_EQ(r.comm.speedDial, 0);
    }
    EXPECT_EQ(std::string(c.Completed(3).comm.relayDests, 6), "0070#5");
}

}  // namespace
