#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

std::u16string ToWide(UINT cp, const std::string& bytes, DWORD flags = 0) {
    int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(n), u'\0');
    if (n > 0) {
        EXPECT_EQ(n, MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), &out[0], n));
    }
    return out;
}

std::string ToBytes(UINT cp, const std::u16string& text, DWORD flags = 0, const char* defaultChar = nullptr,
                    BOOL* usedDefault = nullptr) {
    int n = WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, defaultChar,
                                usedDefault);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0) {
        EXPECT_EQ(n, WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), &out[0], n,
                                         defaultChar, usedDefault));
    }
    return out;
}

// The ANSI page converts as 1252 defines it: the whole 0x80-0x9F block
// both ways (its five unassigned bytes pass through as the C1 controls),
// and a character 1252 lacks becomes the default '?' with the flag set.
TEST(CodePage, AnsiIs1252) {
    EXPECT_EQ(1252u, GetACP());
    const char16_t block80[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::string bytes;
    for (int b = 0x80; b < 0xA0; ++b) bytes.push_back(static_cast<char>(b));
    const std::u16string wide(block80, 32);
    BOOL used = TRUE;
    EXPECT_EQ(wide, ToWide(CP_ACP, bytes));
    EXPECT_EQ(bytes, ToBytes(CP_ACP, wide, 0, nullptr, &used));
    EXPECT_FALSE(used);

    struct Row {
        std::u16string text;
        std::string bytes;
        BOOL usedDefault;
    } rows[] = {
        {u"a\u4E00b", "a?b", TRUE},
        {u"\u00FF\u0178", "\xFF\x9F", FALSE},  // both y-diaeresis forms are in the page
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bytes);
        used = -1;
        EXPECT_EQ(r.bytes, ToBytes(CP_ACP, r.text, 0, nullptr, &used));
        EXPECT_EQ(r.usedDefault, used);
    }
}

TEST(CodePage, Specials1252MapAsWindows) {
    struct Row {
        unsigned char byte;
        char16_t wide;
    } rows[] = {
        {0x41, u'A'},     {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x8A, 0x0160}, {0x8D, 0x008D},
        {0x8F, 0x008F},   {0x90, 0x0090}, {0x92, 0x2019}, {0x96, 0x2013}, {0x99, 0x2122}, {0x9D, 0x009D},
        {0x9E, 0x017E},   {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE4, 0x00E4}, {0xFF, 0x00FF},
    };
    for (const Row& r : rows) {
        for (UINT cp : {static_cast<UINT>(CP_ACP), 1252u}) {
            SCOPED_TRACE(r.byte);
            EXPECT_EQ(std::u16string(1, r.wide), ToWide(cp, std::string(1, static_cast<char>(r.byte)), MB_PRECOMPOSED));
            EXPECT_EQ(std::string(1, static_cast<char>(r.byte)), ToBytes(cp, std::u16string(1, r.wide)));
        }
    }
}

TEST(CodePage, Every1252ByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    BOOL used = TRUE;
    EXPECT_EQ(all, ToBytes(CP_ACP, ToWide(CP_ACP, all), 0, nullptr, &used));
    EXPECT_FALSE(used);
}

TEST(CodePage, Utf8RoundTripsIncludingSurrogatePairs) {
    const std::u16string text = u"Kesä €5 \U0001F600 日本";
    std::string utf8 = ToBytes(CP_UTF8, text);
    EXPECT_EQ("Kes\xC3\xA4 \xE2\x82\xAC" "5 \xF0\x9F\x98\x80 \xE6\x97\xA5\xE6\x9C\xAC", utf8);
    EXPECT_EQ(text, ToWide(CP_UTF8, utf8));
}

TEST(CodePage, InvalidUtf8) {
    struct Row {
        const char* bytes;
        std::u16string lenient;
    } rows[] = {
        {"a\xFF" "b", u"a\uFFFDb"},
        {"\xC0\x80", u"\uFFFD\uFFFD"},          // overlong NUL
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
        {"\xE2\x82", u"\uFFFD\uFFFD"},           // truncated
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bytes);
        EXPECT_EQ(r.lenient, ToWide(CP_UTF8, r.bytes));
        WCHAR buf[8];
        SetLastError(0);
        EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, r.bytes, -1, buf, 8));
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
    }
    char out[8];
    const WCHAR lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(5, WideCharToMultiByte(CP_UTF8, 0, lone, 3, out, 8, nullptr, nullptr));
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 3, out, 8, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
}

