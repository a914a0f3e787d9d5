// The filter's readers of outside data (options, list texts, phonebooks)
// and the splice of the PJL lines into a stream.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fax_job.h"
#include "phonebook_pick.h"
#include "pjl_splice.h"
#include "recipient_text.h"
#include "scratch_dir.h"

namespace {

struct RecipientRow {
    const char* text;
    int max;
    const char* name;    // null: refused
    const char* number;  // or the message's words when refused
    int speedDial;
};

TEST(RecipientText, TakesWhatTheDialogTakes) {
    const RecipientRow rows[] = {
        {"Matti <0123>", 200, "Matti", "0123", 0},
        {"<0123>", 200, "", "0123", 0},
        {"Anna Maija  Virtanen <0-800-flowers>", 200, "Anna Maija  Virtanen", "0-800-FLOWERS", 0},
        {"\xC3\x84ij\xC3\xA4 <1>", 200, "\xC4ij\xE4", "1", 0},
        {"K <!#z>", 200, "K", "!#Z", 0},
        {"K <123456789012345678901234567890>", 200, "K", "123456789012345678901234567890", 0},
        {"Kalle <'5'>", 200, "Kalle", "005", 1},
        {"K <'***'>", 200, "K", "***", 1},
        {"K <'20*'>", 200, "K", "20*", 1},
        {"K <'00*'>", 200, "K", "00*", 1},
        {"K <'200'>", 200, "K", "200", 1},
        {"K <'999'>", 999, "K", "999", 1},
        {"K <'201'>", 200, nullptr, "out of range 1-200", 0},
        {"K <'000'>", 200, nullptr, "out of range", 0},
        {"K <'21*'>", 200, nullptr, "out of range", 0},
        {"K <'1*3'>", 200, nullptr, "nn* or ***", 0},
        {"K <'5*'>", 200, nullptr, "nn* or ***", 0},
        {"K <'1234'>", 999, nullptr, "1 to 3 characters", 0},
        {"K <''>", 200, nullptr, "1 to 3 characters", 0},
        {"K <'1a'>", 200, nullptr, "only digits and '*'", 0},
        {"K <>", 200, nullptr, "a fax number has", 0},
        {"K <1234567890123456789012345678901>", 200, nullptr, "a fax number has", 0},
        {"K <1,2>", 200, nullptr, "a fax number has", 0},
        {"K <1{2>", 200, nullptr, "a fax number has", 0},
        {"K <1\r\n@PJL X>", 200, nullptr, "is not of the form", 0},
        {"K <1\x01>", 200, nullptr, "a fax number has", 0},
        {"[K] <1>", 200, nullptr, "no brackets", 0},
        {"1234567890123456789012345678901 <1>", 200, nullptr, "at most 30 characters", 0},
        {"Matti 0123", 200, nullptr, "is not of the form", 0},
        {"Matti <0123", 200, nullptr, "is not of the form", 0},
        {"\xC3 <1>", 200, nullptr, "not UTF-8", 0},
    };
    for (const RecipientRow& row : rows) {
        FaxRecipient r{};
        std::string error;
        bool ok = ParseRecipientText(row.text, row.max, &r, &error);
        ASSERT_EQ(ok, row.name != nullptr) << row.text << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find(row.number), std::string::npos) << row.text << ": " << error;
            continue;
        }
        EXPECT_STREQ(r.name, row.name) << row.text;
        EXPECT_STREQ(r.faxNumber, row.number) << row.text;
        EXPECT_EQ(r.comm.speedDial, row.speedDial) << row.text;
        EXPECT_EQ(r.comm.commOption, DefaultRecipient.comm.commOption) << row.text;
    }
}

TEST(RecipientText, ListsSplitAtSemicolonsWithBlankPiecesLeftOut) {
    std::vector<FaxRecipient> all;
    std::string error;
    ASSERT_TRUE(ParseRecipientList(" A <1> ;; B <'2'>;  ", 200, &all, &error)) << error;
    ASSERT_EQ(all.size(), 2u);
    EXPECT_STREQ(all[1].faxNumber, "002");
}

