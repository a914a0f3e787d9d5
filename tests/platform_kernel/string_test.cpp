#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

TEST(Strings, Lengths) {
    EXPECT_EQ(0, lstrlenA(nullptr));
    EXPECT_EQ(0, lstrlenW(nullptr));
    EXPECT_EQ(3, lstrlenA("abc"));
    EXPECT_EQ(4, lstrlenW(u"Kesä"));
}

TEST(Strings, CopyNAlwaysTerminatesWithinTheLimit) {
    struct Row {
        const char* src;
        int max;
        const char* expected;
    } rows[] = {{"abcdef", 4, "abc"}, {"abc", 4, "abc"}, {"abc", 1, ""}, {"", 5, ""}};
    for (const Row& r : rows) {
        char buf[8];
        std::fill(buf, buf + 8, 'Z');
        EXPECT_EQ(buf, lstrcpynA(buf, r.src, r.max));
        EXPECT_STREQ(r.expected, buf);
        WCHAR wbuf[8];
        std::fill(wbuf, wbuf + 8, u'Z');
        std::u16string wsrc(r.src, r.src + std::char_traits<char>::length(r.src));
        lstrcpynW(wbuf, wsrc.c_str(), r.max);
        EXPECT_EQ(std::u16string(r.expected, r.expected + std::char_traits<char>::length(r.expected)),
                  std::u16string(wbuf));
        EXPECT_EQ(u'Z', wbuf[r.max]);  // nothing written past the limit
    }
    char untouched[2] = {'Q', 0};
    lstrcpynA(untouched, "abc", 0);
    EXPECT_EQ('Q', untouched[0]);
}

TEST(Strings, CopyAndConcatenate) {
    WCHAR w[16];
    lstrcpyW(w, u"Nimi");
    lstrcatW(w, u": ");
    lstrcatW(w, u"Ääni");
    EXPECT_EQ(std::u16string(u"Nimi: Ääni"), std::u16string(w));
    char a[16];
    lstrcpyA(a, "ab");
    EXPECT_STREQ("abcd", lstrcatA(a, "cd"));
    EXPECT_EQ(nullptr, lstrcpyA(nullptr, "x"));
}

TEST(Strings, Comparisons) {
    struct Row {
        const char16_t* a;
        const char16_t* b;
        int cmp;
        int cmpi;
    } rows[] = {
        {u"abc", u"abc", 0, 0},       {u"abc", u"ABC", -1, 0},     {u"ABC", u"abc", 1, 0},
        {u"a", u"B", -1, -1},         {u"B", u"a", 1, 1},          {u"abc", u"abd", -1, -1},
        {u"ab", u"abc", -1, -1},      {u"Äiti", u"äITI", 1, 0},    {u"šakki", u"ŠAKKI", -1, 0},
        {u"Ab", u"aC", -1, -1},       {u"", u"", 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.a, r.a + std::char_traits<char16_t>::length(r.a)).size());
        EXPECT_EQ(r.cmp, lstrcmpW(r.a, r.b));
        EXPECT_EQ(r.cmpi, lstrcmpiW(r.a, r.b));
    }
    EXPECT_EQ(0, lstrcmpiA("\xC4iti", "\xE4ITI"));  // Ä / ä in 1252
    EXPECT_EQ(0, lstrcmpiA("\x8A", "\x9A"));        // Š / š
    EXPECT_LT(lstrcmpA("a", "A"), 0);
    EXPECT_LT(lstrcmpA(nullptr, "a"), 0);
    EXPECT_EQ(0, lstrcmpA(nullptr, nullptr));
}

TEST(Strings, CaseMapping) {
    WCHAR w[] = u"kesä öljy ÿ šœž ß µ ω д ё";
    CharUpperW(w);
    EXPECT_EQ(std::u16string(u"KESÄ ÖLJY Ÿ ŠŒŽ ß µ Ω Д Ё"), std::u16string(w));
    CharLowerW(w);
    EXPECT_EQ(std::u16string(u"kesä öljy ÿ šœž ß µ ω д ё"), std::u16string(w));

    char a[] = "abc\xE4\xF6\x9A\x9C\xFF\xF7";
    CharUpperA(a);
    EXPECT_STREQ("ABC\xC4\xD6\x8A\x8C\x9F\xF7", a);

    WCHAR part[] = u"abcd";
    EXPECT_EQ(2u, CharUpperBuffW(part, 2));
    EXPECT_EQ(std::u16string(u"ABcd"), std::u16string(part));

    // A pointer value below 0x10000 carries a single character.
    EXPECT_EQ(static_cast<uintptr_t>(u'Ä'), reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(u'ä')))));
    EXPECT_EQ(0xC4u, reinterpret_cast<uintptr_t>(CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(0xE4)))));
}

TEST(Strings, IntegerToText) {
    struct Row {
        long value;
        int radix;
        const char* text;
    } rows[] = {{0, 10, "0"},          {-42, 10, "-42"},          {2147483647L, 10, "2147483647"},
                {-2147483647L - 1, 10, "-2147483648"}, {-1, 16, "ffffffff"}, {255, 2, "11111111"},
                {35, 36, "z"}};
    for (const Row& r : rows) {
        char buf[40];
        EXPECT_STREQ(r.text, _ltoa(r.value, buf, r.radix));
    }
    char buf[40];
    EXPECT_STREQ("4294967295", _ultoa(4294967295UL, buf, 10));
    EXPECT_STREQ("", _ltoa(5, buf, 1));
}

}  // namespace
