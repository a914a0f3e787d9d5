#pragma once
// A test with a fresh directory of its own, removed with everything in it
// after the test.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "scratch_dir.h"

class ScratchDirTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return scratch_.Path(name); }
    // The same path spelled with backslashes, as product code builds it.
    std::string WinPath(const std::string& name) const { return scratch_.WinPath(name); }
    void Put(const std::string& name, const std::string& bytes) const { scratch_.Put(name, bytes); }
    std::string Get(const std::string& name) const { return scratch_.Get(name); }
    bool Exists(const std::string& name) const { return scratch_.Exists(name); }
    // Names of everything in the directory, sorted, each followed by a blank.
    std::string Listing() const {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string out;
        for (auto& n : names) out += n + " ";
        return out;
    }

private:
    ScratchDir scratch_{"fax-test"};

protected:
    const std::string dir = scratch_.dir();
};
