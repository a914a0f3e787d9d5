// Whole-file calls: delete, move, copy, attributes, directories, temp names.

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "posix/fault_injection.h"
#include "posix/kernel/file.h"
#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

using namespace kernel;

namespace {

BOOL Refuse(DWORD error) {
    SetLastError(error);
    return FALSE;
}

DWORD MissingError(const std::string& path) { return ParentExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND; }

BOOL DeleteHost(const std::string& path) {
    if (const fault::Plan* plan = fault::Check(fault::Op::Delete)) return Refuse(plan->error);
    struct stat st {};
    if (path.empty()) return Refuse(ERROR_PATH_NOT_FOUND);
    if (lstat(path.c_str(), &st) != 0) return Refuse(errno == ENOENT ? MissingError(path) : ErrorFromErrno(errno));
    if (S_ISDIR(st.st_mode) || !(st.st_mode & 0222)) return Refuse(ERROR_ACCESS_DENIED);
    if (DeleteDenied(path)) return Refuse(ERROR_SHARING_VIOLATION);
    fault::NoteRemove(path.c_str());
    if (unlink(path.c_str()) != 0) {
        fault::NoteNotDone();
        return Refuse(ErrorFromErrno(errno));
    }
    return TRUE;
}

// Copies through a temporary file next to the target, then renames it into
// place, so an interrupted copy never leaves a half-written target.
BOOL CopyContents(const std::string& from, const std::string& to, bool failIfExists, bool sync) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Refuse(errno == ENOENT ? MissingError(from) : ErrorFromErrno(errno));
    struct stat st {};
    fstat(in, &st);
    if (S_ISDIR(st.st_mode)) {
        close(in);
        return Refuse(ERROR_ACCESS_DENIED);
    }
    std::string temp = to + ".cpy" + std::to_string(getpid());
    int out = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        close(in);
        return Refuse(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    }
    char buffer[65536];
    DWORD error = 0;
    for (;;) {
        ssize_t n = read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0) error = ErrorFromErrno(errno);
            break;
        }
        for (ssize_t done = 0; done < n && !error;) {
            ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno != EINTR) error = ErrorFromErrno(errno);
            if (w > 0) done += w;
        }
        if (error) break;
    }
    if (!error && sync && fsync(out) != 0) error = ErrorFromErrno(errno);
    close(in);
    close(out);
    if (!error) {
        int r = failIfExists ? renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE)
                             : rename(temp.c_str(), to.c_str());
        if (r != 0) error = errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno);
    }
    if (error) {
        unlink(temp.c_str());
        return Refuse(error);
    }
    if (sync) SyncParent(to);
    return TRUE;
}

BOOL MoveHost(const std::string& from, const std::string& to, DWORD flags) {
    if (const fault::Plan* plan = fault::Check(fault::Op::Move)) return Refuse(plan->error);
    if (from.empty() || to.empty()) return Refuse(ERROR_PATH_NOT_FOUND);
    struct stat src {}, dst {};
    if (lstat(from.c_str(), &src) != 0) return Refuse(errno == ENOENT ? MissingError(from) : ErrorFromErrno(errno));
    bool targetExists = lstat(to.c_str(), &dst) == 0;
    const bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
    if (targetExists && !(src.st_dev == dst.st_dev && src.st_ino == dst.st_ino)) {
        if (!replace) return Refuse(ERROR_ALREADY_EXISTS);
        if (S_ISDIR(dst.st_mode) || !(dst.st_mode & 0222)) return Refuse(ERROR_ACCESS_DENIED);
        if (DeleteDenied(to)) return Refuse(ERROR_SHARING_VIOLATION);
    }
    if (!S_ISDIR(src.st_mode) && DeleteDenied(from)) return Refuse(ERROR_SHARING_VIOLATION);
    if (!ParentExists(to)) return Refuse(ERROR_PATH_NOT_FOUND);
    // Write-through makes the move itself durable (the directory is flushed
    // below); as on Windows, the data of a renamed file is the caller's to
    // flush, and only a move done as a copy flushes the copy.
    const bool sync = (flags & MOVEFILE_WRITE_THROUGH) != 0;
    // rename() replaces atomically: a reader sees the old or the new file.
    fault::NoteRename(from.c_str(), to.c_str());
    int r = replace ? rename(from.c_str(), to.c_str())
                    : renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (r != 0 && !replace && errno == EINVAL) {  // file system without NOREPLACE
        r = (access(to.c_str(), F_OK) == 0) ? (errno = EEXIST, -1) : rename(from.c_str(), to.c_str());
    }
    if (r != 0) fault::NoteNotDone();
    if (r != 0 && errno == EXDEV && (flags & MOVEFILE_COPY_ALLOWED) && !S_ISDIR(src.st_mode)) {
        if (!CopyContents(from, to, !replace, sync)) return FALSE;
        unlink(from.c_str());
        return TRUE;
    }
    if (r != 0) return Refuse(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno));
    if (sync) {
        SyncParent(to);
        if (from.substr(0, from.find_last_of('/') + 1) != to.substr(0, to.find_last_of('/') + 1)) SyncParent(from);
    }
    return TRUE;
}

