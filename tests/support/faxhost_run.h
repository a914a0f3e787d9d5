#pragma once
// faxhost as a user runs it from a shell. The including program defines
// FAXHOST_PATH, the executable under test.

#include <string>

#include "command_run.h"

// before: shell words ahead of the program, such as environment
// assignments ("FAX_FIXED_TIME=12:00:00") or a change of directory
// ("cd DIR &&").
inline CommandRun Faxhost(const std::string& args, const std::string& before = "") {
    return RunCommand(before + " " + FAXHOST_PATH + " " + args);
}
