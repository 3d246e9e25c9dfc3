// The job key: readiness of the start values, the job status, the values read for the
// post-print actions, and the deletions.
#include <cstring>
#include <string>

#include "jobhost/monitor/job_registry.h"
#include "monitor_fixture.h"

namespace monitor_test {
namespace {

class JobKeyTest : public MonitorTest {
  protected:
    void SetReady(const std::string& ready, bool terminated = true) {
        win::sim::regSetString(kUser, kJobKey, "Ready", ready, terminated);
    }
    int ReadStart() {
        return StartApp_ReadRegistryKey(kPrinter, kJob, commandLine, sizeof commandLine,
                                        application, sizeof application, &flags, eventName,
                                        sizeof eventName);
    }

    char commandLine[1024] = "stale arguments";
    char application[260] = {};
    std::uint32_t flags = 0;
    char eventName[260] = {};
};

struct ReadyCase {
    std::string ready;
    bool terminated;
    int checkReady;  // with "Flags" 0x2
    int readStart;
};

TEST_F(JobKeyTest, OnlyTheExactReadyLiteralsCount) {
    const ReadyCase cases[] = {
        {"YES", true, 1, RET_START_APP_READY},
        {"YES", false, 1, RET_START_APP_READY},
        {"yes", true, 0, 0},
        {"Yes", true, 0, 0},
        {"YES ", true, 0, 0},
        {"YESS", true, 0, 0},
        {"YE", true, 0, 0},
        {"", true, 0, 0},
        {"Abort", true, 0, RET_START_APP_ABORT},
        {"abort", true, 0, 0},
        {"Aborted", true, 0, 0},
        {"Abort ", true, 0, 0},
    };
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x2);
    win::sim::regSetString(kUser, kJobKey, "Server", "C:\\Apps\\viewer.exe");
    win::sim::regSetString(kUser, kJobKey, "MessagingInterface", "JobEvent");
    for (const ReadyCase& c : cases) {
        SCOPED_TRACE("Ready \"" + c.ready + "\"");
        SetReady(c.ready, c.terminated);
        EXPECT_EQ(StartApp_CheckReady(kPrinter, kJob), c.checkReady);
        EXPECT_EQ(ReadStart(), c.readStart);
    }
}

TEST_F(JobKeyTest, CheckReadyTellsTheStartBeforePrintingFromTheOneAfter) {
    EXPECT_EQ(StartApp_CheckReady(kPrinter, kJob), 0) << "no key";
    SetReady("YES");
    EXPECT_EQ(StartApp_CheckReady(kPrinter, kJob), 0) << "no Flags";
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x1);
    EXPECT_EQ(StartApp_CheckReady(kPrinter, kJob), 2);
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x3);
    EXPECT_EQ(StartApp_CheckReady(kPrinter, kJob), 1);
    EXPECT_EQ(StartApp_CheckReady("Other Printer", kJob), 0);
    EXPECT_EQ(StartApp_CheckReady(kPrinter, 18), 0);
}

TEST_F(JobKeyTest, StartValuesWithoutCommandLineGiveAnEmptyOne) {
    SetReady("YES");
    win::sim::regSetString(kUser, kJobKey, "Server", "C:\\Apps\\viewer.exe");
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x1);
    EXPECT_EQ(ReadStart(), RET_START_APP_READY);
    EXPECT_STREQ(application, "C:\\Apps\\viewer.exe");
    EXPECT_STREQ(commandLine, "");
    EXPECT_EQ(flags, 0x1u);

    win::sim::regSetString(kUser, kJobKey, "Command Line", "/view report.pdf");
    EXPECT_EQ(ReadStart(), RET_START_APP_READY);
    EXPECT_STREQ(commandLine, "/view report.pdf");
}

TEST_F(JobKeyTest, StartBeforePrintingNeedsItsEventName) {
    SetReady("YES");
    win::sim::regSetString(kUser, kJobKey, "Server", "C:\\Apps\\viewer.exe");
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x3);
    EXPECT_EQ(ReadStart(), 0);
    win::sim::regSetString(kUser, kJobKey, "MessagingInterface", "JobEvent");
    EXPECT_EQ(ReadStart(), RET_START_APP_READY);
    EXPECT_STREQ(eventName, "JobEvent");
    EXPECT_EQ(StartApp_ReadRegistryKey(kPrinter, kJob, commandLine, sizeof commandLine, application,
                                       sizeof application, &flags, nullptr, 0),
              0)
        << "no field for the event name";
}

