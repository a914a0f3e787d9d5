#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "scratch_dir_test.h"
#include "windows.h"

namespace {

class Modules : public ScratchDirTest {};

std::string SelfDir() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string path(buf, n);
    return path.substr(0, path.find_last_of('\\') + 1);
}

TEST_F(Modules, ExecutableNameAndHandle) {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::string path(buf, n);
    EXPECT_EQ('\\', path[0]);
    EXPECT_NE(std::string::npos, path.find("platform_kernel_tests"));
    HMODULE self = GetModuleHandleA(nullptr);
    ASSERT_NE(nullptr, self);
    EXPECT_EQ(n, GetModuleFileNameA(self, buf, MAX_PATH));
    EXPECT_EQ(self, GetModuleHandleA("platform_kernel_tests.exe"));
    // Too small: cut, terminated, size returned.
    char small[5];
    EXPECT_EQ(5u, GetModuleFileNameA(nullptr, small, 5));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(4u, std::string(small).size());
    WCHAR wide[MAX_PATH];
    EXPECT_EQ(n, GetModuleFileNameW(nullptr, wide, MAX_PATH));
    int notAModule = 0;
    EXPECT_EQ(0u, GetModuleFileNameA(reinterpret_cast<HMODULE>(&notAModule), buf, MAX_PATH));
}

TEST_F(Modules, LoadLibraryMapsDllNamesAndFindsExports) {
    for (const char* name : {"TESTMOD.DLL", "testmod", "testmod.so"}) {
        SCOPED_TRACE(name);
        HMODULE m = LoadLibraryA(name);
        ASSERT_NE(nullptr, m);
        auto add = reinterpret_cast<int (*)(int, int)>(reinterpret_cast<void*>(GetProcAddress(m, "TestAdd")));
        ASSERT_NE(nullptr, add);
        EXPECT_EQ(5, add(2, 3));
        EXPECT_EQ(nullptr, GetProcAddress(m, "Missing"));
        EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
        EXPECT_EQ(nullptr, GetProcAddress(m, MAKEINTRESOURCEA(1)));
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(m, path, MAX_PATH);
        EXPECT_EQ(SelfDir() + "testmod.so", std::string(path, n));
        EXPECT_EQ(m, GetModuleHandleA("TESTMOD.DLL"));
        EXPECT_TRUE(FreeLibrary(m));
    }
    std::string full = SelfDir() + "TESTMOD.DLL";
    HMODULE m = LoadLibraryA(full.c_str());
    EXPECT_NE(nullptr, m);
    FreeLibrary(m);
    EXPECT_EQ(nullptr, LoadLibraryA("MAPI32.DLL"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
    Put("broken.so", "not an ELF file");
    EXPECT_EQ(nullptr, LoadLibraryA(Path("broken.dll").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), GetLastError());
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(0x1000)));
}

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST_F(Modules, WinExecStartsAndDoesNotWait) {
    std::string out = WinPath("DB142530.TMP");
    std::string line = SelfDir() + "winexec_helper.EXE " + out + " second";
    EXPECT_GT(WinExec(line.c_str(), SW_SHOW), 31u);
    ASSERT_TRUE(WaitForFile(Path("DB142530.TMP")));
    EXPECT_EQ(out + "\nsecond\nshow=5\n", Get("DB142530.TMP"));

    struct Row {
        std::string line;
        UINT result;
    } rows[] = {
        {SelfDir() + "no_such_program.exe x", ERROR_FILE_NOT_FOUND},
        {WinPath("nodir\\prog.exe"), ERROR_PATH_NOT_FOUND},
        {"", ERROR_FILE_NOT_FOUND},
        {WinPath("data.txt"), ERROR_BAD_FORMAT},
    };
    Put("data.txt", "plain text");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        EXPECT_EQ(r.result, WinExec(r.line.c_str(), SW_SHOW));
    }
}

}  // namespace
