#pragma once
// Shared test set-up: a private runtime directory and failures reported
// to GoogleTest (or captured by the test). The same tests run on the
// headless layer and, built for Windows, on a real Win32 implementation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation.h"
#include "run_platform.h"
#include "scratch_dir.h"
#include "scripted_user.h"
#include "test_ids.h"
#include "wide_text.h"

class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        static ScratchDir runtime("fax-ui-test");
        setenv("FAX_UI_RUNTIME_DIR", runtime.dir().c_str(), 1);
        failures.clear();
        StartScriptedUser([this](const std::string& m) { failures.push_back(m); });
    }
    void TearDown() override { EndScriptedUser(); }
    std::vector<std::string> failures;
};