TEST_F(JobKeyTest, StartValuesThatCannotBeHadGiveZero) {
    SetReady("YES");
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x1);
    EXPECT_EQ(ReadStart(), 0) << "no Server";
    win::sim::regSetString(kUser, kJobKey, "Server", std::string(260, 's'));
    EXPECT_EQ(ReadStart(), 0) << "Server too large for its field";
    win::sim::regSetString(kUser, kJobKey, "Server", "viewer.exe");
    win::sim::regDeleteValue(kUser, kJobKey, "Flags");
    EXPECT_EQ(ReadStart(), 0) << "no Flags";
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x1);
    EXPECT_EQ(StartApp_ReadRegistryKey(kPrinter, kJob, nullptr, 0, application, sizeof application,
                                       &flags, nullptr, 0),
              0);
    EXPECT_EQ(StartApp_ReadRegistryKey(kPrinter, kJob, commandLine, sizeof commandLine, application,
                                       sizeof application, nullptr, nullptr, 0),
              0);
    win::sim::regDeleteValue(kUser, kJobKey, "Ready");
    EXPECT_EQ(ReadStart(), 0) << "no Ready";
}

TEST_F(JobKeyTest, JobStatusLiterals) {
    const struct {
        std::string status;
        int expected;
    } cases[] = {
        {"Job Finished", 1}, {"Aborted", 2},
        {"job finished", 0}, {"Job Finished ", 0},
        {"Job Finishe", 0},  {"Abort", 0},
        {"aborted", 0},      {"", 0},
        {"YES", 0},          {std::string(300, 'J'), 0},
    };
    EXPECT_EQ(ReadJobStatusRegistryKey(kPrinter, kJob), 0) << "no key";
    win::sim::regCreateKey(kUser, kJobKey);
    EXPECT_EQ(ReadJobStatusRegistryKey(kPrinter, kJob), 0) << "no value";
    for (const auto& c : cases) {
        SCOPED_TRACE("Job Status \"" + c.status + "\"");
        win::sim::regSetString(kUser, kJobKey, "Job Status", c.status);
        EXPECT_EQ(ReadJobStatusRegistryKey(kPrinter, kJob), c.expected);
    }
}

TEST_F(JobKeyTest, SingleValuesOfTheJobKey) {
    win::sim::regSetString(kUser, kJobKey, "Output folder", "C:\\Out");
    win::sim::regSetDword(kUser, kJobKey, "Post Print Flags", 0x5);
    char field[260] = {};
    std::uint32_t size = sizeof field;
    EXPECT_EQ(ReadJobRegistryValue(kPrinter, kJob, "Output folder", field, &size), 1);
    EXPECT_STREQ(field, "C:\\Out");
    EXPECT_EQ(size, 7u);
    size = sizeof field;
    EXPECT_EQ(ReadJobRegistryValue(kPrinter, kJob, "Output Filename", field, &size), 0);
    EXPECT_EQ(ReadJobRegistryValue(kPrinter, kJob, nullptr, field, &size), 0);
    EXPECT_EQ(ReadJobRegistryValue(kPrinter, kJob, "Output folder", nullptr, &size), 0);

    std::uint32_t flagsRead = 0;
    EXPECT_EQ(ReadJobRegistryDword(kPrinter, kJob, "Post Print Flags", &flagsRead), 1);
    EXPECT_EQ(flagsRead, 0x5u);
    EXPECT_EQ(ReadJobRegistryDword(kPrinter, kJob, "Flags", &flagsRead), 0);
    EXPECT_EQ(ReadJobRegistryDword(kPrinter, 18, "Post Print Flags", &flagsRead), 0);
}

TEST_F(JobKeyTest, FinishedJobLosesItsStatusAndKey) {
    win::sim::regSetString(kUser, kJobKey, "Job Status", "Job Finished");
    EXPECT_EQ(DeletePortMonitorFinishedTheJobRegistryKey(kPrinter, kJob), 1);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_EQ(DeletePortMonitorFinishedTheJobRegistryKey(kPrinter, kJob), 1) << "already gone";
}

TEST_F(JobKeyTest, AJobKeyWithSubkeysStaysButLosesItsStatus) {
    win::sim::regSetString(kUser, kJobKey, "Job Status", "Job Finished");
    win::sim::regCreateKey(kUser, kJobKey + "\\Extra");
    DeleteJobRegistryKey(kPrinter, kJob);
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_EQ(DeletePortMonitorFinishedTheJobRegistryKey(kPrinter, kJob), 1);
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_FALSE(win::sim::regValue(kUser, kJobKey, "Job Status"));
}

TEST_F(JobKeyTest, OnlyTheJobsOwnKeyIsDeleted) {
    win::sim::regCreateKey(kUser, kJobKey);
    win::sim::regCreateKey(kUser, kPrinterKey + "\\170");
    DeleteJobRegistryKey(kPrinter, kJob);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kPrinterKey + "\\170"));
}

}  // namespace
}  // namespace monitor_test