BOOL CopyHost(const std::string& from, const std::string& to, BOOL failIfExists) {
    if (const fault::Plan* plan = fault::Check(fault::Op::Copy)) return Refuse(plan->error);
    if (from.empty() || to.empty()) return Refuse(ERROR_PATH_NOT_FOUND);
    struct stat dst {};
    if (lstat(to.c_str(), &dst) == 0) {
        if (failIfExists) return Refuse(ERROR_FILE_EXISTS);
        if (S_ISDIR(dst.st_mode) || !(dst.st_mode & 0222)) return Refuse(ERROR_ACCESS_DENIED);
        if (DeleteDenied(to)) return Refuse(ERROR_SHARING_VIOLATION);
    }
    return CopyContents(from, to, failIfExists != FALSE, false);
}

DWORD AttributesHost(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : errno == ENOENT ? MissingError(path) : ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!(st.st_mode & 0222)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

BOOL SetAttributesHost(const std::string& path, DWORD attributes) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0)
        return Refuse(path.empty() ? ERROR_PATH_NOT_FOUND : errno == ENOENT ? MissingError(path) : ErrorFromErrno(errno));
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~0222) : (mode | 0200);
    if (chmod(path.c_str(), mode) != 0) return Refuse(ErrorFromErrno(errno));
    return TRUE;
}

BOOL CreateDirectoryHost(const std::string& path) {
    if (path.empty()) return Refuse(ERROR_PATH_NOT_FOUND);
    if (mkdir(path.c_str(), 0777) != 0)
        return Refuse(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return TRUE;
}

std::u16string TempPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = dir && *dir ? dir : "/tmp";
    if (path.back() != '/') path += '/';
    return WindowsPath(path);
}

