// The redirect-printing log: its switch, its file, the line format and its exclusive open.
#include "jobhost/monitor/redirect_log.h"

#include <string>

#include "monitor_fixture.h"
#include "win/file.h"

namespace monitor_test {
namespace {

const std::string kLogPath = "C:\\Temp\\redirect.log";

class RedirectLogTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        win::sim::regSetString(kUser, kSettingsKey, "Enable Redirect Printing Log", "yes");
        win::sim::regSetString(kUser, kSettingsKey, "Redirect Printing Log File", kLogPath);
    }
    void TearDown() override {
        CloseLogFile();
        MonitorTest::TearDown();
    }
    int Open() { return OpenLogFile(kSettingsKey.c_str()); }
    std::string Log() { return win::sim::fileRead(kLogPath).value_or("<no file>"); }
};

TEST_F(RedirectLogTest, LinesCarryTheLocalTimeAndEndWithCrLf) {
    ASSERT_EQ(Open(), 1);
    WriteRedirectLog("Printing page: %d", 3);
    win::time::SystemTime late;
    late.year = 2024;
    late.month = 12;
    late.day = 31;
    late.hour = 23;
    late.minute = 59;
    late.second = 59;
    late.milliseconds = 500;
    win::sim::setLocalTime(late);
    WriteRedirectLog("\t%s", "Front Desk");
    win::sim::advance(600);
    WriteRedirectLog("Redirect printing finished.");
    CloseLogFile();
    EXPECT_EQ(Log(),
              "[03/05/2024 09:04:07] Printing page: 3\r\n"
              "[12/31/2024 23:59:59] \tFront Desk\r\n"
              "[01/01/2025 00:00:00] Redirect printing finished.\r\n");
}

TEST_F(RedirectLogTest, NewLinesFollowWhatTheFileHolds) {
    win::sim::fileWrite(kLogPath, "[01/02/2024 10:00:00] Redirect printing started.\r\n");
    ASSERT_EQ(Open(), 1);
    WriteRedirectLog("Redirect printing started.");
    CloseLogFile();
    EXPECT_EQ(Log(),
              "[01/02/2024 10:00:00] Redirect printing started.\r\n"
              "[03/05/2024 09:04:07] Redirect printing started.\r\n");
}

TEST_F(RedirectLogTest, MessagesWhileClosedLeaveNoTrace) {
    WriteRedirectLog("before the open");
    ASSERT_EQ(Open(), 1);
    WriteRedirectLog("while open");
    CloseLogFile();
    WriteRedirectLog("after the close");
    EXPECT_EQ(Log(), "[03/05/2024 09:04:07] while open\r\n");
}

TEST_F(RedirectLogTest, NoInAnyLetterCaseSwitchesItOff) {
    const struct {
        std::string value;
        bool on;
    } cases[] = {{"no", false}, {"No", false}, {"nO", false}, {"NO", false},
                 {"", true},    {"yes", true}, {"n", true},   {"non", true},
                 {"no ", true}, {" no", true}, {"off", true}, {"0", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.value + "\"");
        win::sim::fileRemove(kLogPath);
        win::sim::regSetString(kUser, kSettingsKey, "Enable Redirect Printing Log", c.value);
        EXPECT_EQ(Open(), 1);
        WriteRedirectLog("line");
        CloseLogFile();
        EXPECT_EQ(win::sim::fileExists(kLogPath), c.on);
    }
}

TEST_F(RedirectLogTest, SettingsThatCannotBeHadKeepItClosed) {
    const struct {
        const char* what;
        void (*change)();
        int result;
    } cases[] = {
        {"no switch",
         [] { win::sim::regDeleteValue(kUser, kSettingsKey, "Enable Redirect Printing Log"); }, 1},
        {"switch too large for its field",
         [] {
             win::sim::regSetString(kUser, kSettingsKey, "Enable Redirect Printing Log",
                                    std::string(32, 'y'));
         },
         1},
        {"no file name",
         [] { win::sim::regDeleteValue(kUser, kSettingsKey, "Redirect Printing Log File"); }, 0},
        {"file in a folder that does not exist",
         [] {
             win::sim::regSetString(kUser, kSettingsKey, "Redirect Printing Log File",
                                    "C:\\Nowhere\\redirect.log");
         },
         0},
        {"no settings key", [] { win::sim::regDeleteTree(kUser, kSettingsKey); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.change();
        EXPECT_EQ(Open(), c.result);
        WriteRedirectLog("line");
        CloseLogFile();
        EXPECT_FALSE(win::sim::fileExists(kLogPath));
    }
}

TEST_F(RedirectLogTest, TheFileIsHeldExclusively) {
    ASSERT_EQ(Open(), 1);
    // A second job's open, as another process would try it.
    win::file::UniqueFile second(
        win::file::create(kLogPath.c_str(), win::file::access::genericWrite, win::file::share::none,
                          win::file::disposition::openAlways, win::file::attributeNormal));
    EXPECT_FALSE(second);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::sharingViolation));
    CloseLogFile();
}

TEST_F(RedirectLogTest, AFileHeldByAnotherJobLogsNothing) {
    win::file::UniqueFile first(
        win::file::create(kLogPath.c_str(), win::file::access::genericWrite, win::file::share::none,
                          win::file::disposition::openAlways, win::file::attributeNormal));
    ASSERT_TRUE(first);
    EXPECT_EQ(Open(), 0);
    WriteRedirectLog("second job");
    first.reset();
    EXPECT_EQ(Log(), "");
}

TEST_F(RedirectLogTest, LongMessagesAreCutTo511Characters) {
    ASSERT_EQ(Open(), 1);
    const std::string name(600, 'd');
    WriteRedirectLog("Document Name = %s", name.c_str());
    WriteRedirectLog("%s", std::string(511, 'e').c_str());
    CloseLogFile();
    const std::string cut = ("Document Name = " + name).substr(0, 511);
    EXPECT_EQ(Log(), "[03/05/2024 09:04:07] " + cut + "\r\n[03/05/2024 09:04:07] " +
                         std::string(511, 'e') + "\r\n");
}

TEST_F(RedirectLogTest, AFailedWriteDoesNotStopTheNextLine) {
    ASSERT_EQ(Open(), 1);
    win::sim::failCall("WriteFile", win::err::writeFault, 3);
    WriteRedirectLog("lost");
    WriteRedirectLog("kept");
    CloseLogFile();
    EXPECT_EQ(Log(), "[03/05/2024 09:04:07] kept\r\n");
}

TEST_F(RedirectLogTest, OpeningAgainReleasesTheFirstFile) {
    ASSERT_EQ(Open(), 1);
    ASSERT_EQ(Open(), 1);
    WriteRedirectLog("once");
    CloseLogFile();
    EXPECT_EQ(win::sim::openResources().files, 0u);
    EXPECT_EQ(Log(), "[03/05/2024 09:04:07] once\r\n");
}

}  // namespace
}  // namespace monitor_test
