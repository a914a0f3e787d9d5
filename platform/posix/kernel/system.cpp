// Windows directory, user and computer names, time and version.
//
// The Windows directory is $FAX_WINDIR, else $XDG_DATA_HOME/faxaddon/windows,
// else ~/.local/share/faxaddon/windows; it is created when first asked for.
// FAX_USERNAME and FAX_COMPUTERNAME, when set (even empty), replace the
// account and host names so tests and demos can choose them.

#include <pwd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "posix/kernel/system.h"
#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace kernel {

namespace {

bool MakeDirectories(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UserName() {
    if (const char* name = std::getenv("FAX_USERNAME")) return name;
    struct passwd pw {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &pw, buffer, sizeof buffer, &found) == 0 && found) return found->pw_name;
    const char* env = std::getenv("USER");
    return env ? env : "";
}

std::string ComputerName() {
    if (const char* name = std::getenv("FAX_COMPUTERNAME")) return name;
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return "";
    std::string name(host);
    name = name.substr(0, name.find('.'));
    if (name.size() > MAX_COMPUTERNAME_LENGTH) name.resize(MAX_COMPUTERNAME_LENGTH);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);  // NetBIOS names are upper case
    return name;
}

void ToSystemTime(const struct tm& t, long nanoseconds, SYSTEMTIME* st) {
    st->wYear = static_cast<WORD>(t.tm_year + 1900);
    st->wMonth = static_cast<WORD>(t.tm_mon + 1);
    st->wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st->wDay = static_cast<WORD>(t.tm_mday);
    st->wHour = static_cast<WORD>(t.tm_hour);
    st->wMinute = static_cast<WORD>(t.tm_min);
    st->wSecond = static_cast<WORD>(t.tm_sec);
    st->wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
}

}  // namespace

std::string WindowsDirectoryHost() {
    std::string dir;
    if (const char* env = std::getenv("FAX_WINDIR"); env && *env) {
        dir = HostPathA(env);
    } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        dir = std::string(xdg) + "/faxaddon/windows";
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dir = std::string(home) + "/.local/share/faxaddon/windows";
    } else {
        return "";
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return MakeDirectories(dir) ? dir : "";
}

}  // namespace kernel

using namespace kernel;

namespace {

BOOL NameOut(const std::u16string& name, WCHAR* buffer, DWORD* size, bool countsNul, DWORD overflowError) {
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        SetLastError(overflowError);
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed * sizeof(WCHAR));
    *size = countsNul ? needed : needed - 1;
    return TRUE;
}

BOOL NameOutA(const std::u16string& name, char* buffer, DWORD* size, bool countsNul, DWORD overflowError) {
    std::string ansi = WideToAnsi(name);
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD needed = static_cast<DWORD>(ansi.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        SetLastError(overflowError);
        return FALSE;
    }
    std::memcpy(buffer, ansi.c_str(), needed);
    *size = countsNul ? needed : needed - 1;
    return TRUE;
}

}  // namespace

extern "C" {

UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) {
    std::string dir = WindowsDirectoryHost();
    if (dir.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyOutA(WideToAnsi(WindowsPath(dir)), lpBuffer, uSize);
}

UINT WINAPI GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    std::string dir = WindowsDirectoryHost();
    if (dir.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyOutW(WindowsPath(dir), lpBuffer, uSize);
}

// GetUserName counts the NUL in *pcbBuffer; GetComputerName does not.
BOOL WINAPI GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer) {
    return NameOut(Utf8ToWide(UserName()), lpBuffer, pcbBuffer, true, ERROR_INSUFFICIENT_BUFFER);
}
BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer) {
    return NameOutA(Utf8ToWide(UserName()), lpBuffer, pcbBuffer, true, ERROR_INSUFFICIENT_BUFFER);
}
BOOL WINAPI GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize) {
    return NameOut(Utf8ToWide(ComputerName()), lpBuffer, nSize, false, ERROR_BUFFER_OVERFLOW);
}
BOOL WINAPI GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize) {
    return NameOutA(Utf8ToWide(ComputerName()), lpBuffer, nSize, false, ERROR_BUFFER_OVERFLOW);
}

void WINAPI GetLocalTime(LPSYSTEMTIME st) {
    if (!st) return;
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm t {};
    localtime_r(&now.tv_sec, &t);
    ToSystemTime(t, now.tv_nsec, st);
}

void WINAPI GetSystemTime(LPSYSTEMTIME st) {
    if (!st) return;
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm t {};
    gmtime_r(&now.tv_sec, &t);
    ToSystemTime(t, now.tv_nsec, st);
}

DWORD WINAPI GetTickCount(void) {
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void WINAPI Sleep(DWORD ms) {
    struct timespec wait {};
    wait.tv_sec = ms / 1000;
    wait.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

char* _strtime(char* buffer) {
    if (!buffer) return buffer;
    SYSTEMTIME st;
    GetLocalTime(&st);
    const char digits[] = "0123456789";
    const WORD parts[3] = {st.wHour, st.wMinute, st.wSecond};
    for (int i = 0; i < 3; ++i) {
        buffer[i * 3] = digits[parts[i] / 10 % 10];
        buffer[i * 3 + 1] = digits[parts[i] % 10];
        buffer[i * 3 + 2] = i < 2 ? ':' : '\0';
    }
    return buffer;
}

DWORD WINAPI GetVersion(void) { return (2600u << 16) | (1u << 8) | 5u; }

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::strcpy(info->szCSDVersion, "Service Pack 3");
    return TRUE;
}

}  // extern "C"
