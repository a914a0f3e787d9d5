// faxhost as a user runs it: header bytes on stdout, errors on stderr.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "faxhost_run.h"
#include "module_path.h"
#include "scratch_dir.h"

namespace {

using CliResult = CommandRun;

std::string WriteJob(const std::string& name, const std::string& text) {
    std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(FaxhostCli, HeaderAlonePrintsTheBuiltInFaxJob) {
    CliResult run = Faxhost("header", "FAX_FIXED_TIME=23:59:05");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("@PJL COMMENT - Job started at \"Time 23:59:05\"\r\n", 0), 0u);
    EXPECT_NE(run.out.find("@PJL TELARN FAXNUM = '12'\n"), std::string::npos);
    EXPECT_NE(run.out.find("{100121000500#3}"), std::string::npos);
    EXPECT_NE(run.out.find("{400254321}"), std::string::npos);
    const std::string end = "@PJL COMMENT - Job ended at \"Time 23:59:05\"\r\n";
    EXPECT_EQ(run.out.substr(run.out.size() - end.size()), end);
}

TEST(FaxhostCli, HeaderOfAJobFile) {
    std::string path = WriteJob("secure.job",
                                "type = secure\nuser = maija\npassword = 0042\n"
                                "appdoc = Muistio.txt\naccount = M\\P\n");
    CliResult run = Faxhost("header " + path, "FAX_FIXED_TIME=00:00:00");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "@PJL COMMENT - Job started at \"Time 0:00:00\"\r\n"
              "@PJL JOBINFO ACCTUSER=\"@M\\P\"\r\n"
              "@PJL SET USERNAME=\"maija\"\r\n"
              "@PJL SET JOBNAME=\"Muistio.txt\"\r\n"
              "@PJL SET HOLDKEY=\"0042\"\r\n"
              "@PJL SET HOLD=STORE\r\n"
              "@PJL COMMENT - Job ended at \"Time 0:00:00\"\r\n");
}

TEST(FaxhostCli, BadJobFileNamesTheLineAndPrintsNothing) {
    std::string path = WriteJob("bad.job", "type = fax\n[recipient]\nnumber = " +
                                               std::string(31, '5') + "\n");
    CliResult run = Faxhost("header " + path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("bad.job: line 3: 'number'"), std::string::npos) << run.err;
}

TEST(FaxhostCli, ModuleOverrideAndUsageErrors) {
    CliResult missing = Faxhost("--module /nonexistent/x.so");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("/nonexistent/x.so"), std::string::npos) << missing.err;

    CliResult env = Faxhost("header", "FAX_RENDER_MODULE=/nonexistent/y.so");
    EXPECT_EQ(env.status, 1);
    EXPECT_NE(env.err.find("/nonexistent/y.so"), std::string::npos) << env.err;

    EXPECT_EQ(Faxhost("print a.job b.job").status, 2);
    EXPECT_EQ(Faxhost("header a.job b.job").status, 2);
    EXPECT_EQ(Faxhost("header /nonexistent.job").status, 1);
    EXPECT_EQ(Faxhost("print --image-layout diagonal").status, 2);
    EXPECT_EQ(Faxhost("print --output").status, 2);
    CliResult monitor = Faxhost("jobwatch install /nonexistent/monitor.so");
    EXPECT_EQ(monitor.status, 1);
    EXPECT_NE(monitor.err.find("/nonexistent/monitor.so does not exist"), std::string::npos) << monitor.err;
    CliResult failing = Faxhost("print " + WriteJob("print.job", "type = print\n"), "FAX_HOST_FAIL=15001,x");
    EXPECT_EQ(failing.status, 1);
    EXPECT_NE(failing.err.find("FAX_HOST_FAIL: not an escape number: \"x\""), std::string::npos) << failing.err;
}

// A module next to the executable wins over the build tree's; with neither
// there, the path beside it is the one an error names.
TEST(FaxhostCli, ModuleBesideTheExecutableFirst) {
    ScratchDir scratch("fax-modpath");
    scratch.Put("beside.so", "x");
    scratch.Put("built.so", "x");
    const struct {
        const char* file;
        const char* built;
        const char* expected;
    } rows[] = {
        {"beside.so", "built.so", "beside.so"},
        {"missing.so", "built.so", "built.so"},
        {"missing.so", "gone.so", "missing.so"},
        {"missing.so", nullptr, "missing.so"},
    };
    for (const auto& r : rows) {
        std::string built = r.built ? scratch.Path(r.built) : "";
        EXPECT_EQ(ModuleInDirectory(scratch.dir(), r.file, r.built ? built.c_str() : nullptr), scratch.Path(r.expected))
            << r.file << " " << (r.built ? r.built : "-");
    }
}

// The phonebook manager makes its file current in KFD.INI, in a Windows
// directory of up to 259 characters; a longer one is refused.
TEST(FaxhostCli, PhonebookManageInAWindowsDirectoryThatFits) {
    for (size_t length : {259u, 260u}) {
        ScratchDir scratch("fax-longwin");
        scratch.Put("close.script", "dialog 106\nclick 2\n");
        std::string windir = scratch.dir() + "/";
        windir += std::string(length - windir.size(), 'w');
        std::filesystem::create_directories(windir);
        CliResult run = Faxhost("phonebook manage " + scratch.Path("kirja.KFD"),
                                "FAX_WINDIR=" + windir + " FAX_UI_RUNTIME_DIR=" + scratch.dir() +
                                    " FAX_UI_SCRIPT=" + scratch.Path("close.script"));
        const bool fits = length < 260;
        EXPECT_EQ(run.status, fits ? 0 : 1) << length << run.err;
        EXPECT_EQ(run.err.find("no Windows directory") == std::string::npos, fits) << length << run.err;
        std::ifstream ini(windir + "/KFD.INI");
        EXPECT_EQ(ini.good(), fits) << length;
    }
}

// Run from another directory, "jobwatch install" registers the stand-in
// that lies next to faxhost, by its full path.
TEST(FaxhostCli, JobwatchInstallRegistersTheStandInBesideFaxhost) {
    ScratchDir scratch("fax-jobwatch-cwd");
    std::string faxhost = FAXHOST_PATH;
    CliResult run = Faxhost("jobwatch install", "cd " + scratch.dir() + " && FAX_WINDIR=" + scratch.dir());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "document monitor registered: " + faxhost.substr(0, faxhost.rfind('/')) + "/qjwapi.so\n");
}

}  // namespace
