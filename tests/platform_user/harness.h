#pragma once
// Shared test set-up: a private runtime directory and failures reported
// to GoogleTest (or captured by the test).
#include "automation.h"
#include "test_ids.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::string dir = [] {
            char tmpl[] = "/tmp/fax-ui-test-XXXXXX";
            return std::string(mkdtemp(tmpl));
        }();
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
        automation::Reset();
        failures.clear();
        automation::SetFailureHandler([this](const std::string& m) { failures.push_back(m); });
    }
    void TearDown() override {
        automation::SetFailureHandler(nullptr);
        automation::Reset();
    }
    std::vector<std::string> failures;
};
