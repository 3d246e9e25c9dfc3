// The job monitor's loop, cycle by cycle, with the printing side's writes scheduled in
// virtual time: a write at t is seen by the first cycle that starts after t.
#include "jobhost/monitor/job_monitor.h"

#include <functional>
#include <string>
#include <vector>

#include "monitor_fixture.h"
#include "recording_job_actions.h"
#include "win/file.h"

namespace monitor_test {
namespace {

using Lines = std::vector<std::string>;

const std::string kLogPath = "C:\\Temp\\redirect.log";
const std::string kRule = "---------------------------";

std::string PageFile(int page) {
    return "C:\\Temp\\page" + std::to_string(page) + ".emf";
}

class JobMonitorTest : public MonitorTest {
  protected:
    void Settings(const std::vector<std::string>& printers, bool log = true) {
        win::sim::regSetString(kUser, kSettingsKey, "Enable Redirect Printing Log",
                               log ? "yes" : "No");
        win::sim::regSetString(kUser, kSettingsKey, "Redirect Printing Log File", kLogPath);
        win::sim::regSetDword(kUser, kSettingsKey, "Printer count", win::Dword(printers.size()));
        for (std::size_t i = 0; i < printers.size(); ++i)
            win::sim::regSetString(kUser, kSettingsKey, "Printer " + std::to_string(i + 1),
                                   printers[i]);
    }
    static void Key0(const std::string& ready, win::Dword lastPage = 0, win::Dword copies = 1) {
        const std::string key = ForwardingKey(0);
        win::sim::regSetString(kUser, key, "DOCUMENT NAME", "Invoice 42");
        win::sim::regSetString(kUser, key, "REDIRECT INFO REGISTRY PATH", kSettingsRelative);
        win::sim::regSetDword(kUser, key, "Number of copies", copies);
        if (ready == "YES") win::sim::regSetDword(kUser, key, "PAGENUMBER", lastPage);
        win::sim::regSetString(kUser, key, "Ready", ready);
    }
    static void Page(int page) {
        const std::string key = ForwardingKey(page);
        win::sim::fileWrite(PageFile(page), "EMF data of page " + std::to_string(page));
        win::sim::regSetString(kUser, key, "Forwarding", PageFile(page));
        win::sim::regSetDword(kUser, key, "Size", 20);
        win::sim::regSetDword(kUser, key, "DevModeSize", 6879);
        win::sim::regSetBinary(kUser, key, "DevMode", std::string(6879, 'd'));
        win::sim::regSetString(kUser, key, "Ready", "YES");
    }
    static void JobStatus(const std::string& status) {
        win::sim::regSetString(kUser, kJobKey, "Job Status", status);
    }
    static void At(std::uint64_t ms, std::function<void()> write) {
        win::sim::at(ms, std::move(write));
    }
    static void AtCycle(int cycle, std::function<void()> write) {
        // Seen by that cycle: written during the sleep of the one before it.
        win::sim::at(std::uint64_t(cycle - 1) * 500 - 100, std::move(write));
    }
    int Run(const char* commandLine = "17,Office Printer") {
        return RunJobMonitor(commandLine, actions);
    }
    // The log's lines without their 22-character time prefix.
    static Lines LogLines() {
        Lines lines;
        std::string log = win::sim::fileRead(kLogPath).value_or("");
        std::size_t start = 0;
        while (start < log.size()) {
            std::size_t end = log.find("\r\n", start);
            if (end == std::string::npos) end = log.size();
            std::string line = log.substr(start, end - start);
            EXPECT_EQ(line[0], '[') << line;
            lines.push_back(line.size() >= 22 ? line.substr(22) : line);
            start = end + 2;
        }
        return lines;
    }
    static bool PageLeft(int page) {
        return win::sim::regKeyExists(kUser, ForwardingKey(page)) ||
               win::sim::fileExists(PageFile(page));
    }