// Builds "<dir>\<pre><hex>.TMP"; with unique 0 tries numbers until one can
// be created. Returns the number, 0 on failure.
UINT TempFileName(const std::u16string& dir, const std::u16string& prefix, UINT unique, std::u16string& out) {
    std::u16string base = dir;
    if (!base.empty() && base.back() != u'\\' && base.back() != u'/') base += u'\\';
    base += prefix.substr(0, 3);
    std::string hostDir = HostPathW(dir.c_str());
    struct stat st {};
    if (hostDir.empty() || stat(hostDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }
    auto name = [&](UINT n) {
        static const char16_t hex[] = u"0123456789ABCDEF";
        std::u16string s = base;
        for (int shift = 12; shift >= 0; shift -= 4) s += hex[(n >> shift) & 0xF];
        return s + u".TMP";
    };
    if (unique != 0) {
        out = name(unique & 0xFFFF);
        return unique & 0xFFFF;
    }
    UINT start = (GetTickCount() ^ static_cast<UINT>(getpid())) & 0xFFFF;
    for (UINT i = 0; i < 0x10000; ++i) {
        UINT n = ((start + i) & 0xFFFF) ? (start + i) & 0xFFFF : 1;
        std::string host = HostPathW(name(n).c_str());
        int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            out = name(n);
            return n;
        }
        if (errno != EEXIST) {
            SetLastError(ErrorFromErrno(errno));
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

}  // namespace

extern "C" {

BOOL WINAPI DeleteFileA(LPCSTR p) { return DeleteHost(HostPathA(p)); }
BOOL WINAPI DeleteFileW(LPCWSTR p) { return DeleteHost(HostPathW(p)); }
BOOL WINAPI MoveFileA(LPCSTR a, LPCSTR b) { return MoveHost(HostPathA(a), HostPathA(b), MOVEFILE_COPY_ALLOWED); }
BOOL WINAPI MoveFileW(LPCWSTR a, LPCWSTR b) { return MoveHost(HostPathW(a), HostPathW(b), MOVEFILE_COPY_ALLOWED); }
BOOL WINAPI MoveFileExA(LPCSTR a, LPCSTR b, DWORD f) { return MoveHost(HostPathA(a), HostPathA(b), f); }
BOOL WINAPI MoveFileExW(LPCWSTR a, LPCWSTR b, DWORD f) { return MoveHost(HostPathW(a), HostPathW(b), f); }
BOOL WINAPI CopyFileA(LPCSTR a, LPCSTR b, BOOL f) { return CopyHost(HostPathA(a), HostPathA(b), f); }
BOOL WINAPI CopyFileW(LPCWSTR a, LPCWSTR b, BOOL f) { return CopyHost(HostPathW(a), HostPathW(b), f); }
DWORD WINAPI GetFileAttributesA(LPCSTR p) { return AttributesHost(HostPathA(p)); }
DWORD WINAPI GetFileAttributesW(LPCWSTR p) { return AttributesHost(HostPathW(p)); }
BOOL WINAPI SetFileAttributesA(LPCSTR p, DWORD a) { return SetAttributesHost(HostPathA(p), a); }
BOOL WINAPI SetFileAttributesW(LPCWSTR p, DWORD a) { return SetAttributesHost(HostPathW(p), a); }
BOOL WINAPI CreateDirectoryA(LPCSTR p, LPSECURITY_ATTRIBUTES) { return CreateDirectoryHost(HostPathA(p)); }
BOOL WINAPI CreateDirectoryW(LPCWSTR p, LPSECURITY_ATTRIBUTES) { return CreateDirectoryHost(HostPathW(p)); }

DWORD WINAPI GetTempPathA(DWORD n, LPSTR buffer) { return CopyOutA(WideToAnsi(TempPath()), buffer, n); }
DWORD WINAPI GetTempPathW(DWORD n, LPWSTR buffer) { return CopyOutW(TempPath(), buffer, n); }

UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName) {
    if (!lpPathName || !lpTempFileName) return Refuse(ERROR_INVALID_PARAMETER);
    std::u16string out;
    UINT n = TempFileName(AnsiToWide(lpPathName), AnsiToWide(lpPrefixString), uUnique, out);
    if (n == 0) return 0;
    std::string ansi = WideToAnsi(out);
    if (ansi.size() >= MAX_PATH) return Refuse(ERROR_BUFFER_OVERFLOW);
    CopyOutA(ansi, lpTempFileName, MAX_PATH);
    return n;
}

UINT WINAPI GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName) {
    if (!lpPathName || !lpTempFileName) return Refuse(ERROR_INVALID_PARAMETER);
    std::u16string out;
    UINT n = TempFileName(lpPathName, WideFrom(lpPrefixString), uUnique, out);
    if (n == 0) return 0;
    if (out.size() >= MAX_PATH) return Refuse(ERROR_BUFFER_OVERFLOW);
    CopyOutW(out, lpTempFileName, MAX_PATH);
    return n;
}

}  // extern "C"
