#pragma once
// A fresh directory per test, removed afterwards, with small file helpers.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "scratch_dir.h"

class TestDir : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = std::make_unique<ScratchDir>("kerneltest");
        dir_ = scratch_->dir();
    }
    void TearDown() override { scratch_.reset(); }
    // Host path of a name inside the directory.
    std::string Path(const std::string& name) const { return scratch_->Path(name); }
    // The same path spelled with backslashes, as product code builds it.
    std::string WinPath(const std::string& name) const { return scratch_->WinPath(name); }
    void Put(const std::string& name, const std::string& content) const { scratch_->Put(name, content); }
    std::string Get(const std::string& name) const { return scratch_->Get(name); }
    bool Exists(const std::string& name) const { return scratch_->Exists(name); }

    std::string dir_;

private:
    std::unique_ptr<ScratchDir> scratch_;
};

// The directory is the Windows directory too: where profiles and the
// registry's file live.
class WindowsDirTest : public TestDir {
protected:
    void SetUp() override {
        TestDir::SetUp();
        setenv("FAX_WINDIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("FAX_WINDIR");
        TestDir::TearDown();
    }
};
