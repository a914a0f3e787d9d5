#pragma once
// One headless system per test: its own Windows directory (registry),
// runtime directory, user and computer names, and a monitor log.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "automation.h"
#include "scratch_dir_test.h"
#include "scripted_user.h"
#include "jobwatch_client.h"

class CoreTest : public ScratchDirTest {
protected:
    void SetUp() override {
        setenv("FAX_WINDIR", dir.c_str(), 1);
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
        setenv("FAX_USERNAME", "maija", 1);
        setenv("FAX_COMPUTERNAME", "TOIMISTO-PC", 1);
        setenv("FAX_JOBWATCH_LOG", Path("jobwatch.log").c_str(), 1);
        unsetenv("FAX_JOBWATCH_FAIL");
        unsetenv("FAX_JOBWATCH_CLIENT_ID");
        unsetenv("FAX_JOBWATCH_JOB_ID");
#if defined(_WIN32)
        // One system for every test here: no monitor until a test installs one.
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kJobwatchKey);
#endif
        StartScriptedUser();
    }
    void TearDown() override {
        EndScriptedUser();
        EXPECT_EQ(JobwatchOpenCount(), 0);
    }

    // The logged-on user and the account text the hook makes of it: the
    // headless system's names here, the system's own under wine (short
    // names, so nothing is cut).
    static std::string LoggedOnUser() {
#if defined(_WIN32)
        char name[257] = {0};
        DWORD size = sizeof name;
        GetUserNameA(name, &size);
        return name;
#else
        return "maija";
#endif
    }
    static std::string ExpectedAccount() {
#if defined(_WIN32)
        char computer[MAX_COMPUTERNAME_LENGTH + 1] = {0};
        DWORD size = sizeof computer;
        GetComputerNameA(computer, &size);
        return LoggedOnUser() + "\\" + computer;
#else
        return "maija\\TOIMISTO-PC";
#endif
    }

    // Registers a monitor whose program file exists (or not) and whose API
    // library is 'library'.
    void InstallMonitor(const std::string& library, bool programExists = true) {
        if (programExists) Put("jobwatch.exe", "monitor");
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kJobwatchKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        SetString(key, nullptr, Path("jobwatch.exe"));
        SetString(key, kJobwatchApiValue, library);
        RegCloseKey(key);
    }
    static void SetString(HKEY key, const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }

    // The monitor log, one entry per line.
    std::vector<std::string> MonitorLog() const {
        std::istringstream in(Get("jobwatch.log"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The calls in the log, without their arguments and records.
    std::vector<std::string> MonitorCalls() const {
        std::vector<std::string> calls;
        for (const std::string& line : MonitorLog())
            if (line.rfind("Qjw", 0) == 0) calls.push_back(line.substr(0, line.find(' ')));
        return calls;
    }
    std::string LogLineStarting(const std::string& prefix) const {
        for (const std::string& line : MonitorLog())
            if (line.rfind(prefix, 0) == 0) return line;
        return "";
    }
};
