// The simulated machine's processes, events and shell beyond what both backends share: the
// scripted idle wait, waits in virtual time, the shell's table, faults and accounting.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "win/event.h"
#include "win/process.h"
#include "win/shell.h"
#include "win/sim/events.h"
#include "win/sim/machine.h"
#include "win/sim/processes.h"
#include "win/sim/shell_requests.h"

namespace {

namespace idle = win::process::idle;
namespace waitResult = win::event::waitResult;

class SimLaunchAreasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        win::sim::reset();
        win::sim::fileWrite("C:\\Tools\\report.exe", "MZ");
        win::sim::fileWrite("C:\\Tools\\other.exe", "MZ");
    }

    win::process::Info Start(const char* line) {
        win::process::Info info;
        EXPECT_TRUE(win::process::create(line, false, 0, nullptr, {}, &info)) << line;
        return info;
    }
};

TEST_F(SimLaunchAreasTest, IdleWaitTakesItsScriptedTime) {
    win::sim::setIdleWait("c:\\tools\\REPORT.exe", {700, idle::ready, 0});
    win::process::UniqueProcess report(Start("C:\\Tools\\report.exe"));
    win::process::UniqueProcess other(Start("C:\\Tools\\other.exe"));
    bool ranDuringWait = false;
    win::sim::at(300, [&] { ranDuringWait = true; });

    EXPECT_EQ(win::process::waitForInputIdle(report.get().process, win::process::infinite),
              idle::ready);
    EXPECT_EQ(win::sim::nowMs(), 700u);
    EXPECT_TRUE(ranDuringWait);
    // Other programs keep the machine's default: ready at once.
    EXPECT_EQ(win::process::waitForInputIdle(other.get().process, 0), idle::ready);
    EXPECT_EQ(win::sim::nowMs(), 700u);
}

TEST_F(SimLaunchAreasTest, IdleWaitEndsAtItsTimeLimit) {
    win::sim::setIdleWait({5000, idle::ready, 0});
    win::process::UniqueProcess report(Start("C:\\Tools\\report.exe"));
    EXPECT_EQ(win::process::waitForInputIdle(report.get().process, 1000), idle::timeout);
    EXPECT_EQ(win::sim::nowMs(), 1000u);
}

TEST_F(SimLaunchAreasTest, IdleWaitCanFailWithItsError) {
    win::sim::setIdleWait({0, idle::failed, win::err::accessDenied});
    win::process::UniqueProcess report(Start("C:\\Tools\\report.exe"));
    EXPECT_EQ(win::process::waitForInputIdle(report.get().process, 0), idle::failed);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::accessDenied));
    // A thread handle is no process.
    EXPECT_EQ(win::process::waitForInputIdle(report.get().thread, 0), idle::failed);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));
}

TEST_F(SimLaunchAreasTest, StartsAreRecordedWithTheirSettings) {
    // A bare name is looked for in this process's folder, not in the new one's.
    win::sim::fileWrite("C:\\sim\\report.exe", "MZ");
    win::sim::advance(250);
    win::process::StartupInfo startup{win::process::startf::useShowWindow,
                                      win::process::show::showMinimized};
    win::process::UniqueProcess process;
    ASSERT_TRUE(win::process::create("report /x", true, 0x10, "C:\\Tools", startup, process.put()));
    auto starts = win::sim::processStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "report /x");
    EXPECT_EQ(starts[0].program, "C:\\sim\\report.exe");
    EXPECT_EQ(starts[0].folder, std::optional<std::string>("C:\\Tools"));
    EXPECT_EQ(starts[0].startFolder, "C:\\Tools");
    EXPECT_TRUE(starts[0].inheritHandles);
    EXPECT_EQ(starts[0].creationFlags, 0x10u);
    EXPECT_EQ(starts[0].startupFlags, win::process::startf::useShowWindow);
    EXPECT_EQ(starts[0].showWindow, win::process::show::showMinimized);
    EXPECT_EQ(starts[0].processId, process.get().processId);
    EXPECT_EQ(starts[0].atMs, 250u);
}