TEST(Delay, HoursAndMinutesOfOneDay) {
    const struct {
        const char* text;
        int hour;  // -1: refused
        int minute;
    } rows[] = {{"0:00", 0, 0},   {"00:00", 0, 0}, {"7:05", 7, 5},   {"23:59", 23, 59}, {"24:00", -1, 0},
                {"23:60", -1, 0}, {"7:5", -1, 0},  {"007:05", -1, 0}, {"12:345", -1, 0}, {"1a:00", -1, 0},
                {"12:0x", -1, 0}, {":30", -1, 0},  {"", -1, 0},      {"12.30", -1, 0}};
    for (const auto& row : rows) {
        int h = -1, m = -1;
        ASSERT_EQ(ParseDelay(row.text, &h, &m), row.hour >= 0) << row.text;
        if (row.hour >= 0) {
            EXPECT_EQ(h * 100 + m, row.hour * 100 + row.minute) << row.text;
        }
    }
}

struct JobRow {
    const char* options;
    const char* error;  // null: accepted
    JobKind kind;
    int resolution, report, header, delay, count;
};

TEST(FaxJob, OptionsOverQueueDefaultsOverJobSettings) {
    QueueSettings queue;
    queue.phonebook = FAX_TEST_DATA "/v2000.KFD";
    QueueSettings plain;
    std::string many = "fax-recipients='";
    for (int i = 0; i < 49; ++i) many += "R <" + std::to_string(i) + ">;";
    const JobRow rows[] = {
        {"", nullptr, JobKind::Print, 0, 0, 0, 0, 0},
        {"fax-resolution=ultrafine fax-header=off", nullptr, JobKind::Print, 0, 0, 0, 0, 0},
        {"fax-delay=10:00", "without recipients", JobKind::Print, 0, 0, 0, 0, 0},
        {"fax-phonebook=/x.KFD", "without recipients", JobKind::Print, 0, 0, 0, 0, 0},
        {"fax-recipients='A <1>'", nullptr, JobKind::Fax, 1, 1, 1, 0, 1},
        {"fax-recipients='A <1>' fax-resolution=normal fax-confirmation=always fax-header=off fax-delay=0:00",
         nullptr, JobKind::Fax, 0, 0, 0, 1, 1},
        {"fax-recipients='A <1>' fax-resolution=superfine fax-confirmation=none", nullptr, JobKind::Fax, 2, 2, 1, 0, 1},
        {"fax-recipients='A <1>' fax-resolution=high", "one of normal, fine, superfine, ultrafine", JobKind::Fax, 0, 0,
         0, 0, 0},
        {"fax-recipients='A <1>' fax-confirmation=ON", "one of always, onerror, none", JobKind::Fax, 0, 0, 0, 0, 0},
        {"fax-recipients='A <1>' fax-header=yes", "one of on, off", JobKind::Fax, 0, 0, 0, 0, 0},
        {"fax-recipients=' ; '", "no fax recipients", JobKind::Fax, 0, 0, 0, 0, 0},
        {"fax-entries=Pekka fax-recipients='A <1>'", nullptr, JobKind::Fax, 1, 1, 1, 0, 2},
        {"fax-entries=Myynti fax-phonebook=/no/such.KFD", "cannot be opened", JobKind::Fax, 0, 0, 0, 0, 0},
    };
    for (const JobRow& row : rows) {
        cups_option_t* options = nullptr;
        int n = cupsParseOptions(row.options, 0, &options);
        JobDescription job;
        JobKind kind = JobKind::Fax;
        std::string error;
        bool ok = BuildFaxJob(n, options, queue, "tester\\PC", &job, &kind, &error);
        cupsFreeOptions(n, options);
        ASSERT_EQ(ok, row.error == nullptr) << row.options << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find(row.error), std::string::npos) << row.options << ": " << error;
            continue;
        }
        ASSERT_EQ(kind, row.kind) << row.options;
        if (kind == JobKind::Print) continue;
        EXPECT_EQ(job.jobType, kJobTypeFax);
        EXPECT_STREQ(job.accountUser, "tester\\PC");
        EXPECT_EQ(job.ds.resolution, row.resolution) << row.options;
        EXPECT_EQ(job.ds.txReport, row.report) << row.options;
        EXPECT_EQ(job.ds.txHeader, row.header) << row.options;
        EXPECT_EQ(job.ss.delaySend, row.delay) << row.options;
        EXPECT_EQ(job.ss.recipientCount, row.count) << row.options;
    }
    // The queue's defaults stand where the job names no value; without a
    // phonebook entries cannot be picked.
    queue.resolution = "superfine";
    queue.confirmation = "none";
    queue.header = "off";
    queue.speedDial999 = true;
    const struct {
        std::string options;
        const QueueSettings& queue;
        const char* error;
        int resolution, count;
    } more[] = {{"fax-recipients=\"A <'999'>\"", queue, nullptr, 2, 1},
                {"fax-recipients=\"A <'999'>\"", plain, "out of range 1-200", 0, 0},
                {"fax-recipients='A <1>' fax-resolution=fine", queue, nullptr, 1, 1},
                {"fax-entries=Pekka", plain, "the queue has no phonebook", 0, 0},
                {many + "'", queue, nullptr, 2, 49},
                {many + "' fax-entries=Pekka", queue, nullptr, 2, 50},
                {many + "' fax-entries=Myynti", queue, "at most 50 recipients, 51 given", 0, 0}};
    for (const auto& row : more) {
        cups_option_t* options = nullptr;
        int n = cupsParseOptions(row.options.c_str(), 0, &options);
        JobDescription job;
        JobKind kind;
        std::string error;
        bool ok = BuildFaxJob(n, options, row.queue, "", &job, &kind, &error);
        cupsFreeOptions(n, options);
        ASSERT_EQ(ok, row.error == nullptr) << row.options << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find(row.error), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(job.ds.resolution, row.resolution) << row.options;
        EXPECT_EQ(job.ds.txHeader, 0) << row.options;
        EXPECT_EQ(job.ss.recipientCount, row.count) << row.options;
    }
}

