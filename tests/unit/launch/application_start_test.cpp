// Starting the user's application on the simulated machine: which process starts, how, and
// what happens to the messaging-interface event.
#include "jobhost/launch/application_start.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "jobhost/launch/start_command.h"
#include "win/process.h"
#include "win/sim/events.h"
#include "win/sim/machine.h"
#include "win/sim/processes.h"

namespace {

using win::sim::EventChange;

constexpr const char* kReport = "C:\\Tools\\report.exe";
constexpr const char* kEvent = "PrintSide_MI_17";

class ApplicationStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        win::sim::reset();
        win::sim::fileWrite(kReport, "MZ");
    }
    void TearDown() override {
        EXPECT_EQ(win::sim::openResources().total(), 0u)
            << ::testing::PrintToString(win::sim::describeOpenResources());
    }
};

struct FlagCase {
    const char* name;
    std::uint32_t flags;
    bool starts;
    const char* line;
    int show;
};

class StartFlagsTest : public ApplicationStartTest,
                       public ::testing::WithParamInterface<FlagCase> {};

TEST_P(StartFlagsTest, StartsAsTheFlagsSay) {
    const FlagCase& c = GetParam();
    win::sim::eventCreate(kEvent, true, true);
    StartApplication("/print job.pdf", kReport, c.flags, kEvent);
    auto starts = win::sim::processStarts();
    if (!c.starts) {
        EXPECT_TRUE(starts.empty());
        return;
    }
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, c.line);
    EXPECT_EQ(starts[0].program, kReport);
    EXPECT_EQ(starts[0].folder, std::optional<std::string>("C:\\Tools"));
    EXPECT_EQ(starts[0].startupFlags, win::process::startf::useShowWindow);
    EXPECT_EQ(starts[0].showWindow, c.show);
    EXPECT_TRUE(starts[0].inheritHandles);
    EXPECT_EQ(starts[0].creationFlags, 0u);
    // Without the before-printing bit the event is not touched.
    EXPECT_TRUE(win::sim::eventChanges().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Flags, StartFlagsTest,
    ::testing::Values(FlagCase{"BeforePrintingAloneStartsNothing", 0x2, false, "", 0},
                      FlagCase{"NoBits", 0x0, false, "", 0},
                      FlagCase{"ArgumentsAloneStartNothing", 0x34, false, "", 0},
                      FlagCase{"RunWithoutArguments", 0x1, true, "C:\\Tools\\report.exe",
                               win::process::show::show},
                      FlagCase{"RunWithArguments", 0x5, true,
                               "C:\\Tools\\report.exe /print job.pdf", win::process::show::show},
                      FlagCase{"HiddenWinsOverMinimised", 0x31, true, "C:\\Tools\\report.exe",
                               win::process::show::hide},
                      FlagCase{"Hidden", 0x21, true, "C:\\Tools\\report.exe",
                               win::process::show::hide},
                      FlagCase{"Minimised", 0x11, true, "C:\\Tools\\report.exe",
                               win::process::show::showMinimized},
                      FlagCase{"OtherBitsIgnored", 0xFFFFFF49, true, "C:\\Tools\\report.exe",
                               win::process::show::show}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationStartTest, BeforePrintingAloneLeavesTheEventAlone) {
    win::sim::eventCreate(kEvent, true, true);
    StartApplication("", kReport, 0x2, kEvent);
    EXPECT_TRUE(win::sim::eventChanges().empty());
    EXPECT_EQ(win::sim::eventIsSet(kEvent), std::optional<bool>(true));
}

TEST_F(ApplicationStartTest, EventIsResetBeforeTheStartAndSetOnceTheProgramIsIdle) {
    win::sim::eventCreate(kEvent, true, true);
    win::sim::setIdleWait(kReport, {800, win::process::idle::ready, 0});
    std::optional<bool> duringWait;
    win::sim::at(400, [&] { duringWait = win::sim::eventIsSet(kEvent); });

    StartApplication("", kReport, 0x3, kEvent);

    auto starts = win::sim::processStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].atMs, 0u);
    auto changes = win::sim::eventChanges();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].name, kEvent);
    EXPECT_EQ(changes[0].kind, EventChange::Kind::reset);
    EXPECT_EQ(changes[0].processesStarted, 0u);
    EXPECT_EQ(changes[1].kind, EventChange::Kind::set);
    EXPECT_EQ(changes[1].processesStarted, 1u);
    EXPECT_EQ(changes[1].atMs, 800u);
    EXPECT_EQ(duringWait, std::optional<bool>(false));
    EXPECT_EQ(win::sim::eventIsSet(kEvent), std::optional<bool>(true));
}

