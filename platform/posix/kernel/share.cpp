// Share-mode locks (see kernel/file.h for the model).

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "posix/fault_injection.h"
#include "posix/kernel/file.h"
#include "posix/win_kernel.h"

namespace kernel {
namespace {

// Marker bytes near the top of the offset range: no data ever lives there.
const off_t kBase = LLONG_MAX - 64;
enum Marker { kHasRead, kHasWrite, kDeniesRead, kDeniesWrite, kDeniesDelete };

bool Held(int fd, Marker m) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kBase + m;
    probe.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &probe) != 0) return false;
    return probe.l_type != F_UNLCK;
}

bool Take(int fd, Marker m) {
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kBase + m;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

struct Gate {
    int fd;
    explicit Gate(int f) : fd(f) {
        while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~Gate() { flock(fd, LOCK_UN); }
};

}  // namespace

bool TakeShareLocks(int fd, DWORD access, DWORD share, DWORD* error) {
    const bool read = (access & (GENERIC_READ | GENERIC_ALL)) != 0;
    const bool write = (access & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    if (!read && !write) return true;  // attribute-only opens never conflict
    Gate gate(fd);
    bool conflict = (read && Held(fd, kDeniesRead)) || (write && Held(fd, kDeniesWrite)) ||
                    (!(share & FILE_SHARE_READ) && Held(fd, kHasRead)) ||
                    (!(share & FILE_SHARE_WRITE) && Held(fd, kHasWrite));
    if (conflict) {
        *error = ERROR_SHARING_VIOLATION;
        return false;
    }
    // The read locks need a readable descriptor; a write-only one (a file
    // we may not read) simply does not take part.
    bool ok = (!read || Take(fd, kHasRead)) && (!write || Take(fd, kHasWrite)) &&
              ((share & FILE_SHARE_READ) || Take(fd, kDeniesRead)) &&
              ((share & FILE_SHARE_WRITE) || Take(fd, kDeniesWrite)) &&
              ((share & FILE_SHARE_DELETE) || Take(fd, kDeniesDelete));
    (void)ok;
    return true;
}

bool DeleteDenied(const std::string& hostPath) {
    int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bool denied = Held(fd, kDeniesDelete);
    close(fd);
    return denied;
}

bool ParentExists(const std::string& hostPath) {
    size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos) return true;
    std::string dir = slash == 0 ? "/" : hostPath.substr(0, slash);
    return access(dir.c_str(), F_OK) == 0;
}

void SyncParent(const std::string& hostPath) {
    size_t slash = hostPath.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : hostPath.substr(0, slash));
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (fsync(fd) == 0) fault::NoteDirectoryFlush();
    close(fd);
}

}  // namespace kernel
