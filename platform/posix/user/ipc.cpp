// Windows of other processes: each process that owns windows listens on a
// local socket that its modal loop serves; the foreground window is kept
// in a small file that all processes of one runtime directory share.
#include "posix/user/ipc.h"
#include "posix/user/window.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace winuser {
namespace {

struct Request {
    int32_t op;
    uint32_t msg;
    uint64_t hwnd;
    uint64_t wp;
    int64_t lp;
};
struct Reply {
    int64_t result;
};

int listenFd = -1;
pid_t listenPid = 0;

std::string RuntimeDir() {
    const char* d = getenv("FAX_UI_RUNTIME_DIR");
    std::string dir;
    if (d && *d) dir = d;
    else if ((d = getenv("XDG_RUNTIME_DIR")) && *d) dir = std::string(d) + "/fax-ui";
    else dir = "/tmp/fax-ui-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    return dir;
}

// Abstract socket names need no cleanup; the runtime directory keeps
// separate sessions (and parallel test runs) apart.
socklen_t Address(DWORD pid, sockaddr_un& a) {
    std::string dir = RuntimeDir();
    unsigned long h = 5381;
    for (char c : dir) h = h * 33 + (unsigned char)c;
    std::string name = "fax-ui/" + std::to_string(h) + "/" + std::to_string(pid);
    memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    memcpy(a.sun_path + 1, name.data(), name.size());
    return (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool ReadAll(int fd, void* buf, size_t n) {
    char* p = (char*)buf;
    while (n) {
        ssize_t r = read(fd, p, n);
        if (r <= 0) return false;
        p += r;
        n -= (size_t)r;
    }
    return true;
}

bool WriteAll(int fd, const void* buf, size_t n) {
    const char* p = (const char*)buf;
    while (n) {
        ssize_t r = write(fd, p, n);
        if (r <= 0) return false;
        p += r;
        n -= (size_t)r;
    }
    return true;
}

void Timeouts(int fd, int ms) {
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

int64_t Handle(const Request& q) {
    HWND h = (HWND)(uintptr_t)q.hwnd;
    if (!IsLocalHandle(h)) return 0;
    switch (q.op) {
    case kPost: ++RemotePostCount(); return PostMessageW(h, q.msg, (WPARAM)q.wp, (LPARAM)q.lp);
    case kEnable: return EnableWindow(h, q.wp != 0);
    case kIsWindow: return Find(h) != nullptr;
    case kGetDlgItem: return (int64_t)(uintptr_t)GetDlgItem(h, (int)q.wp);
    case kIsEnabled: return IsWindowEnabled(h);
    case kIsVisible: return IsWindowVisible(h);
    }
    return 0;
}

}  // namespace

uint64_t& RemotePostCount() {
    static uint64_t n = 0;
    return n;
}

void EnsureServer() {
    if (listenFd >= 0 && listenPid == getpid()) return;
    if (listenFd >= 0) close(listenFd);  // inherited over fork: not ours
    listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    listenPid = getpid();
    if (listenFd < 0) return;
    sockaddr_un a;
    socklen_t len = Address((DWORD)getpid(), a);
    if (bind(listenFd, (sockaddr*)&a, len) != 0 || listen(listenFd, 8) != 0) {
        close(listenFd);
        listenFd = -1;
    }
}

bool ServeRemote(int timeoutMs) {
    if (listenFd < 0 || listenPid != getpid()) return false;
    pollfd p{listenFd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return false;
    Timeouts(fd, 2000);
    Request q;
    if (ReadAll(fd, &q, sizeof q)) {
        Reply r{Handle(q)};
        WriteAll(fd, &r, sizeof r);
    }
    close(fd);
    return true;
}

bool RemoteCall(HWND target, int op, UINT msg, WPARAM a, LPARAM b, LRESULT& result) {
    result = 0;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un addr;
    socklen_t len = Address(HandleProcess(target), addr);
    if (connect(fd, (sockaddr*)&addr, len) != 0) {
        close(fd);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    // The other process answers from its message loop; it must not keep us forever.
    Timeouts(fd, 10000);
    Request q{op, msg, (uint64_t)(uintptr_t)target, (uint64_t)a, (int64_t)b};
    Reply r{0};
    bool ok = WriteAll(fd, &q, sizeof q) && ReadAll(fd, &r, sizeof r);
    close(fd);
    if (!ok) {
        SetLastError(ERROR_TIMEOUT);
        return false;
    }
    result = (LRESULT)r.result;
    return true;
}

// The foreground handle is kept as the target of a symbolic link: it is
// replaced in one rename and, having no data blocks, costs no flush to disk
// (a file renamed over another has its data written out first).
void SetForegroundLocal(HWND h) {
    std::string dir = RuntimeDir();
    std::string tmp = dir + "/foreground." + std::to_string(getpid());
    unlink(tmp.c_str());
    if (symlink(std::to_string((unsigned long long)(uintptr_t)h).c_str(), tmp.c_str()) != 0) return;
    if (rename(tmp.c_str(), (dir + "/foreground").c_str()) != 0) unlink(tmp.c_str());
}

}  // namespace winuser

using namespace winuser;

HWND WINAPI GetForegroundWindow(void) {
    char text[32];
    ssize_t n = readlink((RuntimeDir() + "/foreground").c_str(), text, sizeof text - 1);
    if (n <= 0) return nullptr;
    text[n] = 0;
    unsigned long long v = std::strtoull(text, nullptr, 10);
    return (HWND)(uintptr_t)v;
}

BOOL WINAPI SetForegroundWindow(HWND h) {
    if (!IsWindow(h)) return FALSE;
    if (IsLocalHandle(h)) SetActiveWindow(h);
    SetForegroundLocal(h);
    return TRUE;
}