TEST_F(SimLaunchAreasTest, BareProgramNamesAreSearchedAlongThePath) {
    // Not in the current folder, so "report" is not found there...
    win::process::Info info;
    EXPECT_FALSE(win::process::create("other", false, 0, nullptr, {}, &info));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::fileNotFound));
    // ...but in a folder of PATH.
    win::sim::envSet("PATH", "C:\\Nowhere;;C:\\Tools");
    win::process::UniqueProcess process(Start("other"));
    EXPECT_EQ(win::sim::processStarts().back().program, "C:\\Tools\\other.exe");
}

TEST_F(SimLaunchAreasTest, OpenHandlesAreAccounted) {
    win::process::Info info = Start("C:\\Tools\\report.exe");
    win::event::Handle event = win::event::create(true, false, "Acct");
    EXPECT_EQ(win::sim::openResources().others, 3u);
    EXPECT_EQ(win::sim::describeOpenResources().size(), 3u);
    win::process::close(info.process);
    win::process::close(info.thread);
    win::event::close(event);
    EXPECT_EQ(win::sim::openResources().total(), 0u);
    // Reset forgets whatever is left.
    Start("C:\\Tools\\report.exe");
    win::sim::eventCreate("Held", true, true);
    win::sim::reset();
    EXPECT_EQ(win::sim::openResources().total(), 0u);
    EXPECT_TRUE(win::sim::processStarts().empty());
    EXPECT_FALSE(win::sim::eventIsSet("Held").has_value());
}

TEST_F(SimLaunchAreasTest, ProcessFaultsFailTheCall) {
    win::sim::failCall("CreateProcess", win::err::notEnoughMemory);
    win::process::Info info;
    EXPECT_FALSE(win::process::create("C:\\Tools\\report.exe", false, 0, nullptr, {}, &info));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::notEnoughMemory));
    EXPECT_TRUE(win::sim::processStarts().empty());
    win::process::UniqueProcess process(Start("C:\\Tools\\report.exe"));
    win::sim::failCall("WaitForInputIdle", win::err::accessDenied);
    EXPECT_EQ(win::process::waitForInputIdle(process.get().process, 0), idle::failed);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::accessDenied));
}

TEST_F(SimLaunchAreasTest, EventWaitLetsVirtualTimePassUntilSet) {
    win::event::UniqueEvent event(win::event::create(false, false, "Ready"));
    win::event::UniqueEvent opened(
        win::event::open(win::event::access::modifyState, false, "Ready"));
    win::sim::at(1200, [&] { win::event::set(opened.get()); });
    EXPECT_EQ(win::event::wait(event.get(), 1000), waitResult::timeout);
    EXPECT_EQ(win::sim::nowMs(), 1000u);
    EXPECT_EQ(win::event::wait(event.get(), win::event::infinite), waitResult::signaled);
    EXPECT_EQ(win::sim::nowMs(), 1200u);
    EXPECT_EQ(win::sim::eventIsSet("Ready"), std::optional<bool>(false));  // auto-reset
}

TEST_F(SimLaunchAreasTest, EndlessWaitThatNothingCanEndFails) {
    win::event::UniqueEvent event(win::event::create(true, false, "Never"));
    EXPECT_EQ(win::event::wait(event.get(), win::event::infinite), waitResult::failed);
    EXPECT_NE(win::getLastError(), 0u);
}

TEST_F(SimLaunchAreasTest, EventsHeldByAnotherPartyLiveUntilItLetsGo) {
    win::sim::eventCreate("Other", true, true);
    {
        win::event::UniqueEvent event(
            win::event::open(win::event::access::modifyState, false, "Other"));
        ASSERT_TRUE(event);
        win::sim::eventRemove("Other");
        // Still there while this handle is open.
        EXPECT_EQ(win::sim::eventIsSet("Other"), std::optional<bool>(true));
        EXPECT_TRUE(win::event::reset(event.get()));
    }
    EXPECT_FALSE(win::sim::eventIsSet("Other").has_value());
    auto changes = win::sim::eventChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].name, "Other");
    EXPECT_EQ(changes[0].kind, win::sim::EventChange::Kind::reset);
}

