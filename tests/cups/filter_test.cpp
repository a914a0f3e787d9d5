// The filter's readers of outside data (options, list texts, phonebooks)
// and the splice of the PJL lines into a stream.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "command_run.h"
#include "fax_job.h"
#include "phonebook_pick.h"
#include "pjl_splice.h"
#include "queue_ppd.h"
#include "recipient_text.h"
#include "scratch_dir.h"

namespace {

struct RecipientRow {
    const char* text;
    int max;
    bool ok;
    const char* expect;  // name|number|speed dial, or words of the message
};

TEST(RecipientText, TakesWhatTheDialogTakes) {
    const RecipientRow rows[] = {
        {"Matti <0123>", 200, true, "Matti|0123|0"}, {"<0123>", 200, true, "|0123|0"},
        {"Anna Maija  Virtanen <0-800-flowers>", 200, true, "Anna Maija  Virtanen|0-800-FLOWERS|0"},
        {"\xC3\x84ij\xC3\xA4 <1>", 200, true, "\xC4ij\xE4|1|0"}, {"K <!#az>", 200, true, "K|!#AZ|0"},
        {"K <123456789012345678901234567890>", 200, true, "K|123456789012345678901234567890|0"},
        {"Kalle <'5'>", 200, true, "Kalle|005|1"}, {"K <'***'>", 200, true, "K|***|1"},
        {"K <'00*'>", 200, true, "K|00*|1"}, {"K <'200'>", 200, true, "K|200|1"}, {"K <'999'>", 999, true, "K|999|1"},
        {"K <'201'>", 200, false, "out of range 1-200"}, {"K <'000'>", 200, false, "out of range"},
        {"K <'21*'>", 200, false, "out of range"}, {"K <'1*3'>", 200, false, "nn* or ***"},
        {"K <'5*'>", 200, false, "nn* or ***"}, {"K <'1234'>", 999, false, "1 to 3 characters"},
        {"K <''>", 200, false, "1 to 3 characters"}, {"K <'1a'>", 200, false, "only digits and '*'"},
        {"K <>", 200, false, "a fax number has"}, {"K <1,2>", 200, false, "a fax number has"},
        {"K <1234567890123456789012345678901>", 200, false, "a fax number has"},
        {"K <1{2>", 200, false, "a fax number has"}, {"K <1\x01>", 200, false, "a fax number has"},
        {"K <1\r\n@PJL X>", 200, false, "is not of the form"}, {"[K] <1>", 200, false, "no brackets"},
        {"1234567890123456789012345678901 <1>", 200, false, "at most 30 characters"},
        {"Matti 0123", 200, false, "is not of the form"}, {"Matti <0123", 200, false, "is not of the form"},
        {"\xC3 <1>", 200, false, "not UTF-8"},
    };
    for (const RecipientRow& row : rows) {
        FaxRecipient r{};
        std::string error;
        ASSERT_EQ(ParseRecipientText(row.text, row.max, &r, &error), row.ok) << row.text << ": " << error;
        std::string got = row.ok ? std::string(r.name) + "|" + r.faxNumber + "|" + std::to_string(r.comm.speedDial) : error;
        EXPECT_EQ(row.ok ? got : row.expect, row.expect) << row.text;
        EXPECT_NE(got.find(row.expect), std::string::npos) << row.text << ": " << got;
        EXPECT_EQ(r.comm.commOption, row.ok ? DefaultRecipient.comm.commOption : 0) << row.text;
    }
}

TEST(Delay, HoursAndMinutesOfOneDay) {
    const struct {
        const char* text;
        int time;  // hour x 100 + minute; -1: refused
    } rows[] = {{"0:00", 0},   {"00:00", 0},   {"7:05", 705}, {"23:59", 2359}, {"24:00", -1},  {"23:60", -1},
                {"7:5", -1},   {"007:05", -1}, {"12:345", -1}, {"1a:00", -1},  {"12:0x", -1}, {":30", -1},
                {"", -1},      {"12.30", -1}};
    for (const auto& row : rows) {
        int h = -1, m = -1;
        ASSERT_EQ(ParseDelay(row.text, &h, &m), row.time >= 0) << row.text;
        EXPECT_EQ(row.time >= 0 ? h * 100 + m : -1, row.time) << row.text;
    }
}

struct JobRow {
    std::string options;
    const QueueSettings* queue;
    bool ok;
    // Accepted: "print", or a fax's resolution, report, header, delay and
    // recipient count; refused: words of the message.
    const char* expect;
};

TEST(FaxJob, OptionsOverQueueDefaultsOverJobSettings) {
    // The queue names a phonebook; "ours" also superfine, none, off and 999.
    QueueSettings none, plain, queue;
    queue.phonebook = FAX_TEST_DATA "/v2000.KFD";
    plain.phonebook = queue.phonebook;
    queue.resolution = "superfine", queue.confirmation = "none", queue.header = "off", queue.speedDial999 = true;
    std::string many = "fax-recipients='";
    for (int i = 0; i < 49; ++i) many += "R <" + std::to_string(i) + ">;";
    const JobRow rows[] = {
        {"", &plain, true, "print"},
        {"fax-resolution=ultrafine fax-header=off", &plain, true, "print"},
        {"fax-delay=10:00", &plain, false, "without recipients"},
        {"fax-phonebook=/x.KFD", &plain, false, "without recipients"},
        {"fax-recipients='A <1>'", &plain, true, "1 1 1 0 1"},
        {"fax-recipients='A <1>' fax-resolution=normal fax-confirmation=always fax-header=off fax-delay=0:00", &plain, true, "0 0 0 1 1"},
        {"fax-recipients='A <1>' fax-resolution=ultrafine fax-confirmation=onerror fax-header=on", &queue, true, "3 1 1 0 1"},
        {"fax-recipients=\"A <'999'>\"", &queue, true, "2 2 0 0 1"},
        {"fax-recipients=\"A <'999'>\"", &plain, false, "out of range 1-200"},
        {"fax-recipients='A <1>' fax-resolution=high", &plain, false, "one of normal, fine, superfine, ultrafine"},
        {"fax-recipients='A <1>' fax-confirmation=ON", &plain, false, "one of always, onerror, none"},
        {"fax-recipients='A <1>' fax-header=yes", &plain, false, "one of on, off"},
        {"fax-recipients=' ; '", &plain, false, "no fax recipients"},
        {"fax-recipients=\" A <1> ;; B <'2'>; \"", &plain, true, "1 1 1 0 2"},
        {"fax-entries=Pekka fax-recipients='A <1>'", &plain, true, "1 1 1 0 2"},
        {"fax-entries=Myynti fax-phonebook=/no/such.KFD", &plain, false, "cannot be opened"},
        {"fax-entries=Myynti fax-phonebook=" FAX_TEST_DATA "/make_golden.py", &plain, false, "not a phonebook (.KFD)"},
        {many + "'", &queue, true, "2 2 0 0 49"},
        {many + "' fax-entries=Pekka", &queue, true, "2 2 0 0 50"},
        {many + "' fax-entries=Myynti", &queue, false, "at most 50 recipients, 51 given"},
        {"fax-entries=Pekka", &none, false, "the queue has no phonebook"},
    };
    for (const JobRow& row : rows) {
        cups_option_t* options = nullptr;
        int n = cupsParseOptions(row.options.c_str(), 0, &options);
        JobDescription job;
        JobKind kind = JobKind::Fax;
        std::string error;
        bool ok = BuildFaxJob(n, options, *row.queue, "tester\\PC", &job, &kind, &error);
        cupsFreeOptions(n, options);
        ASSERT_EQ(ok, row.ok) << row.options << ": " << error;
        std::string got = !ok ? error
                          : kind == JobKind::Print
                              ? "print"
                              : std::to_string(job.ds.resolution) + " " + std::to_string(job.ds.txReport) + " " +
                                    std::to_string(job.ds.txHeader) + " " + std::to_string(job.ss.delaySend) + " " +
                                    std::to_string(job.ss.recipientCount);
        EXPECT_NE(got.find(row.expect), std::string::npos) << row.options << ": " << got;
        if (ok && kind == JobKind::Fax) {
            EXPECT_EQ(got, row.expect) << row.options;
            EXPECT_EQ(job.jobType, kJobTypeFax);
            EXPECT_STREQ(job.accountUser, "tester\\PC");
        }
    }
}

TEST(FaxJob, AccountTextKeepsToItsLine) {
    EXPECT_EQ(AccountText("maija", "PC"), "maija\\PC");
    EXPECT_EQ(AccountText("a\"b\r\n\x7f", "PC"), "a_b___\\PC");
}

TEST(QueueSettings, FromTheQueuesPpd) {
    ScratchDir dir("fax-cups-ppd");
    std::ifstream f(FAX_TEST_DATA "/../../cups/faxcups.ppd", std::ios::binary);
    std::string ppd{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    dir.Put("ours.ppd", ppd.replace(ppd.find("*FaxPhonebook: \"\""), 17, "*FaxPhonebook: \"/b.KFD\""));
    dir.Put("999.ppd", ppd.replace(ppd.find("*FaxSpeedDial999: False"), 23, "*FaxSpeedDial999: True"));
    dir.Put("bare.ppd", ppd.substr(0, ppd.find("*cupsFilter2")));
    const struct {
        std::string path;
        const char* expect;  // phonebook|999|resolution|confirmation|header
    } rows[] = {{"", "|0|||"},
                {dir.Path("none.ppd"), "|0|||"},
                {dir.Path("ours.ppd"), "/b.KFD|0|fine|onerror|on"},
                {dir.Path("999.ppd"), "/b.KFD|1|fine|onerror|on"},
                {dir.Path("bare.ppd"), "|0|||"}};
    for (const auto& row : rows) {
        QueueSettings q = ReadQueueSettings(row.path.empty() ? nullptr : row.path.c_str());
        EXPECT_EQ(q.phonebook + "|" + std::to_string(q.speedDial999) + "|" + q.resolution + "|" + q.confirmation + "|" +
                      q.header,
                  row.expect)
            << row.path;
    }
}

TEST(PhonebookPick, EntriesAndGroupsAsTheDialogTakesThem) {
    ScratchDir dir("fax-cups-book");
    std::ifstream f(FAX_TEST_DATA "/v2000.KFD", std::ios::binary);
    const std::string book{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    auto changed = [&](const char* from, const char* to, bool last) {
        std::string b = book;
        return b.replace(last ? b.rfind(from) : b.find(from), std::strlen(from), to);
    };
    const struct {
        std::string bytes;
        const char* entries;
        bool ok;
        const char* expect;  // the numbers picked, or words of the message
    } rows[] = {
        {book, "Pekka", true, "0789"},
        {book, "pekka; Ville <0456>", true, "0789 0456"},
        {book, "[Myynti]", true, "0123 0456"},
        {book, "MYYNTI", true, "0123 0456"},
        {book, "Tyhja", true, ""},
        {book, "Anna Maija Virtanen", true, "0123"},
        {book, "Nobody", false, "no entry \"Nobody\""},
        {book, "Ville <0457>", false, "no entry"},
        {book, "[Pekka]", false, "no entry"},
        {book.substr(0, book.size() - 3), "Pekka", false, "unfinished record"},
        {changed("0123", "01\r3", false), "Pekka", false, "fields the dialogs would not store"},
        {changed("0123", "01 3", false), "Pekka", false, "fields the dialogs would not store"},
        {changed("\x03" "4\x03", "\x03" "7\x03", false), "Pekka", false, "fields the dialogs would not store"},
        {changed("0456", "0455", true), "Myynti", false, "names a member it does not hold"},
        {"KESTRELTEC_ORYX_FAX_DATA_FILE_1000\x01G\x02\r\n0\r\n", "G", false, "older version"},
        {"not a phonebook at all, not at all, no", "G", false, "not a phonebook"},
    };
    for (const auto& row : rows) {
        dir.Put("b.KFD", row.bytes);
        PhonebookContents contents;
        std::string error, numbers;
        std::vector<FaxRecipient> out;
        bool ok = LoadPhonebook(dir.Path("b.KFD"), &contents, &error) && PickEntries(contents, row.entries, &out, &error);
        ASSERT_EQ(ok, row.ok) << row.entries << ": " << error;
        for (const FaxRecipient& r : out) numbers += std::string(numbers.empty() ? "" : " ") + r.faxNumber;
        EXPECT_NE((ok ? numbers : error).find(row.expect), std::string::npos) << row.entries << ": " << error;
        EXPECT_EQ(ok ? numbers : row.expect, row.expect) << row.entries;
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
        {uel + "@PJL SET A=1\n@PJL SET B", uel + "@PJL SET A=1\nLINES@PJL SET B"},  // found by fuzzing
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
    int calls = 0;
    PjlSplicer failing("L", [&](const char*, size_t) { return ++calls, false; });
    EXPECT_FALSE(failing.Feed("X", 1) && failing.Finish());
    EXPECT_FALSE(failing.Feed("Y", 1));
    EXPECT_EQ(calls, 1);
}

// The program as CUPS starts it, its PCL XL step played by a stand-in.
TEST(FaxcupsProgram, FailuresOfItsStepsFailTheJob) {
    const std::string fax = " 1 u t 1 \"fax-recipients='A <1>'\" /dev/null";
    ScratchDir dir("fax-cups-step");
    dir.Put("failing", "#!/bin/sh\necho page data\nexit 3\n");
    std::filesystem::permissions(dir.Path("failing"), std::filesystem::perms(0755));
    const struct {
        std::string command;
        const char* message;  // on standard error; the status is 1
    } rows[] = {
        {"FAX_PXL_FILTER=" + dir.Path("failing") + " " FAXCUPS_PATH + fax, "ERROR: the PCL XL step failed"},
        {"FAX_PXL_FILTER=/bin/true " FAXCUPS_PATH + fax, "ERROR: the document gave no printer data"},
        {"FAX_PXL_FILTER=/bin/echo " FAXCUPS_PATH + fax + " >/dev/full", "ERROR: the job's output cannot be written"},
        {"FAX_PXL_FILTER=/no/such " FAXCUPS_PATH + fax, "ERROR: cannot start /no/such"},
        {"FAX_PXL_FILTER=/no/such " FAXCUPS_PATH " 1 u t 1 '' /dev/null", "ERROR: cannot start /no/such"},
        {"FAX_RENDER_MODULE=/no/such.so " FAXCUPS_PATH + fax, "ERROR: cannot load /no/such.so"},
        {FAXCUPS_PATH " 1 u t 1", "Usage: "},
    };
    for (const auto& row : rows) {
        CommandRun run = RunCommand(row.command);
        EXPECT_EQ(run.status, 1) << row.command;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << row.command << ": " << run.err;
    }
}

}  // namespace
