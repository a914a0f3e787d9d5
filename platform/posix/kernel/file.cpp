// CreateFile and the calls on an open file handle.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "posix/fault_injection.h"
#include "posix/kernel/file.h"
#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace kernel {
namespace {

std::mutex tableLock;
std::unordered_map<HANDLE, std::unique_ptr<FileObject>>& Table() {
    static std::unordered_map<HANDLE, std::unique_ptr<FileObject>> table;
    return table;
}

bool Writable(const struct stat& st) { return (st.st_mode & 0222) != 0; }

int OpenWithFallback(const std::string& path, DWORD access, int create, mode_t mode) {
    const bool read = (access & (GENERIC_READ | GENERIC_ALL)) != 0;
    const bool write = (access & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    int base = O_CLOEXEC | create;
    if (write) {
        // Readable as well when allowed, so the share locks can be taken.
        int fd = open(path.c_str(), base | O_RDWR, mode);
        if (fd >= 0 || read || errno != EACCES) return fd;
        return open(path.c_str(), base | O_WRONLY, mode);
    }
    int fd = open(path.c_str(), base | O_RDONLY, mode);
    if (fd < 0 && !read && errno == EACCES) fd = open(path.c_str(), base | O_PATH, mode);
    return fd;
}

DWORD OpenError(int err, const std::string& path) {
    if (err == ENOENT && !ParentExists(path)) return ERROR_PATH_NOT_FOUND;
    return ErrorFromErrno(err);
}

// Windows writes a file's changed pages to disk as they accumulate; Linux
// leaves them until memory runs short or the file is flushed, so that a
// large file's flush would wait for all of it at once. The disk is asked
// to start on each few megabytes as they are written (without waiting).
constexpr uint64_t kWriteBehind = 8u << 20;

void WriteBehind(FileObject* f, DWORD written) {
    f->unsent += written;
    if (f->unsent < kWriteBehind) return;
    f->unsent = 0;
#ifdef SYNC_FILE_RANGE_WRITE
    sync_file_range(f->fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

FileObject* LookupFile(HANDLE h) {
    std::lock_guard<std::mutex> guard(tableLock);
    auto it = Table().find(h);
    if (it == Table().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

HANDLE RegisterFile(const FileObject& file) {
    auto object = std::make_unique<FileObject>(file);
    HANDLE h = object.get();
    std::lock_guard<std::mutex> guard(tableLock);
    Table()[h] = std::move(object);
    return h;
}

int CloseAllFileHandles() {
    std::lock_guard<std::mutex> guard(tableLock);
    int n = 0;
    for (auto& entry : Table()) {
        close(entry.second->fd);
        ++n;
    }
    Table().clear();
    return n;
}

HANDLE CreateFileHost(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    if (const fault::Plan* plan = fault::Check(fault::Op::Create)) return Fail(plan->error);
    const bool write = (access & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING || (disposition == TRUNCATE_EXISTING && !write))
        return Fail(ERROR_INVALID_PARAMETER);
    if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
    mode_t mode = (flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    int extra = (flags & FILE_FLAG_WRITE_THROUGH) ? O_DSYNC : 0;

    bool existed = false;
    int fd = -1;
    if (disposition == CREATE_NEW) {
        fd = OpenWithFallback(path, access, O_CREAT | O_EXCL | extra, mode);
        if (fd < 0 && errno == EEXIST) return Fail(ERROR_FILE_EXISTS);
    } else if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
        fd = OpenWithFallback(path, access, extra, mode);
        existed = fd >= 0;
    } else {
        // Try the existing file first so ERROR_ALREADY_EXISTS can be told.
        for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
            fd = OpenWithFallback(path, access, extra, mode);
            existed = fd >= 0;
            if (fd >= 0 || errno != ENOENT) break;
            fd = OpenWithFallback(path, access, O_CREAT | O_EXCL | extra, mode);
            if (fd < 0 && errno != EEXIST) break;
        }
    }
    if (fd < 0) return Fail(OpenError(errno, path));

    struct stat st {};
    DWORD error = 0;
    if (fstat(fd, &st) != 0) {
        error = ErrorFromErrno(errno);
    } else if (S_ISDIR(st.st_mode) && !(flags & FILE_FLAG_BACKUP_SEMANTICS)) {
        error = ERROR_ACCESS_DENIED;
    } else if (existed && write && !Writable(st)) {
        error = ERROR_ACCESS_DENIED;  // the read-only attribute binds even root
    } else if (!TakeShareLocks(fd, access, share, &error)) {
        // error set
    } else if (existed && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) &&
               ftruncate(fd, 0) != 0) {
        error = ErrorFromErrno(errno);
    }
    if (error != 0) {
        close(fd);
        return Fail(error);
    }
    HANDLE h = RegisterFile(FileObject{fd, access, flags});
    if (!existed) fault::NoteCreate(path.c_str());
    SetLastError(existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                          : ERROR_SUCCESS);
    return h;
}

}  // namespace kernel

using namespace kernel;

namespace {

bool CanRead(const FileObject* f) { return (f->access & (GENERIC_READ | GENERIC_ALL)) != 0; }
bool CanWrite(const FileObject* f) { return (f->access & (GENERIC_WRITE | GENERIC_ALL)) != 0; }

BOOL Refuse(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

extern "C" {

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
    return CreateFileHost(HostPathA(lpFileName), dwDesiredAccess, dwShareMode, dwCreationDisposition,
                          dwFlagsAndAttributes);
}

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
    return CreateFileHost(HostPathW(lpFileName), dwDesiredAccess, dwShareMode, dwCreationDisposition,
                          dwFlagsAndAttributes);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    FileObject* f = LookupFile(hFile);
    if (!f) return FALSE;
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    if (lpOverlapped || !lpNumberOfBytesRead || (!lpBuffer && nNumberOfBytesToRead)) return Refuse(ERROR_INVALID_PARAMETER);
    if (!CanRead(f)) return Refuse(ERROR_ACCESS_DENIED);
    if (const fault::Plan* plan = fault::Check(fault::Op::Read)) return Refuse(plan->error);
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        ssize_t n = read(f->fd, static_cast<char*>(lpBuffer) + done, nNumberOfBytesToRead - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *lpNumberOfBytesRead = done;
            return Refuse(ErrorFromErrno(errno));
        }
        if (n == 0) break;  // end of file: success with fewer bytes
        done += static_cast<DWORD>(n);
    }
    *lpNumberOfBytesRead = done;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped) {
    FileObject* f = LookupFile(hFile);
    if (!f) return FALSE;
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    if (lpOverlapped || !lpNumberOfBytesWritten || (!lpBuffer && nNumberOfBytesToWrite))
        return Refuse(ERROR_INVALID_PARAMETER);
    if (!CanWrite(f)) return Refuse(ERROR_ACCESS_DENIED);
    DWORD want = nNumberOfBytesToWrite;
    if (const fault::Plan* plan = fault::Check(fault::Op::Write)) {
        if (plan->action != fault::Action::Short) return Refuse(plan->error);
        want /= 2;
    }
    if (!(f->flags & FILE_FLAG_WRITE_THROUGH)) fault::NoteWrite(f->fd, lpBuffer, want);
    DWORD done = 0;
    while (done < want) {
        ssize_t n = write(f->fd, static_cast<const char*>(lpBuffer) + done, want - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *lpNumberOfBytesWritten = done;
            return Refuse(ErrorFromErrno(errno));
        }
        done += static_cast<DWORD>(n);
    }
    *lpNumberOfBytesWritten = done;
    WriteBehind(f, done);
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    FileObject* f = LookupFile(hFile);
    if (!f) return INVALID_SET_FILE_POINTER;
    int64_t distance = lpDistanceToMoveHigh
                           ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                                                  static_cast<uint32_t>(lDistanceToMove))
                           : lDistanceToMove;
    int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
                                                     : dwMoveMethod == FILE_END       ? SEEK_END
                                                                                      : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    off_t current = lseek(f->fd, 0, SEEK_CUR);
    off_t origin = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? current : lseek(f->fd, 0, SEEK_END);
    lseek(f->fd, current, SEEK_SET);
    if (origin + distance < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    off_t pos = lseek(f->fd, origin + distance, SEEK_SET);
    if (pos < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(pos) >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(pos);
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    FileObject* f = LookupFile(hFile);
    if (!f) return INVALID_FILE_SIZE;
    if (const fault::Plan* plan = fault::Check(fault::Op::Size)) {
        SetLastError(plan->error);
        return INVALID_FILE_SIZE;
    }
    struct stat st {};
    if (fstat(f->fd, &st) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(st.st_size);
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    FileObject* f = LookupFile(hFile);
    if (!f) return FALSE;
    if (!CanWrite(f)) return Refuse(ERROR_ACCESS_DENIED);
    off_t pos = lseek(f->fd, 0, SEEK_CUR);
    if (pos < 0 || ftruncate(f->fd, pos) != 0) return Refuse(ErrorFromErrno(errno));
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    FileObject* f = LookupFile(hFile);
    if (!f) return FALSE;
    if (!CanWrite(f)) return Refuse(ERROR_ACCESS_DENIED);
    if (const fault::Plan* plan = fault::Check(fault::Op::Flush)) return Refuse(plan->error);
    if (fsync(f->fd) != 0) return Refuse(ErrorFromErrno(errno));
    fault::NoteFlush(f->fd);
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    std::unique_ptr<FileObject> object;
    {
        std::lock_guard<std::mutex> guard(tableLock);
        auto it = Table().find(hObject);
        if (it == Table().end()) return Refuse(ERROR_INVALID_HANDLE);
        object = std::move(it->second);
        Table().erase(it);
    }
    close(object->fd);
    return TRUE;
}

}  // extern "C"