TEST(CodePage, CompositeCheck) {
    struct Row {
        std::u16string in;
        DWORD flags;
        std::string out;
        bool usedDefault;
    } rows[] = {
        {u"e\u0301", WC_COMPOSITECHECK, "\xE9", false},
        {u"A\u030Angstr\u00F6m", WC_COMPOSITECHECK, "\xC5ngstr\xF6m", false},
        {u"S\u030C", WC_COMPOSITECHECK, "\x8A", false},
        {u"Y\u0308", WC_COMPOSITECHECK, "\x9F", false},
        {u"e\u0301", 0, "e?", true},                                    // no composition asked
        {u"q\u0301", WC_COMPOSITECHECK, "q?", true},                    // no precomposed form
        {u"q\u0301", WC_COMPOSITECHECK | WC_SEPCHARS, "q?", true},
        {u"q\u0301", WC_COMPOSITECHECK | WC_DISCARDNS, "q", false},
        {u"q\u0301x", WC_COMPOSITECHECK | WC_DEFAULTCHAR, "?x", true},
        {u"\u00E9", WC_COMPOSITECHECK, "\xE9", false},                  // already composed
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.out);
        BOOL used = -1;
        EXPECT_EQ(r.out, ToBytes(CP_ACP, r.in, r.flags, nullptr, &used));
        EXPECT_EQ(r.usedDefault ? TRUE : FALSE, used);
    }
}

TEST(CodePage, DefaultCharIsCallersChoice) {
    BOOL used = FALSE;
    EXPECT_EQ("a*b", ToBytes(CP_ACP, u"a\u4E00b", 0, "*", &used));
    EXPECT_TRUE(used);
}

TEST(CodePage, BufferSizesAndTerminators) {
    // -1 counts and writes the NUL.
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0));
    WCHAR w[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, w, 4));
    EXPECT_EQ(std::u16string(u"abc"), std::u16string(w));
    // An explicit length does not add one.
    WCHAR w2[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(2, MultiByteToWideChar(CP_ACP, 0, "abc", 2, w2, 3));
    EXPECT_EQ(u'x', w2[2]);

    struct Row {
        int size;
        int result;
        DWORD error;
    } rows[] = {{3, 0, ERROR_INSUFFICIENT_BUFFER}, {4, 4, 0}, {10, 4, 0}};
    for (const Row& r : rows) {
        SetLastError(0);
        char a[10] = {};
        WCHAR ww[10] = {};
        EXPECT_EQ(r.result, WideCharToMultiByte(CP_ACP, 0, u"abc", -1, a, r.size, nullptr, nullptr));
        EXPECT_EQ(r.error, GetLastError());
        SetLastError(0);
        EXPECT_EQ(r.result, MultiByteToWideChar(CP_ACP, 0, "abc", -1, ww, r.size));
        EXPECT_EQ(r.error, GetLastError());
    }
}

TEST(CodePage, BadUseGetsWindowsErrors) {
    static char a[8];
    static WCHAR w[8];
    static BOOL used;
    struct Row {
        const char* what;
        int (*call)();
        DWORD error;
    } rows[] = {
        {"null source", [] { return MultiByteToWideChar(CP_ACP, 0, nullptr, 3, w, 8); }, ERROR_INVALID_PARAMETER},
        {"zero length", [] { return MultiByteToWideChar(CP_ACP, 0, "abc", 0, w, 8); }, ERROR_INVALID_PARAMETER},
        {"length < -1", [] { return MultiByteToWideChar(CP_ACP, 0, "abc", -2, w, 8); }, ERROR_INVALID_PARAMETER},
        {"unknown page", [] { return MultiByteToWideChar(437, 0, "abc", -1, w, 8); }, ERROR_INVALID_PARAMETER},
        {"utf8 flags", [] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", -1, w, 8); },
         ERROR_INVALID_FLAGS},
        {"both composite", [] { return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "a", -1, w, 8); },
         ERROR_INVALID_FLAGS},
        {"null wide", [] { return WideCharToMultiByte(CP_ACP, 0, nullptr, 3, a, 8, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
        {"utf8 default", [] { return WideCharToMultiByte(CP_UTF8, 0, u"a", -1, a, 8, nullptr, &used); },
         ERROR_INVALID_PARAMETER},
        {"utf8 composite",
         [] { return WideCharToMultiByte(CP_UTF8, WC_COMPOSITECHECK, u"a", -1, a, 8, nullptr, nullptr); },
         ERROR_INVALID_FLAGS},
        {"null out", [] { return WideCharToMultiByte(CP_ACP, 0, u"a", -1, nullptr, 8, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SetLastError(0);
        EXPECT_EQ(0, r.call());
        EXPECT_EQ(r.error, GetLastError());
    }
}

TEST(CodePage, SingleByteHelpers) {
    EXPECT_FALSE(IsDBCSLeadByte(0x81));
    EXPECT_FALSE(IsDBCSLeadByte(0xE4));
    const char text[] = "\xE4x";
    EXPECT_EQ(text + 1, CharNextA(text));
    EXPECT_EQ(text + 2, CharNextA(text + 2));  // stays on the NUL
}

}  // namespace
