// Field splitting and the clean-up rules of contact files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "csv_fields.h"

namespace {

// Splits a copy of line; the result is the field texts, or one entry
// "ERR n" for a negative result.
std::vector<std::string> Split(const std::string& line) {
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    std::vector<char*> fields(kMaxCsvFields);
    fields[0] = buf.data();
    int n = SplitFields(fields.data());
    if (n < 0) return {"ERR " + std::to_string(n)};
    return std::vector<std::string>(fields.begin(), fields.begin() + n);
}

using Fields = std::vector<std::string>;

TEST(SplitFields, QuotingAndSeparators) {
    struct Case {
        const char* line;
        Fields expected;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {",", {"", ""}},
        {"a,,b,", {"a", "", "b", ""}},
        {" a , b ", {" a ", " b "}},
        {"\"x, y\",z", {"x, y", "z"}},
        {"\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        {"\"\"\"\",1", {"\"", "1"}},
        {"\"a\"junk,b", {"a", "b"}},
        {"\"a\" ,b", {"a", "b"}},
        {"a\"b\",c", {"a\"b\"", "c"}},
        {"\"\",x", {"", "x"}},
        {"\"ab\"\"", {"ab"}},  // a doubled quote with nothing after it closes the field
        {"\"open", {"ERR -6"}},
        {"a,\"open", {"ERR -6"}},
        {"a,\"x\"\"", {"a", "x"}},
        {"\"a,b", {"ERR -6"}},
        {"x,\"\"\"\"\"\"", {"x", "\"\""}},
        // Separators found sixteen bytes at a time: several in one block,
        // a field over two blocks, the last block overlapping those passed.
        {"a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r",
         {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r"}},
        {"0123456789abcdefghij,x", {"0123456789abcdefghij", "x"}},
        {"abcdefghijklmno,", {"abcdefghijklmno", ""}},
        {",bcdefghijklmnop,", {"", "bcdefghijklmnop", ""}},
        {"\"q\"\"r,s\"\"t\",uuuuuuuuuuuuuuu,v", {"q\"r,s\"t", "uuuuuuuuuuuuuuu", "v"}},
        {"\"a\"\",b\"\",c,d\",e,f,g,h,i,j,\"k,l\"", {"a\",b\",c,d", "e", "f", "g", "h", "i", "j", "k,l"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Split(c.line), c.expected) << c.line;
}

TEST(SplitFields, TheLastOfTheFieldsKeepsTheRestOfTheLine) {
    std::string line;
    for (int i = 0; i < 1030; ++i) line += std::to_string(i) + ",";
    Fields f = Split(line);
    ASSERT_EQ(f.size(), 1025u);
    EXPECT_EQ(f[1023], "1023");
    EXPECT_EQ(f[1024], "1024,1025,1026,1027,1028,1029,");

    std::string exact;
    for (int i = 0; i < 1025; ++i) exact += (i ? "," : "") + std::to_string(i);
    Fields g = Split(exact);
    ASSERT_EQ(g.size(), 1025u);
    EXPECT_EQ(g[1024], "1024");
}

std::string Apply(void (*rule)(char*), const std::string& text) {
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back('\0');
    rule(buf.data());
    return buf.data();
}

TEST(CleanUp, TrimAndBrackets) {
    struct Case {
        void (*rule)(char*);
        const char* in;
        const char* out;
    } cases[] = {
        {TrimBlanks, "", ""},
        {TrimBlanks, "   ", ""},
        {TrimBlanks, "  Anna Ek  ", "Anna Ek"},
        {TrimBlanks, "\tTab\t", "\tTab\t"},
        {BracketsToParentheses, "Oy [Helsinki] Ab", "Oy (Helsinki) Ab"},
        {BracketsToParentheses, "]]", "))"},
        {BracketsToParentheses, "\xE9[x]", "\xE9[x)"},  // the byte after a high byte is left
        {BracketsToParentheses, "a\xC4", "a\xC4"},
        // Eight bytes are passed over at once: brackets and high bytes on either side of a word's end.
        {BracketsToParentheses, "1234567[abcdefg]", "1234567(abcdefg)"},
        {BracketsToParentheses, "abcdefgh[ijklmnop]", "abcdefgh(ijklmnop)"},
        {BracketsToParentheses, "abcdefg\xE9[x]yzabcdefg[", "abcdefg\xE9[x)yzabcdefg("},
        {BracketsToParentheses, "abcdefgh\xC4", "abcdefgh\xC4"},
    };
    for (const auto& c : cases) EXPECT_EQ(Apply(c.rule, c.in), c.out) << c.in;
}

TEST(CleanUp, FaxNumbers) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"+358 (9) 123-456", "+358(9)123-456"},
        {"09 1234 567, 8", "0912345678"},
        {"ext*12#", "EXT*12#"},
        {"a[b]c{d}e|f~g", "ABCDEFG"},
        {"\\^_`", "\\^_`"},
        {"!+,-Z[\x1F\x01z{", "!+-ZZ"},
        {"\t\r\x7F\xA0\xE4 ", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string s = c.in;
        std::vector<char> buf(s.begin(), s.end());
        buf.push_back('\0');
        size_t n = CleanFaxNumber(buf.data());
        EXPECT_EQ(std::string(buf.data()), c.out) << c.in;
        EXPECT_EQ(n, std::string(c.out).size());
    }
}

TEST(CleanUp, CopyCutKeepsTheFieldTerminated) {
    char field[32];
    std::memset(field, 'x', sizeof field);
    CopyCut(field, 30, "123456789012345678901234567890EXTRA");
    EXPECT_EQ(std::string(field), "123456789012345678901234567890");
    EXPECT_EQ(field[31], 'x');  // nothing written past the 31 bytes
}

}  // namespace