    RecordingJobActions actions;
};

TEST_F(JobMonitorTest, AllPagesReadyAtTheStartGoOutOnePerCycle) {
    Settings({"Front Desk"});
    win::sim::regSetDword(kUser, kOptionSetKey, "Watermark", 1);
    win::sim::regSetString(kUser, kPrinterKey + "\\Email_TMP\\17", "Email sending program 32bit",
                           "C:\\Mail\\send.exe");
    win::sim::regSetString(kUser, kPrinterKey + "\\SharePoint_TMP\\17", "SharePoint utility",
                           "C:\\Up\\upload.exe");
    Page(1);
    Page(2);
    Page(3);
    Key0("YES", 3);
    JobStatus("Job Finished");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 1: DoStartDocument(Front Desk | Invoice 42 | 1 | job 17)",
                     "cycle 1: DoPrintPage(Front Desk | Invoice 42 | page 1 | Office Printer | 1)",
                     "cycle 2: DoPrintPage(Front Desk | Invoice 42 | page 2 | Office Printer | 1)",
                     "cycle 3: DoPrintPage(Front Desk | Invoice 42 | page 3 | Office Printer | 1)",
                     "cycle 4: DoEndDocument(printer 256 | 1)"}));
    EXPECT_EQ(LogLines(), (Lines{"Redirect printing started.", "Document Name = Invoice 42",
                                 "Redirect Printers Count = 1", "Number of copies = 1",
                                 "Redirect Printer Names:", "\tFront Desk", "Printing page: 1",
                                 "Printing page: 2", "Printing page: 3",
                                 "Redirect printing finished.", kRule}));
    // The end comes with the sleep of cycle 4.
    EXPECT_EQ(win::sim::nowMs(), 2000u);
    for (int page = 0; page <= 3; ++page) EXPECT_FALSE(PageLeft(page)) << page;
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kOptionSetKey));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kPrinterKey + "\\Email_TMP\\17"));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kPrinterKey + "\\SharePoint_TMP\\17"));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kSettingsKey));
}

TEST_F(JobMonitorTest, PagesFollowTheDriverInStrictOrder) {
    Settings({"Front Desk"});
    Key0("Printing");
    AtCycle(3, [] {
        Page(2);  // out of order: page 2 is ready before page 1
    });
    AtCycle(5, [] {
        Page(1);
        Page(3);
    });
    AtCycle(6, [] { Key0("YES", 3); });
    AtCycle(10, [] { JobStatus("Job Finished"); });

    EXPECT_EQ(Run(), 0);
    std::vector<std::pair<std::uint32_t, int>> pagesAndCycles;
    for (const PrintedPage& p : actions.printed) pagesAndCycles.push_back({p.page, p.cycle});
    EXPECT_EQ(pagesAndCycles, (std::vector<std::pair<std::uint32_t, int>>{{1, 5}, {2, 6}, {3, 7}}));
    EXPECT_EQ(actions.calls.back(), "cycle 8: DoEndDocument(printer 256 | 1)");
    EXPECT_EQ(LogLines().back(), kRule);
    // Cycle 10 sets the second flag; the process ends with its sleep.
    EXPECT_EQ(win::sim::nowMs(), 5000u);
}

TEST_F(JobMonitorTest, APageIsDeletedOnlyAfterEveryTargetHadIt) {
    Settings({"Front Desk", "Back Office", "Plotter"});
    actions.failingPrinters = {"Back Office"};
    Page(1);
    Page(2);
    Key0("YES", 2, 2);
    JobStatus("Job Finished");

    EXPECT_EQ(Run(), 0);
    ASSERT_EQ(actions.printed.size(), 4u);
    const char* expectedPrinters[] = {"Front Desk", "Plotter", "Front Desk", "Plotter"};
    for (std::size_t i = 0; i < actions.printed.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actions.printed[i].printer, expectedPrinters[i]);
        EXPECT_EQ(actions.printed[i].page, i / 2 + 1);
        EXPECT_TRUE(actions.printed[i].keyLeft);
        EXPECT_TRUE(actions.printed[i].fileLeft);
    }
    EXPECT_FALSE(PageLeft(1));
    EXPECT_FALSE(PageLeft(2));
}

