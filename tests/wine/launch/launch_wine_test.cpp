// Application start and post-print actions with real processes: the helper program records how
// it was started, and its message loop makes the wait for input idle real.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "jobhost/launch/application_start.h"
#include "jobhost/launch/post_print.h"
#include "win/environment.h"
#include "win/event.h"
#include "win/file.h"
#include "win/process.h"
#include "win/registry.h"
#include "win/shell.h"
#include "win/time.h"
#include "wine_support.h"

namespace {

using namespace wine_support;

constexpr const char* kPrinter = "Office Printer";
constexpr int kJob = 17;
constexpr const char* kJobKey = "SOFTWARE\\Korvanex Software LLC\\Office Printer\\17";
constexpr const char* kEmailKey = "SOFTWARE\\Korvanex Software LLC\\Office Printer\\Email_TMP\\17";
constexpr const char* kSharePointKey =
    "SOFTWARE\\Korvanex Software LLC\\Office Printer\\SharePoint_TMP\\17";
constexpr const char* kEvent = "JhLaunchTest_MI_17";

std::string Helper(const std::string& name) {
    return HelpersFolder() + "\\" + name;
}

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

void SetString(win::reg::Key root, const std::string& path, const char* name,
               const std::string& value) {
    win::reg::UniqueKey key;
    ASSERT_EQ(win::reg::createKey(root, path.c_str(), win::reg::access::write, key.put(), nullptr),
              0)
        << path;
    ASSERT_EQ(win::reg::setValue(key.get(), name, win::reg::type::sz, value.c_str(),
                                 win::Dword(value.size() + 1)),
              0);
}

// Deletes the keys in the order given, the deepest first.
void DeleteKeys(win::reg::Key root, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) win::reg::deleteKey(root, path.c_str());
}

void WriteFile(const std::string& path, const std::string& content) {
    win::file::UniqueFile file(win::file::create(path.c_str(), win::file::access::genericWrite, 0,
                                                 win::file::disposition::createAlways,
                                                 win::file::attributeNormal));
    ASSERT_TRUE(file) << path;
    win::Dword written = 0;
    ASSERT_TRUE(win::file::write(file.get(), content.data(), win::Dword(content.size()), &written));
}

class LaunchWineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string records = HelpersFolder() + "\\records";
        ASSERT_TRUE(win::env::setVariable("JH_HELPER_RECORD_DIR", records.c_str()));
        win::env::setVariable("JH_HELPER_EVENT", nullptr);
        win::env::setVariable("JH_HELPER_DELAY_MS", nullptr);
        win::env::setVariable("JH_HELPER_LIFETIME_MS", "3000");
        for (const char* program :
             {"app", "viewer", "editor", "mailer32", "mailer64", "uploader", "Report", "tool"})
            win::file::remove(RecordPath(program).c_str());
    }
    void TearDown() override {
        DeleteKeys(
            win::reg::currentUser,
            {kJobKey, kEmailKey, kSharePointKey,
             "SOFTWARE\\Korvanex Software LLC\\Office Printer\\Email_TMP",
             "SOFTWARE\\Korvanex Software LLC\\Office Printer\\SharePoint_TMP",
             "SOFTWARE\\Korvanex Software LLC\\Office Printer", "SOFTWARE\\Korvanex Software LLC"});
    }
};

TEST_F(LaunchWineTest, WaitingPartyGoesOnOnceTheProgramIsIdle) {
    win::env::setVariable("JH_HELPER_EVENT", kEvent);
    win::env::setVariable("JH_HELPER_DELAY_MS", "500");
    // As the printing side does: create the event, then wait for it.
    win::event::UniqueEvent event(win::event::create(true, false, kEvent));
    ASSERT_TRUE(event);

    std::string app = Helper("app.exe");
    std::thread jobhost(
        [&] { StartApplication("--job 17 \"two words\"", app.c_str(), 0x7, kEvent); });
    win::Dword waited = win::event::wait(event.get(), 60000);
    // Written just before the program's message loop, so it is there once the event is set.
    std::optional<Record> record = ReadRecord("app");
    jobhost.join();

    ASSERT_EQ(waited, win::event::waitResult::signaled);
    ASSERT_TRUE(record);
    EXPECT_EQ((*record)["command_line"], app + " --job 17 \"two words\"");
    EXPECT_EQ((*record)["folder"], HelpersFolder());
    EXPECT_EQ((*record)["show"], "5");
    EXPECT_EQ((*record)["event_at_start"], "reset");
    EXPECT_EQ((*record)["event_before_loop"], "reset");
}

