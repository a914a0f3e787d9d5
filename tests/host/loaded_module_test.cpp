// The built faxrender module loaded the way the host driver loads it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "builtin_job.h"
#include "fax_addon_table.h"
#include "header_printer.h"
#include "job_file.h"
#include "module_loader.h"

namespace {

const char* const kExports[] = {
    "GetFuncTable",  "ModuleInfo",        "GetFaxAddonMCB", "AddOnWriteCallback", "DoFaxNumParam",
    "DecodeFaxNum",  "padzeroA",          "DoTimeString",   "EngQueryLocalTime",  "SPRINTF",
    "VSPRINTF",      "CopyStringA",       "memcpyn",        "ASCIIstrlen",
};

class LoadedModule : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(module.Load(FAXRENDER_MODULE_PATH, kFaxModuleId, &error)) << error;
        setenv("FAX_FIXED_TIME", "9:05:07", 1);
    }
    void TearDown() override { unsetenv("FAX_FIXED_TIME"); }

    std::string Header(const std::string& jobText) {
        JobDescription job;
        std::string error, pjl;
        EXPECT_TRUE(ParseJobFile(jobText, &job, &error)) << error;
        EXPECT_TRUE(PrintHeader(module, job, &pjl, &error)) << error;
        return pjl;
    }

    AddonModule module;
};

TEST_F(LoadedModule, ExportsEveryRoutineByName) {
    for (const char* name : kExports) EXPECT_NE(module.Symbol(name), nullptr) << name;
    // Internal helpers stay inside the module.
    EXPECT_EQ(module.Symbol("SetLocalTimeSource"), nullptr);
    EXPECT_EQ(module.Symbol("DefaultFaxDS"), nullptr);
}

TEST_F(LoadedModule, FunctionTableDeclaresTheFaxBlocks) {
    const AddOnTable* t = module.table();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->tableFormat, 1235);
    EXPECT_EQ(t->tableSize, static_cast<int32_t>(sizeof(AddOnTable)));
    EXPECT_EQ(t->one, 1);
    EXPECT_EQ(t->moduleId, 1388);
    EXPECT_EQ(t->blockSize1, 172);
    EXPECT_EQ(t->blockSize2, 0);
    EXPECT_EQ(t->blockSize3, 11816);
    EXPECT_EQ(t->defaultBlock2, nullptr);
    const auto* ds = static_cast<const FaxDS*>(t->defaultBlock1);
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->resolution, 1);
    EXPECT_EQ(ds->txReport, 1);
    EXPECT_EQ(ds->txHeader, 1);
    const auto* ss = static_cast<const FaxSS*>(t->defaultBlock3);
    ASSERT_NE(ss, nullptr);
    EXPECT_EQ(ss->recipientCount, 0);
    for (int i = 0; i < kAddOnHookCount; ++i) {
        if (i == kHookWrite)
            EXPECT_EQ(reinterpret_cast<void*>(t->hooks[i]), module.Symbol("AddOnWriteCallback"));
        else
            EXPECT_EQ(t->hooks[i], nullptr) << "hook slot " << i;
    }
}

TEST_F(LoadedModule, ModuleInfoHasSevenLines) {
    typedef const char* const*(FAXAPI * InfoFn)();
    auto info = reinterpret_cast<InfoFn>(module.Symbol("ModuleInfo"));
    ASSERT_NE(info, nullptr);
    const char* const* lines = info();
    EXPECT_STREQ(lines[0], "Module: Printer interface DLL static library");
    for (int i = 0; i < 7; ++i) EXPECT_NE(lines[i], nullptr) << i;
    EXPECT_EQ(lines[7], nullptr);
}

TEST_F(LoadedModule, GetFaxAddonMCBWalksTheArray) {
    typedef const AddonMCB*(FAXAPI * LookupFn)(const HostDriverContext*);
    auto lookup = reinterpret_cast<LookupFn>(module.Symbol("GetFaxAddonMCB"));
    ASSERT_NE(lookup, nullptr);
    AddOnTable other{};
    other.moduleId = 5;
    HostContext host(10);
    for (int i = 0; i < 9; ++i) host.block(i).table = &other;
    host.block(9).table = module.table();
    EXPECT_EQ(lookup(host.get()), &host.block(9));
    host.get()->addonCount = 9;
    EXPECT_EQ(lookup(host.get()), nullptr);
    host.get()->addonCount = -3;
    EXPECT_EQ(lookup(host.get()), nullptr);
}

