// The thread's last-error value and the errno translation the file,
// profile and registry calls share.

#include <cerrno>

#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace {
thread_local DWORD lastError = 0;
}

namespace kernel {

DWORD ErrorFromErrno(int err) {
    switch (err) {
        case 0: return ERROR_SUCCESS;
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES: case EPERM: case EISDIR: return ERROR_ACCESS_DENIED;
        case EEXIST: return ERROR_ALREADY_EXISTS;
        case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case ENOSPC: case EDQUOT: return ERROR_DISK_FULL;
        case EROFS: return ERROR_WRITE_PROTECT;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case EBADF: return ERROR_INVALID_HANDLE;
        case EXDEV: return ERROR_NOT_SAME_DEVICE;
        case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
        case EBUSY: return ERROR_BUSY;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        case EIO: return ERROR_GEN_FAILURE;
        case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
        default: return ERROR_GEN_FAILURE;
    }
}

}  // namespace kernel

extern "C" {
DWORD WINAPI GetLastError(void) { return lastError; }
void WINAPI SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }
}