TEST(FaxJob, AccountTextKeepsToItsLine) {
    EXPECT_EQ(AccountText("maija", "PC"), "maija\\PC");
    EXPECT_EQ(AccountText("a\"b\r\n\x7f", "PC"), "a_b___\\PC");
}

TEST(PhonebookPick, EntriesAndGroupsAsTheDialogTakesThem) {
    PhonebookContents book;
    std::string error;
    ASSERT_TRUE(LoadPhonebook(FAX_TEST_DATA "/v2000.KFD", &book, &error)) << error;
    const struct {
        const char* entries;
        const char* numbers;  // or the message's words when refused
        bool ok;
    } rows[] = {
        {"Pekka", "0789", true},
        {"pekka; Ville <0456>", "0789 0456", true},
        {"[Myynti]", "0123 0456", true},
        {"MYYNTI", "0123 0456", true},
        {"Tyhja", "", true},
        {"Anna Maija Virtanen", "0123", true},
        {"Nobody", "no entry \"Nobody\"", false},
        {"Ville <0457>", "no entry", false},
        {"[Pekka]", "no entry", false},
    };
    for (const auto& row : rows) {
        std::vector<FaxRecipient> out;
        ASSERT_EQ(PickEntries(book, row.entries, &out, &error), row.ok) << row.entries << ": " << error;
        if (!row.ok) {
            EXPECT_NE(error.find(row.numbers), std::string::npos) << error;
            continue;
        }
        std::string numbers;
        for (const FaxRecipient& r : out) numbers += std::string(numbers.empty() ? "" : " ") + r.faxNumber;
        EXPECT_EQ(numbers, row.numbers) << row.entries;
    }
    // Ville keeps his relay and F-code settings; Pekka his mailbox.
    std::vector<FaxRecipient> out;
    ASSERT_TRUE(PickEntries(book, "Ville;Pekka", &out, &error));
    EXPECT_EQ(out[0].comm.commOption, '1');
    EXPECT_STREQ(out[0].comm.fCodePassword, "*#");
    EXPECT_EQ(out[0].comm.relayDestCount, 2);
    EXPECT_STREQ(out[1].comm.mailboxId, "17");
}

