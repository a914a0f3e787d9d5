// The module's own formatting and string routines.

#include <gtest/gtest.h>

#include <ostream>
#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "clock.h"
#include "exports.h"
#include "format.h"
#include "pjl_text.h"

namespace {

struct FormatCase {
    const char* name;
    std::function<int32_t(char*)> format;
    std::string expected;  // may hold a NUL
};
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

const FormatCase kFormats[] = {
    {"Signed", [](char* b) { return SPRINTF(b, "%d|%l", -5, INT_MIN); }, "-5|-2147483648"},
    {"SignedMax", [](char* b) { return SPRINTF(b, "%d", INT_MAX); }, "2147483647"},
    {"Unsigned", [](char* b) { return SPRINTF(b, "%u", 4294967295u); }, "4294967295"},
    {"HexLong", [](char* b) { return SPRINTF(b, "%x", 305419896); }, "12345678"},
    {"HexTwoDigitsMinimum", [](char* b) { return SPRINTF(b, "%X|%x|%x", 15, 0, 5); },
     "0F|00|05"},
    {"HexThreeDigits", [](char* b) { return SPRINTF(b, "%x", 291); }, "123"},
    {"HexUpperCaseAlways", [](char* b) { return SPRINTF(b, "%x", 0xABCDEF); }, "ABCDEF"},
    {"HexNegative", [](char* b) { return SPRINTF(b, "%x", -1); }, "FFFFFFFF"},
    {"Char", [](char* b) { return SPRINTF(b, "[%c%c]", 'A', 0x142); }, "[AB]"},
    {"CharZeroStaysInOutput", [](char* b) { return SPRINTF(b, "a%cb", 0); },
     std::string("a\0b", 3)},
    {"String", [](char* b) { return SPRINTF(b, "<%s><%s>", "abc", ""); }, "<abc><>"},
    {"Bool", [](char* b) { return SPRINTF(b, "%b %b %b", 1, 0, -7); }, "true false true"},
    {"FixedNegativeOneAndHalf", [](char* b) { return SPRINTF(b, "%f", -384); }, "-1.5"},
    {"FixedHalf", [](char* b) { return SPRINTF(b, "%f", 128); }, "0.5"},
    {"FixedSmallestFraction", [](char* b) { return SPRINTF(b, "%f", 1); }, "0.004"},
    {"FixedWhole", [](char* b) { return SPRINTF(b, "%f|%f", 256, 0); }, "1|0"},
    {"FixedLargestFraction", [](char* b) { return SPRINTF(b, "%f", 255); }, "0.996"},
    {"FixedQuarterAndTwoDigits", [](char* b) { return SPRINTF(b, "%f|%f", 64 + 512, 13); },
     "2.25|0.051"},
    {"FixedMostNegative", [](char* b) { return SPRINTF(b, "%f", INT_MIN); }, "-8388608"},
    {"PercentAndUnknownTakeNoValue", [](char* b) { return SPRINTF(b, "%%%q%d", 42); }, "%q42"},
    {"PercentAtEndWritesNothing", [](char* b) { return SPRINTF(b, "abc%"); }, "abc"},
    {"FaxNumFormat",
     [](char* b) { return SPRINTF(b, "%s%s{20}{3%d}%s%s%s\n", "12", "", 4, "", "{51}", ""); },
     "12{20}{34}{51}\n"},
};

class Sprintf : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Sprintf, Conversion) {
    char buf[128];
    std::memset(buf, 'X', sizeof buf);
    int32_t n = GetParam().format(buf);
    ASSERT_EQ(n, static_cast<int32_t>(GetParam().expected.size()));
    EXPECT_EQ(std::string(buf, n), GetParam().expected);
    EXPECT_EQ(buf[n], '\0');
}

INSTANTIATE_TEST_SUITE_P(Conversions, Sprintf, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatBounded, NeverWritesPastCapacity) {
    char buf[8];
    std::memset(buf, 'X', sizeof buf);
    EXPECT_EQ(FormatBounded(buf, 6, "%s-%d", "abcdef", 123), 5u);
    EXPECT_STREQ(buf, "abcde");
    EXPECT_EQ(buf[6], 'X');
    EXPECT_EQ(FormatBounded(buf, 1, "%d", 7), 0u);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(FormatBounded(buf, 0, "%d", 7), 0u);
}

struct CopyCase {
    const char* source;
    int32_t size;
    const char* expected;  // size bytes compared
};

