// The redirect settings key, the job's keys for outside programs, its option set, and the
// clean-up of an aborted job.
#include <string>

#include "jobhost/monitor/job_registry.h"
#include "monitor_fixture.h"

namespace monitor_test {
namespace {

TEST_F(MonitorTest, PrinterCountCountsOnlyWhatSettingsCanHold) {
    EXPECT_EQ(RedirectPrinting_ReadPrinterCount(kSettingsKey.c_str()), 0) << "no key";
    EXPECT_EQ(RedirectPrinting_ReadPrinterCount(""), 0) << "no path";
    win::sim::regCreateKey(kUser, kSettingsKey);
    EXPECT_EQ(RedirectPrinting_ReadPrinterCount(kSettingsKey.c_str()), 0) << "no value";
    const struct {
        std::uint32_t stored;
        std::int32_t expected;
    } cases[] = {{0, 0},
                 {2, 2},
                 {std::uint32_t(kMaxRedirectTargets), kMaxRedirectTargets},
                 {std::uint32_t(kMaxRedirectTargets) + 1, 0},
                 {0x7FFFFFFF, 0},
                 {0xFFFFFFFF, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        win::sim::regSetDword(kUser, kSettingsKey, "Printer count", c.stored);
        EXPECT_EQ(RedirectPrinting_ReadPrinterCount(kSettingsKey.c_str()), c.expected);
    }
}

TEST_F(MonitorTest, PrinterNamesAreNumberedFromOne) {
    win::sim::regSetString(kUser, kSettingsKey, "Printer 1", "Front Desk");
    win::sim::regSetString(kUser, kSettingsKey, "Printer 2", std::string(511, 'n'));
    win::sim::regSetString(kUser, kSettingsKey, "Printer 3", std::string(512, 'n'), false);
    char name[512] = {};
    std::uint32_t size = sizeof name;
    EXPECT_EQ(RedirectPrinting_ReadPrinterName(kSettingsKey.c_str(), 0, name, &size), 1);
    EXPECT_STREQ(name, "Front Desk");
    size = sizeof name;
    EXPECT_EQ(RedirectPrinting_ReadPrinterName(kSettingsKey.c_str(), 1, name, &size), 1);
    EXPECT_EQ(std::string(name), std::string(511, 'n'));
    size = sizeof name;
    EXPECT_EQ(RedirectPrinting_ReadPrinterName(kSettingsKey.c_str(), 2, name, &size), 0)
        << "fills its field without a terminator";
    EXPECT_EQ(RedirectPrinting_ReadPrinterName(kSettingsKey.c_str(), 3, name, &size), 0);
    EXPECT_EQ(RedirectPrinting_ReadPrinterName("SOFTWARE\\Nowhere", 0, name, &size), 0);
}

TEST_F(MonitorTest, EmailAndSharePointValuesOfTheJob) {
    const std::string email = kPrinterKey + "\\Email_TMP\\17";
    const std::string sharePoint = kPrinterKey + "\\SharePoint_TMP\\17";
    win::sim::regSetString(kUser, email, "Email sending program 32bit", "C:\\Mail\\send32.exe");
    win::sim::regSetString(kUser, sharePoint, "SharePoint utility", "C:\\Up\\upload.exe");
    char field[260] = {};
    std::uint32_t size = sizeof field;
    EXPECT_EQ(ReadEmailRegistryValue(kJob, kPrinter, "Email sending program 32bit", field, &size),
              1);
    EXPECT_STREQ(field, "C:\\Mail\\send32.exe");
    size = sizeof field;
    EXPECT_EQ(ReadEmailRegistryValue(kJob, kPrinter, "Email sending program 64bit", field, &size),
              0);
    EXPECT_EQ(ReadEmailRegistryValue(kJob, nullptr, "Email sending program 32bit", field, &size),
              0);
    EXPECT_EQ(ReadEmailRegistryValue(kJob, kPrinter, nullptr, field, &size), 0);
    EXPECT_EQ(ReadSharePointRegistryValue(kJob, kPrinter, "SharePoint utility", field, &size), 1);
    EXPECT_STREQ(field, "C:\\Up\\upload.exe");
    EXPECT_EQ(ReadSharePointRegistryValue(kJob, kPrinter, "SharePoint utility", nullptr, &size), 0);
    EXPECT_EQ(ReadSharePointRegistryValue(18, kPrinter, "SharePoint utility", field, &size), 0);
}

TEST_F(MonitorTest, OptionSetIsDeletedWithoutItsSubkeysOrNeighbours) {
    win::sim::regSetDword(kUser, kOptionSetKey, "Option", 1);
    win::sim::regCreateKey(kUser, kPrinterKey + "\\Save As Option Settings\\18");
    DeleteSaveAsOptionSettingsRegistryKey(kPrinter, kJob);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kOptionSetKey));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kPrinterKey + "\\Save As Option Settings\\18"));
}

