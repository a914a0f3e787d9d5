#include "harness.h"

namespace {

class GdiTextTest : public UserTest {};

TEST_F(GdiTextTest, CharacterClasses) {
    struct Case {
        WCHAR c;
        bool alpha, alnum, upper, lower;
    } cases[] = {
        {u'a', 1, 1, 0, 1},    {u'Z', 1, 1, 1, 0},    {u'ä', 1, 1, 0, 1},    {u'Ö', 1, 1, 1, 0},
        {u'ß', 1, 1, 0, 1},    {u'µ', 1, 1, 0, 1},    {u'ª', 1, 1, 0, 1},    {u'5', 0, 1, 0, 0},
        {u'²', 0, 1, 0, 0},    {u'½', 0, 0, 0, 0},    {u' ', 0, 0, 0, 0},    {u'-', 0, 0, 0, 0},
        {u'*', 0, 0, 0, 0},    {u'€', 0, 0, 0, 0},    {u'_', 0, 0, 0, 0},    {u'Ω', 1, 1, 1, 0},
        {u'я', 1, 1, 0, 1},    {u'中', 1, 1, 0, 0},   {0x0661, 0, 1, 0, 0},  {0xFF15, 0, 1, 0, 0},
        {0x05D0, 1, 1, 0, 0},  {0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << (unsigned)c.c);
        EXPECT_EQ(IsCharAlphaW(c.c) != FALSE, c.alpha);
        EXPECT_EQ(IsCharAlphaNumericW(c.c) != FALSE, c.alnum);
        EXPECT_EQ(IsCharUpperW(c.c) != FALSE, c.upper);
        EXPECT_EQ(IsCharLowerW(c.c) != FALSE, c.lower);
    }
    // The ANSI forms read the byte in the ANSI code page (1252 here).
    EXPECT_TRUE(IsCharAlphaA((CHAR)0xE4));   // ä
    EXPECT_TRUE(IsCharUpperA((CHAR)0xD6));   // Ö
    EXPECT_FALSE(IsCharAlphaA((CHAR)0x80));  // €
    EXPECT_TRUE(IsCharAlphaNumericA('7'));
    EXPECT_FALSE(IsCharAlphaNumericA('*'));
    EXPECT_TRUE(IsCharLowerA('q'));
}

TEST_F(GdiTextTest, MapModeOfADeviceContext) {
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HDC mem = CreateCompatibleDC(dc);
    constexpr int kKeep = -1;  // only read the mode
    struct Case {
        const char* name;
        HDC dc;
        int set;
        int answer;  // SetMapMode's
        int after;   // GetMapMode's
    } cases[] = {
        {"fresh context", mem, kKeep, 0, MM_TEXT},
        {"to anisotropic", mem, MM_ANISOTROPIC, MM_TEXT, MM_ANISOTROPIC},
        {"below the range", mem, 0, 0, MM_ANISOTROPIC},
        {"above the range", mem, MM_ANISOTROPIC + 1, 0, MM_ANISOTROPIC},
        {"to twips", mem, MM_TWIPS, MM_ANISOTROPIC, MM_TWIPS},
        {"another context keeps its own", dc, kKeep, 0, MM_TEXT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.set != kKeep) {
            EXPECT_EQ(SetMapMode(c.dc, c.set), c.answer);
        }
        EXPECT_EQ(GetMapMode(c.dc), c.after);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(GetMapMode(mem), 0) << "a deleted context has no mode";
}

}  // namespace