TEST(CopyStringA, CopiesAtMostSizeMinusOneAndZeroFills) {
    const CopyCase cases[] = {
        {"123456", 5, "1234\0"},
        {"12", 5, "12\0\0\0"},
        {"", 3, "\0\0\0"},
        {"abc", 1, "\0"},
    };
    for (const CopyCase& c : cases) {
        char buf[8];
        std::memset(buf, 'X', sizeof buf);
        CopyStringA(buf, c.source, c.size);
        EXPECT_EQ(std::memcmp(buf, c.expected, c.size), 0) << c.source << " size " << c.size;
        EXPECT_EQ(buf[c.size], 'X') << "wrote past size " << c.size;
    }
    char untouched[4] = {'X', 'X', 'X', 'X'};
    CopyStringA(untouched, "abc", 0);
    CopyStringA(untouched, "abc", -1);
    EXPECT_EQ(std::memcmp(untouched, "XXXX", 4), 0);
}

TEST(Memcpyn, CopiesCountBytesAndNothingForZeroOrNegative) {
    char buf[6] = "-----";
    memcpyn(buf, "abcdef", 3);
    EXPECT_STREQ(buf, "abc--");
    memcpyn(buf, "zzz", 0);
    memcpyn(buf, "zzz", -4);
    memcpyn(buf, nullptr, 3);
    memcpyn(nullptr, "zzz", 3);
    EXPECT_STREQ(buf, "abc--");
    char none = 'X';  // a text copied into no room writes nothing, not even its end
    EXPECT_EQ(CopyPjlText(&none, 0, "abc", 3, PjlContext::QuotedValue), 0u);
    EXPECT_EQ(none, 'X');
}

TEST(AsciiStrlen, CountsBytesBeforeNul) {
    EXPECT_EQ(ASCIIstrlen(""), 0);
    EXPECT_EQ(ASCIIstrlen("abc\0def"), 3);
    EXPECT_EQ(ASCIIstrlen("\xE4\xF6"), 2);
}

EngTimeFields g_now;
void FixedNow(EngTimeFields* t) { *t = g_now; }

TEST(DoTimeString, HourWithoutZeroMinutesAndSecondsTwoDigits) {
    struct Case {
        uint16_t h, m, s;
        const char* text;
    };
    const Case cases[] = {{23, 59, 5, "Time 23:59:05"}, {0, 0, 0, "Time 0:00:00"},
                          {9, 5, 7, "Time 9:05:07"},    {12, 10, 59, "Time 12:10:59"}};
    SetLocalTimeSource(FixedNow);
    for (const Case& c : cases) {
        g_now = EngTimeFields{2004, 5, 6, c.h, c.m, c.s, 0, 4};
        char buf[64];
        int32_t n = DoTimeString(buf);
        EXPECT_EQ(std::string(buf), c.text);
        EXPECT_EQ(n, static_cast<int32_t>(std::strlen(c.text)));
    }
    SetLocalTimeSource(nullptr);
}

TEST(EngQueryLocalTime, SystemClockFillsPlausibleFields) {
    EngTimeFields t;
    std::memset(&t, 0xFF, sizeof t);
    EngQueryLocalTime(&t);
    EXPECT_GE(t.year, 2020);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_LE(t.hour, 23);
    EXPECT_LE(t.minute, 59);
    EXPECT_LE(t.second, 60);
    EXPECT_LE(t.weekday, 6);
}

TEST(ParseFixedTime, AcceptsOnlyValidClockTimes) {
    struct Case {
        const char* text;
        bool ok;
        uint16_t h, m, s;
    };
    const Case cases[] = {
        {"9:05:07", true, 9, 5, 7},  {"23:59:59", true, 23, 59, 59}, {"00:00:00", true, 0, 0, 0},
        {"24:00:00", false, 0, 0, 0}, {"9:60:00", false, 0, 0, 0},  {"9:5:07", false, 0, 0, 0},
        {"", false, 0, 0, 0},         {"ab:cd:ef", false, 0, 0, 0}, {"12:00:00x", false, 0, 0, 0},
        {"12-00:00", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EngTimeFields t{};
        EXPECT_EQ(ParseFixedTime(c.text, &t), c.ok) << c.text;
        if (c.ok) {
            EXPECT_TRUE(t.hour == c.h && t.minute == c.m && t.second == c.s) << c.text;
        }
    }
    EXPECT_FALSE(ParseFixedTime(nullptr, nullptr));
}

}  // namespace
