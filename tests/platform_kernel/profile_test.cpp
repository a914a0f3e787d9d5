#include <string>

#include "windows_dir_test.h"
#include "windows.h"

namespace {

class Profile : public WindowsDirTest {
protected:
    std::string Read(const char* section, const char* key, const char* def, DWORD size = 64,
                     const char* file = "TEST.INI") {
        char buf[256];
        DWORD n = GetPrivateProfileStringA(section, key, def, buf, size, file);
        return std::string(buf, n);
    }
};

TEST_F(Profile, ReadsValuesCaseInsensitively) {
    Put("TEST.INI", "; comment\r\n[Mail]\r\nMAPI=1\r\n  MAPIX = 1 \r\n\r\n[Other]\nKey=\"quoted\"\nEmpty=\n");
    struct Row {
        const char* section;
        const char* key;
        const char* def;
        std::string expected;
    } rows[] = {
        {"Mail", "MAPIX", "d", "1"},     {"mail", "mapix", "d", "1"},   {"Mail", "Nope", "def  ", "def"},
        {"None", "MAPI", nullptr, ""},   {"Other", "Key", "", "quoted"}, {"Other", "Empty", "d", ""},
        {"Mail", nullptr, "", std::string("MAPI\0MAPIX\0", 11)},
        {nullptr, nullptr, "", std::string("Mail\0Other\0", 11)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        EXPECT_EQ(r.expected, Read(r.section, r.key, r.def));
    }
    EXPECT_EQ(1u, GetPrivateProfileIntA("Mail", "MAPIX", 7, "TEST.INI"));
    EXPECT_EQ(7u, GetPrivateProfileIntA("Mail", "Missing", 7, "TEST.INI"));
}

TEST_F(Profile, SmallBuffersAreCutAsWindowsDoes) {
    Put("TEST.INI", "[S]\nK=abcdef\nL=x\n");
    EXPECT_EQ("abc", Read("S", "K", "", 4));
    EXPECT_EQ(std::string("K\0", 2), Read("S", nullptr, "", 4));  // list: size - 2
    EXPECT_EQ("", Read("S", "K", "", 1));
}

TEST_F(Profile, WinIniAndProfileInt) {
    EXPECT_EQ(0u, GetProfileIntA("Mail", "MAPIX", 0));  // no WIN.INI at all
    Put("WIN.INI", "[Mail]\nMAPIX=1\n[N]\nneg=-4\nbad=x1\nbig=4294967297\n");
    EXPECT_EQ(1u, GetProfileIntA("Mail", "MAPIX", 0));
    EXPECT_EQ(0u, GetProfileIntA("N", "neg", 9));
    EXPECT_EQ(0u, GetProfileIntA("N", "bad", 9));
    char buf[16];
    EXPECT_EQ(1u, GetProfileStringA("mail", "mapix", "", buf, sizeof buf));
}

TEST_F(Profile, WritesKeepTheRestOfTheFile) {
    Put("TEST.INI", "; keep me\n[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    EXPECT_TRUE(WritePrivateProfileStringA("A", "x", "10", "TEST.INI"));
    EXPECT_TRUE(WritePrivateProfileStringA("A", "new", "n", "TEST.INI"));
    EXPECT_TRUE(WritePrivateProfileStringA("B", "z", nullptr, "TEST.INI"));
    EXPECT_TRUE(WritePrivateProfileStringA("C", "c", "c", "TEST.INI"));
    EXPECT_EQ("; keep me\r\n[A]\r\nx=10\r\ny=2\r\nnew=n\r\n\r\n[B]\r\n\r\n[C]\r\nc=c\r\n", Get("TEST.INI"));
    EXPECT_TRUE(WritePrivateProfileStringA("A", nullptr, nullptr, "TEST.INI"));
    EXPECT_EQ("", Read("A", "y", ""));
    EXPECT_EQ("c", Read("C", "c", ""));
    // Wide calls meet the same 1252 file.
    EXPECT_TRUE(WritePrivateProfileStringW(u"W", u"nimi", u"Jyväskylä", u"TEST.INI"));
    EXPECT_EQ("Jyv\xE4skyl\xE4", Read("W", "NIMI", ""));
    WCHAR wbuf[32];
    EXPECT_EQ(9u, GetPrivateProfileStringW(u"W", u"nimi", u"", wbuf, 32, u"TEST.INI"));
    EXPECT_EQ(std::u16string(u"Jyväskylä"), std::u16string(wbuf));
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", "TEST.INI"));
}

TEST_F(Profile, FullPathsAndMissingDirectories) {
    std::string path = WinPath("sub\\my.ini");
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", path.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    std::filesystem::create_directory(Path("sub"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "v", path.c_str()));
    EXPECT_EQ("[S]\r\nk=v\r\n", Get("sub/my.ini"));
    char buf[8];
    EXPECT_EQ(1u, GetPrivateProfileStringA("S", "k", "", buf, sizeof buf, path.c_str()));
}

TEST_F(Profile, DamagedFilesReadWithoutHarm) {
    const std::string damaged[] = {
        std::string("[Mail\nMAPIX=1\n"),                 // unterminated section
        std::string("MAPIX=1\n[Mail]"),                   // key before any section
        std::string("[Mail]\nMAPIX\n=1\n"),               // no '=' / no key
        std::string("\0\0[Mail]\0MAPIX=1", 16),           // NULs
        std::string(100000, '['),                         // one huge line
        std::string("[Mail]\nMAPIX=\"1\n"),               // unbalanced quote
    };
    for (const std::string& content : damaged) {
        Put("TEST.INI", content);
        char buf[32];
        GetPrivateProfileStringA("Mail", "MAPIX", "d", buf, sizeof buf, "TEST.INI");
        GetPrivateProfileStringA(nullptr, nullptr, "d", buf, sizeof buf, "TEST.INI");
        GetPrivateProfileIntA("Mail", "MAPIX", 5, "TEST.INI");
        EXPECT_TRUE(WritePrivateProfileStringA("Mail", "Added", "1", "TEST.INI"));
        EXPECT_EQ("1", Read("Mail", "Added", ""));
    }
}

}  // namespace
