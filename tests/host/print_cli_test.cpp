// faxhost prefs and faxhost print: both add-ons through the host's UI side,
// with a script file playing the user.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "faxhost_run.h"
#include "scratch_dir_test.h"

namespace {

struct CliRun {
    int status;
    std::string out, err, log;
};

class UiCliTest : public ScratchDirTest {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        Put(name, text);
        return Path(name);
    }
    // faxhost ARGS with the job file and script given, in this test's own
    // Windows and runtime directories.
    CliRun Faxhost(const std::string& args, const std::string& job, const std::string& script,
                   const std::string& env = "") {
        std::remove(Path("ui.log").c_str());
        CommandRun r = ::Faxhost(args + " " + Write("job.txt", job),
                                 env + " FAX_FIXED_TIME=12:00:00 FAX_USERNAME=maija FAX_COMPUTERNAME=TOIMISTO-PC"
                                       " FAX_WINDIR=" + dir + " FAX_UI_RUNTIME_DIR=" + dir +
                                       " FAX_UI_SCRIPT=" + Write("user.script", script) + " FAX_UI_LOG=" +
                                       Path("ui.log") + " FAX_JOBWATCH_LOG=" + Path("jobwatch.log"));
        return CliRun{r.status, r.out, r.err, Get("ui.log")};
    }
};

TEST_F(UiCliTest, PreferencesEditTheFaxSettingsOfTheImage) {
    struct Case {
        const char* what;
        std::string job, script;
        int status;
        std::string out;
    } cases[] = {
        {"fresh fax settings, changed on the page", "type = fax\n",
         "dialog 102\nclick 204\nclick 209\ncheck 210 off\nsheet ok\n", 0,
         "# printing preferences closed with OK\nresolution = superfine\nreport = off\nheader = off\n"},
        {"defaults restored", "type = fax\nresolution = normal\nreport = on\nheader = off\n",
         "dialog 102\nclick 211\nsheet apply\nsheet ok\n", 0,
         "# printing preferences closed with OK\nresolution = fine\nreport = onerror\nheader = on\n"},
        {"cancelled: the image keeps what it had", "type = fax\n", "dialog 102\nclick 202\nsheet cancel\n", 0,
         "# printing preferences closed with Cancel\nresolution = fine\nreport = onerror\nheader = on\n"},
        {"clicking the checked radio is no change", "type = fax\n", "dialog 102\nclick 203\nsheet apply\n", 3, ""},
        {"not a fax job: the options are disabled", "type = print\n", "dialog 102\nclick 204\n", 3, ""},
        {"phonebook button stays enabled and opens the phonebook", "type = print\n",
         "dialog 102\nclick 1010\ndialog 106\nclick 2\nsheet ok\n", 0,
         "# printing preferences closed with OK\nresolution = fine\nreport = onerror\nheader = on\n"},
        {"no fax option: the information page only", "type = fax\nfaxinstalled = no\n", "dialog 109\nsheet ok\n", 0,
         "# printing preferences closed with OK\nresolution = fine\nreport = onerror\nheader = on\n"},
    };
    for (const auto& c : cases) {
        CliRun run = Faxhost("prefs", c.job, c.script);
        EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.err;
        if (c.status == 0) {
            EXPECT_EQ(run.out, c.out) << c.what;
        }
    }
}

TEST_F(UiCliTest, PrintJobsWithoutTheFaxFlow) {
    CliRun secure = Faxhost("print", "type = secure\nuser = maija\npassword = 0042\nappdoc = Budjetti.xls\n", "");
    EXPECT_EQ(secure.status, 0) << secure.err;
    EXPECT_NE(secure.out.find("@PJL SET HOLD=STORE"), std::string::npos) << secure.out;
    EXPECT_NE(secure.out.find("@PJL SET HOLDKEY=\"0042\""), std::string::npos);
    EXPECT_NE(secure.out.find("ACCTUSER=\"@maija\\TOIMISTO-PC\""), std::string::npos) << secure.out;
    EXPECT_EQ(secure.log.find("DIALOG"), std::string::npos) << secure.log;

    CliRun owner = Faxhost("print --output " + Path("header.pjl"), "type = proof\naccount = OMISTAJA\n", "");
    EXPECT_EQ(owner.status, 0) << owner.err;
    EXPECT_EQ(owner.out, "");
    EXPECT_NE(Get("header.pjl").find("ACCTUSER=\"@OMISTAJA\""), std::string::npos) << Get("header.pjl");
}