TEST_F(JobMonitorTest, ATargetWhoseStartFailedGetsNoPagesAndIsNotEnded) {
    Settings({"Front Desk", "Unknown Printer"});
    actions.failingPrinters = {"Front Desk"};
    Page(1);
    Key0("YES", 1, 3);
    JobStatus("Job Finished");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(
        actions.calls,
        (Lines{"cycle 1: DoStartDocument(Front Desk | Invoice 42 | 3 | job 17)",
               "cycle 1: DoStartDocument(Unknown Printer | Invoice 42 | 3 | job 17)",
               "cycle 1: DoPrintPage(Unknown Printer | Invoice 42 | page 1 | Office Printer | 3)",
               "cycle 2: DoEndDocument(printer 256 | 3)"}));
    const Lines log = LogLines();
    EXPECT_EQ(Lines(log.begin() + 3, log.begin() + 7),
              (Lines{"Number of copies = 3", "Redirect Printer Names:", "\tFront Desk",
                     "\tUnknown Printer"}));
}

TEST_F(JobMonitorTest, NormalFinishClosesTheLogBeforeTheTargetsEnd) {
    Settings({"Front Desk", "Plotter"});
    Page(1);
    Key0("YES", 1, 2);
    JobStatus("Job Finished");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(LogLines(), (Lines{"Redirect printing started.", "Document Name = Invoice 42",
                                 "Redirect Printers Count = 2", "Number of copies = 2",
                                 "Redirect Printer Names:", "\tFront Desk", "\tPlotter",
                                 "Printing page: 1", "Redirect printing finished.", kRule}));
    EXPECT_EQ(actions.calls[actions.calls.size() - 2], "cycle 2: DoEndDocument(printer 256 | 2)");
    EXPECT_EQ(actions.calls.back(), "cycle 2: DoEndDocument(printer 257 | 2)");
}

TEST_F(JobMonitorTest, AbortThroughJobStatusEndsTheTargetsWhileTheLogIsOpen) {
    Settings({"Front Desk", "Back Office", "Plotter"});
    actions.failingPrinters = {"Back Office"};
    win::sim::regSetDword(kUser, kOptionSetKey, "Watermark", 1);
    Key0("Printing", 0, 2);
    Page(1);
    AtCycle(2, [] {
        Page(2);
        Page(3);
    });
    AtCycle(3, [] { JobStatus("Aborted"); });

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 1: DoStartDocument(Front Desk | Invoice 42 | 2 | job 17)",
                     "cycle 1: DoStartDocument(Back Office | Invoice 42 | 2 | job 17)",
                     "cycle 1: DoStartDocument(Plotter | Invoice 42 | 2 | job 17)",
                     "cycle 1: DoPrintPage(Front Desk | Invoice 42 | page 1 | Office Printer | 2)",
                     "cycle 1: DoPrintPage(Plotter | Invoice 42 | page 1 | Office Printer | 2)",
                     "cycle 2: DoPrintPage(Front Desk | Invoice 42 | page 2 | Office Printer | 2)",
                     "cycle 2: DoPrintPage(Plotter | Invoice 42 | page 2 | Office Printer | 2)",
                     "cycle 3: DoEndDocument(printer 256 | 2)",
                     "cycle 3: DoEndDocument(printer 257 | 2)"}));
    const Lines log = LogLines();
    EXPECT_EQ(
        Lines(log.end() - 6, log.end()),
        (Lines{"Redirect printing aborted.", kRule, "Printing successfully finished (copy: 0).",
               "Printing successfully finished (copy: 1).",
               "Printing successfully finished (copy: 0).",
               "Printing successfully finished (copy: 1)."}));
    // Stops at once, without the cycle's sleep.
    EXPECT_EQ(win::sim::nowMs(), 1000u);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
    // Pages 1 and 2 were forwarded, so the clean-up walk ends at once and page 3 stays.
    EXPECT_FALSE(PageLeft(1));
    EXPECT_FALSE(PageLeft(2));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(3)));
    EXPECT_TRUE(win::sim::fileExists(PageFile(3)));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kOptionSetKey));
}

TEST_F(JobMonitorTest, AbortThroughTheJobKeyDropsTheTargetsUnended) {
    Settings({"Front Desk"});
    Key0("Printing");
    AtCycle(3, [] {
        Page(1);
        Page(2);
        win::sim::regSetString(kUser, kJobKey, "Ready", "Abort");
        JobStatus("Job Finished");
    });

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 1: DoStartDocument(Front Desk | Invoice 42 | 1 | job 17)"}));
    EXPECT_EQ(LogLines(), (Lines{"Redirect printing started.", "Document Name = Invoice 42",
                                 "Redirect Printers Count = 1", "Number of copies = 1",
                                 "Redirect Printer Names:", "\tFront Desk",
                                 "Redirect printing aborted.", kRule}));
    // Cycle 3 starts at 1000 ms and waits 1000 ms before the clean-up.
    EXPECT_EQ(win::sim::nowMs(), 2000u);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
    EXPECT_FALSE(PageLeft(1));
    EXPECT_FALSE(PageLeft(2));
}

