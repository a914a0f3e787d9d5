// Damaged or hostile settings images: text that would break out of its PJL
// line, stored values outside their limits, unterminated fixed fields.

#include <gtest/gtest.h>

#include <ostream>
#include <climits>
#include <cstring>
#include <functional>

#include "faxnum.h"
#include "render_fixture.h"

namespace {

// Every line the module writes starts with @PJL and nothing else does.
void ExpectOnlyPjlLines(const std::string& header) {
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "unterminated last line";
        std::string line = header.substr(start, end - start);
        EXPECT_EQ(line.rfind("@PJL ", 0), 0u) << "line: " << line;
        size_t cr = line.find('\r');
        EXPECT_TRUE(cr == std::string::npos || cr == line.size() - 1) << "line: " << line;
        start = end + 1;
    }
}

void FillField(char* field, size_t size, char c) { std::memset(field, c, size); }

struct TextCase {
    const char* name;
    std::function<void(RenderHost&)> setup;
    const char* expectedLine;  // must appear whole in the header
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

const char kInjection[] = "x\"\r\n@PJL SET HOLD=STORE\x01\x7F";

const TextCase kTexts[] = {
    {"AccountQuoteAndNewline",
     [](RenderHost& h) { std::strcpy(h.sub().accountUser, kInjection); },
     "@PJL JOBINFO ACCTUSER=\"@x@PJL SET HOLD=STORE\"\r\n"},
    {"ClientId",
     [](RenderHost& h) {
         h.settings().jobMonitor = 1;
         std::strcpy(h.ds().clientId, kInjection);
     },
     "@PJL JOBINFO JOBCLIENTID = x@PJL SET HOLD=STORE\r\n"},
    {"UserName",
     [](RenderHost& h) {
         h.settings().jobType = 1;
         std::strcpy(h.ds().printUserId, "a\"\nb");
     },
     "@PJL SET USERNAME=\"ab\"\r\n"},
    {"Password",
     [](RenderHost& h) {
         h.settings().jobType = 1;
         std::strcpy(h.ds().printPassword, "1\"\r4");
     },
     "@PJL SET HOLDKEY=\"14\"\r\n"},
    {"HeldDocName",
     [](RenderHost& h) {
         h.settings().jobType = 2;
         std::strcpy(h.ds().printDocName, "Doc\"\r\n@PJL X");
     },
     "@PJL SET JOBNAME=\"Doc@PJL X\"\r\n"},
    {"AppDocName",
     [](RenderHost& h) {
         h.settings().jobType = 2;
         h.SetAppDocName("A\"B\nC\rD\tE");
     },
     "@PJL SET JOBNAME=\"ABCDE\"\r\n"},
    // Bytes of 0x80 and above are letters of the code page and pass through.
    {"AccentedAccount",
     [](RenderHost& h) { std::strcpy(h.sub().accountUser, "M\xE4kinen\\TY\xD6" "ASEMA"); },
     "@PJL JOBINFO ACCTUSER=\"@M\xE4kinen\\TY\xD6" "ASEMA\"\r\n"},
    {"AccentedClientId",
     [](RenderHost& h) {
         h.settings().jobMonitor = 1;
         std::strcpy(h.ds().clientId, "M\xE4kinen");
     },
     "@PJL JOBINFO JOBCLIENTID = M\xE4kinen\r\n"},
    {"HighBytesInUserName",
     [](RenderHost& h) {
         h.settings().jobType = 1;
         std::strcpy(h.ds().printUserId, "\x80\x81\x9F\xA0\xC5\xFF");
     },
     "@PJL SET USERNAME=\"\x80\x81\x9F\xA0\xC5\xFF\"\r\n"},
    {"AccentedHeldDocName",
     [](RenderHost& h) {
         h.settings().jobType = 2;
         std::strcpy(h.ds().printDocName, "P\xE4\xE4t\xF6s");
     },
     "@PJL SET JOBNAME=\"P\xE4\xE4t\xF6s\"\r\n"},
    {"AccentedAppDocNameCutTo24",
     [](RenderHost& h) {
         h.settings().jobType = 2;
         h.SetAppDocName(std::string(30, '\xE4'));
     },
     "@PJL SET JOBNAME=\"\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4"
     "\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\"\r\n"},
    {"FaxNumberBracesAndNewlines",
     [](RenderHost& h) {
         h.settings().jobType = 3;
         h.AddRecipient("12\n@PJL{20}\"");
     },
     "@PJL TELARN FAXNUM = 12@75520{20}{30}\n"},  // letters are still keypad digits
    {"FCodeAndMailboxFields",
     [](RenderHost& h) {
         h.settings().jobType = 3;
         FaxRecipient& r = h.AddRecipient("1");
         r.comm.commOption = '4';
         std::strcpy(r.comm.mailboxId, "2\n5");
         std::strcpy(r.comm.mailboxPassword, "}1\r");
         std::strcpy(r.comm.fCode, "1\r\n2}{3");
         std::strcpy(r.comm.fCodePassword, "\"#\"");
     },
     "@PJL TELARN FAXNUM = 1{20}{30}{400251}{5123}{6#}\n"},
    {"RelayCodesAndStation",
     [](RenderHost& h) {
         h.settings().jobType = 3;
         FaxRecipient& r = h.AddRecipient("1");
         r.comm.commOption = '1';
         std::strcpy(r.comm.relayStationId, "\n7");
         r.comm.relayPrint = '1';
         std::memcpy(r.comm.relayDests, "0\n1\0\"2", 6);
         r.comm.relayDestCount = 2;
     },
     "@PJL TELARN FAXNUM = 1{10007100102}{20}{30}\n"},
    {"RelayPrintNulWouldCutTheLine",
     [](RenderHost& h) {
         h.settings().jobType = 3;
         FaxRecipient& r = h.AddRecipient("1");
         r.comm.commOption = '1';
         std::strcpy(r.comm.relayStationId, "3");
         r.comm.relayPrint = '\0';
     },
     "@PJL TELARN FAXNUM = 1{100030}{20}{30}\n"},
    {"RelayPrintOtherByteIsNo",
     [](RenderHost& h) {
         h.settings().jobType = 3;
         FaxRecipient& r = h.AddRecipient("1");
         r.comm.commOption = '1';
         std::strcpy(r.comm.relayStationId, "3");
         r.comm.relayPrint = '7';
     },
     "@PJL TELARN FAXNUM = 1{100030}{20}{30}\n"},
};

class HostileText : public ::testing::TestWithParam<TextCase> {};

TEST_P(HostileText, StaysInsideItsLine) {
    RenderHost h;
    GetParam().setup(h);
    std::string header = h.Header();
    EXPECT_NE(header.find(GetParam().expectedLine), std::string::npos) << header;
    ExpectOnlyPjlLines(header);
}

INSTANTIATE_TEST_SUITE_P(Fields, HostileText, ::testing::ValuesIn(kTexts),
                         [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
    const char* name;
    std::function<void(RenderHost&)> setup;
    std::string expectedLine;
};
void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

std::string Repeat(const std::string& s, int n) {
    std::string all;
    while (n-- > 0) all += s;
    return all;
}

void OneFaxRecipient(RenderHost& h) {
    h.settings().jobType = 3;
    h.AddRecipient("1");
}

const RangeCase kRanges[] = {
    {"ResolutionTooLargeIsFine",
     [](RenderHost& h) { OneFaxRecipient(h); h.ds().resolution = 4; },
     "@PJL TELARN FAXRES = FINE\r\n"},
    {"ResolutionNegativeIsFine",
     [](RenderHost& h) { OneFaxRecipient(h); h.ds().resolution = INT_MIN; },
     "@PJL TELARN FAXRES = FINE\r\n"},
    {"ReportTooLargeIsOnError",
     [](RenderHost& h) { OneFaxRecipient(h); h.ds().txReport = 3; },
     "@PJL TELARN TXRPT = ONERROR\r\n"},
    {"ReportNegativeIsOnError",
     [](RenderHost& h) { OneFaxRecipient(h); h.ds().txReport = -1; },
     "@PJL TELARN TXRPT = ONERROR\r\n"},
    {"CommModeOutOfRangeIsG3",
     [](RenderHost& h) {
         OneFaxRecipient(h);
         h.ss().recipients[0].comm.commMode = INT_MIN;
     },
     "@PJL TELARN FAXNUM = 1{20}{30}\n"},
    {"RelayCountAboveTwentyReadsTwenty",
     [](RenderHost& h) {
         OneFaxRecipient(h);
         CommSettings& c = h.ss().recipients[0].comm;
         c.commOption = '1';
         FillField(c.relayDests, sizeof c.relayDests, '5');
         c.relayDestCount = 1000000;
     },
     "@PJL TELARN FAXNUM = 1{100000" + Repeat("0555", 20) + "}{20}{30}\n"},
    {"RelayCountNegativeReadsNone",
     [](RenderHost& h) {
         OneFaxRecipient(h);
         CommSettings& c = h.ss().recipients[0].comm;
         c.commOption = '1';
         c.relayDestCount = -5;
     },
     "@PJL TELARN FAXNUM = 1{100000}{20}{30}\n"},
};

class StoredValueOutOfRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(StoredValueOutOfRange, FallsBackSafely) {
    RenderHost h;
    GetParam().setup(h);
    std::string header = h.Header();
    EXPECT_NE(header.find(GetParam().expectedLine), std::string::npos) << header;
    ExpectOnlyPjlLines(header);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredValueOutOfRange, ::testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.name); });

