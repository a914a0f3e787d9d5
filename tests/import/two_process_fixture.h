#pragma once
// Two processes: this one plays a starting dialog with the scripted user,
// the import program it starts plays a script file of its own. Each test
// has its own Windows directory (and so its own phonebook and hand-off
// files); the runtime directory, where the processes find each other, is
// shared.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "automation.h"
#include "scratch_dir.h"
#include "scripted_user.h"

class TwoProcessFixture : public ::testing::Test {
protected:
    void SetUp() override {
        static ScratchDir scratch("rcpimport-two");
        dir_ = scratch.dir();
        ++runs_;
        windir_ = dir_ + "/windows" + std::to_string(runs_);
        setenv("FAX_UI_RUNTIME_DIR", (dir_ + "/runtime").c_str(), 1);
        setenv("FAX_WINDIR", windir_.c_str(), 1);
        StartScriptedUser();
    }
    void TearDown() override {
        EndScriptedUser();
        unsetenv("FAX_UI_SCRIPT");
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The script the next import program started plays.
    void ProgramScript(const std::string& text) {
        setenv("FAX_UI_SCRIPT", Write("program" + std::to_string(runs_) + ".script", text).c_str(), 1);
    }

    std::string dir_;
    std::string windir_;
    inline static int runs_ = 0;
};
