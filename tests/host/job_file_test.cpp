// The job file parser: what each key stores, and errors that name the line.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <ostream>

#include "job_file.h"

namespace {

JobDescription Parse(const std::string& text) {
    JobDescription job;
    std::string error;
    EXPECT_TRUE(ParseJobFile(text, &job, &error)) << error;
    return job;
}

TEST(JobFile, EmptyFileIsAPrintJobWithDefaults) {
    JobDescription job = Parse("");
    EXPECT_EQ(job.jobType, 0);
    EXPECT_EQ(job.copies, 1);
    EXPECT_EQ(std::memcmp(&job.ds, &DefaultFaxDS, sizeof job.ds), 0);
    EXPECT_EQ(job.ss.recipientCount, 0);
}

TEST(JobFile, JobKeysFillHostFieldsAndFaxDS) {
    JobDescription job = Parse(
        "# comment\r\n"
        "  TYPE = Secure \r\n"
        "user = maija virtanen\n"
        "password = 1234\n"
        "docname = Raportti \"Q1\"\n"
        "appdoc = Book1.xls\n"
        "account = MAIJA\\PC\n"
        "clientid = 17.42\n"
        "jobmonitor = on\n"
        "copies = 3\ncollate = 1\nqtyforce = 1\noptiona = 1\noptionb = -2\n"
        "outputoption = 4\noutputtray = 1\nskip = yes\n"
        "resolution = ultrafine\nreport = 7\nheader = off\ndelay = 7:05\n"
        "\n");
    EXPECT_EQ(job.jobType, 1);
    EXPECT_EQ(job.ds.jobMode, 1);
    EXPECT_STREQ(job.ds.printUserId, "maija virtanen");
    EXPECT_STREQ(job.ds.printPassword, "1234");
    EXPECT_STREQ(job.ds.printDocName, "Raportti \"Q1\"");
    EXPECT_STREQ(job.appDocName, "Book1.xls");
    EXPECT_STREQ(job.accountUser, "MAIJA\\PC");
    EXPECT_STREQ(job.ds.clientId, "17.42");
    EXPECT_EQ(job.jobMonitor, 1);
    EXPECT_EQ(job.copies, 3);
    EXPECT_EQ(job.collateMode, 1);
    EXPECT_EQ(job.qtyForce, 1);
    EXPECT_EQ(job.optionA, 1);
    EXPECT_EQ(job.optionB, -2);
    EXPECT_EQ(job.outputOption, 4);
    EXPECT_EQ(job.outputTray, 1);
    EXPECT_EQ(job.skip, 1);
    EXPECT_EQ(job.ds.resolution, 3);
    EXPECT_EQ(job.ds.txReport, 7);
    EXPECT_EQ(job.ds.txHeader, 0);
    EXPECT_EQ(job.ss.delaySend, 1);
    EXPECT_EQ(job.ss.delayHour, 7);
    EXPECT_EQ(job.ss.delayMinute, 5);
}

TEST(JobFile, RecipientKeysFillEveryCommSetting) {
    JobDescription job = Parse(
        "type = fax\n"
        "[recipient]\nnumber = 123\n"
        "[Recipient]\n"
        "name = Aluekonttori\nnumber = 0-800-FLOWERS\nspeeddial = no\nmode = g4\n"
        "option = relay\nrelaystation = 12\nrelayprint = yes\nrelaydests = 005, 0#3\t007\n"
        "mailbox = 200\nmailboxpassword = 4321\nfcode = 1234\nfcodepassword = 12*#\n"
        "[recipient]\nnumber = 7\nspeeddial = yes\noption = mailbox\n");
    ASSERT_EQ(job.ss.recipientCount, 3);
    const FaxRecipient& plain = job.ss.recipients[0];
    EXPECT_EQ(std::memcmp(plain.name, DefaultRecipient.name, sizeof plain.name), 0);
    EXPECT_EQ(plain.comm.commOption, '0');
    EXPECT_EQ(plain.comm.relayPrint, '0');

    const FaxRecipient& r = job.ss.recipients[1];
    EXPECT_STREQ(r.name, "Aluekonttori");
    EXPECT_STREQ(r.faxNumber, "0-800-FLOWERS");
    EXPECT_EQ(r.comm.speedDial, 0);
    EXPECT_EQ(r.comm.commMode, 2);
    EXPECT_EQ(r.comm.commOption, '1');
    EXPECT_STREQ(r.comm.relayStationId, "12");
    EXPECT_EQ(r.comm.relayPrint, '1');
    EXPECT_EQ(r.comm.relayDestCount, 3);
    EXPECT_EQ(std::string(r.comm.relayDests, 9), "0050#3007");
    EXPECT_STREQ(r.comm.mailboxId, "200");
    EXPECT_STREQ(r.comm.mailboxPassword, "4321");
    EXPECT_STREQ(r.comm.fCode, "1234");
    EXPECT_STREQ(r.comm.fCodePassword, "12*#");

    EXPECT_EQ(job.ss.recipients[2].comm.speedDial, 1);
    EXPECT_EQ(job.ss.recipients[2].comm.commOption, '4');
}

TEST(JobFile, FullLengthValuesFit) {
    JobDescription job = Parse("user = " + std::string(24, 'u') + "\naccount = " +
                               std::string(31, 'a') + "\nclientid = " + std::string(100, 'c') +
                               "\n[recipient]\nnumber = " + std::string(30, '1') +
                               "\nfcode = " + std::string(20, '5') + "\n");
    EXPECT_EQ(std::strlen(job.ds.printUserId), 24u);
    EXPECT_EQ(std::strlen(job.accountUser), 31u);
    EXPECT_EQ(std::strlen(job.ds.clientId), 100u);
    EXPECT_EQ(std::strlen(job.ss.recipients[0].faxNumber), 30u);
    EXPECT_EQ(std::strlen(job.ss.recipients[0].comm.fCode), 20u);
}

TEST(JobFile, DelayTimes) {
    const struct {
        const char* value;
        int32_t send, hour, minute;
    } cases[] = {{"0:00", 1, 0, 0}, {"23:59", 1, 23, 59}, {"07:05", 1, 7, 5}, {"none", 0, 0, 0}};
    for (const auto& c : cases) {
        JobDescription job = Parse(std::string("delay = ") + c.value);
        EXPECT_EQ(job.ss.delaySend, c.send) << c.value;
        EXPECT_EQ(job.ss.delayHour, c.hour) << c.value;
        EXPECT_EQ(job.ss.delayMinute, c.minute) << c.value;
    }
}

std::string Recipients(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "[recipient]\n";
    return text;
}

struct ErrorCase {
    const char* name;
    std::string text;
    const char* expectedStart;  // "line N: ..."
    const char* mentions;
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

const ErrorCase kErrors[] = {
    {"UnknownKey", "type = fax\nbogus = 1\n", "line 2: ", "bogus"},
    {"JobKeyInsideRecipient", "[recipient]\nnumber = 1\ntype = fax\n", "line 3: ", "type"},
    {"RecipientKeyBeforeRecipient", "# x\nnumber = 1\n", "line 2: ", "number"},
    {"MissingEquals", "type fax\n", "line 1: ", "key = value"},
    {"UnknownSection", "\n\n[sender]\n", "line 3: ", "[sender]"},
    {"UserTooLong", "user = " + std::string(25, 'u') + "\n", "line 1: ", "at most 24"},
    {"AccountTooLong", "account = " + std::string(32, 'a'), "line 1: ", "at most 31"},
    {"PasswordTooLong", "password = 12345", "line 1: ", "at most 4"},
    {"NumberTooLong", "[recipient]\nnumber = " + std::string(31, '1'), "line 2: ", "at most 30"},
    {"MailboxTooLong", "[recipient]\nmailbox = 2000", "line 2: ", "at most 3"},
    {"StationTooLong", "[recipient]\nrelaystation = 100", "line 2: ", "at most 2"},
    {"FCodeTooLong", "[recipient]\nfcode = " + std::string(21, '1'), "line 2: ", "at most 20"},
    {"NotANumber", "copies = 2x\n", "line 1: ", "whole number"},
    {"NumberOverflow", "copies = 2147483648\n", "line 1: ", "whole number"},
    {"BadKeyword", "resolution = best\n", "line 1: ", "normal"},
    {"BadDelayHour", "delay = 24:00\n", "line 1: ", "H:MM"},
    {"BadDelayShape", "delay = 7:5\n", "line 1: ", "H:MM"},
    {"BadOption", "[recipient]\noption = fax\n", "line 2: ", "relay"},
    {"BadRelayPrint", "[recipient]\nrelayprint = 2\n", "line 2: ", "yes or no"},
    {"RelayPrintNotAWord", "[recipient]\nrelayprint = maybe\n", "line 2: ", "no, yes"},
    {"RelayCodeTooShort", "[recipient]\nrelaydests = 005 0#\n", "line 2: ", "\"0#\""},
    {"TooManyRelayCodes",
     "[recipient]\nrelaydests = 001 002 003 004 005 006 007 008 009 010 011 012 013 014 015 "
     "016 017 018 019 020 021\n",
     "line 2: ", "more than 20"},
    {"TooManyRecipients", Recipients(51), "line 51: ", "more than 50"},
    {"ControlCharacter", "user = a\x01" "b\n", "line 1: ", "control"},
    {"NulByte", std::string("user = a\0b\n", 11), "line 1: ", "NUL"},
};

class JobFileError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(JobFileError, NamesTheLine) {
    JobDescription job;
    std::string error;
    ASSERT_FALSE(ParseJobFile(GetParam().text, &job, &error));
    EXPECT_EQ(error.rfind(GetParam().expectedStart, 0), 0u) << error;
    EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Errors, JobFileError, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