TEST_F(ApplicationStartTest, EventWithoutAnObjectStartsTheProgramAllTheSame) {
    StartApplication("", kReport, 0x3, kEvent);
    EXPECT_EQ(win::sim::processStarts().size(), 1u);
    EXPECT_TRUE(win::sim::eventChanges().empty());
    EXPECT_FALSE(win::sim::eventIsSet(kEvent).has_value());
}

TEST_F(ApplicationStartTest, NoEventNameStartsWithoutSignalling) {
    win::sim::eventCreate(kEvent, true, false);
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        StartApplication("", kReport, 0x3, name);
    }
    EXPECT_EQ(win::sim::processStarts().size(), 2u);
    EXPECT_TRUE(win::sim::eventChanges().empty());
}

TEST_F(ApplicationStartTest, EventNamesAreExact) {
    win::sim::eventCreate(kEvent, true, false);
    StartApplication("", kReport, 0x3, "printside_mi_17");
    EXPECT_EQ(win::sim::processStarts().size(), 1u);
    EXPECT_TRUE(win::sim::eventChanges().empty());
}

TEST_F(ApplicationStartTest, ProgramThatCannotStartLeavesTheEventReset) {
    win::sim::eventCreate(kEvent, true, true);
    StartApplication("", "C:\\Tools\\missing.exe", 0x3, kEvent);
    EXPECT_TRUE(win::sim::processStarts().empty());
    auto changes = win::sim::eventChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, EventChange::Kind::reset);
    EXPECT_EQ(win::sim::eventIsSet(kEvent), std::optional<bool>(false));
}

TEST_F(ApplicationStartTest, FailedProcessCreationLeavesTheEventReset) {
    win::sim::eventCreate(kEvent, true, true);
    win::sim::failCall("CreateProcess", win::err::accessDenied);
    StartApplication("", kReport, 0x3, kEvent);
    EXPECT_TRUE(win::sim::processStarts().empty());
    EXPECT_EQ(win::sim::eventIsSet(kEvent), std::optional<bool>(false));
}

TEST_F(ApplicationStartTest, EventIsSetEvenWhenTheIdleWaitFails) {
    win::sim::eventCreate(kEvent, true, true);
    win::sim::setIdleWait({0, win::process::idle::failed, win::err::accessDenied});
    StartApplication("", kReport, 0x3, kEvent);
    EXPECT_EQ(win::sim::processStarts().size(), 1u);
    EXPECT_EQ(win::sim::eventIsSet(kEvent), std::optional<bool>(true));
}

TEST_F(ApplicationStartTest, EventThatCannotBeOpenedIsNotSignalled) {
    win::sim::eventCreate(kEvent, true, false);
    win::sim::failCall("OpenEvent", win::err::accessDenied);
    StartApplication("", kReport, 0x3, kEvent);
    EXPECT_EQ(win::sim::processStarts().size(), 1u);
    EXPECT_TRUE(win::sim::eventChanges().empty());
}

