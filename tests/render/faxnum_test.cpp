// The FAXNUM parameter and its helpers, against parameters written out by
// hand from the field grammar.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <ostream>

#include "exports.h"
#include "faxnum.h"
#include "test_recipient.h"

namespace {

void Relay(FaxRecipient& r, const char* station, char print, const char* codes) {
    r.comm.commOption = '1';
    std::strncpy(r.comm.relayStationId, station, sizeof r.comm.relayStationId);
    r.comm.relayPrint = print;
    size_t len = std::strlen(codes);
    std::memcpy(r.comm.relayDests, codes, len);
    r.comm.relayDestCount = static_cast<int32_t>(len / 3);
}

void Mailbox(FaxRecipient& r, const char* id, const char* password) {
    r.comm.commOption = '4';
    std::strncpy(r.comm.mailboxId, id, sizeof r.comm.mailboxId);
    std::strncpy(r.comm.mailboxPassword, password, sizeof r.comm.mailboxPassword);
}

struct ParamCase {
    const char* name;
    const char* number;
    std::function<void(FaxRecipient&)> setup;
    std::string expected;
};
void PrintTo(const ParamCase& c, std::ostream* os) { *os << c.name; }

const ParamCase kParams[] = {
    {"PlainG3", "0123456", [](FaxRecipient&) {}, "0123456{20}{30}\n"},
    {"F4800", "0123456", [](FaxRecipient& r) { r.comm.commMode = 1; }, "0123456{20}{32}\n"},
    {"G4", "0123456", [](FaxRecipient& r) { r.comm.commMode = 2; }, "0123456{20}{34}\n"},
    {"KeypadLettersHyphensKept", "0-800-FLOWERS", [](FaxRecipient&) {},
     "0-800-3569377{20}{30}\n"},
    {"LowerCaseNotDecoded", "abc", [](FaxRecipient&) {}, "abc{20}{30}\n"},
    {"EmptyNumber", "", [](FaxRecipient&) {}, "{20}{30}\n"},
    {"SpeedDial", "12", [](FaxRecipient& r) { r.comm.speedDial = 1; }, "'12'\n"},
    {"SpeedDialIgnoresModeOptionsAndFCode", "7",
     [](FaxRecipient& r) {
         r.comm.speedDial = 1;
         r.comm.commMode = 2;
         Mailbox(r, "25", "1111");
         std::strcpy(r.comm.fCode, "99");
         std::strcpy(r.comm.fCodePassword, "88");
     },
     "'7'\n"},
    {"SpeedDialOtherThanOneIsANumber", "12", [](FaxRecipient& r) { r.comm.speedDial = 2; },
     "12{20}{30}\n"},
    {"RelayTwoDestinationsPrint", "5551234",
     [](FaxRecipient& r) { Relay(r, "12", '1', "0050#3"); },
     "5551234{100121000500#3}{20}{30}\n"},
    {"RelayNoDestinationsStationOne", "5551234",
     [](FaxRecipient& r) { Relay(r, "1", '0', ""); }, "5551234{100010}{20}{30}\n"},
    {"RelayCountsOnlyCountedCodes", "1",
     [](FaxRecipient& r) {
         Relay(r, "99", '0', "001002003004005");
         r.comm.relayDestCount = 2;
     },
     "1{10099000010002}{20}{30}\n"},
    {"RelayTwentyDestinations", "1",
     [](FaxRecipient& r) {
         Relay(r, "5", '1', "001002003004005006007008009010011012013014015016017018019020");
     },
     "1{1000510001000200030004000500060007000800090010001100120013001400150016001700180019"
     "0020}{20}{30}\n"},
    {"RelayWinsOverMailbox", "1",
     [](FaxRecipient& r) {
         Mailbox(r, "25", "");
         Relay(r, "3", '0', "007");
     },
     "1{1000300007}{20}{30}\n"},
    {"MailboxWithoutPassword", "1", [](FaxRecipient& r) { Mailbox(r, "25", ""); },
     "1{20}{30}{40025}\n"},
    {"MailboxWithPassword", "1", [](FaxRecipient& r) { Mailbox(r, "25", "1234"); },
     "1{20}{30}{400251234}\n"},
    {"MailboxThreeDigits", "1", [](FaxRecipient& r) { Mailbox(r, "200", "12"); },
     "1{20}{30}{4020012}\n"},
    {"MailboxFourCharactersNotPaddedOrCut", "1",
     [](FaxRecipient& r) {
         Mailbox(r, "", "");
         std::memcpy(r.comm.mailboxId, "1234", 4);
     },
     "1{20}{30}{41234}\n"},
    {"MailboxEmptyIdGivesNoFieldEvenWithPassword", "1",
     [](FaxRecipient& r) { Mailbox(r, "", "1234"); }, "1{20}{30}\n"},
    {"MailboxFieldsIgnoredWithoutOption", "1",
     [](FaxRecipient& r) {
         Mailbox(r, "25", "1234");
         r.comm.commOption = '0';
     },
     "1{20}{30}\n"},
    {"NulOptionSameAsZero", "1",
     [](FaxRecipient& r) {
         Mailbox(r, "25", "1234");
         r.comm.commOption = '\0';
     },
     "1{20}{30}\n"},
    {"FCodeOnly", "1", [](FaxRecipient& r) { std::strcpy(r.comm.fCode, "1234"); },
     "1{20}{30}{51234}\n"},
    {"FCodePasswordOnly", "1", [](FaxRecipient& r) { std::strcpy(r.comm.fCodePassword, "*1#"); },
     "1{20}{30}{6*1#}\n"},
    {"MailboxAndFCodes", "1",
     [](FaxRecipient& r) {
         r.comm.commMode = 2;
         Mailbox(r, "7", "");
         std::strcpy(r.comm.fCode, "20202020202020202020");
         std::strcpy(r.comm.fCodePassword, "##");
     },
     "1{20}{34}{40007}{520202020202020202020}{6##}\n"},
    {"RelayAndFCodes", "09ABC",
     [](FaxRecipient& r) {
         r.comm.commMode = 1;
         Relay(r, "45", '0', "0#1");
         std::strcpy(r.comm.fCode, "5");
         std::strcpy(r.comm.fCodePassword, "6");
     },
     "09222{10045000#1}{20}{32}{55}{66}\n"},
};

class FaxNumParam : public ::testing::TestWithParam<ParamCase> {};

TEST_P(FaxNumParam, EncodesRecipient) {
    FaxRecipient r = Recipient("", GetParam().number);
    GetParam().setup(r);
    char out[kFaxNumParamSize];
    std::memset(out, 'X', sizeof out);
    DoFaxNumParam(&r, out);
    EXPECT_EQ(std::string(out), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Recipients, FaxNumParam, ::testing::ValuesIn(kParams),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaxNumParamBounds, ThirtyCharacterNumberKeptAndThirtyFirstNeverRead) {
    FaxRecipient r = DefaultRecipient;
    std::memcpy(r.faxNumber, "123456789012345678901234567890", 30);
    char out[kFaxNumParamSize];
    DoFaxNumParam(&r, out);
    EXPECT_EQ(std::string(out), "123456789012345678901234567890{20}{30}\n");
    r.faxNumber[30] = '9';  // unterminated: the 31st byte must not appear
    DoFaxNumParam(&r, out);
    EXPECT_EQ(std::string(out), "123456789012345678901234567890{20}{30}\n");
}

struct DecodeCase {
    const char* in;
    const char* out;
};
const DecodeCase kDecode[] = {
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "22233344455566677778889999"},
    {"0-800-FLOWERS", "0-800-3569377"},
    {"abc xyz", "abc xyz"},
    {"+358 (9) 12#*", "+358 (9) 12#*"},
    {"\xC4\xD6@[`{", "\xC4\xD6@[`{"},  // bytes next to the letter ranges stay
    {"", ""},
};

TEST(DecodeFaxNum, KeypadTable) {
    for (const DecodeCase& c : kDecode) {
        char out[64];
        std::memset(out, 'X', sizeof out);
        DecodeFaxNum(c.in, out);
        EXPECT_EQ(std::string(out), c.out) << c.in;
    }
}

struct PadCase {
    const char* in;
    int32_t length, width;
    const char* out;
};
const PadCase kPad[] = {
    {"7", 1, 4, "0007"},  {"12", 2, 4, "0012"},     {"", 0, 4, "0000"},
    {"1234", 4, 4, "1234"}, {"12345", 5, 4, "12345"}, {"9", 1, 1, "9"},
    {"12", 2, 6, "000012"},
};

TEST(PadZero, MovesRightAndFillsWithZeros) {
    for (const PadCase& c : kPad) {
        char buf[16];
        std::memset(buf, 'X', sizeof buf);
        std::memcpy(buf, c.in, std::strlen(c.in) + 1);
        padzeroA(buf, c.length, c.width);
        EXPECT_EQ(std::string(buf), c.out) << c.in << " to " << c.width;
    }
}

TEST(PadZero, NegativeLengthLeavesBufferAlone) {
    char buf[8] = "12";
    padzeroA(buf, -3, 4);
    EXPECT_STREQ(buf, "12");
}

}  // namespace
