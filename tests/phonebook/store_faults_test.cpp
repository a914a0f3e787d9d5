// Every change of a phonebook meets a failure, a crash or a power loss at
// each of its file calls in turn, and a power loss just after it reported
// done: the phonebook is afterwards the old file or the new one, byte for
// byte (the new one once the change said done), and nothing but a stale
// temporary file (after a crash) is left beside it; the next change then
// succeeds as if nothing had happened.
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "convert_old.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "posix/fault_injection.h"
#include "settings_file.h"
#include "store.h"
#include "store_fixture.h"

namespace {

// A change of book.KFD: its contents before and after, and how to make it.
struct Change {
    const char* what;
    std::string before;
    std::string after;
    std::function<DBResult(const WideString& book)> run;
    bool inPlace;  // an append writes into the phonebook itself
};

DBResult WriteEntry(const WideString& book, const char* oldText, const char* name, const char* fax, UpdateMode mode,
               const char* memo = "") {
    TestRecord t(name, fax, memo);
    WideString old = oldText ? Wide(oldText) : WideString();
    return PhonebookWriteEntry(book.c_str(), oldText ? old.c_str() : nullptr, t.r, t.d, mode);
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
                     return PhonebookDeleteItem(b.c_str(), Wide("Bo <2>").c_str(), kItemIndividual);
                 },
                 false});
    c.push_back({"group deleted", base, kHead + Entry("Anna", "1") + many + Entry("Bo", "2") + "\r\n",
                 [](const WideString& b) { return PhonebookDeleteItem(b.c_str(), Wide("[G]").c_str(), kItemGroup); },
                 false});
    c.push_back({"entry appended", base, base + Entry("Cai", "3"),
                 [](const WideString& b) { return WriteEntry(b, nullptr, "Cai", "3", kModeNew); }, true});
    const std::string cut = Entry("Dan", "4").substr(0, 6);
    c.push_back({"append after a cut-off append", base + cut, base + Entry("Cai", "3"),
                 [](const WideString& b) { return WriteEntry(b, nullptr, "Cai", "3", kModeNew); }, false});
    c.push_back({"new empty phonebook", base, kHead,
                 [](const WideString& b) { return DBCreateEmptyPhonebook(b.c_str()); },
                 false});
    // The settings file names the current phonebook; the dialogs and faxhost share its writer.
    c.push_back({"settings file rewritten", "C:\\vanha.KFD\n", "C:\\uusi.KFD\n",
                 [](const WideString& b) { return WriteSettingsFile(b.c_str(), Wide("C:\\uusi.KFD").c_str()); },
                 false});
    return c;
}

struct Fault {
    fault::Action action;
    unsigned seed;
    const char* what;
};
// Power losses differ in what the disk kept; each seed is one outcome.
const Fault kFaults[] = {
    {fault::Action::Fail, 0, "fails"},           {fault::Action::Short, 0, "is short"},
    {fault::Action::Crash, 0, "crashes"},        {fault::Action::PowerLoss, 1, "loses power (1)"},
    {fault::Action::PowerLoss, 2, "loses power (2)"}, {fault::Action::PowerLoss, 3, "loses power (3)"},
    {fault::Action::PowerLoss, 4, "loses power (4)"},
};
const struct {
    fault::Op op;
    const char* name;
} kKinds[] = {{fault::Op::Create, "create"}, {fault::Op::Write, "write"}, {fault::Op::Flush, "flush"},
              {fault::Op::Delete, "delete"}, {fault::Op::Move, "move"}};

struct Outcome {
    std::string ctx;
    DBResult rc;
    bool crashed;    // the process ended inside the operation
    bool afterDone;  // the power went off after the operation reported its result
};

// Runs the operation once to count its file calls, then from setup() again
// with each fault at each call, and once per power-loss seed with the power
// going off after it returned; judge() looks at each outcome. Returns how
// many outcomes were judged.
int EveryFault(const std::function<void()>& setup, const std::function<DBResult()>& run,
               const std::function<void(const Outcome&)>& judge) {
    setup();
    fault::Reset();
    EXPECT_EQ(run(), DB_DONE) << "without faults";
    int counts[std::size(kKinds)];
    for (size_t k = 0; k < std::size(kKinds); ++k) counts[k] = fault::Calls(kKinds[k].op);
    EXPECT_GT(counts[1], 0) << "no write was counted";
    int judged = 0;
    auto attempt = [&](const std::string& ctx, bool powerAfter, unsigned seed) {
        DBResult rc = DB_DONE;
        bool crashed = false;
        try {
            rc = run();
        } catch (const fault::SimulatedCrash&) {
            crashed = true;
        }
        if (powerAfter) fault::CutPower(seed);
        if (crashed || powerAfter) fault::CloseAllFiles();
        fault::Reset();
        judge({ctx, rc, crashed, powerAfter && !crashed});
        ++judged;
    };
    for (size_t k = 0; k < std::size(kKinds); ++k) {
        for (int n = 1; n <= counts[k]; ++n) {
            for (const Fault& f : kFaults) {
                if (f.action == fault::Action::Short && kKinds[k].op != fault::Op::Write) continue;
                setup();
                fault::Reset();
                fault::Arm({kKinds[k].op, n, f.action, ERROR_DISK_FULL, f.seed});
                attempt(std::string(kKinds[k].name) + " #" + std::to_string(n) + " " + f.what, false, 0);
            }
        }
    }
    for (const Fault& f : kFaults) {
        if (f.action != fault::Action::PowerLoss) continue;
        setup();
        fault::Reset();
        fault::TrackPowerLoss();
        attempt(std::string("done, then ") + f.what, true, f.seed);
    }
    return judged;
}

