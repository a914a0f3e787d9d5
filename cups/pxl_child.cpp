#include "pxl_child.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

std::string PxlFilterPath() {
    const char* own = std::getenv("FAX_PXL_FILTER");
    if (own && *own) return own;
    const char* serverBin = std::getenv("CUPS_SERVERBIN");
    return std::string(serverBin && *serverBin ? serverBin : "/usr/lib/cups") + "/filter/gstopxl";
}

void ExecPxlFilter(const std::string& path, char** argv) {
    execv(path.c_str(), argv);
}

bool PxlChild::Start(const std::string& path, char** argv, std::string* error) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    pid_t pid = fork();
    if (pid < 0) {
        *error = std::string("cannot start ") + path + ": " + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        execv(path.c_str(), argv);
        std::fprintf(stderr, "ERROR: cannot start %s: %s\n", path.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(fds[1]);
    fd_ = fds[0];
    pid_ = pid;
    return true;
}

int PxlChild::Wait(bool stop) {
    if (pid_ < 0) return -1;
    if (stop) kill(pid_, SIGTERM);
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
