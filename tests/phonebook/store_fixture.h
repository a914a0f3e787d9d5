#pragma once
// A private directory per test and helpers to put files in it.
#include <gtest/gtest.h>
#include <stdlib.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "entry_codec.h"
#include "golden.h"
#include "kfd_format.h"
#include "scratch_dir.h"
#include "text_convert.h"

inline WideString WidePath(const std::string& s) {
    WideString w;
    for (unsigned char c : s) w += static_cast<WCHAR>(c);
    return w;
}

// The first line of every current phonebook.
inline const std::string kHead = std::string(kfd::kMagicCurrent) + "\n";

// An individual as a test names it: name, fax number and memo, every
// other field as a new entry has it.
struct TestRecord {
    FaxRecipient r = DefaultRecipient;
    EntryDetails d;
    TestRecord(const char* name, const char* fax, const char* memo = "") {
        std::strcpy(r.name, name);
        std::strcpy(r.faxNumber, fax);
        ClearEntryDetails(d);
        for (size_t i = 0; memo[i]; ++i) d.memo[i] = static_cast<WCHAR>(memo[i]);
    }
};

// Encoded records for building phonebook contents in tests.
inline std::string Entry(const char* name, const char* fax, const char* memo = "") {
    TestRecord t(name, fax, memo);
    std::string out;
    DBEncodeEntry(t.r, t.d, out);
    return out;
}

inline std::string Group(const char* name, std::initializer_list<std::pair<const char*, const char*>> members) {
    std::string g;
    kfd::BeginGroup(name, g);
    for (auto& m : members) kfd::AddGroupMember(m.first, m.second, g);
    kfd::EndGroup(g);
    return g;
}

class StoreDir : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = std::make_unique<ScratchDir>("fax-store");
        dir = scratch_->dir();
    }
    void TearDown() override { scratch_.reset(); }

    std::string Path(const std::string& name) const { return scratch_->Path(name); }
    WideString WPath(const std::string& name) const { return WidePath(Path(name)); }

    void Put(const std::string& name, const std::string& bytes) const { scratch_->Put(name, bytes); }
    std::string Get(const std::string& name) const { return scratch_->Get(name); }
    bool Exists(const std::string& name) const { return scratch_->Exists(name); }
    // Names of everything in the directory, sorted.
    std::string Listing() const {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string out;
        for (auto& n : names) out += n + " ";
        return out;
    }

    std::string dir;

private:
    std::unique_ptr<ScratchDir> scratch_;
};
