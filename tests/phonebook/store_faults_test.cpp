// Every change of a phonebook meets a failure or a crash at each of its
// file calls in turn: the phonebook is afterwards the old file or the new
// one, byte for byte, and nothing but a stale temporary file (after a
// crash) is left beside it; the next change then succeeds as if nothing
// had happened.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "convert_old.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "posix/fault_injection.h"
#include "store.h"
#include "store_fixture.h"

namespace {

const std::string kHead = std::string(kfd::kMagicCurrent) + "\n";
constexpr int kNoResult = 100;

// A change of book.KFD: its contents before and after, and how to make it.
struct Change {
    const char* what;
    std::string before;
    std::string after;
    std::function<int(const WideString& book)> run;
    bool inPlace;  // an append writes into the phonebook itself
};

int WriteEntry(const WideString& book, const char* oldText, const char* name, const char* fax, int mode,
               const char* memo = "") {
    FaxRecipient r = DefaultRecipient;
    std::strcpy(r.name, name);
    std::strcpy(r.faxNumber, fax);
    EntryDetails d;
    ClearEntryDetails(d);
    for (size_t i = 0; memo[i]; ++i) d.memo[i] = static_cast<WCHAR>(memo[i]);
    WideString old = oldText ? WidePath(oldText) : WideString();
    return PhonebookWriteEntry(book.c_str(), oldText ? old.c_str() : nullptr, r, d, mode);
}

std::vector<Change> Changes() {
    // Enough records that the copy takes several writes.
    std::string many;
    for (int i = 0; i < 4000; ++i) many += Entry(("Henkilo " + std::to_string(i)).c_str(), std::to_string(i).c_str(), "muistio");
    const std::string base = kHead + Entry("Anna", "1") + Group("G", {{"Anna", "1"}, {"Bo", "2"}}) + many +
                             Entry("Bo", "2") + "\r\n";
    std::vector<Change> c;
    c.push_back({"details changed", base,
                 kHead + Group("G", {{"Anna", "1"}, {"Bo", "2"}}) + many + Entry("Bo", "2") + "\r\n" +
                     Entry("Anna", "1", "uusi"),
                 [](const WideString& b) { return WriteEntry(b, "Anna <1>", "Anna", "1", kModeSameKey, "uusi"); },
                 false});
    c.push_back({"key changed", base,
                 kHead + Group("G", {{"Anna", "7"}, {"Bo", "2"}}) + many + Entry("Bo", "2") + "\r\n" +
                     Entry("Anna", "7"),
                 [](const WideString& b) { return WriteEntry(b, "Anna <1>", "Anna", "7", kModeKeyChanged); }, false});
    c.push_back({"individual deleted", base, kHead + Entry("Anna", "1") + Group("G", {{"Anna", "1"}}) + many + "\r\n",
                 [](const WideString& b) {
                     return PhonebookDeleteItem(b.c_str(), WidePath("Bo <2>").c_str(), kItemIndividual);
                 },
                 false});
    c.push_back({"group deleted", base, kHead + Entry("Anna", "1") + many + Entry("Bo", "2") + "\r\n",
                 [](const WideString& b) { return PhonebookDeleteItem(b.c_str(), WidePath("[G]").c_str(), kItemGroup); },
                 false});
    c.push_back({"entry appended", base, base + Entry("Cai", "3"),
                 [](const WideString& b) { return WriteEntry(b, nullptr, "Cai", "3", kModeNew); }, true});
    const std::string cut = Entry("Dan", "4").substr(0, 6);
    c.push_back({"append after a cut-off append", base + cut, base + Entry("Cai", "3"),
                 [](const WideString& b) { return WriteEntry(b, nullptr, "Cai", "3", kModeNew); }, false});
    c.push_back({"new empty phonebook", base, kHead,
                 [](const WideString& b) {
                     DBCreateEmptyPhonebook(b.c_str());  // reports nothing; the validation that follows does
                     return kNoResult;
                 },
                 false});
    return c;
}

class StoreFaultTest : public StoreDir {
protected:
    WideString Book() const { return WPath("book.KFD"); }
    void Check(const Change& c, const std::string& ctx, bool crashed, int rc) {
        std::string now = Get("book.KFD");
        bool isOld = now == c.before;
        bool isNew = now == c.after;
        if (c.inPlace && !isOld && !isNew) {
            // An append cut short leaves the old file and a piece of the record.
            EXPECT_EQ(now.compare(0, c.before.size(), c.before), 0) << ctx;
            EXPECT_LT(now.size(), c.after.size()) << ctx;
        } else {
            EXPECT_TRUE(isOld || isNew) << ctx << ": neither old nor new, " << now.size() << " bytes";
        }
        if (!crashed) {
            if (rc == DB_DONE) {
                EXPECT_TRUE(isNew) << ctx << ": reported done, contents not new";
            } else if (rc != kNoResult && !c.inPlace) {
                EXPECT_TRUE(isOld) << ctx << ": reported failure, contents changed";
            }
            EXPECT_EQ(Listing(), "book.KFD ") << ctx;
        } else {
            std::string l = Listing();
            EXPECT_TRUE(l == "book.KFD " || l == "book.KFD book.TMP ") << ctx << ": " << l;
        }
        // The next change builds on whatever is there as if nothing had happened.
        if (!isNew) {
            fault::Reset();
            int again = c.run(Book());
            ASSERT_TRUE(again == DB_DONE || again == kNoResult) << ctx << ": the next change";
            EXPECT_EQ(Get("book.KFD"), c.after) << ctx << ": after the next change";
        }
        EXPECT_EQ(Listing(), "book.KFD ") << ctx << ": left behind";
    }
};

TEST_F(StoreFaultTest, EveryFileCallFailsOrCrashesInTurn) {
    const fault::Op kinds[] = {fault::Op::Create, fault::Op::Write, fault::Op::Flush, fault::Op::Delete,
                               fault::Op::Move};
    const char* kindNames[] = {"create", "write", "flush", "delete", "move"};
    int scenarios = 0;
    for (const Change& c : Changes()) {
        Put("book.KFD", c.before);
        fault::Reset();
        int rc = c.run(Book());
        ASSERT_TRUE(rc == DB_DONE || rc == kNoResult) << c.what;
        ASSERT_EQ(Get("book.KFD"), c.after) << c.what << ": the change itself";
        int counts[5];
        for (int k = 0; k < 5; ++k) counts[k] = fault::Calls(kinds[k]);
        EXPECT_GT(counts[1], 0) << c.what;
        for (int k = 0; k < 5; ++k) {
            for (int n = 1; n <= counts[k]; ++n) {
                for (fault::Action a : {fault::Action::Fail, fault::Action::Short, fault::Action::Crash}) {
                    if (a == fault::Action::Short && kinds[k] != fault::Op::Write) continue;
                    std::string ctx = std::string(c.what) + ", " + kindNames[k] + " #" + std::to_string(n) +
                                      (a == fault::Action::Fail ? " fails" : a == fault::Action::Short ? " is short" : " crashes");
                    std::filesystem::remove(Path("book.TMP"));
                    Put("book.KFD", c.before);
                    fault::Reset();
                    fault::Arm({kinds[k], n, a});
                    int rc = -1;
                    bool crashed = false;
                    try {
                        rc = c.run(Book());
                    } catch (const fault::SimulatedCrash&) {
                        crashed = true;
                        fault::CloseAllFiles();
                    }
                    EXPECT_EQ(crashed, a == fault::Action::Crash) << ctx;
                    Check(c, ctx, crashed, rc);
                    ++scenarios;
                }
            }
        }
    }
    RecordProperty("scenarios", scenarios);
    std::printf("fault scenarios run: %d\n", scenarios);
}

TEST_F(StoreFaultTest, ConversionLeavesTheTargetOldOrNew) {
    const std::string old = ReadGolden("v1000.KFD");
    const std::string converted = ReadGolden("old_converted.KFD");
    Put("old.KFD", old);
    Put("book.KFD", kHead);
    fault::Reset();
    ASSERT_EQ(DBConvertPhonebook(nullptr, WPath("old.KFD").c_str(), Book().c_str(), DB_VERSION_1000), DB_DONE);
    int writes = fault::Calls(fault::Op::Any);
    for (int n = 1; n <= writes; ++n) {
        for (fault::Action a : {fault::Action::Fail, fault::Action::Crash}) {
            std::filesystem::remove(Path("book.TMP"));
            Put("book.KFD", kHead);
            fault::Reset();
            fault::Arm({fault::Op::Any, n, a});
            int rc = -1;
            try {
                rc = DBConvertPhonebook(nullptr, WPath("old.KFD").c_str(), Book().c_str(), DB_VERSION_1000);
            } catch (const fault::SimulatedCrash&) {
                fault::CloseAllFiles();
            }
            std::string now = Get("book.KFD");
            EXPECT_TRUE(now == kHead || now == converted) << "call " << n;
            if (rc == DB_DONE) {
                EXPECT_EQ(now, converted) << "call " << n;
            } else if (rc > 0) {
                EXPECT_EQ(now, kHead) << "call " << n;
            }
            EXPECT_EQ(Get("old.KFD"), old) << "call " << n;
        }
    }
    fault::Reset();
}

}  // namespace
