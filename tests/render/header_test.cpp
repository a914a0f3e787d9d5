// Whole headers, written out by hand from the header rules: mixed line
// endings, the QTY rule, the skip flag, empty strings, the 24-character
// document name and the delayed-send time.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>

#include "render_fixture.h"

namespace {

const std::string kStart = kStartLine;
const std::string kEnd = kEndLine;
const std::string kAcct = "@PJL JOBINFO ACCTUSER=\"@MAIJA\\PC7\"\r\n";

struct HeaderCase {
    const char* name;
    std::function<void(RenderHost&)> setup;
    std::string expected;
};
void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

void Account(RenderHost& h) { std::strcpy(h.sub().accountUser, "MAIJA\\PC7"); }

void HeldPrint(RenderHost& h, int32_t type) {
    Account(h);
    h.settings().jobType = type;
    std::strcpy(h.ds().printUserId, "maija");
    std::strcpy(h.ds().printPassword, "1234");
    std::strcpy(h.ds().printDocName, "Raportti");
}

void TwoRecipientFax(RenderHost& h) {
    Account(h);
    h.settings().jobType = 3;
    h.AddRecipient("0123456");
    h.AddRecipient("12").comm.speedDial = 1;
}

const std::string kTwoFaxNumbers =
    "@PJL TELARN FAXNUM = 0123456{20}{30}\n"
    "@PJL TELARN FAXNUM = '12'\n";

void Delay(RenderHost& h, int hour, int minute) {
    TwoRecipientFax(h);
    h.ss().delaySend = 1;
    h.ss().delayHour = hour;
    h.ss().delayMinute = minute;
}

std::string DelayedFax(const char* time) {
    return kStart + kAcct + kTwoFaxNumbers +
           "@PJL TELARN FAXRES = FINE\r\n"
           "@PJL TELARN TXRPT = ONERROR\r\n"
           "@PJL TELARN TXHDR = ON\n"
           "@PJL TELARN DELAYSEND = " + time + "\n" + kEnd;
}

const HeaderCase kHeaders[] = {
    {"PrintJobMonitorOff", Account, kStart + kAcct + kEnd},
    {"EmptyAccountIsWrittenEmpty", [](RenderHost&) {},
     kStart + "@PJL JOBINFO ACCTUSER=\"@\"\r\n" + kEnd},
    {"JobMonitorOnSendsClientId",
     [](RenderHost& h) {
         Account(h);
         h.settings().jobMonitor = 1;
         std::strcpy(h.ds().clientId, "17.42");
     },
     kStart + kAcct + "@PJL JOBINFO JOBCLIENTID = 17.42\r\n" + kEnd},
    {"JobMonitorOnWithoutClientId",
     [](RenderHost& h) {
         Account(h);
         h.settings().jobMonitor = 1;
     },
     kStart + kAcct + kEnd},
    {"ClientIdIgnoredWhenMonitorIsNotExactlyOne",
     [](RenderHost& h) {
         Account(h);
         h.settings().jobMonitor = 2;
         std::strcpy(h.ds().clientId, "17.42");
     },
     kStart + kAcct + kEnd},
    {"SecurePrint", [](RenderHost& h) { HeldPrint(h, 1); },
     kStart + kAcct +
         "@PJL SET USERNAME=\"maija\"\r\n"
         "@PJL SET JOBNAME=\"Raportti\"\r\n"
         "@PJL SET HOLDKEY=\"1234\"\r\n"
         "@PJL SET HOLD=STORE\r\n" + kEnd},
    {"SecurePrintWithEmptyStrings",
     [](RenderHost& h) {
         Account(h);
         h.settings().jobType = 1;
     },
     kStart + kAcct +
         "@PJL SET USERNAME=\"\"\r\n"
         "@PJL SET JOBNAME=\"\"\r\n"
         "@PJL SET HOLDKEY=\"\"\r\n"
         "@PJL SET HOLD=STORE\r\n" + kEnd},
    {"ProofPrintWithoutCollateHasNoQty", [](RenderHost& h) { HeldPrint(h, 2); },
     kStart + kAcct +
         "@PJL SET USERNAME=\"maija\"\r\n"
         "@PJL SET JOBNAME=\"Raportti\"\r\n"
         "@PJL SET HOLD=PROOF\r\n" + kEnd},
    {"ProofPrintCollatedAlwaysHasQty",
     [](RenderHost& h) {
         HeldPrint(h, 2);
         h.sub().collateMode = 1;
         h.settings().copies = 3;
     },
     kStart + kAcct +
         "@PJL SET USERNAME=\"maija\"\r\n"
         "@PJL SET JOBNAME=\"Raportti\"\r\n"
         "@PJL SET HOLD=PROOF\r\n"
         "@PJL SET QTY=3\n" + kEnd},
    {"SecurePrintForcedQtyAfterHold",
     [](RenderHost& h) {
         HeldPrint(h, 1);
         h.sub().collateMode = 1;
         h.settings().qtyForce = 1;
         h.settings().copies = 2;
     },
     kStart + kAcct +
         "@PJL SET USERNAME=\"maija\"\r\n"
         "@PJL SET JOBNAME=\"Raportti\"\r\n"
         "@PJL SET HOLDKEY=\"1234\"\r\n"
         "@PJL SET HOLD=STORE\r\n"
         "@PJL SET QTY=2\n" + kEnd},
    {"LongAppDocNameCutTo24",
     [](RenderHost& h) {
         HeldPrint(h, 2);
         h.ds().printDocName[0] = '\0';
         h.SetAppDocName("ABCDEFGHIJKLMNOPQRSTUVWXYZ.doc");
     },
     kStart + kAcct +
         "@PJL SET USERNAME=\"maija\"\r\n"
         "@PJL SET JOBNAME=\"ABCDEFGHIJKLMNOPQRSTUVWX\"\r\n"
         "@PJL SET HOLD=PROOF\r\n" + kEnd},
    {"HeldDocNameWinsOverAppDocName",
     [](RenderHost& h) {
         HeldPrint(h, 2);
         h.SetAppDocName("Other.doc");
     },
     kStart + kAcct +
         "@PJL SET USERNAME=\"maija\"\r\n"
         "@PJL SET JOBNAME=\"Raportti\"\r\n"
         "@PJL SET HOLD=PROOF\r\n" + kEnd},
    {"FaxWithoutRecipientsWritesNoTelarnAndNoQty",
     [](RenderHost& h) {
         Account(h);
         h.settings().jobType = 3;
         h.sub().collateMode = 1;
         h.settings().qtyForce = 1;
     },
     kStart + kAcct + kEnd},
    {"FaxTwoRecipientsNoDelay", TwoRecipientFax,
     kStart + kAcct + kTwoFaxNumbers +
         "@PJL TELARN FAXRES = FINE\r\n"
         "@PJL TELARN TXRPT = ONERROR\r\n"
         "@PJL TELARN TXHDR = ON\n" + kEnd},
    {"FaxNeverWritesQty",
     [](RenderHost& h) {
         TwoRecipientFax(h);
         h.sub().collateMode = 1;
         h.settings().qtyForce = 1;
         h.settings().copies = 4;
     },
     kStart + kAcct + kTwoFaxNumbers +
         "@PJL TELARN FAXRES = FINE\r\n"
         "@PJL TELARN TXRPT = ONERROR\r\n"
         "@PJL TELARN TXHDR = ON\n" + kEnd},
    {"FaxKeywordsAndHeaderOff",
     [](RenderHost& h) {
         TwoRecipientFax(h);
         h.ds().resolution = 3;
         h.ds().txReport = 2;
         h.ds().txHeader = 0;
     },
     kStart + kAcct + kTwoFaxNumbers +
         "@PJL TELARN FAXRES = ULTRAFINE\r\n"
         "@PJL TELARN TXRPT = OFF\r\n"
         "@PJL TELARN TXHDR = OFF\n" + kEnd},
    {"FaxNormalReportAlwaysHeaderTwoIsOff",
     [](RenderHost& h) {
         TwoRecipientFax(h);
         h.ds().resolution = 0;
         h.ds().txReport = 0;
         h.ds().txHeader = 2;
     },
     kStart + kAcct + kTwoFaxNumbers +
         "@PJL TELARN FAXRES = NORMAL\r\n"
         "@PJL TELARN TXRPT = ON\r\n"
         "@PJL TELARN TXHDR = OFF\n" + kEnd},
    {"DelayedSendMidnight", [](RenderHost& h) { Delay(h, 0, 0); }, DelayedFax("00:00")},
    {"DelayedSend2359", [](RenderHost& h) { Delay(h, 23, 59); }, DelayedFax("23:59")},
    {"DelayedSend0705", [](RenderHost& h) { Delay(h, 7, 5); }, DelayedFax("07:05")},
    {"DelayedSend1830", [](RenderHost& h) { Delay(h, 18, 30); }, DelayedFax("18:30")},
    {"DelaySendOtherThanOneSendsNow",
     [](RenderHost& h) {
         Delay(h, 18, 30);
         h.ss().delaySend = 2;
     },
     kStart + kAcct + kTwoFaxNumbers +
         "@PJL TELARN FAXRES = FINE\r\n"
         "@PJL TELARN TXRPT = ONERROR\r\n"
         "@PJL TELARN TXHDR = ON\n" + kEnd},
    {"OtherJobTypeWritesNoJobLines",
     [](RenderHost& h) {
         HeldPrint(h, 9);
         h.AddRecipient("123");
     },
     kStart + kAcct + kEnd},
};

class HeaderGolden : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderGolden, WritesExactBytes) {
    RenderHost h;
    GetParam().setup(h);
    EXPECT_EQ(h.Header(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Jobs, HeaderGolden, ::testing::ValuesIn(kHeaders),
                         [](const auto& info) { return std::string(info.param.name); });

// The QTY rule for an ordinary print job: only the settings event's output.
struct QtyCase {
    const char* name;
    int32_t collate, qtyForce, optionA, outputOption, optionB, outputTray, copies;
    const char* expected;
};
void PrintTo(const QtyCase& c, std::ostream* os) { *os << c.name; }

const QtyCase kQty[] = {
    {"NotCollatedEvenIfForced", 0, 1, 0, 0, 0, 0, 5, ""},
    {"CollatedAloneIsNotEnough", 1, 0, 0, 0, 0, 0, 5, ""},
    {"Forced", 1, 1, 0, 0, 0, 0, 5, "@PJL SET QTY=5\n"},
    {"OptionAWithOutputOptionOneCopy", 1, 0, 1, 1, 0, 0, 1, "@PJL SET QTY=1\n"},
    {"OptionAWithoutOutputOption", 1, 0, 1, 0, 0, 0, 1, ""},
    {"OptionAWithTwoCopies", 1, 0, 1, 2, 0, 0, 2, ""},
    {"OptionBSideTrayOneCopy", 1, 0, 0, 0, 1, 1, 1, "@PJL SET QTY=1\n"},
    {"OptionBOtherTray", 1, 0, 0, 0, 1, 2, 1, ""},
    {"OptionBSideTrayTwoCopies", 1, 0, 0, 0, 1, 1, 2, ""},
    {"OutputOptionWithoutOptionA", 1, 0, 0, 3, 0, 0, 1, ""},
};

class QtyRule : public ::testing::TestWithParam<QtyCase> {};

TEST_P(QtyRule, PrintJobSettingsEvent) {
    const QtyCase& c = GetParam();
    RenderHost h;
    h.sub().collateMode = c.collate;
    h.settings().qtyForce = c.qtyForce;
    h.sub().optionA = c.optionA;
    h.settings().outputOption = c.outputOption;
    h.sub().optionB = c.optionB;
    h.settings().outputTray = c.outputTray;
    h.settings().copies = c.copies;
    EXPECT_EQ(h.Event(1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, QtyRule, ::testing::ValuesIn(kQty),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderEvents, SkipSuppressesStartAndSettingsButNotEnd) {
    RenderHost h;
    TwoRecipientFax(h);
    h.settings().jobMonitor = 1;
    std::strcpy(h.ds().clientId, "1.2");
    EXPECT_EQ(h.Header(/*skip=*/1), kEnd);
    EXPECT_EQ(h.Event(2, /*skip=*/7), kEnd);
}

TEST(HeaderEvents, EventThreeEndsTheJobOtherEventsWriteNothing) {
    RenderHost h;
    TwoRecipientFax(h);
    EXPECT_EQ(h.Event(3), kEnd);
    EXPECT_EQ(h.Event(4), "");
    EXPECT_EQ(h.Event(-1), "");
}

TEST(HeaderEvents, OtherModuleIdOrNoFaxControlBlockWritesNothing) {
    RenderHost h;
    TwoRecipientFax(h);
    EXPECT_EQ(h.Event(0, 0, 1387), "");
    h.host().addonCount = 1;  // only the foreign add-on is counted
    for (int event = 0; event < 4; ++event) EXPECT_EQ(h.Event(event), "") << event;
}

TEST(HeaderEvents, EachPieceIsOneWriteCall) {
    RenderHost h;
    Account(h);
    h.Event(0);
    std::vector<std::string> expected = {"@PJL COMMENT - Job started at \"", "Time 9:05:07",
                                         "\"\r\n", "@PJL JOBINFO ACCTUSER=\"@", "MAIJA\\PC7",
                                         "\"\r\n"};
    EXPECT_EQ(h.pieces(), expected);
}

}  // namespace