TEST_F(JobMonitorTest, NoRedirectJobEndsHalfASecondAfterTheSecondFlag) {
    Settings({"Front Desk"});
    Key0("No Redirect");
    At(1200, [] { JobStatus("Job Finished"); });

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_FALSE(win::sim::fileExists(kLogPath));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
    // Cycle 4 (1500 ms) sees the job finished.
    EXPECT_EQ(win::sim::nowMs(), 2000u);
}

TEST_F(JobMonitorTest, NoTargetsStillLogsAndDeletesThePages) {
    Settings({});
    Page(1);
    Page(2);
    Key0("YES", 2);
    JobStatus("Job Finished");

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(LogLines(), (Lines{"Redirect printing started.", "Document Name = Invoice 42",
                                 "Redirect Printers Count = 0", "Number of copies = 1",
                                 "Redirect Printer Names:", "Printing page: 1", "Printing page: 2",
                                 "Redirect printing finished.", kRule}));
    EXPECT_FALSE(PageLeft(1));
    EXPECT_FALSE(PageLeft(2));
    EXPECT_EQ(win::sim::nowMs(), 1500u);
}

TEST_F(JobMonitorTest, CycleLimitEndsTheJobWithNothingCleanedUp) {
    Settings({"Front Desk"});
    Key0("Printing");
    JobStatus("Job Finished");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(win::sim::nowMs(), std::uint64_t(kMaxCycles) * 500);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 1: DoStartDocument(Front Desk | Invoice 42 | 1 | job 17)"}));
    EXPECT_EQ(LogLines().back(), "\tFront Desk");
    EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
}

TEST_F(JobMonitorTest, AJobWithoutRedirectEntryRunsToTheCycleLimit) {
    JobStatus("Job Finished");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(win::sim::nowMs(), std::uint64_t(kMaxCycles) * 500);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
}

TEST_F(JobMonitorTest, TargetArrayThatCannotBeHadStopsAtOnce) {
    Settings({"Front Desk"});
    Page(1);
    Key0("YES", 1);
    JobStatus("Job Finished");
    win::sim::failCall("HeapAlloc", win::err::notEnoughMemory);

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(LogLines().back(), "Redirect Printer Names:");
    EXPECT_EQ(win::sim::nowMs(), 0u);
    EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(1)));
}

TEST_F(JobMonitorTest, RedirectPrintingRunsOncePerJob) {
    Settings({"Front Desk"});
    Key0("YES", 0);
    // The driver writes key 0 again after the finish.
    AtCycle(4, [] { Key0("Printing"); });
    AtCycle(6, [] { JobStatus("Job Finished"); });

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 1: DoStartDocument(Front Desk | Invoice 42 | 1 | job 17)",
                     "cycle 2: DoEndDocument(printer 256 | 1)"}));
    EXPECT_EQ(LogLines().back(), kRule);
    EXPECT_EQ(win::sim::nowMs(), 3000u);
}

TEST_F(JobMonitorTest, StartBeforePrintingThenDeleteTheJobKey) {
    win::sim::regSetString(kUser, kJobKey, "Server", "C:\\Apps\\viewer.exe");
    win::sim::regSetString(kUser, kJobKey, "Command Line", "/watch");
    win::sim::regSetString(kUser, kJobKey, "MessagingInterface", "ViewerReady");
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x3);
    AtCycle(2, [] { win::sim::regSetString(kUser, kJobKey, "Ready", "YES"); });
    AtCycle(4, [] { JobStatus("Job Finished"); });
    Key0("No Redirect");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(
        actions.calls,
        (Lines{"cycle 2: StartApplication(/watch | C:\\Apps\\viewer.exe | 3 | ViewerReady)"}));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_EQ(win::sim::nowMs(), 2000u);
}