class AbortCleanupTest : public MonitorTest {
  protected:
    void WritePage(int page) {
        const std::string file = "C:\\Temp\\page" + std::to_string(page) + ".emf";
        win::sim::fileWrite(file, "page");
        win::sim::regSetString(kUser, ForwardingKey(page), "Forwarding", file);
        win::sim::regSetString(kUser, ForwardingKey(page), "Ready", "YES");
    }
    bool PageLeft(int page) {
        return win::sim::regKeyExists(kUser, ForwardingKey(page)) &&
               win::sim::fileExists("C:\\Temp\\page" + std::to_string(page) + ".emf");
    }
    void WriteJob() {
        win::sim::regSetString(kUser, kJobKey, "Job Status", "Aborted");
        win::sim::regSetString(kUser, ForwardingKey(0), "Ready", "Printing");
    }
};

TEST_F(AbortCleanupTest, DeletesTheJobAndEveryPageUpToTheFirstMissingOne) {
    WriteJob();
    for (int page : {1, 2, 3, 5}) WritePage(page);
    DeleteAbortedJobRegistryKeys(kPrinter, kJob);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
    for (int page : {1, 2, 3}) EXPECT_FALSE(PageLeft(page)) << page;
    EXPECT_FALSE(win::sim::fileExists("C:\\Temp\\page1.emf"));
    EXPECT_TRUE(PageLeft(5)) << "beyond the missing page 4";
}

TEST_F(AbortCleanupTest, AfterForwardedPagesTheWalkStopsAtPageOne) {
    WriteJob();
    for (int page : {3, 4}) WritePage(page);
    DeleteAbortedJobRegistryKeys(kPrinter, kJob);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, kJobKey));
    EXPECT_FALSE(win::sim::regKeyExists(kUser, ForwardingKey(0)));
    EXPECT_TRUE(PageLeft(3));
    EXPECT_TRUE(PageLeft(4));
}

TEST_F(AbortCleanupTest, APageWithoutFileNameEndsTheWalk) {
    WriteJob();
    WritePage(1);
    win::sim::regSetString(kUser, ForwardingKey(2), "Ready", "YES");
    WritePage(3);
    DeleteAbortedJobRegistryKeys(kPrinter, kJob);
    EXPECT_FALSE(PageLeft(1));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(2)));
    EXPECT_TRUE(PageLeft(3));
}

TEST_F(AbortCleanupTest, OtherJobsKeysStay) {
    WriteJob();
    WritePage(1);
    const std::string otherPage = kPrinterKey + "\\Forwarding\\18_1";
    win::sim::regSetString(kUser, otherPage, "Forwarding", "C:\\Temp\\other.emf");
    win::sim::regCreateKey(kUser, kPrinterKey + "\\18");
    DeleteAbortedJobRegistryKeys(kPrinter, kJob);
    EXPECT_TRUE(win::sim::regKeyExists(kUser, otherPage));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, kPrinterKey + "\\18"));
}

}  // namespace
}  // namespace monitor_test
