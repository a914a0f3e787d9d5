#pragma once
// A private directory per test and the phonebook contents tests put in it.
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "entry_codec.h"
#include "golden.h"
#include "kfd_format.h"
#include "scratch_dir_test.h"
#include "test_recipient.h"
#include "text_convert.h"
#include "wide_text.h"

// The first line of every current phonebook.
inline const std::string kHead = std::string(kfd::kMagicCurrent) + "\n";

// An individual as a test names it: name, fax number and memo, every
// other field as a new entry has it.
struct TestRecord {
    FaxRecipient r;
    EntryDetails d;
    TestRecord(const char* name, const char* fax, const char* memo = "") : r(Recipient(name, fax)) {
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

// A store test's directory; its files named as the store takes them.
class StoreDir : public ScratchDirTest {
protected:
    WideString WPath(const std::string& name) const { return Wide(Path(name)); }
};
