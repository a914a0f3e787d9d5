#pragma once
// The scripted user of one test: a clean start with every failure of the
// script a test failure, and nothing left over for the next test.

#include <gtest/gtest.h>

#include <string>

#include "automation.h"

inline void StartScriptedUser() {
    automation::Reset();
    automation::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
}

inline void EndScriptedUser() {
    automation::SetFailureHandler(nullptr);
    automation::Reset();
}