TEST_F(JobMonitorTest, TheApplicationStartsOnceEvenWhenItsKeyStays) {
    win::sim::regSetString(kUser, kJobKey, "Server", "C:\\Apps\\viewer.exe");
    win::sim::regSetString(kUser, kJobKey, "MessagingInterface", "ViewerReady");
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x2);
    win::sim::regSetString(kUser, kJobKey, "Ready", "YES");
    win::sim::regCreateKey(kUser, kJobKey + "\\Pinned");  // the key cannot be deleted
    AtCycle(3, [] { JobStatus("Job Finished"); });
    Key0("No Redirect");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 1: StartApplication( | C:\\Apps\\viewer.exe | 2 | ViewerReady)"}));
}

TEST_F(JobMonitorTest, FinishedJobStartsTheApplicationAndPostPrintSteps) {
    win::sim::regSetString(kUser, kJobKey, "Server", "C:\\Apps\\viewer.exe");
    win::sim::regSetDword(kUser, kJobKey, "Flags", 0x1);
    win::sim::regSetDword(kUser, kJobKey, "Post Print Flags", 0x5);
    win::sim::regSetString(kUser, kJobKey, "Ready", "YES");
    AtCycle(3, [] { JobStatus("Job Finished"); });
    Key0("No Redirect");

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(actions.calls,
              (Lines{"cycle 3: StartApplication( | C:\\Apps\\viewer.exe | 1 | no event)",
                     "cycle 3: StartPostPrintSteps(17 | Office Printer | 5)"}));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_EQ(win::sim::nowMs(), 1500u);
}

TEST_F(JobMonitorTest, FinishedJobWithoutStartValuesOrFlagsOnlyLosesItsKey) {
    win::sim::regSetDword(kUser, kJobKey, "Post Print Flags", 0);
    JobStatus("Job Finished");
    Key0("No Redirect");

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_EQ(win::sim::nowMs(), 500u);
}

TEST_F(JobMonitorTest, CommandLinesThatNameNoJobTouchNothing) {
    Settings({"Front Desk"});
    Page(1);
    Key0("YES", 1);
    JobStatus("Aborted");
    for (const char* commandLine :
         {"17", "", "17,",
          "17,Office Printer With A Name Far Too Long For Its Sixty-Four Byte "
          "Field"}) {
        SCOPED_TRACE(commandLine);
        EXPECT_EQ(Run(commandLine), 0);
        EXPECT_EQ(win::sim::nowMs(), 0u);
        EXPECT_TRUE(actions.calls.empty());
        EXPECT_TRUE(win::sim::regKeyExists(kUser, kJobKey));
        EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
        EXPECT_TRUE(PageLeft(1));
        EXPECT_FALSE(win::sim::fileExists(kLogPath));
    }
}

TEST_F(JobMonitorTest, OnlyTheFirstOfTwoJobsReachesTheLog) {
    Settings({});
    Key0("Printing");
    // Another job's process holds the log file.
    win::file::UniqueFile otherJob(
        win::file::create(kLogPath.c_str(), win::file::access::genericWrite, win::file::share::none,
                          win::file::disposition::openAlways, win::file::attributeNormal));
    ASSERT_TRUE(otherJob);
    AtCycle(2, [] { Page(1); });
    AtCycle(3, [] {
        Key0("YES", 1);
        JobStatus("Job Finished");
    });

    EXPECT_EQ(Run(), 0);
    otherJob.reset();
    EXPECT_EQ(win::sim::fileRead(kLogPath), "");
    EXPECT_FALSE(PageLeft(1));
}

TEST_F(JobMonitorTest, ProductionWiringOpensNoTargetYet) {
    Settings({"Front Desk"});
    Page(1);
    Key0("YES", 1);
    JobStatus("Job Finished");

    EXPECT_EQ(RunProductionJobMonitor("17,Office Printer"), 0);
    EXPECT_EQ(LogLines(), (Lines{"Redirect printing started.", "Document Name = Invoice 42",
                                 "Redirect Printers Count = 1", "Number of copies = 1",
                                 "Redirect Printer Names:", "\tFront Desk", "Printing page: 1",
                                 "Redirect printing finished.", kRule}));
    EXPECT_FALSE(PageLeft(1));
}

}  // namespace
}  // namespace monitor_test