size_t CountOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(RecipientCount, ClampedToFiftyAndNegativeIsNone) {
    const struct {
        int32_t stored;
        size_t lines;
    } cases[] = {{51, 50}, {INT_MAX, 50}, {-1, 0}, {INT_MIN, 0}, {50, 50}, {3, 3}};
    for (const auto& c : cases) {
        RenderHost h;
        h.settings().jobType = 3;
        for (int i = 0; i < kMaxRecipients; ++i) h.AddRecipient("5");
        h.ss().recipientCount = c.stored;
        std::string header = h.Header();
        EXPECT_EQ(CountOf(header, "FAXNUM"), c.lines) << c.stored;
        EXPECT_EQ(CountOf(header, "FAXRES"), c.lines ? 1u : 0u) << c.stored;
    }
}

TEST(UnterminatedFields, ReadWithinTheirOwnSize) {
    RenderHost h;
    h.settings().jobType = 2;
    h.settings().jobMonitor = 1;
    FillField(h.sub().accountUser, sizeof h.sub().accountUser, 'a');
    FillField(h.ds().clientId, sizeof h.ds().clientId, 'c');
    FillField(h.ds().printUserId, sizeof h.ds().printUserId, 'u');
    FillField(h.ds().printPassword, sizeof h.ds().printPassword, 'p');
    FillField(h.ds().printDocName, sizeof h.ds().printDocName, 'd');
    std::string header = h.Header();
    EXPECT_NE(header.find("ACCTUSER=\"@" + std::string(32, 'a') + "\"\r\n"), std::string::npos);
    EXPECT_NE(header.find("JOBCLIENTID = " + std::string(101, 'c') + "\r\n"), std::string::npos);
    EXPECT_NE(header.find("USERNAME=\"" + std::string(25, 'u') + "\"\r\n"), std::string::npos);
    EXPECT_NE(header.find("JOBNAME=\"" + std::string(25, 'd') + "\"\r\n"), std::string::npos);
    ExpectOnlyPjlLines(header);
}