TEST_F(LaunchWineTest, EventLeftSetIsResetBeforeTheStartAndSetAgainAfterIt) {
    win::env::setVariable("JH_HELPER_EVENT", kEvent);
    win::event::UniqueEvent event(win::event::create(true, true, kEvent));
    ASSERT_TRUE(event);
    std::string app = Helper("app.exe");
    StartApplication("", app.c_str(), 0x3, kEvent);
    EXPECT_EQ(win::event::wait(event.get(), 0), win::event::waitResult::signaled);
    std::optional<Record> record = ReadRecord("app");
    ASSERT_TRUE(record);
    EXPECT_EQ((*record)["event_at_start"], "reset");
    EXPECT_EQ((*record)["command_line"], app);
}

TEST_F(LaunchWineTest, ProgramThatCannotStartLeavesTheEventReset) {
    win::event::UniqueEvent event(win::event::create(true, true, kEvent));
    ASSERT_TRUE(event);
    std::string missing = Helper("missing.exe");
    StartApplication("", missing.c_str(), 0x3, kEvent);
    EXPECT_EQ(win::event::wait(event.get(), 0), win::event::waitResult::timeout);
}

TEST_F(LaunchWineTest, QuotedServerKeepsTheQuoteInItsFolderAndDoesNotStart) {
    win::event::UniqueEvent event(win::event::create(true, true, kEvent));
    ASSERT_TRUE(event);
    std::string quoted = Quoted(Helper("app.exe"));
    StartApplication("", quoted.c_str(), 0x3, kEvent);
    EXPECT_EQ(win::event::wait(event.get(), 0), win::event::waitResult::timeout);
    EXPECT_FALSE(ReadRecord("app"));
}

struct ShowCase {
    std::uint32_t flags;
    const char* show;
    const char* commandLineTail;
};

class StartShowTest : public LaunchWineTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(StartShowTest, ShowsTheWindowAsTheFlagsSay) {
    const ShowCase& c = GetParam();
    std::string app = Helper("app.exe");
    StartApplication("/print job.pdf", app.c_str(), c.flags, nullptr);
    std::optional<Record> record = ReadRecord("app");
    ASSERT_TRUE(record);
    EXPECT_EQ((*record)["show"], c.show);
    EXPECT_EQ((*record)["command_line"], app + c.commandLineTail);
}

INSTANTIATE_TEST_SUITE_P(Flags, StartShowTest,
                         ::testing::Values(ShowCase{0x1, "5", ""}, ShowCase{0x11, "2", ""},
                                           ShowCase{0x31, "0", ""},
                                           ShowCase{0x25, "0", " /print job.pdf"}));

TEST_F(LaunchWineTest, ProgramPathWithBlankStartsThatProgramNotTheDecoy) {
    std::string tool = Helper("Report Tool\\tool.exe");
    StartApplication("/print job.pdf", tool.c_str(), 0x5, nullptr);
    std::optional<Record> record = ReadRecord("tool");
    ASSERT_TRUE(record);
    EXPECT_EQ((*record)["module"], tool);
    EXPECT_EQ((*record)["command_line"], Quoted(tool) + " /print job.pdf");
    EXPECT_EQ((*record)["folder"], Helper("Report Tool"));
    EXPECT_FALSE(ReadRecord("Report"));
}

TEST_F(LaunchWineTest, UnquotedPathWithBlankStartsTheDecoy) {
    // What the quoting prevents: the platform tries the shortest prefix first.
    std::string line = Helper("Report Tool\\tool.exe") + " /print job.pdf";
    win::process::StartupInfo startup;
    win::process::UniqueProcess process;
    ASSERT_TRUE(win::process::create(line.c_str(), true, 0, nullptr, startup, process.put()));
    win::process::waitForInputIdle(process.get().process, 30000);
    std::optional<Record> decoy = AwaitRecord("Report");
    ASSERT_TRUE(decoy);
    EXPECT_EQ((*decoy)["module"], Helper("Report.exe"));
    EXPECT_FALSE(ReadRecord("tool"));
}

class PostPrintWineTest : public LaunchWineTest {
  protected:
    void SetUp() override {
        LaunchWineTest::SetUp();
        RegisterType(".jhlview", "JhLaunch.ViewFile", "open", Helper("viewer.exe"));
        RegisterType(".jhledit", "JhLaunch.EditFile", "edit", Helper("editor.exe"));
    }
    void TearDown() override {
        for (const auto& [extension, type, verb] : registered_)
            DeleteKeys(win::reg::classesRoot,
                       {type + "\\shell\\" + verb + "\\command", type + "\\shell\\" + verb,
                        type + "\\shell", type, extension});
        DeleteKeys(win::reg::currentUser, {"Software\\Clients\\Mail"});
        DeleteKeys(win::reg::localMachine,
                   {"Software\\Microsoft\\Office\\14.0\\Outlook",
                    "Software\\Microsoft\\Office\\14.0", "Software\\Microsoft\\Office"});
        LaunchWineTest::TearDown();
    }

