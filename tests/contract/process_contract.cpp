// Process starts as the platform does them: how the command line names the program, the
// working folder, the errors, the handles.
#include <gtest/gtest.h>

#include <string>

#include "contract_support.h"
#include "win/file.h"
#include "win/process.h"
#include "win/time.h"
#if JH_SIM
#include "win/sim/machine.h"
#include "win/sim/processes.h"
#endif

namespace {

constexpr const char* kHostname = "C:\\windows\\system32\\hostname.exe";

bool CopyFile(const char* from, const char* to) {
    win::file::UniqueFile source(
        win::file::create(from, win::file::access::genericRead, win::file::share::read,
                          win::file::disposition::openExisting, win::file::attributeNormal));
    win::file::UniqueFile target(win::file::create(to, win::file::access::genericWrite, 0,
                                                   win::file::disposition::createAlways,
                                                   win::file::attributeNormal));
    if (!source || !target) return false;
    char buffer[65536];
    win::Dword got = 0;
    while (win::file::read(source.get(), buffer, sizeof buffer, &got) && got > 0) {
        win::Dword written = 0;
        if (!win::file::write(target.get(), buffer, got, &written) || written != got) return false;
    }
    return true;
}

// A started program may still hold its file for a moment.
void RemoveFile(const char* path) {
    for (int attempt = 0; attempt < 100 && !win::file::remove(path); ++attempt)
        win::time::sleep(100);
}

class ProcessContract : public contract::FileTest {
  protected:
    void SetUp() override {
        contract::FileTest::SetUp();
#if JH_SIM
        win::sim::fileWrite(kHostname, "MZ");
#endif
        startup_.flags = win::process::startf::useShowWindow;
        startup_.showWindow = win::process::show::hide;
    }

    bool Start(const char* line, const char* folder = nullptr) {
        win::process::Info info;
        if (!win::process::create(line, true, 0, folder, startup_, &info)) return false;
        win::process::waitForInputIdle(info.process, 10000);
        EXPECT_TRUE(win::process::close(info.thread));
        EXPECT_TRUE(win::process::close(info.process));
        return true;
    }

    win::process::StartupInfo startup_;
};

TEST_F(ProcessContract, StartsAProgramAndHandsOutItsHandles) {
    win::process::Info info;
    ASSERT_TRUE(win::process::create("C:\\windows\\system32\\hostname.exe", false, 0, nullptr,
                                     startup_, &info));
    EXPECT_NE(info.process, win::process::Handle::none);
    EXPECT_NE(info.thread, win::process::Handle::none);
    EXPECT_NE(info.process, info.thread);
    EXPECT_NE(info.processId, 0u);
    EXPECT_NE(info.threadId, 0u);
    EXPECT_TRUE(win::process::close(info.thread));
    EXPECT_TRUE(win::process::close(info.process));

    win::setLastError(0);
    EXPECT_FALSE(win::process::close(info.process));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));
#if JH_SIM
    EXPECT_EQ(win::sim::openResources().total(), 0u);
#endif
}

TEST_F(ProcessContract, FindsTheProgramByThePlatformRules) {
    for (const char* line :
         {"C:\\windows\\system32\\hostname.exe", "\"C:\\windows\\system32\\hostname.exe\" x",
          "C:\\windows\\system32\\hostname x y",  // ".exe" added
          "hostname", "HOSTNAME.EXE"})            // the system folder searched
        EXPECT_TRUE(Start(line)) << line << ": " << win::getLastError();
}

TEST_F(ProcessContract, ProgramThatDoesNotExistFailsWithFileNotFound) {
    for (const char* line : {"C:\\windows\\nothere.exe", "C:\\nothere\\x.exe x", "nothere.exe",
                             "\"C:\\windows\\system32\\hostname.exe x\"", ""}) {
        win::process::Info info;
        win::setLastError(0);
        EXPECT_FALSE(win::process::create(line, true, 0, nullptr, startup_, &info)) << line;
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::fileNotFound)) << line;
        EXPECT_EQ(info.process, win::process::Handle::none);
    }
}

TEST_F(ProcessContract, FileThatIsNoProgramFailsWithBadFormat) {
    const std::string path = tempPath("text.txt");
    const char* text = path.c_str();
    {
        win::file::UniqueFile file(win::file::create(text, win::file::access::genericWrite, 0,
                                                     win::file::disposition::createAlways,
                                                     win::file::attributeNormal));
        ASSERT_TRUE(file);
        win::Dword written = 0;
        ASSERT_TRUE(win::file::write(file.get(), "text", 4, &written));
    }
    win::process::Info info;
    EXPECT_FALSE(win::process::create(text, true, 0, nullptr, startup_, &info));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::badExeFormat));
}

TEST_F(ProcessContract, WorkingFolderMustBeAFolder) {
    EXPECT_TRUE(Start(kHostname, "C:\\windows"));
    EXPECT_TRUE(Start(kHostname, "C:"));
    for (const char* folder : {"C:\\nothere", "\"C:\\windows", kHostname, ""}) {
        win::process::Info info;
        win::setLastError(0);
        EXPECT_FALSE(win::process::create(kHostname, true, 0, folder, startup_, &info)) << folder;
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidDirectory)) << folder;
    }
}

TEST_F(ProcessContract, UnquotedLineWithBlanksTriesTheShortestPrefixFirst) {
    const std::string decoy = tempPath("Decoy.exe");
    const std::string stem = decoy.substr(0, decoy.size() - 4);
    ASSERT_TRUE(CopyFile(kHostname, decoy.c_str()));
    // Only the prefix up to the first blank names a program.
    EXPECT_TRUE(Start((decoy + " Tool\\report.exe").c_str()));
    const std::string line = stem + " Tool\\report.exe";
    EXPECT_TRUE(Start(line.c_str()));
    win::process::Info info;
    EXPECT_FALSE(
        win::process::create(("\"" + line + "\"").c_str(), true, 0, nullptr, startup_, &info));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::fileNotFound));
#if JH_SIM
    auto starts = win::sim::processStarts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].program, decoy);
    EXPECT_EQ(starts[1].commandLine, line);
#endif
    RemoveFile(decoy.c_str());
}

TEST_F(ProcessContract, IdleWaitOnAHandleThatIsNotOpenFails) {
    win::setLastError(0);
    EXPECT_EQ(win::process::waitForInputIdle(win::process::Handle::none, 0),
              win::process::idle::failed);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));

    win::process::Info info;
    ASSERT_TRUE(win::process::create(kHostname, true, 0, nullptr, startup_, &info));
    win::process::close(info.thread);
    win::process::close(info.process);
    win::setLastError(0);
    EXPECT_EQ(win::process::waitForInputIdle(info.process, 0), win::process::idle::failed);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));
}

TEST_F(ProcessContract, UniqueProcessClosesBothHandles) {
    win::process::Info copy;
    {
        win::process::UniqueProcess process;
        ASSERT_TRUE(win::process::create(kHostname, true, 0, nullptr, startup_, process.put()));
        copy = process.get();
    }
    EXPECT_FALSE(win::process::close(copy.thread));
    EXPECT_FALSE(win::process::close(copy.process));
}

}  // namespace
