#pragma once
// Open files of the headless build and the cross-process share modes.

#include <string>

#include "posix/win_base.h"

namespace kernel {

struct FileObject {
    int fd;
    DWORD access;  // GENERIC_READ / GENERIC_WRITE as asked at open
    DWORD flags;   // FILE_FLAG_* given at open
    uint64_t unsent = 0;  // bytes written since the disk was last asked to take them
};

// The open file behind a handle, or nullptr (ERROR_INVALID_HANDLE set).
FileObject* LookupFile(HANDLE h);
HANDLE RegisterFile(const FileObject& file);
// Closes every open file handle; returns how many there were.
int CloseAllFileHandles();

// Share modes between all opens of a file, in this and other processes:
// each open holds OFD read locks on marker bytes far beyond any data (one
// per access it has and one per sharing it denies), and a new open checks
// the opposite markers under a short flock() so that check and take are
// atomic. The locks vanish with the descriptor, also when a process dies.
bool TakeShareLocks(int fd, DWORD access, DWORD share, DWORD* error);
// Whether an open that does not share delete holds the file (so deleting
// or renaming it must fail with ERROR_SHARING_VIOLATION).
bool DeleteDenied(const std::string& hostPath);

// Whether the directory that would hold `hostPath` exists.
bool ParentExists(const std::string& hostPath);
// fsync of the directory holding `hostPath`, so that a rename is durable.
void SyncParent(const std::string& hostPath);

}  // namespace kernel
