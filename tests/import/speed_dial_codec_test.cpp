// The encoded texts of the speed-dial export and the relay broadcast text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "speed_dial_codec.h"

namespace {

TEST(SpeedDialCodec, Base64OfRfc4648AndRot13) {
    struct Case {
        const char* plain;
        const char* base64;
    } cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"12:4321", "MTI6NDMyMQ=="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64Encode(c.plain), c.base64);
        EXPECT_EQ(Base64Decode(c.base64), c.plain);
        EXPECT_EQ(DecodeSpeedDialText(EncodeSpeedDialText(c.plain)), c.plain);
    }
    EXPECT_EQ(Rot13("MTI6NDMyMQ=="), "ZGV6AQZlZD==");
    EXPECT_EQ(Rot13(Rot13("Az09+/=")), "Az09+/=");
}

TEST(SpeedDialCodec, MalformedBase64) {
    struct Case {
        const char* text;
        const char* decoded;
    } cases[] = {
        {"Zg=", ""},           // not a multiple of 4
        {"Zm9vY", ""},
        {"Zg==Zm9v", "f"},     // stops at the first padding
        {"=Zm9", ""},
        {"Z!9v", "d\x0Fo"},   // a foreign character counts as 0
        {"AAAA", ""},          // the value ends at its first NUL
        {"QUFB", "AAA"},
    };
    for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.text), c.decoded) << c.text;
}

struct Mailbox {
    const char* plain;
    bool valid;
    const char* id;
    const char* password;
};

TEST(SpeedDialCodec, SecureMailbox) {
    Mailbox cases[] = {
        {"12:4321", true, "12", "4321"},
        {"7", true, "7", ""},
        {"55:", true, "55", ""},
        {"200:12", false, "200", "12"},      // a short password is kept but makes it unusable
        {"1234:567890", true, "123", "5678"},
        {":1234", false, "", "1234"},
        {"", false, "", ""},
    };
    for (const auto& c : cases) {
        FaxRecipient r = DefaultRecipient;
        std::memset(r.comm.mailboxId, 'x', sizeof r.comm.mailboxId);
        EXPECT_EQ(DecodeSecureMailbox(r, EncodeSpeedDialText(c.plain).c_str()), c.valid) << c.plain;
        EXPECT_STREQ(r.comm.mailboxId, c.id) << c.plain;
        EXPECT_STREQ(r.comm.mailboxPassword, c.password) << c.plain;
    }
    FaxRecipient r = DefaultRecipient;
    EXPECT_FALSE(DecodeSecureMailbox(r, "ZGV6AQZlZD="));  // length not a multiple of 4
    EXPECT_STREQ(r.comm.mailboxId, "");
}

TEST(SpeedDialCodec, FCodeIsCutToItsFields) {
    FaxRecipient r = DefaultRecipient;
    std::string plain = std::string(40, '1') + ":" + std::string(40, '#') + ":x";
    DecodeFCode(r, EncodeSpeedDialText(plain).c_str());
    EXPECT_EQ(std::string(r.comm.fCode), std::string(20, '1'));
    EXPECT_EQ(std::string(r.comm.fCodePassword), std::string(20, '#'));
    EXPECT_EQ(r.comm.reserved2[0], 0);  // nothing written past the password field
    DecodeFCode(r, "");
    EXPECT_STREQ(r.comm.fCode, "");
    EXPECT_STREQ(r.comm.fCodePassword, "");
}

std::string Dests(const FaxRecipient& r) {
    std::string s;
    for (int i = 0; i < r.comm.relayDestCount; ++i) s += std::string(r.comm.relayDests + 3 * i, 3) + "/";
    return s;
}

TEST(SpeedDialCodec, RelayTexts) {
    struct Case {
        const char* text;
        bool valid;
        char print;
        const char* station;
        const char* dests;
    } cases[] = {
        {"P12/3/#5/004", true, '1', "12", "003/0#5/004/"},
        {"5/42/4*/*/**/000", true, '0', "5", "042/04*/00*/0**/000/"},
        // Three significant characters do not fit a code: skipped, never cut.
        {"5/123/7", true, '0', "5", "007/"},
        {"5/#12/*5/1*2/A/#0", false, '0', "5", ""},
        {"5/1234", false, '0', "5", ""},
        {"12", false, '0', "12", ""},
        {"0/7", false, '0', "", "007/"},
        {"123/7", true, '0', "12", "007/"},
        {"x5/7", false, '0', "", "007/"},
        {"P", false, '1', "", ""},
        {"", false, '0', "", ""},
        {"5//7//", true, '0', "5", "007/"},
    };
    for (const auto& c : cases) {
        FaxRecipient r = DefaultRecipient;
        EXPECT_EQ(DecodeRelay(r, c.text), c.valid) << c.text;
        EXPECT_EQ(r.comm.relayPrint, c.print) << c.text;
        EXPECT_STREQ(r.comm.relayStationId, c.station) << c.text;
        EXPECT_EQ(Dests(r), c.dests) << c.text;
    }
}

TEST(SpeedDialCodec, RelayTakesTwentyCodes) {
    std::string text = "9";
    for (int i = 1; i <= 30; ++i) text += "/" + std::to_string(i);
    FaxRecipient r = DefaultRecipient;
    EXPECT_TRUE(DecodeRelay(r, text.c_str()));
    EXPECT_EQ(r.comm.relayDestCount, 20);
    EXPECT_EQ(std::string(r.comm.relayDests + 57, 3), "020");
    EXPECT_EQ(r.comm.relayDests[60], 0);
    EXPECT_EQ(r.comm.speedDial, 0);
}

TEST(SpeedDialCodec, CommOptionFromRelayAndMailbox) {
    std::string box = EncodeSpeedDialText("12:4321");
    std::string shortBox = EncodeSpeedDialText("12:43");
    struct Case {
        const char* relay;
        std::string secure;
        char option;
    } cases[] = {
        {"", "", '0'},
        {"P12/3", "", '1'},
        {"", box, '4'},
        {"P12/3", box, '0'},
        {"12", box, '4'},
        {"12/3", shortBox, '1'},
        {"12", shortBox, '0'},
    };
    for (const auto& c : cases) {
        FaxRecipient r = DefaultRecipient;
        CompleteSpeedDialRecord(r, c.relay, c.secure.c_str(), "");
        EXPECT_EQ(r.comm.commOption, c.option) << c.relay << " " << c.secure;
    }
}

}  // namespace
