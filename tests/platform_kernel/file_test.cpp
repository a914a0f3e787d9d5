#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "posix/fault_injection.h"
#include "scratch_dir_test.h"
#include "wide_text.h"
#include "windows.h"

namespace {

class Files : public ScratchDirTest {};

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
    return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(HANDLE h) {
    std::string out;
    char buf[64];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    return out;
}

TEST_F(Files, Dispositions) {
    struct Row {
        const char* what;
        bool exists;
        DWORD disposition;
        bool opens;
        DWORD error;
        const char* content;  // after open, nullptr = no file
    } rows[] = {
        {"new, absent", false, CREATE_NEW, true, 0, ""},
        {"new, present", true, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
        {"always, absent", false, CREATE_ALWAYS, true, 0, ""},
        {"always, present", true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {"existing, absent", false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"existing, present", true, OPEN_EXISTING, true, 0, "old"},
        {"open always, absent", false, OPEN_ALWAYS, true, 0, ""},
        {"open always, present", true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
        {"truncate, absent", false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"truncate, present", true, TRUNCATE_EXISTING, true, 0, ""},
        {"bad disposition", true, 9, false, ERROR_INVALID_PARAMETER, "old"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::filesystem::remove(Path("f"));
        if (r.exists) Put("f", "old");
        SetLastError(12345);
        HANDLE h = Open(WinPath("f"), GENERIC_READ | GENERIC_WRITE, 0, r.disposition);
        EXPECT_EQ(r.opens, h != INVALID_HANDLE_VALUE);
        EXPECT_EQ(r.error, GetLastError());
        if (h != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(h));
        }
        EXPECT_EQ(r.content != nullptr, Exists("f"));
        if (r.content) {
            EXPECT_EQ(r.content, Get("f"));
        }
    }
}

TEST_F(Files, OpenErrors) {
    Put("ro", "x");
    std::filesystem::permissions(Path("ro"), std::filesystem::perms::owner_read);
    struct Row {
        std::string path;
        DWORD access;
        DWORD disposition;
        DWORD error;
    } rows[] = {
        {WinPath("missing\\f"), GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {WinPath("missing\\f"), GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {dir, GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {WinPath("ro"), GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {WinPath("ro"), GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(INVALID_HANDLE_VALUE, Open(r.path, r.access, FILE_SHARE_READ, r.disposition));
        EXPECT_EQ(r.error, GetLastError());
    }
    HANDLE h = Open(WinPath("ro"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ("x", ReadAll(h));
    CloseHandle(h);
}

TEST_F(Files, ShareModesWithinProcess) {
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, RW = R | W;
    const DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    struct Row {
        DWORD access1, share1, access2, share2;
        bool second;
    } rows[] = {
        {RW, 0, R, SR | SW, false},  {RW, 0, RW, 0, false},      {R, SR, R, SR, true},
        {R, SR, W, SR | SW, false},  {R, SR | SW, W, SR | SW, true}, {W, SR, R, SR, false},
        {W, SR, R, SR | SW, true},   {R, SR, R, 0, false},       {0, 0, RW, 0, true},
        {RW, 0, 0, 0, true},
    };
    Put("f", "data");
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.access1 << "/" << r.share1 << " then " << r.access2 << "/" << r.share2);
        HANDLE first = Open(Path("f"), r.access1, r.share1);
        ASSERT_NE(INVALID_HANDLE_VALUE, first);
        HANDLE second = Open(Path("f"), r.access2, r.share2);
        EXPECT_EQ(r.second, second != INVALID_HANDLE_VALUE);
        if (second == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
        } else {
            CloseHandle(second);
        }
        CloseHandle(first);
        // Closing lets the file go.
        HANDLE again = Open(Path("f"), RW, 0);
        EXPECT_NE(INVALID_HANDLE_VALUE, again);
        CloseHandle(again);
    }
}

TEST_F(Files, ExclusiveOpenHoldsAgainstOtherProcesses) {
    Put("f", "data");
    int toChild[2], toParent[2];
    ASSERT_EQ(0, pipe(toChild));
    ASSERT_EQ(0, pipe(toParent));
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        HANDLE h = Open(Path("f"), GENERIC_READ | GENERIC_WRITE, 0);
        char c = h != INVALID_HANDLE_VALUE ? 'o' : 'x';
        (void)!write(toParent[1], &c, 1);
        (void)!read(toChild[0], &c, 1);  // hold the file until told
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(1, read(toParent[0], &c, 1));
    ASSERT_EQ('o', c);
    for (DWORD share : {0u, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE)}) {
        EXPECT_EQ(INVALID_HANDLE_VALUE, Open(Path("f"), GENERIC_READ, share));
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    }
    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    ASSERT_EQ(1, write(toChild[1], "q", 1));
    int status = 0;
    waitpid(pid, &status, 0);
    HANDLE h = Open(Path("f"), GENERIC_READ, 0);
    EXPECT_NE(INVALID_HANDLE_VALUE, h);  // the child's death released it
    CloseHandle(h);
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) close(fd);
}

TEST_F(Files, ChildCannotOpenWhatParentHoldsExclusively) {
    Put("f", "data");
    HANDLE h = Open(Path("f"), GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    pid_t pid = fork();
    if (pid == 0) {
        HANDLE other = Open(Path("f"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        _exit(other == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION ? 0 : 1);
    }
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    CloseHandle(h);
}

TEST_F(Files, ReadWriteSeekAndSize) {
    HANDLE h = Open(WinPath("f"), GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
    EXPECT_EQ(11u, n);
    EXPECT_EQ(11u, GetFileSize(h, nullptr));
    EXPECT_EQ(6u, SetFilePointer(h, 6, nullptr, FILE_BEGIN));
    char buf[16] = {};
    EXPECT_TRUE(ReadFile(h, buf, 16, &n, nullptr));
    EXPECT_EQ(5u, n);
    EXPECT_STREQ("world", buf);
    EXPECT_TRUE(ReadFile(h, buf, 16, &n, nullptr));  // end of file is success with 0
    EXPECT_EQ(0u, n);
    EXPECT_EQ(9u, SetFilePointer(h, -2, nullptr, FILE_END));
    EXPECT_EQ(7u, SetFilePointer(h, -2, nullptr, FILE_CURRENT));
    EXPECT_EQ(INVALID_SET_FILE_POINTER, SetFilePointer(h, -8, nullptr, FILE_CURRENT));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NEGATIVE_SEEK), GetLastError());
    EXPECT_EQ(7u, SetFilePointer(h, 0, nullptr, FILE_CURRENT));  // unchanged by the failed move
    EXPECT_TRUE(SetEndOfFile(h));
    DWORD high = 99;
    EXPECT_EQ(7u, GetFileSize(h, &high));
    EXPECT_EQ(0u, high);
    EXPECT_TRUE(FlushFileBuffers(h));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ("hello w", Get("f"));
}

TEST_F(Files, HandleMisuse) {
    Put("f", "abc");
    HANDLE r = Open(Path("f"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    HANDLE w = Open(Path("f"), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    static HANDLE sr, sw;
    sr = r;
    sw = w;
    struct Row {
        const char* what;
        BOOL (*call)();
        DWORD error;
    } rows[] = {
        {"write on read handle", [] { DWORD n; return WriteFile(sr, "x", 1, &n, nullptr); }, ERROR_ACCESS_DENIED},
        {"read on write handle", [] { char b[1]; DWORD n; return ReadFile(sw, b, 1, &n, nullptr); }, ERROR_ACCESS_DENIED},
        {"flush read handle", [] { return FlushFileBuffers(sr); }, ERROR_ACCESS_DENIED},
        {"truncate read handle", [] { return SetEndOfFile(sr); }, ERROR_ACCESS_DENIED},
        {"no count", [] { char b[1]; return ReadFile(sr, b, 1, nullptr, nullptr); }, ERROR_INVALID_PARAMETER},
        {"bogus handle", [] { char b[1]; DWORD n; return ReadFile(reinterpret_cast<HANDLE>(0x1234), b, 1, &n, nullptr); },
         ERROR_INVALID_HANDLE},
        {"invalid value", [] { return CloseHandle(INVALID_HANDLE_VALUE); }, ERROR_INVALID_HANDLE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetLastError(0);
        EXPECT_FALSE(row.call());
        EXPECT_EQ(row.error, GetLastError());
    }
    EXPECT_TRUE(CloseHandle(r));
    EXPECT_FALSE(CloseHandle(r));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(INVALID_FILE_SIZE, GetFileSize(r, nullptr));
    CloseHandle(w);
    EXPECT_EQ("abc", Get("f"));
}

TEST_F(Files, DeleteMoveCopy) {
    Put("a", "A");
    Put("b", "B");
    EXPECT_FALSE(MoveFileA(WinPath("a").c_str(), WinPath("b").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_TRUE(MoveFileExA(WinPath("a").c_str(), WinPath("b").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_FALSE(Exists("a"));
    EXPECT_EQ("A", Get("b"));
    EXPECT_FALSE(MoveFileA(WinPath("a").c_str(), WinPath("c").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());

    EXPECT_TRUE(CopyFileA(WinPath("b").c_str(), WinPath("c").c_str(), TRUE));
    EXPECT_EQ("A", Get("c"));
    Put("b", "BB");
    EXPECT_FALSE(CopyFileA(WinPath("b").c_str(), WinPath("c").c_str(), TRUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), GetLastError());
    EXPECT_FALSE(CopyFileW(u"", u"x", FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_TRUE(CopyFileA(Path("b").c_str(), Path("c").c_str(), FALSE));
    EXPECT_EQ("BB", Get("c"));

    EXPECT_TRUE(DeleteFileA(WinPath("c").c_str()));
    EXPECT_FALSE(DeleteFileA(WinPath("c").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_FALSE(DeleteFileA(WinPath("none\\c").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());

    // A read-only file cannot be deleted until it is made normal.
    EXPECT_TRUE(SetFileAttributesA(Path("b").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA(Path("b").c_str()));
    EXPECT_FALSE(DeleteFileA(Path("b").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_TRUE(SetFileAttributesA(Path("b").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileA(Path("b").c_str()));

    // Open without delete sharing: neither delete nor rename.
    Put("d", "D");
    HANDLE h = Open(Path("d"), GENERIC_READ, FILE_SHARE_READ);
    EXPECT_FALSE(DeleteFileA(Path("d").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    EXPECT_FALSE(MoveFileA(Path("d").c_str(), Path("e").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    CloseHandle(h);
    h = Open(Path("d"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
    EXPECT_TRUE(DeleteFileA(Path("d").c_str()));
    CloseHandle(h);
}

TEST_F(Files, ReplacingMoveIsAtomicForReaders) {
    const std::string oldText(4096, 'o'), newText(8192, 'n');
    Put("target", oldText);
    pid_t pid = fork();
    if (pid == 0) {
        // Reader: every complete read sees one whole version.
        for (int i = 0; i < 3000; ++i) {
            std::string s = Get("target");
            if (s != oldText && s != newText) _exit(1);
        }
        _exit(0);
    }
    for (int i = 0; i < 300; ++i) {
        Put("tmp", (i % 2) ? oldText : newText);
        ASSERT_TRUE(MoveFileExA(Path("tmp").c_str(), Path("target").c_str(), MOVEFILE_REPLACE_EXISTING));
    }
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(Files, DirectoriesAttributesAndTempNames) {
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(WinPath("sub").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_TRUE(CreateDirectoryA(WinPath("sub").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(WinPath("sub").c_str(), nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_FALSE(CreateDirectoryA(WinPath("x\\y").c_str(), nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY), GetFileAttributesA(WinPath("sub").c_str()));

    char name[MAX_PATH];
    UINT n = GetTempFileNameA(WinPath("sub").c_str(), "DBX", 0, name);
    ASSERT_NE(0u, n);
    EXPECT_EQ(WinPath("sub\\DBX"), std::string(name).substr(0, WinPath("sub\\DBX").size()));
    EXPECT_EQ(".TMP", std::string(name).substr(std::string(name).size() - 4));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(name));  // created
    UINT second = GetTempFileNameA(WinPath("sub").c_str(), "DBX", 0, name);
    EXPECT_NE(n, second);
    EXPECT_EQ(0x1234u, GetTempFileNameA(WinPath("sub").c_str(), "A", 0x1234, name));
    EXPECT_EQ(WinPath("sub\\A1234.TMP"), name);
    EXPECT_EQ(0u, GetTempFileNameA(WinPath("nodir").c_str(), "A", 0, name));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DIRECTORY), GetLastError());

    char tmp[MAX_PATH];
    DWORD len = GetTempPathA(MAX_PATH, tmp);
    ASSERT_GT(len, 0u);
    EXPECT_EQ('\\', tmp[len - 1]);
    EXPECT_EQ(len + 1, GetTempPathA(2, tmp));  // too small: size needed
}

TEST_F(Files, WideAndAnsiNamesMeetOnDisk) {
    // "ä" in 1252 and in UTF-16 name the same file.
    std::string ansi = WinPath("k\xE4ytt\xE4j\xE4.txt");
    HANDLE h = Open(ansi, GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    EXPECT_TRUE(Exists("käyttäjä.txt"));
    std::u16string wide = AsU16(dir + "/") + u"käyttäjä.txt";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wide.c_str()));
}

class Faults : public ScratchDirTest {
protected:
    void TearDown() override {
        fault::Reset();
        fault::CloseAllFiles();
        ScratchDirTest::TearDown();
    }
    // A small "store operation": write a temporary, flush, replace.
    void SaveTwice() {
        HANDLE h = Open(Path("tmp"), GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (h == INVALID_HANDLE_VALUE) return;
        DWORD n;
        bool ok = WriteFile(h, "new", 3, &n, nullptr) && n == 3 && WriteFile(h, "data", 4, &n, nullptr) && n == 4 &&
                  FlushFileBuffers(h);
        CloseHandle(h);
        if (ok) MoveFileExA(Path("tmp").c_str(), Path("file").c_str(), MOVEFILE_REPLACE_EXISTING);
        else DeleteFileA(Path("tmp").c_str());
    }
};

TEST_F(Faults, CountsCallsByKind) {
    fault::Reset();
    SaveTwice();
    EXPECT_EQ(1, fault::Calls(fault::Op::Create));
    EXPECT_EQ(2, fault::Calls(fault::Op::Write));
    EXPECT_EQ(1, fault::Calls(fault::Op::Flush));
    EXPECT_EQ(1, fault::Calls(fault::Op::Move));
    EXPECT_EQ(0, fault::Calls(fault::Op::Delete));
    EXPECT_EQ(5, fault::Calls(fault::Op::Any));
    EXPECT_EQ("newdata", Get("file"));
}

TEST_F(Faults, FailedOrShortCallsReportAsWindowsWould) {
    struct Row {
        fault::Plan plan;
        bool fileReplaced;
        bool tmpLeft;
    } rows[] = {
        {{fault::Op::Create, 1, fault::Action::Fail, ERROR_ACCESS_DENIED}, false, false},
        {{fault::Op::Write, 2, fault::Action::Fail}, false, false},
        {{fault::Op::Write, 1, fault::Action::Short}, false, false},
        {{fault::Op::Flush, 1, fault::Action::Fail}, false, false},
        {{fault::Op::Move, 1, fault::Action::Fail}, false, true},
        {{fault::Op::Any, 5, fault::Action::Fail}, false, true},
        {{fault::Op::Write, 3, fault::Action::Fail}, true, false},  // never reached
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.plan.op));
        Put("file", "old");
        std::filesystem::remove(Path("tmp"));
        fault::Reset();
        fault::Arm(r.plan);
        SaveTwice();
        EXPECT_EQ(r.fileReplaced ? "newdata" : "old", Get("file"));
        EXPECT_EQ(r.tmpLeft, Exists("tmp"));
    }
    fault::Reset();
    fault::Arm({fault::Op::Write, 1, fault::Action::Fail, ERROR_DISK_FULL});
    HANDLE h = Open(Path("x"), GENERIC_WRITE, 0, CREATE_ALWAYS);
    DWORD n = 7;
    EXPECT_FALSE(WriteFile(h, "abc", 3, &n, nullptr));
    EXPECT_EQ(0u, n);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    fault::Arm({fault::Op::Write, 2, fault::Action::Short});
    EXPECT_TRUE(WriteFile(h, "abcd", 4, &n, nullptr));
    EXPECT_EQ(2u, n);
    CloseHandle(h);
    EXPECT_EQ("ab", Get("x"));
}

TEST_F(Faults, CrashStopsMidWayAndLeavesDiskAsItWas) {
    fault::Reset();
    SaveTwice();
    int total = fault::Calls(fault::Op::Any);
    ASSERT_GT(total, 0) << "no file call was counted";
    for (int n = 1; n <= total; ++n) {
        SCOPED_TRACE(n);
        Put("file", "old");
        std::filesystem::remove(Path("tmp"));
        fault::Reset();
        fault::Arm({fault::Op::Any, n, fault::Action::Crash});
        EXPECT_THROW(SaveTwice(), fault::SimulatedCrash);
        fault::CloseAllFiles();
        EXPECT_EQ("old", Get("file"));  // the rename is the last call
        // The dead process's exclusive open no longer blocks anyone.
        HANDLE h = Open(Path("file"), GENERIC_READ | GENERIC_WRITE, 0);
        EXPECT_NE(INVALID_HANDLE_VALUE, h);
        CloseHandle(h);
    }
}

}  // namespace
