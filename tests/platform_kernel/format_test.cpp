#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

std::string A(const char* fmt, ...) {
    char buf[1100];
    va_list ap;
    va_start(ap, fmt);
    int n = wvsprintfA(buf, fmt, ap);
    va_end(ap);
    EXPECT_EQ(static_cast<int>(std::char_traits<char>::length(buf)), n);
    return buf;
}

std::u16string W(const WCHAR* fmt, ...) {
    WCHAR buf[1100];
    va_list ap;
    va_start(ap, fmt);
    int n = wvsprintfW(buf, fmt, ap);
    va_end(ap);
    EXPECT_EQ(static_cast<int>(std::char_traits<char16_t>::length(buf)), n);
    return buf;
}

TEST(Format, NarrowConversions) {
    struct Row {
        std::string got;
        const char* expected;
    } rows[] = {
        {A("%d|%i|%u", -5, 7, 4294967295u), "-5|7|4294967295"},
        {A("%x|%X|%#x|%#X|%#x", 255, 255, 255, 255, 0), "ff|FF|0xff|0XFF|0"},
        {A("%5d|%-5d|%05d|%-05d", 42, 42, 42, 42), "   42|42   |00042|42   "},
        {A("%.3d|%5.3d|%05.3d", 7, 7, 7), "007|  007|  007"},
        {A("%02d:%02d", 9, 5), "09:05"},
        {A("%ld|%lu|%lx", -1, 3000000000u, 0xABCDu), "-1|3000000000|abcd"},
        {A("%hd|%hu", 0x1FFFF, 0x1FFFF), "-1|65535"},
        {A("%I64d|%I64u", static_cast<int64_t>(-12345678901LL), static_cast<uint64_t>(12345678901ULL)),
         "-12345678901|12345678901"},
        {A("%s|%.2s|%5s|%-5s|", "abc", "abc", "ab", "ab"), "abc|ab|   ab|ab   |"},
        {A("%S|%ls|%hs", u"wide", u"\u00E4", "narrow"), "wide|\xE4|narrow"},
        {A("%c%c%C", 'a', 0xE4, u'\u20AC'), "a\xE4\x80"},
        {A("100%%|%y|%"), "100%|y|"},
        {A("%s", static_cast<const char*>(nullptr)), "(null)"},
        {A("%S", u"\u4E00"), "?"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.expected, r.got);
}

TEST(Format, WideConversions) {
    struct Row {
        std::u16string got;
        const char16_t* expected;
    } rows[] = {
        {W(u"%s <%s>", u"Matti", u"123"), u"Matti <123>"},
        {W(u"%s %c%c%s%c%c", u"N", u'<', u'\'', u"99", u'\'', u'>'), u"N <'99'>"},
        {W(u"%S|%hs|%ls", "\xE4\x80", "x", u"y"), u"ä€|x|y"},
        {W(u"[%s]", u"ryhmä"), u"[ryhmä]"},
        {W(u"%d muuta", -3), u"-3 muuta"},
        {W(u"%C", 'x'), u"x"},
    };
    for (const Row& r : rows) EXPECT_EQ(std::u16string(r.expected), r.got);
}

TEST(Format, OutputStopsAt1023Characters) {
    std::string big(2000, 'x');
    std::string out = A("ab%s", big.c_str());
    EXPECT_EQ(1023u, out.size());
    EXPECT_EQ("abx", out.substr(0, 3));
    std::u16string wbig(2000, u'y');
    EXPECT_EQ(1023u, W(u"%s%s", wbig.c_str(), wbig.c_str()).size());
    char buf[1100];
    EXPECT_EQ(1023, wsprintfA(buf, "%1500d", 1));
}

TEST(Format, VariadicEntryPoints) {
    char a[32];
    EXPECT_EQ(9, wsprintfA(a, "Time %d:%d%d", 7, 0, 5));
    EXPECT_STREQ("Time 7:05", a);
    WCHAR w[32];
    EXPECT_EQ(3, wsprintfW(w, u"%s", u"abc"));
    EXPECT_EQ(std::u16string(u"abc"), std::u16string(w));
}

}  // namespace