class StoreFaultTest : public StoreDir {
protected:
    WideString Book() const { return WPath("book.KFD"); }
    void Judge(const Change& c, const Outcome& o) {
        const std::string ctx = std::string(c.what) + ", " + o.ctx;
        std::string now = Get("book.KFD");
        bool isOld = now == c.before;
        bool isNew = now == c.after;
        if (o.afterDone) {
            EXPECT_TRUE(isNew) << ctx << ": a change reported done was lost, " << now.size() << " bytes";
        } else if (c.inPlace && !isOld && !isNew) {
            // An append cut short by a crash leaves the old file and a piece of the record.
            EXPECT_EQ(now.compare(0, c.before.size(), c.before), 0) << ctx;
            EXPECT_LT(now.size(), c.after.size()) << ctx;
        } else {
            EXPECT_TRUE(isOld || isNew) << ctx << ": neither old nor new, " << now.size() << " bytes";
        }
        if (!o.crashed) {
            if (o.rc == DB_DONE) {
                EXPECT_TRUE(isNew) << ctx << ": reported done, contents not new";
            } else {
                EXPECT_TRUE(isOld) << ctx << ": reported failure, contents changed";
            }
            EXPECT_EQ(Listing(), "book.KFD ") << ctx;
        } else {
            std::string l = Listing();
            EXPECT_TRUE(l == "book.KFD " || l == "book.KFD book.TMP ") << ctx << ": " << l;
        }
        // The next change builds on whatever is there as if nothing had happened.
        if (!isNew) {
            ASSERT_EQ(c.run(Book()), DB_DONE) << ctx << ": the next change";
            EXPECT_EQ(Get("book.KFD"), c.after) << ctx << ": after the next change";
        }
        EXPECT_EQ(Listing(), "book.KFD ") << ctx << ": left behind";
    }
};

TEST_F(StoreFaultTest, EveryFileCallFailsCrashesOrLosesPowerInTurn) {
    int scenarios = 0;
    for (const Change& c : Changes()) {
        int judged = EveryFault([&] {
            std::filesystem::remove(Path("book.TMP"));
            Put("book.KFD", c.before);
        },
        [&] { return c.run(Book()); }, [&](const Outcome& o) { Judge(c, o); });
        EXPECT_GT(judged, 0) << c.what;
        scenarios += judged;
    }
    EXPECT_GT(scenarios, 0);
    RecordProperty("scenarios", scenarios);
    std::printf("fault scenarios run: %d\n", scenarios);
}

TEST_F(StoreFaultTest, ConversionLeavesTheTargetOldOrNew) {
    const std::string old = ReadGolden("v1000.KFD");
    const std::string converted = ReadGolden("old_converted.KFD");
    ASSERT_FALSE(old.empty());
    int judged = EveryFault(
        [&] {
            std::filesystem::remove(Path("book.TMP"));
            Put("old.KFD", old);
            Put("book.KFD", kHead);
        },
        [&] { return DBConvertPhonebook(nullptr, WPath("old.KFD").c_str(), Book().c_str(), DB_VERSION_1000); },
        [&](const Outcome& o) {
            std::string now = Get("book.KFD");
            EXPECT_TRUE(now == kHead || now == converted) << o.ctx << ": neither old nor new, " << now.size();
            if (o.afterDone || (!o.crashed && o.rc == DB_DONE)) {
                EXPECT_EQ(now, converted) << o.ctx;
            } else if (!o.crashed) {
                EXPECT_EQ(now, kHead) << o.ctx;
                EXPECT_EQ(Listing(), "book.KFD old.KFD ") << o.ctx;
            }
            EXPECT_EQ(Get("old.KFD"), old) << o.ctx;
        });
    EXPECT_GT(judged, 0);
}

}  // namespace
