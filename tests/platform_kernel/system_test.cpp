#include <time.h>

#include <cstdlib>
#include <string>

#include "scratch_dir_test.h"
#include "wide_text.h"
#include "windows.h"

namespace {

class System : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        setenv("FAX_WINDIR", (dir + "/win").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("FAX_WINDIR");
        unsetenv("FAX_USERNAME");
        unsetenv("FAX_COMPUTERNAME");
        unsetenv("TZ");
        tzset();
        ScratchDirTest::TearDown();
    }
};

TEST_F(System, WindowsDirectoryIsCreatedAndSpelledWithBackslashes) {
    char buf[MAX_PATH];
    UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    std::string expected = WinPath("win");
    EXPECT_EQ(expected.size(), n);
    EXPECT_EQ(expected, buf);
    EXPECT_TRUE(std::filesystem::is_directory(Path("win")));
    EXPECT_EQ(n + 1, GetWindowsDirectoryA(buf, 3));  // too small: size with NUL
    WCHAR wbuf[MAX_PATH];
    EXPECT_EQ(n, GetWindowsDirectoryW(wbuf, MAX_PATH));
    EXPECT_EQ(AsU16(expected), std::u16string(wbuf));

    // A directory that cannot be made gives 0.
    Put("file", "x");
    setenv("FAX_WINDIR", (dir + "/file/win").c_str(), 1);
    EXPECT_EQ(0u, GetWindowsDirectoryA(buf, MAX_PATH));
}

TEST_F(System, UserAndComputerNameBufferContracts) {
    setenv("FAX_USERNAME", "matti", 1);
    setenv("FAX_COMPUTERNAME", "TYOASEMA", 1);
    struct Row {
        DWORD size;
        BOOL ok;
        DWORD sizeAfter;
        DWORD error;
    };
    // GetUserName counts the NUL in both directions.
    for (const Row& r : {Row{6, TRUE, 6, 0}, Row{5, FALSE, 6, ERROR_INSUFFICIENT_BUFFER}, Row{0, FALSE, 6, ERROR_INSUFFICIENT_BUFFER}}) {
        WCHAR buf[16];
        DWORD size = r.size;
        SetLastError(0);
        EXPECT_EQ(r.ok, GetUserNameW(buf, &size));
        EXPECT_EQ(r.sizeAfter, size);
        EXPECT_EQ(r.error, GetLastError());
        if (r.ok) {
            EXPECT_EQ(std::u16string(u"matti"), std::u16string(buf));
        }
    }
    // GetComputerName returns the length without it, and asks for it with it.
    for (const Row& r : {Row{9, TRUE, 8, 0}, Row{8, FALSE, 9, ERROR_BUFFER_OVERFLOW}}) {
        char buf[16];
        DWORD size = r.size;
        SetLastError(0);
        EXPECT_EQ(r.ok, GetComputerNameA(buf, &size));
        EXPECT_EQ(r.sizeAfter, size);
        EXPECT_EQ(r.error, GetLastError());
        if (r.ok) {
            EXPECT_STREQ("TYOASEMA", buf);
        }
    }
    unsetenv("FAX_COMPUTERNAME");
    WCHAR host[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    EXPECT_TRUE(GetComputerNameW(host, &size));
    EXPECT_LE(size, static_cast<DWORD>(MAX_COMPUTERNAME_LENGTH));
    setenv("FAX_USERNAME", "", 1);
    WCHAR empty[4];
    size = 4;
    EXPECT_TRUE(GetUserNameW(empty, &size));
    EXPECT_EQ(1u, size);
}

// The layer's clock against the C library's for the same second, field by
// field. The zone is 5:45 ahead of UTC so that local and universal time
// differ in hours and minutes, and near midnight in the day too.
TEST_F(System, Time) {
    setenv("TZ", "FAX-5:45", 1);
    tzset();
    SYSTEMTIME local{}, utc{};
    char text[9] = {};
    // The layer's clock; time() may read a coarser one, a tick behind.
    auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_REALTIME, &t);
        return t.tv_sec;
    };
    time_t before = 0, after = 0;
    for (int tries = 0; tries < 5; ++tries) {  // again if a second began meanwhile
        before = now();
        GetLocalTime(&local);
        GetSystemTime(&utc);
        _strtime(text);
        after = now();
        if (before == after) break;
    }
    ASSERT_EQ(before, after);
    struct tm localTm {}, utcTm {};
    localtime_r(&before, &localTm);
    gmtime_r(&before, &utcTm);
    char expectedText[16];
    strftime(expectedText, sizeof expectedText, "%H:%M:%S", &localTm);
    EXPECT_STREQ(expectedText, text);
    struct Row {
        const char* what;
        const SYSTEMTIME& got;
        const struct tm& want;
    } rows[] = {{"local", local, localTm}, {"utc", utc, utcTm}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.want.tm_year + 1900, r.got.wYear);
        EXPECT_EQ(r.want.tm_mon + 1, r.got.wMonth);
        EXPECT_EQ(r.want.tm_mday, r.got.wDay);
        EXPECT_EQ(r.want.tm_wday, r.got.wDayOfWeek);
        EXPECT_EQ(r.want.tm_hour, r.got.wHour);
        EXPECT_EQ(r.want.tm_min, r.got.wMinute);
        EXPECT_EQ(r.want.tm_sec, r.got.wSecond);
        EXPECT_LT(r.got.wMilliseconds, 1000);
    }
    DWORD t0 = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - t0, 20u);
}

TEST_F(System, VersionIsNtFamily) {
    OSVERSIONINFOA info{};
    EXPECT_FALSE(GetVersionExA(&info));  // size not set
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), info.dwPlatformId);
    EXPECT_EQ(0u, GetVersion() & 0x80000000u);
}

TEST_F(System, GlobalMemory) {
    struct Row {
        UINT flags;
        bool handleIsPointer;
        size_t size;  // from 8 MiB a zero-filled block is a mapping of its own
    } rows[] = {{GMEM_FIXED | GMEM_ZEROINIT, true, 1412},
                {GHND, false, 1412},
                {GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, false, 1412},
                {GPTR, true, (8u << 20) + 3},
                {GHND, false, 9u << 20}};
    for (const Row& r : rows) {
        HGLOBAL h = GlobalAlloc(r.flags, r.size);
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(r.size, GlobalSize(h));
        auto* p = static_cast<unsigned char*>(GlobalLock(h));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(r.handleIsPointer, static_cast<void*>(p) == h);
        bool zero = true;
        for (size_t i = 0; i < r.size; i += 4093) zero = zero && p[i] == 0;
        EXPECT_TRUE(zero && p[r.size - 1] == 0);
        p[r.size - 1] = 1;  // the last byte is the block's
        GlobalUnlock(h);
        EXPECT_EQ(nullptr, GlobalFree(h));
        EXPECT_EQ(h, GlobalFree(h));  // a second free is refused
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
        EXPECT_EQ(0u, GlobalSize(h));
    }
    HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, 8);
    GlobalLock(m);
    GlobalLock(m);
    EXPECT_TRUE(GlobalUnlock(m));   // still locked once
    EXPECT_FALSE(GlobalUnlock(m));  // now unlocked
    EXPECT_EQ(static_cast<DWORD>(NO_ERROR), GetLastError());
    GlobalFree(m);
    HLOCAL l = LocalAlloc(LPTR, 16);
    ASSERT_NE(nullptr, l);
    EXPECT_EQ(nullptr, LocalFree(l));
    int local = 0;
    EXPECT_EQ(nullptr, GlobalLock(&local));  // not ours: refused, not touched
}

}  // namespace
