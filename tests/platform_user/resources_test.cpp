#include "harness.h"
#include "posix/user/res.h"

DWORD WINAPI GetLastError(void);

namespace {

class ResourcesTest : public UserTest {};

TEST_F(ResourcesTest, StringsFromTheirBlocks) {
    struct Case {
        UINT id;
        int max;
        const char16_t* want;
        int len;
    } cases[] = {
        {IDS_HELLO, 64, u"Hei maailma", 11},
        {IDS_SECOND, 64, u"Toinen ä", 8},
        {IDS_LATE, 64, u"Myöhäinen", 9},
        {IDS_HELLO, 4, u"Hei", 3},  // cut to the buffer
        {3, 64, u"", 0},            // absent in an existing block
        {5000, 64, u"", 0},         // absent block
    };
    for (auto& c : cases) {
        WCHAR buf[64] = {u'#'};
        EXPECT_EQ(LoadStringW(nullptr, c.id, buf, c.max), c.len) << c.id;
        EXPECT_EQ(std::u16string(buf), std::u16string(c.want)) << c.id;
    }
    char a[64];
    EXPECT_EQ(LoadStringA(nullptr, IDS_SECOND, a, 64), 8);
    EXPECT_STREQ(a, "Toinen \xE4");
}

TEST_F(ResourcesTest, FindDialogTemplates) {
    HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_TEST), RT_DIALOG);
    ASSERT_NE(r, nullptr);
    DWORD size = SizeofResource(nullptr, r);
    auto* p = (const unsigned char*)LockResource(LoadResource(nullptr, r));
    winres::DialogTemplate t;
    ASSERT_TRUE(winres::ParseDialog(p, size, t));
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.title, u"Testi");
    EXPECT_EQ(t.face, u"MS Shell Dlg");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.items.size(), 13u);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(999), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)1814);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)1813);
    HRSRC old = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_PLAIN), (LPCSTR)RT_DIALOG);
    ASSERT_NE(old, nullptr);
    ASSERT_TRUE(winres::ParseDialog((const unsigned char*)LockResource(LoadResource(nullptr, old)),
                                    SizeofResource(nullptr, old), t));
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.items.size(), 2u);
    EXPECT_EQ(t.items[0].cls.id, 0x82);
}

TEST_F(ResourcesTest, DamagedImagesAreRefused) {
    HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_TEST), RT_DIALOG);
    auto* p = (const unsigned char*)LockResource(LoadResource(nullptr, r));
    DWORD size = SizeofResource(nullptr, r);
    winres::DialogTemplate t;
    // Every truncation of a good template must fail cleanly, never read past it.
    for (DWORD n = 0; n + 8 < size; n += 7) {
        std::vector<unsigned char> cut(p, p + n);
        EXPECT_FALSE(winres::ParseDialog(cut.data(), cut.size(), t)) << n;
    }
    std::vector<winres::ResEntry> e;
    const unsigned char bad[32] = {0xff, 0xff, 0xff, 0x7f, 0x20, 0, 0, 0};
    EXPECT_FALSE(winres::ParseRes(bad, sizeof bad, e));
    const unsigned char tiny[32] = {0, 0, 0, 0, 8, 0, 0, 0};
    EXPECT_FALSE(winres::ParseRes(tiny, sizeof tiny, e));
}

}  // namespace
