// Store operations on real files against the hand-made golden files.
#include <cstring>
#include <string>
#include <tuple>

#include "convert_old.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "posix/fault_injection.h"
#include "store.h"
#include "store_fixture.h"

namespace {

class StoreTest : public StoreDir {};

TEST_F(StoreTest, ReadsEntriesOfTheGoldenFile) {
    const std::string fullMemo(254, 'm');
    Put("book.KFD", ReadGolden("v2000.KFD") + Entry("Pitka", "9", fullMemo.c_str()));
    WideString path = WPath("book.KFD");
    struct Case {
        const char* listText;
        int result;
        const char* fax;
        const char* fCode;
        const char* memo;
    } cases[] = {
        {"Anna Maija Virtanen <0123>", DB_DONE, "0123", "", "muistio\r\nrivi 2"},
        {"anna maija virtanen <0123>", DB_DONE, "0123", "", "muistio\r\nrivi 2"},
        {"Ville <0456>", DB_DONE, "0456", "55", ""},
        {"Pekka <0789>", DB_DONE, "0789", "", ""},  // ends after the mailbox password
        {"Pitka <9>", DB_DONE, "9", "", fullMemo.c_str()},
        {"Ville <0457>", DB_NOT_FOUND, nullptr, nullptr, nullptr},
        {"Myynti <>", DB_NOT_FOUND, nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        FaxRecipient r = DefaultRecipient;
        EntryDetails d;
        ClearEntryDetails(d);
        EXPECT_EQ(PhonebookReadEntry(path.c_str(), Wide(c.listText).c_str(), r, d), c.result) << c.listText;
        if (c.result != DB_DONE) continue;
        EXPECT_STREQ(r.faxNumber, c.fax);
        EXPECT_STREQ(r.comm.fCode, c.fCode);
        EXPECT_EQ(WideToAnsi(d.memo), c.memo);
    }
}

TEST_F(StoreTest, RewriteAndDeleteMatchTheGoldenResults) {
    Put("book.KFD", ReadGolden("v2000.KFD"));
    WideString path = WPath("book.KFD");
    FaxRecipient r = DefaultRecipient;
    EntryDetails d;
    ClearEntryDetails(d);
    ASSERT_EQ(PhonebookReadEntry(path.c_str(), Wide("Ville <0456>").c_str(), r, d), DB_DONE);
    // Written back unchanged: every byte outside records stays, the record moves to the end.
    ASSERT_EQ(PhonebookWriteEntry(path.c_str(), Wide("Ville <0456>").c_str(), r, d, kModeSameKey), DB_DONE);
    EXPECT_EQ(Get("book.KFD"), ReadGolden("v2000_rewrite_ville.KFD"));
    Put("book.KFD", ReadGolden("v2000.KFD"));
    ASSERT_EQ(PhonebookDeleteItem(path.c_str(), Wide("VILLE <0456>").c_str(), kItemIndividual), DB_DONE);
    EXPECT_EQ(Get("book.KFD"), ReadGolden("v2000_delete_ville.KFD"));
    EXPECT_EQ(Listing(), "book.KFD ");
}

TEST_F(StoreTest, ChangingAKeyRewritesEveryGroupReference) {
    Put("b.KFD", kHead + Entry("Anna", "1") + Group("G1", {{"Anna", "1"}, {"Bo", "2"}}) + Entry("Bo", "2") +
                     Group("G2", {{"ANNA", "1"}}));
    TestRecord t("Anna", "99");
    ASSERT_EQ(PhonebookWriteEntry(WPath("b.KFD").c_str(), Wide("Anna <1>").c_str(), t.r, t.d, kModeKeyChanged), DB_DONE);
    EXPECT_EQ(Get("b.KFD"), kHead + Group("G1", {{"Anna", "99"}, {"Bo", "2"}}) + Entry("Bo", "2") +
                                Group("G2", {{"Anna", "99"}}) + Entry("Anna", "99"));
}

TEST_F(StoreTest, DeletingAGroupKeepsItsMembersAndLaterNamesakes) {
    std::string g = Group("G", {{"A", "1"}});
    Put("b.KFD", kHead + Entry("A", "1") + g + Group("g", {}) );
    ASSERT_EQ(PhonebookDeleteItem(WPath("b.KFD").c_str(), Wide("[G]").c_str(), kItemGroup), DB_DONE);
    EXPECT_EQ(Get("b.KFD"), kHead + Entry("A", "1") + Group("g", {}));
}

TEST_F(StoreTest, WritingAGroupReplacesEveryGroupOfThatName) {
    Put("b.KFD", kHead + Group("G", {{"A", "1"}}) + Entry("A", "1") + Group("G", {}));
    std::string g = Group("H", {{"A", "1"}});
    ASSERT_EQ(PhonebookWriteGroup(WPath("b.KFD").c_str(), Wide("[g]").c_str(), reinterpret_cast<const uint8_t*>(g.data()),
                                  g.size(), kModeKeyChanged),
              DB_DONE);
    EXPECT_EQ(Get("b.KFD"), kHead + Entry("A", "1") + g);
    // A buffer that is not one group record is refused as not of the
    // phonebook's format (not as a full disk), the file untouched.
    for (const std::string& bad : {std::string(), std::string("\x02H\x03"), std::string("\x02H\x03" "A\x03\x04"),
                                  std::string("\x02H\x03" "A\x01\x03" "1\x03\x04"), Entry("A", "1")}) {
        EXPECT_EQ(PhonebookWriteGroup(WPath("b.KFD").c_str(), nullptr, reinterpret_cast<const uint8_t*>(bad.data()),
                                      bad.size(), kModeNew),
                  DB_BAD_FORMAT)
            << bad.size() << " bytes";
    }
    EXPECT_EQ(Get("b.KFD"), kHead + Entry("A", "1") + g);
}

TEST_F(StoreTest, AppendAfterAnUnfinishedRecordDropsItsRemains) {
    const std::string clean = kHead + Entry("A", "1");
    const std::string cut = Entry("B", "2").substr(0, 7);
    struct Case {
        const char* what;
        std::string before;
    } cases[] = {{"clean file", clean}, {"append cut short", clean + cut}};
    for (const auto& c : cases) {
        Put("b.KFD", c.before);
        TestRecord t("C", "3");
        ASSERT_EQ(PhonebookWriteEntry(WPath("b.KFD").c_str(), nullptr, t.r, t.d, kModeNew), DB_DONE) << c.what;
        EXPECT_EQ(Get("b.KFD"), clean + Entry("C", "3")) << c.what;
        FaxRecipient back = DefaultRecipient;
        EXPECT_EQ(PhonebookReadEntry(WPath("b.KFD").c_str(), Wide("C <3>").c_str(), back, t.d), DB_DONE) << c.what;
        EXPECT_EQ(Listing(), "b.KFD ") << c.what;
    }
}

TEST_F(StoreTest, RefusedFilesAndTheirCodes) {
    struct Case {
        const char* name;
        std::string bytes;  // empty name content: not created
        bool create;
        int check;
        int read;
    } cases[] = {
        {"missing.KFD", "", false, DB_CANNOT_OPEN, DB_CANNOT_OPEN},
        {"book.txt", kHead, true, DB_BAD_FORMAT, DB_BAD_FORMAT},
        {"short.KFD", std::string(kfd::kMagicCurrent, 20), true, DB_BAD_FORMAT, DB_BAD_FORMAT},
        {"empty.KFD", "", true, DB_BAD_FORMAT, DB_BAD_FORMAT},
        {"old0.kfd", ReadGolden("v0000.KFD"), true, DB_VERSION_0000, DB_BAD_FORMAT},
        {"old1.Kfd", ReadGolden("v1000.KFD"), true, DB_VERSION_1000, DB_BAD_FORMAT},
        {"x.KFD", "KESTRELTEC_ORYX_FAX_DATA_FILE_2001\n", true, DB_BAD_FORMAT, DB_BAD_FORMAT},
    };
    for (const auto& c : cases) {
        if (c.create) Put(c.name, c.bytes);
        WideString p = WPath(c.name);
        EXPECT_EQ(DBCheckVersion(p.c_str()), c.check) << c.name;
        FaxRecipient r = DefaultRecipient;
        EntryDetails d;
        EXPECT_EQ(PhonebookReadEntry(p.c_str(), Wide("A <1>").c_str(), r, d), c.read) << c.name;
        EXPECT_EQ(PhonebookDeleteItem(p.c_str(), Wide("A <1>").c_str(), kItemIndividual), c.read) << c.name;
        if (c.create) {
            EXPECT_EQ(Get(c.name), c.bytes) << c.name;
        }
    }
}

TEST_F(StoreTest, ExtensionTest) {
    struct Case {
        const char* path;
        bool ok;
    } cases[] = {{"a.kfd", true}, {"A.KFD", true}, {"x.KfD", true}, {".kfd", false}, {"kfd", false}, {"a.kfdx", false}};
    for (const auto& c : cases) EXPECT_EQ(DBHasPhonebookExtension(Wide(c.path).c_str()), c.ok) << c.path;
}

TEST_F(StoreTest, NewPhonebookIsThirtyFiveBytesAndReplacesAnyFile) {
    Put("n.KFD", "old contents");
    ASSERT_EQ(DBCreateEmptyPhonebook(WPath("n.KFD").c_str()), DB_DONE);
    EXPECT_EQ(Get("n.KFD"), ReadGolden("v2000_empty.KFD"));
    EXPECT_EQ(Get("n.KFD").size(), 35u);
    EXPECT_EQ(Listing(), "n.KFD ");
}

TEST_F(StoreTest, RecordLargerThanTheWorkBufferIsNoMemory) {
    std::string big;
    kfd::BeginGroup("Iso", big);
    for (int i = 0; i < 300; ++i) {
        std::string n = "Jasen numero " + std::to_string(i) + std::string(14, 'x');
        std::string f = std::string(24, '0') + std::to_string(100000 + i);
        kfd::AddGroupMember(n.c_str(), f.c_str(), big);
    }
    kfd::EndGroup(big);
    ASSERT_GT(big.size(), kfd::kWorkBufferSize);
    const std::string file = kHead + Entry("A", "1") + big + Entry("B", "2");
    Put("b.KFD", file);
    WideString p = WPath("b.KFD");
    FaxRecipient r = DefaultRecipient;
    EntryDetails d;
    EXPECT_EQ(PhonebookReadEntry(p.c_str(), Wide("A <1>").c_str(), r, d), DB_DONE);  // found before the big record
    EXPECT_EQ(PhonebookReadEntry(p.c_str(), Wide("B <2>").c_str(), r, d), DB_NO_MEMORY);
    EXPECT_EQ(PhonebookDeleteItem(p.c_str(), Wide("[Iso]").c_str(), kItemGroup), DB_NO_MEMORY);
    EXPECT_EQ(PhonebookDeleteItem(p.c_str(), Wide("A <1>").c_str(), kItemIndividual), DB_NO_MEMORY);
    EXPECT_EQ(Get("b.KFD"), file);
    EXPECT_EQ(Listing(), "b.KFD ");
}

TEST_F(StoreTest, ConvertsGoldenOldFilesIncludingOntoThemselves) {
    for (const char* name : {"v0000.KFD", "v1000.KFD"}) {
        Put("old.KFD", ReadGolden(name));
        DBResult v = DBCheckVersion(WPath("old.KFD").c_str());
        ASSERT_EQ(DBConvertPhonebook(nullptr, WPath("old.KFD").c_str(), WPath("new.KFD").c_str(), v), DB_DONE);
        EXPECT_EQ(Get("new.KFD"), ReadGolden("old_converted.KFD")) << name;
        EXPECT_EQ(Get("old.KFD"), ReadGolden(name)) << name;
        ASSERT_EQ(DBConvertPhonebook(nullptr, WPath("old.KFD").c_str(), WPath("old.KFD").c_str(), v), DB_DONE);
        EXPECT_EQ(Get("old.KFD"), ReadGolden("old_converted.KFD")) << name;
        EXPECT_EQ(Listing(), "new.KFD old.KFD ") << name;
        std::filesystem::remove(Path("new.KFD"));
    }
}

TEST(ListTextFilter, DuplicatesAreMembersOfTheSameKey) {
    kfd::ListTextFilter filter;
    for (auto [name, fax, first] : {std::tuple{"Smith", "1", true}, {"SMITH", "1", false}, {"Smith", "2", true},
                                    {"\xE4k\xE4s", "1", true}, {"\xC4k\xE4s", "1", true}, {"\xE4K\xE4s", "1", true}})
        EXPECT_EQ(filter.FirstTime(name, fax), first) << name << " " << fax;
}

TEST_F(StoreTest, ConversionThatCannotRunLeavesTheTargetAndSaysWhy) {
    const std::string old = ReadGolden("v1000.KFD");
    const fault::Plan none{fault::Op::Any, 0, fault::Action::Fail};
    struct Case {
        const char* what;
        DBResult version;
        bool held;  // another handle holds the old file
        fault::Plan fault;
        DBResult expected;
    } cases[] = {
        {"old file held elsewhere", DB_VERSION_1000, true, none, DB_CANNOT_OPEN},
        {"old file cannot be read", DB_VERSION_1000, false, {fault::Op::Read, 1, fault::Action::Fail, ERROR_READ_FAULT},
         DB_CANNOT_OPEN},
        {"not an older version", DB_DONE, false, none, DB_BAD_FORMAT},
        {"target cannot be created", DB_VERSION_1000, false, {fault::Op::Create, 2, fault::Action::Fail}, DB_WRITE_FAILED},
    };
    for (const auto& c : cases) {
        Put("old.KFD", old);
        Put("new.KFD", kHead);
        HANDLE h = INVALID_HANDLE_VALUE;
        if (c.held)
            h = CreateFileW(WPath("old.KFD").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        fault::Reset();
        if (c.fault.nth) fault::Arm(c.fault);
        EXPECT_EQ(DBConvertPhonebook(nullptr, WPath("old.KFD").c_str(), WPath("new.KFD").c_str(), c.version), c.expected)
            << c.what;
        fault::Reset();
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        EXPECT_EQ(Get("new.KFD"), kHead) << c.what;
        EXPECT_EQ(Listing(), "new.KFD old.KFD ") << c.what;
    }
}

}  // namespace
