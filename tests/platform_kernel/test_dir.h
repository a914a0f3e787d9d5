#pragma once
// A fresh directory per test, removed afterwards, with small file helpers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TestDir : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kerneltestXXXXXX";
        ASSERT_NE(nullptr, mkdtemp(tmpl));
        dir_ = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    // Host path of a name inside the directory.
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    // The same path spelled with backslashes, as product code builds it.
    std::string WinPath(const std::string& name) const {
        std::string p = Path(name);
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    void Put(const std::string& name, const std::string& content) const {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    std::string dir_;
};
