#pragma once
// Runs a shell command as a user would and keeps what it printed on each
// stream and how it ended. Standard error goes through a file of its own
// per call, since ctest runs cases as parallel processes.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>


struct CommandRun {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

inline CommandRun RunCommand(const std::string& command) {
    static int calls = 0;
    const std::string errFile = "/tmp/command_run_" + std::to_string(getpid()) + "_" + std::to_string(++calls) + ".err";
    CommandRun run;
    FILE* p = popen((command + " 2>" + errFile).c_str(), "r");
    if (!p) return run;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
    int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    std::remove(errFile.c_str());
    return run;
}