TEST_F(ApplicationStartTest, ProgramPathWithBlanksIsQuotedSoTheRightProgramStarts) {
    const std::string tool = "C:\\Program Files\\Report Tool\\report.exe";
    win::sim::fileWrite(tool, "MZ");
    // Taken unquoted, the line would start these first.
    win::sim::fileWrite("C:\\Program.exe", "MZ");
    win::sim::fileWrite("C:\\Program Files\\Report.exe", "MZ");
    StartApplication("/print job.pdf", tool.c_str(), 0x5, nullptr);
    auto starts = win::sim::processStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, tool);
    EXPECT_EQ(starts[0].commandLine, "\"" + tool + "\" /print job.pdf");
    EXPECT_EQ(starts[0].folder, std::optional<std::string>("C:\\Program Files\\Report Tool"));
}

struct WorkingFolderCase {
    const char* name;
    const char* application;
    const char* program;
    std::optional<std::string> folder;
    const char* startFolder;
};

class WorkingFolderTest : public ApplicationStartTest,
                          public ::testing::WithParamInterface<WorkingFolderCase> {};

TEST_P(WorkingFolderTest, StartsInTheFolderOfTheServerValue) {
    const WorkingFolderCase& c = GetParam();
    win::sim::fileWrite(c.program, "MZ");
    win::sim::folderCreate("C:\\sim\\C");
    StartApplication("", c.application, 0x1, nullptr);
    auto starts = win::sim::processStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, c.program);
    EXPECT_EQ(starts[0].folder, c.folder);
    EXPECT_EQ(starts[0].startFolder, c.startFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, WorkingFolderTest,
    ::testing::Values(
        WorkingFolderCase{"Backslash", "C:\\Tools\\report.exe", "C:\\Tools\\report.exe",
                          "C:\\Tools", "C:\\Tools"},
        WorkingFolderCase{"RootBackslash", "C:\\report.exe", "C:\\report.exe", "C:", "C:\\"},
        // The colon goes with what follows it, so the folder is a relative "C".
        WorkingFolderCase{"ColonOnly", "C:report.exe", "C:\\report.exe", "C", "C:\\sim\\C"},
        WorkingFolderCase{"Neither", "report.exe", "C:\\sim\\report.exe", std::nullopt, "C:\\sim"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationStartTest, QuotedServerKeepsTheQuoteInItsFolderAndCannotStart) {
    // The folder "C:\Tools (with its quote) is not a folder, so the start fails as it does on
    // the platform, and the waiting party's event stays reset.
    win::sim::eventCreate(kEvent, true, true);
    StartApplication("", "\"C:\\Tools\\report.exe\"", 0x3, kEvent);
    EXPECT_TRUE(win::sim::processStarts().empty());
    EXPECT_EQ(win::sim::eventIsSet(kEvent), std::optional<bool>(false));
}

TEST_F(ApplicationStartTest, ValuesLongerThanTheirFieldsStartNothing) {
    win::sim::eventCreate(kEvent, true, true);
    std::string longServer = "C:\\Tools\\" + std::string(300, 'a') + ".exe";
    win::sim::fileWrite(longServer, "MZ");
    StartApplication("", longServer.c_str(), 0x3, kEvent);
    std::string longArguments(START_APP_COMMAND_LINE_SIZE, 'b');
    StartApplication(longArguments.c_str(), kReport, 0x7, kEvent);
    EXPECT_TRUE(win::sim::processStarts().empty());
    EXPECT_TRUE(win::sim::eventChanges().empty());

    // Arguments that are not passed do not matter.
    StartApplication(longArguments.c_str(), kReport, 0x1, nullptr);
    EXPECT_EQ(win::sim::processStarts().size(), 1u);
}

TEST_F(ApplicationStartTest, OverlongEventNameStartsWithoutSignalling) {
    std::string longName(300, 'e');
    StartApplication("", kReport, 0x3, longName.c_str());
    EXPECT_EQ(win::sim::processStarts().size(), 1u);
    EXPECT_TRUE(win::sim::eventChanges().empty());
}

TEST_F(ApplicationStartTest, NoApplicationStartsNothing) {
    StartApplication("", nullptr, 0x5, nullptr);
    StartApplication("", "", 0x5, nullptr);
    EXPECT_TRUE(win::sim::processStarts().empty());
}

}  // namespace