TEST_F(LoadedModule, BuiltInJobEndToEnd) {
    // Written by hand from the built-in job file's four recipients.
    const std::string expected =
        "@PJL COMMENT - Job started at \"Time 9:05:07\"\r\n"
        "@PJL JOBINFO ACCTUSER=\"@MAIJA\\TOIMISTO-PC\"\r\n"
        "@PJL JOBINFO JOBCLIENTID = 17.42\r\n"
        "@PJL TELARN FAXNUM = 09-1234567{20}{30}\n"
        "@PJL TELARN FAXNUM = '12'\n"
        "@PJL TELARN FAXNUM = 0-800-3569377{100121000500#3}{20}{34}{51234}{612*#}\n"
        "@PJL TELARN FAXNUM = 091234000{20}{32}{400254321}\n"
        "@PJL TELARN FAXRES = FINE\r\n"
        "@PJL TELARN TXRPT = ONERROR\r\n"
        "@PJL TELARN TXHDR = ON\n"
        "@PJL TELARN DELAYSEND = 18:30\n"
        "@PJL COMMENT - Job ended at \"Time 9:05:07\"\r\n";
    EXPECT_EQ(Header(kBuiltinJobFile), expected);
}

TEST_F(LoadedModule, ProofPrintWithSkipAndAppDocName) {
    const std::string job =
        "type = proof\nuser = maija\nappdoc = Budjetti 2005 - lopullinen versio.xls\n"
        "collate = 1\ncopies = 2\n";
    EXPECT_EQ(Header(job),
              "@PJL COMMENT - Job started at \"Time 9:05:07\"\r\n"
              "@PJL JOBINFO ACCTUSER=\"@\"\r\n"
              "@PJL SET USERNAME=\"maija\"\r\n"
              "@PJL SET JOBNAME=\"Budjetti 2005 - lopullin\"\r\n"
              "@PJL SET HOLD=PROOF\r\n"
              "@PJL SET QTY=2\n"
              "@PJL COMMENT - Job ended at \"Time 9:05:07\"\r\n");
    EXPECT_EQ(Header(job + "skip = yes\n"),
              "@PJL COMMENT - Job ended at \"Time 9:05:07\"\r\n");
}

TEST(ModuleLoader, RefusesMissingFileAndWrongModuleId) {
    AddonModule module;
    std::string error;
    EXPECT_FALSE(module.Load("/nonexistent/faxrender.so", kFaxModuleId, &error));
    EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(module.Load(FAXRENDER_MODULE_PATH, 1389, &error));
    EXPECT_NE(error.find("module id is 1388"), std::string::npos) << error;
    EXPECT_EQ(module.table(), nullptr);
}

// Block sizes a table may declare: none negative, none above 1 MiB.
TEST(ModuleLoader, BlockSizesWithinTheLimit) {
    const struct {
        const char* sizes;
        bool loads;
    } rows[] = {
        {"0,0,0", true},
        {"1048576,0,1048576", true},
        {"1048577,0,0", false},
        {"0,1048577,0", false},
        {"0,0,1048577", false},
        {"0,-1,0", false},
    };
    for (const auto& r : rows) {
        setenv("FAX_TEST_BLOCK_SIZES", r.sizes, 1);
        AddonModule module;
        std::string error;
        EXPECT_EQ(module.Load(TABLE_MODULE_PATH, kFaxModuleId, &error), r.loads) << r.sizes;
        EXPECT_EQ(error.find("impossible block sizes") != std::string::npos, !r.loads) << r.sizes << ": " << error;
    }
    unsetenv("FAX_TEST_BLOCK_SIZES");
}

// The write points reach the module's hook in the driver's order, each with
// the module's id and the job's skip flag.
std::vector<std::vector<int32_t>> g_writePoints;
void FAXAPI RecordWritePoint(void*, void*, void*, void*, int32_t moduleId, int32_t event, int32_t skip, FaxDS*,
                             void*) {
    g_writePoints.push_back({event, moduleId, skip});
}

TEST(HeaderPrinter, WritePointsInTheDriversOrder) {
    const struct {
        const char* job;
        int32_t skip;
    } rows[] = {{"type = fax\n", 0}, {"type = fax\nskip = yes\n", 1}};
    AddOnTable table = FaxAddOnTable();
    for (const auto& r : rows) {
        JobDescription job;
        std::string error, pjl;
        ASSERT_TRUE(ParseJobFile(r.job, &job, &error)) << error;
        g_writePoints.clear();
        ASSERT_TRUE(PrintHeader(&table, RecordWritePoint, "recorder", job, &pjl, &error)) << error;
        EXPECT_EQ(g_writePoints, (std::vector<std::vector<int32_t>>{
                                     {0, kFaxModuleId, r.skip}, {1, kFaxModuleId, r.skip}, {2, kFaxModuleId, r.skip}}))
            << r.job;
    }
}

}  // namespace