TEST_F(SimLaunchAreasTest, EventFaultsFailTheCall) {
    win::sim::eventCreate("F", true, false);
    win::sim::failCall("OpenEvent", win::err::accessDenied);
    EXPECT_EQ(win::event::open(win::event::access::modifyState, false, "F"),
              win::event::Handle::none);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::accessDenied));
    win::event::UniqueEvent event(win::event::open(win::event::access::allAccess, false, "F"));
    win::sim::failCall("SetEvent", win::err::invalidHandle);
    EXPECT_FALSE(win::event::set(event.get()));
    win::sim::failCall("ResetEvent", win::err::invalidHandle);
    EXPECT_FALSE(win::event::reset(event.get()));
    win::sim::failCall("WaitForSingleObject", win::err::invalidHandle);
    EXPECT_EQ(win::event::wait(event.get(), 0), waitResult::failed);
    EXPECT_TRUE(win::sim::eventChanges().empty());
}

TEST_F(SimLaunchAreasTest, ShellAnswersFromItsTable) {
    win::sim::fileWrite("C:\\Docs\\a.PDF", "%PDF");
    win::sim::fileWrite("C:\\Docs\\b.rtf", "{");
    win::sim::shellSetType(".pdf", {{"open", 42}, {"print", 27}});
    win::sim::shellSetType(".rtf", {{"edit", 33}});
    struct Case {
        const char* verb;
        const char* file;
        const char* folder;
        std::intptr_t result;
    };
    for (const Case& c :
         {Case{"open", "C:\\Docs\\a.PDF", nullptr, 42},
          Case{"OPEN", "C:\\Docs\\a.pdf", nullptr, 42},
          Case{"print", "C:\\Docs\\a.pdf", nullptr, 27},
          Case{nullptr, "C:\\Docs\\a.pdf", nullptr, 42},
          Case{nullptr, "C:\\Docs\\b.rtf", nullptr, 33},  // its only verb
          Case{"open", "C:\\Docs\\b.rtf", nullptr, 31},
          Case{"open", "b.rtf", "C:\\Docs", 31},  // relative to the folder
          Case{"edit", "b.rtf", "C:\\Docs", 33}, Case{"open", "C:\\Docs", nullptr, 42},  // a folder
          Case{"explore", "C:\\Docs", nullptr, 42},
          Case{"open", "C:\\Tools\\report.exe", nullptr, 42}}) {
        EXPECT_EQ(win::shell::execute(c.verb, c.file, "p", c.folder, 1), c.result)
            << (c.verb ? c.verb : "(null)") << " " << c.file;
    }
    win::sim::shellRemoveType(".pdf");
    EXPECT_EQ(win::shell::execute("open", "C:\\Docs\\a.pdf", nullptr, nullptr, 1), 31);
}

TEST_F(SimLaunchAreasTest, ShellRecordsEveryRequestAndTakesFaults) {
    win::sim::advance(40);
    win::sim::failCall("ShellExecute", 29);
    EXPECT_EQ(win::shell::execute("open", "C:\\Tools\\report.exe", "\"x\"", "C:\\Tools", 8), 29);
    EXPECT_EQ(win::shell::execute(nullptr, "C:\\Tools\\report.exe", nullptr, nullptr, 5), 42);
    auto requests = win::sim::shellRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].verb, std::optional<std::string>("open"));
    EXPECT_EQ(requests[0].file, std::optional<std::string>("C:\\Tools\\report.exe"));
    EXPECT_EQ(requests[0].parameters, std::optional<std::string>("\"x\""));
    EXPECT_EQ(requests[0].folder, std::optional<std::string>("C:\\Tools"));
    EXPECT_EQ(requests[0].showCommand, 8);
    EXPECT_EQ(requests[0].result, 29);
    EXPECT_EQ(requests[0].atMs, 40u);
    EXPECT_FALSE(requests[1].verb.has_value());
    EXPECT_FALSE(requests[1].parameters.has_value());
    EXPECT_FALSE(requests[1].folder.has_value());
    EXPECT_EQ(requests[1].result, 42);
}

}  // namespace
