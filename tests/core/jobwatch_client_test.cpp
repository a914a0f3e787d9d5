// Finding, loading and talking to the document monitor's API library.
#include <cstring>

#include "core_fixture.h"

namespace {

class JobwatchClientTest : public CoreTest {};

TEST_F(JobwatchClientTest, OpenFailsSilentlyWithoutAUsableMonitor) {
    struct Case {
        const char* what;
        std::string library;
        bool install, programExists;
    } cases[] = {
        {"no registry key", QJWAPI_PATH, false, true},
        {"monitor program missing", QJWAPI_PATH, true, false},
        {"library missing", Path("none.so"), true, true},
        {"a required entry point missing", QJWAPI_BROKEN_PATH, true, true},
        {"library path empty", "", true, true},
    };
    for (const auto& c : cases) {
        if (c.install) InstallMonitor(c.library, c.programExists);
        EXPECT_EQ(JobwatchOpen(), 0u) << c.what;
        EXPECT_EQ(JobwatchOpenCount(), 0) << c.what;
        EXPECT_TRUE(MonitorCalls().empty()) << c.what;
    }
}

TEST_F(JobwatchClientTest, RefusedInitialisationLeavesNothingOpen) {
    InstallMonitor(QJWAPI_PATH);
    setenv("FAX_JOBWATCH_FAIL", "QjwInitializeJobwatch", 1);
    EXPECT_EQ(JobwatchOpen(), 0u);
    EXPECT_EQ(MonitorCalls(), std::vector<std::string>{"QjwInitializeJobwatch"});
}

TEST_F(JobwatchClientTest, IdsJoinedByAFullStopAndCutToTheirFields) {
    InstallMonitor(QJWAPI_PATH);
    const std::string c90(90, 'c'), j20(20, 'j'), c120(120, 'c'), j80(80, 'j');
    struct Case {
        std::string client, job, clientId, jobId;
    } cases[] = {
        {"CLIENT7", "JOB42", "CLIENT7.JOB42", "JOB42"},
        {c90, j20, c90 + "." + std::string(9, 'j'), j20},
        {c120, "J", std::string(100, 'c'), "J"},
        {"C", j80, "C." + std::string(80, 'j'), std::string(63, 'j')},
        {"", "", ".", ""},
    };
    for (const auto& c : cases) {
#if defined(_WIN32)
        if (c.client.empty()) continue;  // setting a variable empty removes it there: the default ids come
#endif
        setenv("FAX_JOBWATCH_CLIENT_ID", c.client.c_str(), 1);
        setenv("FAX_JOBWATCH_JOB_ID", c.job.c_str(), 1);
        JobwatchHandle h = JobwatchOpen();
        ASSERT_NE(h, 0u);
        char clientId[kJobwatchClientIdSize];
        char jobId[kJobwatchJobIdSize];
        JobwatchMakeIds(h, clientId, jobId);
        JobwatchClose(h);
        EXPECT_EQ(std::string(clientId), c.clientId);
        EXPECT_EQ(std::string(jobId), c.jobId);
    }
}

TEST_F(JobwatchClientTest, RecordGoesInTheFormTheLibraryTakes) {
    struct Case {
        const char* library;
        const char* fail;
        const char* recordLine;
        std::vector<std::string> calls;
    } cases[] = {
        {QJWAPI_PATH, "", "record: header 600 count 1 field8 3 field12 11",
         {"QjwInitializeJobwatch", "QjwSetQjwDataEx", "QjwExecJobwatch", "QjwUnInitializeJobwatch"}},
        {QJWAPI_BASIC_PATH, "", "record compact: count 1 kind 2 field8 11",
         {"QjwInitializeJobwatch", "QjwSetQjwData", "QjwExecJobwatch", "QjwUnInitializeJobwatch"}},
        {QJWAPI_PATH, "QjwSetQjwDataEx", "record: header 600",  // refused: the monitor is not started
         {"QjwInitializeJobwatch", "QjwSetQjwDataEx", "QjwUnInitializeJobwatch"}},
    };
    for (const auto& c : cases) {
        std::remove(Path("jobwatch.log").c_str());
        InstallMonitor(c.library);
        setenv("FAX_JOBWATCH_FAIL", c.fail, 1);
        JobwatchHandle h = JobwatchOpen();
        ASSERT_NE(h, 0u);
        EXPECT_EQ(JobwatchOpenCount(), 1);
        JobwatchData d;
        InitJobwatchData(&d);
        EXPECT_EQ(JobwatchSend(h, &d), *c.fail == '\0');
        JobwatchClose(h);
        EXPECT_EQ(MonitorCalls(), c.calls) << c.library;
        EXPECT_NE(LogLineStarting(c.recordLine), "") << c.recordLine;
        EXPECT_NE(LogLineStarting(c.recordLine).find("entryref ok"), std::string::npos);
    }
}

TEST_F(JobwatchClientTest, EachConnectionIsCountedAndClosedOnce) {
    InstallMonitor(QJWAPI_PATH);
    JobwatchHandle a = JobwatchOpen(), b = JobwatchOpen();
    EXPECT_EQ(JobwatchOpenCount(), 2);
    JobwatchClose(a);
    EXPECT_EQ(JobwatchOpenCount(), 1);
    JobwatchData d;
    InitJobwatchData(&d);
    EXPECT_TRUE(JobwatchSend(b, &d));  // the other connection still works
    JobwatchClose(b);
    JobwatchClose(b);  // one close too many changes nothing
    EXPECT_EQ(JobwatchOpenCount(), 0);
}

}  // namespace
