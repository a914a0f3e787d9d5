#pragma once
// Shared test set-up: a private runtime directory and failures reported
// to GoogleTest (or captured by the test). The same tests run on the
// headless layer and, built for Windows, on a real Win32 implementation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation.h"
#include "scratch_dir.h"
#include "scripted_user.h"
#include "test_ids.h"

#if defined(_WIN32)
// Beeps made inside the system's own controls cannot be observed there.
constexpr bool kSeesControlBeeps = false;
// Where wine is known to differ from the documented behaviour, the layer
// follows the documentation and the check runs only against it.
constexpr bool kFollowsDocsOverWine = false;
#else
constexpr bool kSeesControlBeeps = true;
constexpr bool kFollowsDocsOverWine = true;
#endif

inline std::u16string Str(const WCHAR* s) {
    std::u16string r;
    for (; s && *s; ++s) r.push_back((char16_t)*s);
    return r;
}

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