TEST_F(UiCliTest, PrintJobReportedToTheMonitorStandIn) {
    struct Case {
        std::string library;  // empty: the stand-in beside faxhost
        std::vector<std::string> logged;
    } cases[] = {
        {"",
         {"printer \"Toimiston monitoimilaite\" user \"maija\"",
          "port \"IP_192.168.0.20\" job \"JOB42\" doc \"Raportti.doc\"", "tray \"Sivualusta\""}},
        // Without the optional entry points: the compact record.
        {QJWAPI_BASIC_PATH,
         {"record compact: count 1 kind 2 field8 11 port \"IP_192.168.0.20\" printer \"Toimiston monitoimilaite\"",
          "entry compact: size 660 flag 0 time ",
          "port \"IP_192.168.0.20\" job \"JOB42\" doc \"Raportti.doc\" recipient \"\" number \"\"\n"}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(::Faxhost("jobwatch install " + c.library, "FAX_WINDIR=" + dir).status, 0);
        std::remove(Path("jobwatch.log").c_str());
        CliRun run = Faxhost("print", "type = print\njobmonitor = on\nappdoc = Raportti.doc\noutputtray = 1\n", "");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("JOBCLIENTID"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("CLIENT7.JOB42"), std::string::npos) << run.out;
        std::string log = Get("jobwatch.log");
        for (const std::string& line : c.logged) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
}

// The user's part of a fax job: the recipient list (101), then the
// confirmation (108).
const char kTyped[] =
    "dialog 101\ntype 1001 Maija\ntype 1004 0-800-FLOWERS\nclick 1006\n";
// A short speed-dial number is padded to three digits.
const char kSpeedDial[] = "dialog 101\ncheck 1027 on\ntype 1004 12\nclick 1006\n";
const char kMailbox[] =
    "dialog 101\ntype 1004 555\nclick 1006\nselect 1008 0\nclick 1005\n"
    "dialog 104\ncheck 403 on\ntype 406 25\ntype 408 1234\nclick 1\n";
const char kListOk[] = "dialog 101\nclick 1\n";
const char kSend[] = "dialog 108\nclick 801\n";

// The job file's own recipient stands for an earlier fax's, still in the
// host's image: the dialogs' list replaces it however the image is laid out.
const char kEarlierFax[] = "type = fax\n[recipient]\nnumber = 555\n";

TEST_F(UiCliTest, FaxJobsGetTheirRecipientsFromTheDialogs) {
    struct Case {
        const char* what;
        std::string script;
        std::vector<std::string> lines;
        std::string args = "print";
    } cases[] = {
        {"typed", std::string(kTyped) + kListOk + kSend, {"@PJL TELARN FAXNUM = 0-800-3569377{20}{30}\n"}},
        {"speed dial", std::string(kSpeedDial) + kListOk + kSend, {"@PJL TELARN FAXNUM = '012'\n"}},
        {"secure mailbox", std::string(kMailbox) + kListOk + kSend,
         {"@PJL TELARN FAXNUM = 555{20}{30}{400251234}\n"}},
        {"delayed, in send order", std::string(kTyped) + kSpeedDial + kListOk +
             "dialog 108\ncheck 803 on\nsettext 804 07\nsettext 805 05\nclick 801\n",
         {"@PJL TELARN FAXNUM = 0-800-3569377{20}{30}\n@PJL TELARN FAXNUM = '012'\n",
          "@PJL TELARN DELAYSEND = 07:05\n"}},
        {"image blocks packed at odd offsets", std::string(kTyped) + kListOk + kSend,
         {"ACCTUSER=\"@maija\\TOIMISTO-PC\"\r\n@PJL TELARN FAXNUM = 0-800-3569377{20}{30}\n@PJL TELARN FAXRES"},
         "print --image-layout packed"},
    };
    for (const auto& c : cases) {
        CliRun run = Faxhost(c.args, kEarlierFax, c.script);
        EXPECT_EQ(run.status, 0) << c.what << "\n" << run.err;
        for (const std::string& line : c.lines) EXPECT_NE(run.out.find(line), std::string::npos) << c.what << run.out;
        EXPECT_NE(run.log.find("108"), std::string::npos) << c.what << run.log;
    }
}

TEST_F(UiCliTest, RecipientsPickedFromThePhonebookReachTheHeader) {
    const std::string book = Path("DEFAULT.KFD");
    const std::string csv =
        Write("book.csv", "Nimi,Faksi\nHeikkinen Liisa,031234567\nLehtonen Sari,0145556677\n");
    ASSERT_EQ(::Faxhost("phonebook import " + book + " " + csv, "FAX_WINDIR=" + dir).status, 0);
    const std::string script =
        "dialog 101\ntype 1001 Uusi asiakas\ntype 1004 0201234567\nclick 1006\nclick 1010\n"
        "dialog 600\nselecttext 601 Lehtonen Sari <0145556677>\nclick 608\nclick 1\n"
        "dialog 101\nselect 1008 1\nclick 1005\ndialog 104\ncheck 403 on\ntype 406 120\ntype 408 4321\nclick 1\n" +
        std::string(kListOk) + kSend;
    CliRun run = Faxhost("print", "type = fax\n", script);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("@PJL TELARN FAXNUM = 0201234567{20}{30}\n"
                           "@PJL TELARN FAXNUM = 0145556677{20}{30}{401204321}\n@PJL TELARN FAXRES"),
              std::string::npos)
        << run.out;
}

// faxhost alone: the built-in job, phonebook and user, in a scratch
// directory of its own that is gone afterwards.
TEST_F(UiCliTest, BuiltInPrintRunsTheWholeFaxPath) {
    CommandRun run = ::Faxhost("", "FAX_FIXED_TIME=12:00:00 FAX_USERNAME=maija FAX_COMPUTERNAME=TOIMISTO-PC");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "@PJL COMMENT - Job started at \"Time 12:00:00\"\r\n"
              "@PJL JOBINFO ACCTUSER=\"@maija\\TOIMISTO-PC\"\r\n"
              "@PJL TELARN FAXNUM = 09-1234567{20}{30}\n"
              "@PJL TELARN FAXNUM = '012'\n"
              "@PJL TELARN FAXNUM = 091234000{20}{32}{400254321}\n"
              "@PJL TELARN FAXNUM = 0-800-3569377{100121000500#3}{20}{34}{51234}{612*#}\n"
              "@PJL TELARN FAXRES = FINE\r\n"
              "@PJL TELARN TXRPT = ONERROR\r\n"
              "@PJL TELARN TXHDR = ON\n"
              "@PJL TELARN DELAYSEND = 18:30\n"
              "@PJL COMMENT - Job ended at \"Time 12:00:00\"\r\n");
    size_t at = 0;
    for (const char* seen : {"DIALOG 101", "DIALOG 600", "END 600 1", "DIALOG 104", "END 104 1", "END 101 1",
                             "DIALOG 108", "END 108 1"}) {
        at = run.err.find(seen, at);
        ASSERT_NE(at, std::string::npos) << seen << "\n" << run.err;
    }
    const size_t book = run.err.find("/DEFAULT.KFD");
    ASSERT_NE(book, std::string::npos) << run.err;
    const size_t start = run.err.rfind(' ', book) + 1;
    EXPECT_FALSE(std::filesystem::exists(run.err.substr(start, book - start))) << run.err;
}

TEST_F(UiCliTest, CancelledFaxJobWritesNoHeader) {
    const std::string answer = "msgbox IDOK Faksity\xC3\xB6 on peruutettu!\n";
    struct Case {
        std::string script, env;
    } cases[] = {
        {std::string("dialog 101\nclick 2\n") + answer, ""},
        {std::string(kTyped) + kListOk + "dialog 108\nclick 802\n" + answer, ""},
        // Confirmed, but the host does not take the list back.
        {std::string(kTyped) + kListOk + kSend + answer, "FAX_HOST_FAIL=15001"},
        {std::string(kTyped) + kListOk + kSend + answer, "FAX_HOST_FAIL=99,15001"},
    };
    for (const auto& c : cases) {
        CliRun run = Faxhost("print", kEarlierFax, c.script, c.env);
        EXPECT_EQ(run.status, 4) << c.env << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("cancelled"), std::string::npos) << run.err;
    }
}

}  // namespace