TEST(UnterminatedFields, AppDocNameFillingItsFieldIsCutTo24) {
    RenderHost h;
    h.settings().jobType = 2;
    std::memset(h.out().docName, 'z', sizeof h.out().docName);
    EXPECT_NE(h.Header().find("JOBNAME=\"" + std::string(24, 'z') + "\"\r\n"), std::string::npos);
}

TEST(UnterminatedFields, RelayStationNeverReadsThePrintFlag) {
    FaxRecipient r = DefaultRecipient;
    r.faxNumber[0] = '1';
    r.comm.commOption = '1';
    std::memcpy(r.comm.relayStationId, "123", 3);  // no NUL before relayPrint
    r.comm.relayPrint = '1';
    char out[kFaxNumParamSize];
    DoFaxNumParam(&r, out);
    EXPECT_STREQ(out, "1{101231}{20}{30}\n");
}

TEST(LongestParameter, FitsTheBufferAndEndsTheLine) {
    FaxRecipient r;
    std::memset(&r, '9', sizeof r);  // every text field full and unterminated
    r.comm.commMode = 2;
    r.comm.speedDial = 0;
    r.comm.relayDestCount = kMaxRelayDests;
    for (char option : {'1', '4'}) {
        r.comm.commOption = option;
        char out[kFaxNumParamSize + 8];
        std::memset(out, 'X', sizeof out);
        DoFaxNumParam(&r, out);
        size_t len = std::strlen(out);
        EXPECT_LT(len, kFaxNumParamSize);
        EXPECT_EQ(out[len - 1], '\n');
        EXPECT_EQ(out[kFaxNumParamSize], 'X');
    }
}

}  // namespace