    // Only HKEY_CLASSES_ROOT itself counts for the shell here.
    void RegisterType(const std::string& extension, const std::string& type,
                      const std::string& verb, const std::string& program) {
        SetString(win::reg::classesRoot, extension, "", type);
        SetString(win::reg::classesRoot, type + "\\shell\\" + verb + "\\command", "",
                  Quoted(program) + " \"%1\"");
        registered_.push_back({extension, type, verb});
    }

    struct Registered {
        std::string extension, type, verb;
    };
    std::vector<Registered> registered_;
};

TEST_F(PostPrintWineTest, OpensTheOutputFileWithItsOpenProgram) {
    std::string output = HelpersFolder() + "\\records\\job 17.jhlview";
    WriteFile(output, "page");
    SetString(win::reg::currentUser, kJobKey, "Output Filename", output);
    StartPostPrintSteps(kJob, kPrinter, 0x4);
    std::optional<Record> record = AwaitRecord("viewer");
    ASSERT_TRUE(record);
    EXPECT_NE((*record)["command_line"].find(Quoted(output)), std::string::npos)
        << (*record)["command_line"];
    EXPECT_EQ((*record)["show"], "5");
    EXPECT_FALSE(ReadRecord("editor"));
}

TEST_F(PostPrintWineTest, FileTypeWithOnlyAnEditProgramIsOpenedForEditing) {
    std::string output = HelpersFolder() + "\\records\\job.jhledit";
    WriteFile(output, "page");
    // The shell answers "open" for such a type with no association.
    EXPECT_EQ(win::shell::execute("open", output.c_str(), nullptr, nullptr, 5),
              win::shell::result::noAssociation);
    SetString(win::reg::currentUser, kJobKey, "Output Filename", output);
    StartPostPrintSteps(kJob, kPrinter, 0x4);
    std::optional<Record> record = AwaitRecord("editor");
    ASSERT_TRUE(record);
    EXPECT_NE((*record)["command_line"].find(output), std::string::npos)
        << (*record)["command_line"];
}

TEST_F(PostPrintWineTest, EmailAndSharePointProgramsGetTheirQuotedKeyPaths) {
    SetString(win::reg::currentUser, kEmailKey, "Email sending program 32bit",
              Helper("mailer32.exe"));
    SetString(win::reg::currentUser, kEmailKey, "Email sending program 64bit",
              Helper("mailer64.exe"));
    SetString(win::reg::currentUser, kSharePointKey, "SharePoint utility", Helper("uploader.exe"));
    StartPostPrintSteps(kJob, kPrinter, 0xA);

    std::optional<Record> mailer = AwaitRecord("mailer32");
    ASSERT_TRUE(mailer);
    const std::string emailParameters = Quoted(kEmailKey);
    const std::string& mailLine = (*mailer)["command_line"];
    ASSERT_GE(mailLine.size(), emailParameters.size());
    EXPECT_EQ(mailLine.substr(mailLine.size() - emailParameters.size()), emailParameters)
        << mailLine;
    EXPECT_EQ((*mailer)["show"], "5");

    std::optional<Record> uploader = AwaitRecord("uploader");
    ASSERT_TRUE(uploader);
    const std::string uploadParameters = Quoted(kSharePointKey);
    const std::string& uploadLine = (*uploader)["command_line"];
    ASSERT_GE(uploadLine.size(), uploadParameters.size());
    EXPECT_EQ(uploadLine.substr(uploadLine.size() - uploadParameters.size()), uploadParameters)
        << uploadLine;
    EXPECT_FALSE(ReadRecord("mailer64"));
}

TEST_F(PostPrintWineTest, SixtyFourBitOutlookGetsTheSixtyFourBitMailer) {
    SetString(win::reg::currentUser, "Software\\Clients\\Mail", "", "Microsoft Outlook");
    SetString(win::reg::localMachine, "Software\\Microsoft\\Office\\14.0\\Outlook", "Bitness",
              "x64");
    SetString(win::reg::currentUser, kEmailKey, "Email sending program 32bit",
              Helper("mailer32.exe"));
    SetString(win::reg::currentUser, kEmailKey, "Email sending program 64bit",
              Helper("mailer64.exe"));
    StartPostPrintSteps(kJob, kPrinter, 0x2);
    EXPECT_TRUE(AwaitRecord("mailer64"));
    EXPECT_FALSE(ReadRecord("mailer32"));
}

}  // namespace
