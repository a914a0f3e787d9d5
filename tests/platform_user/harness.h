#pragma once
// Shared test set-up: a private runtime directory and failures reported
// to GoogleTest (or captured by the test). The same tests run on the
// headless layer and, built for Windows, on a real Win32 implementation.
#include "automation.h"
#include "test_ids.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

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

inline std::string TempDir() {
#if defined(_WIN32)
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "fax-ui-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
#else
    char tmpl[] = "/tmp/fax-ui-test-XXXXXX";
    return std::string(mkdtemp(tmpl));
#endif
}

class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::string dir = TempDir();
#if defined(_WIN32)
        _putenv_s("FAX_UI_RUNTIME_DIR", dir.c_str());
#else
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
#endif
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
