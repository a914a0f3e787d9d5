#pragma once
// The scripted user of one test or program: a clean start with every
// failure of the script reported, and nothing left over for the next.
// Tests report a failure as a test failure; a program without GoogleTest
// (pictures, fuzz targets) or a test that collects failures passes its own.

#include <cstdio>
#include <functional>
#include <string>
#if __has_include(<gtest/gtest.h>)
#include <gtest/gtest.h>
#endif

#include "automation.h"

inline void StartScriptedUser(std::function<void(const std::string&)> onFailure) {
    automation::Reset();
    automation::SetFailureHandler(std::move(onFailure));
}

#if __has_include(<gtest/gtest.h>)
inline void StartScriptedUser() {
    StartScriptedUser([](const std::string& m) { ADD_FAILURE() << m; });
}
#endif

inline void EndScriptedUser() {
    automation::SetFailureHandler(nullptr);
    automation::Reset();
}

// For programs that report on standard error and go on.
inline void PrintScriptFailure(const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); }
