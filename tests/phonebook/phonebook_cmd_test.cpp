// "faxhost phonebook" list, check and convert.
#include <string>
#include <vector>

#include "phonebook_cmd.h"
#include "store_fixture.h"

namespace {

class PhonebookCommandTest : public StoreDir {
protected:
    int Run(std::vector<std::string> args, std::string* out) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(&a[0]);
        testing::internal::CaptureStdout();
        int rc = RunPhonebookCommand(static_cast<int>(argv.size()), argv.data());
        *out = testing::internal::GetCapturedStdout();
        return rc;
    }
};

TEST_F(PhonebookCommandTest, ListsEveryFieldAndEveryMember) {
    Put("book.KFD", ReadGolden("v2000.KFD") + "\x01H\xe4m\xe4l\xe4inen\x03" "5\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03"
                                             "0\x03\x03\x03\x04");
    std::string out;
    ASSERT_EQ(Run({"phonebook", "list", Path("book.KFD")}, &out), 0);
    for (const char* line : {"individual: Anna Maija Virtanen <0123>\n", "  company: Oy Ab\n", "  phone: +358 1\n",
                             "  e-mail: anna@x.fi\n", "  memo: muistio\\r\\nrivi 2\n",
                             "  relay destinations (2): 007 0#7\n",
                             "  mailbox: 200, mailbox password: 1234, F-code: 55, F-code password: *#\n",
                             "group: [Myynti]\n  member: Anna Maija Virtanen <0123>\n  member: Ville <0456>\n",
                             "group: [Tyhja]\n", "individual: H\xc3\xa4m\xc3\xa4l\xc3\xa4inen <5>\n"}) {
        EXPECT_NE(out.find(line), std::string::npos) << line << "\nin:\n" << out;
    }
}

TEST_F(PhonebookCommandTest, CheckReportsEachDamagedSpotWithItsOffset) {
    const std::string rec = "\x01" "A\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03" "0\x03\x03\x03\x04";
    struct Case {
        const char* what;
        std::string file;
        int exit;
        std::vector<std::string> lines;
    } cases[] = {
        {"golden", ReadGolden("v2000.KFD"), 0, {"version: 2000", "records: 5 (individuals 3, groups 2)", "no damage found"}},
        {"cut-off record and unfinished tail", kHead + "\x01" "B\x03" + rec + "\x01" "C\x03", 1,
         {"damaged at byte 35: record cut off", "damaged at byte " + std::to_string(38 + rec.size()) + ": unfinished record",
          "records: 1"}},
        {"count that lies", kHead + "\x01" "A\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "5\x03" "001\x03\x04", 1,
         {"damaged at byte 35: individual record without the fields"}},
        {"record too large", kHead + rec + "\x02" + std::string(20000, 'x') + "\x03\x04", 1,
         {"damaged at byte " + std::to_string(35 + rec.size()) + ": record larger than the 16384-byte work buffer"}},
        {"old version", ReadGolden("v1000.KFD"), 0, {"version: 1000", "groups: 2, member lines: 4, individuals after conversion: 3"}},
        {"old version cut short", ReadGolden("v0000.KFD").substr(0, 120), 1, {"version: 0000", "damaged: 1 spots"}},
        {"not a phonebook", "hello", 1, {"not a phonebook"}},
        {"member not in the phonebook", kHead + rec + Group("G", {{"a", "1"}, {"\xE4", "1"}}), 1,
         {"damaged at byte " + std::to_string(35 + rec.size()) + ": group [G] names a member that does not exist: \xC3\xA4 <1>"}},
    };
    for (const auto& c : cases) {
        Put("c.KFD", c.file);
        std::string out;
        EXPECT_EQ(Run({"phonebook", "check", Path("c.KFD")}, &out), c.exit) << c.what << "\n" << out;
        for (const auto& line : c.lines) EXPECT_NE(out.find(line), std::string::npos) << c.what << ": " << line << "\n" << out;
    }
}

TEST_F(PhonebookCommandTest, ConvertsOlderVersionsOnly) {
    Put("old.KFD", ReadGolden("v0000.KFD"));
    std::string out;
    ASSERT_EQ(Run({"phonebook", "convert", Path("old.KFD"), Path("new")}, &out), 0) << out;
    EXPECT_EQ(Get("new.KFD"), ReadGolden("old_converted.KFD"));
    EXPECT_NE(Run({"phonebook", "convert", Path("new.KFD"), Path("x.KFD")}, &out), 0);
    EXPECT_FALSE(Exists("x.KFD"));
    EXPECT_EQ(Run({"phonebook", "list", Path("old.KFD")}, &out), 1);
    EXPECT_EQ(Run({"phonebook", "frobnicate", Path("old.KFD")}, &out), 2);
    EXPECT_EQ(Run({"phonebook"}, &out), 2);
}

}  // namespace