TEST(PhonebookPick, DamagedOrForeignBooksAreRefused) {
    ScratchDir dir("fax-cups-book");
    std::string book;
    {
        std::ifstream f(FAX_TEST_DATA "/v2000.KFD", std::ios::binary);
        book.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    std::string crInNumber = book;
    crInNumber.replace(crInNumber.find("0123"), 4, "01\r3");
    std::string lostMember = book;
    lostMember.replace(lostMember.rfind("0456"), 4, "0455");
    std::string badOption = book;
    badOption.replace(badOption.find("\x03" "4\x03"), 3, "\x03" "7\x03");
    const struct {
        std::string bytes;
        const char* message;
    } rows[] = {
        {book.substr(0, book.size() - 3), "unfinished record"},
        {crInNumber, "fields the dialogs would not store"},
        {badOption, "fields the dialogs would not store"},
        {lostMember, "names a member it does not hold"},
        {"KESTRELTEC_ORYX_FAX_DATA_FILE_1000\x01G\x02\r\n0\r\n", "older version"},
        {"not a phonebook at all, not at all, no", "not a phonebook"},
    };
    for (const auto& row : rows) {
        dir.Put("b.KFD", row.bytes);
        PhonebookContents contents;
        std::string error;
        std::vector<FaxRecipient> out;
        bool ok = LoadPhonebook(dir.Path("b.KFD"), &contents, &error) &&
                  PickEntries(contents, "Myynti", &out, &error);
        EXPECT_FALSE(ok) << row.message;
        EXPECT_NE(error.find(row.message), std::string::npos) << error;
    }
}

TEST(PjlSplice, LinesGoBeforeTheLanguageIsEntered) {
    const std::string uel = kUel;
    const struct {
        std::string in;
        std::string out;  // empty: refused
    } rows[] = {
        {uel + "@PJL SET A=1\n@PJL ENTER LANGUAGE = PCLXL\n) HP-PCL XL;1;1\n\xff" + uel,
         uel + "@PJL SET A=1\nLINES@PJL ENTER LANGUAGE = PCLXL\n) HP-PCL XL;1;1\n\xff" + uel},
        {uel + "@PJL enter language=pclxl\r\nX", uel + "LINES@PJL enter language=pclxl\r\nX"},
        {uel + "@PJL\r\n\x1b" "E", uel + "@PJL\r\nLINES\x1b" "E"},
        {uel + "@PJL SET A=1\n", uel + "@PJL SET A=1\nLINES"},
        {") HP-PCL XL;2;0\n", uel + "LINES@PJL ENTER LANGUAGE = PCLXL\r\n) HP-PCL XL;2;0\n"},
        {"X", uel + "LINES@PJL ENTER LANGUAGE = PCLXL\r\nX"},
        {"", ""},
        {uel + "@PJL SET A=" + std::string(70000, '1') + "\n@PJL ENTER LANGUAGE = PCLXL\n", ""},
    };
    for (const auto& row : rows) {
        for (size_t chunk : {size_t(1), size_t(7), row.in.size() + 1}) {
            std::string out;
            PjlSplicer s("LINES", [&](const char* d, size_t n) {
                out.append(d, n);
                return true;
            });
            bool ok = true;
            for (size_t i = 0; ok && i < row.in.size(); i += chunk)
                ok = s.Feed(row.in.data() + i, std::min(chunk, row.in.size() - i));
            ok = ok && s.Finish();
            ASSERT_EQ(ok, !row.out.empty()) << row.in.substr(0, 40) << " by " << chunk;
            EXPECT_EQ(out, row.out) << row.in.substr(0, 40) << " by " << chunk;
        }
    }
    // A sink that fails stops the stream.
    PjlSplicer failing("L", [](const char*, size_t) { return false; });
    EXPECT_FALSE(failing.Feed("X", 1) && failing.Finish());
    EXPECT_FALSE(failing.Feed("Y", 1));
}

}  // namespace
