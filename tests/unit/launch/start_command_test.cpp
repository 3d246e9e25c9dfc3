// The working folder and the process command line made from the job key's start values.
#include "jobhost/launch/start_command.h"

#include <gtest/gtest.h>

#include <string>

#include "jobhost/launch/start_flags.h"

namespace {

struct FolderCase {
    const char* name;
    const char* application;
    int result;
    const char* folder;
};

class ApplicationFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ApplicationFolderTest, CutsAtLastBackslashElseLastColon) {
    const FolderCase& c = GetParam();
    char folder[START_APP_SERVER_SIZE] = "garbage";
    EXPECT_EQ(GetApplicationFolder(c.application, folder, sizeof folder), c.result);
    EXPECT_STREQ(folder, c.folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplicationFolderTest,
    ::testing::Values(FolderCase{"Backslash", "C:\\Tools\\report.exe", 1, "C:\\Tools"},
                      FolderCase{"DriveRoot", "C:\\report.exe", 1, "C:"},
                      FolderCase{"LastBackslashWins", "C:\\a\\b:c\\d.exe", 1, "C:\\a\\b:c"},
                      FolderCase{"ColonOnly", "C:report.exe", 1, "C"},
                      FolderCase{"Neither", "report.exe", 0, ""},
                      FolderCase{"LeadingBackslashOnly", "\\report.exe", 1, ""},
                      FolderCase{"QuoteKept", "\"C:\\Program Files\\Tool\\t.exe\"", 1,
                                 "\"C:\\Program Files\\Tool"},
                      FolderCase{"BlanksKept", "C:\\Program Files\\Report Tool\\report.exe", 1,
                                 "C:\\Program Files\\Report Tool"},
                      FolderCase{"Empty", "", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApplicationFolderTest, RefusesAFieldTooSmallAndNoApplication) {
    char folder[8] = "garbage";
    EXPECT_EQ(GetApplicationFolder("C:\\Tools\\report.exe", folder, sizeof folder), 0);
    EXPECT_STREQ(folder, "");
    char exact[9] = "garbage";  // "C:\Tools" and its terminator
    EXPECT_EQ(GetApplicationFolder("C:\\Tools\\report.exe", exact, sizeof exact), 1);
    EXPECT_STREQ(exact, "C:\\Tools");
    EXPECT_EQ(GetApplicationFolder(nullptr, folder, sizeof folder), 0);
    EXPECT_STREQ(folder, "");
    EXPECT_EQ(GetApplicationFolder("C:\\x.exe", nullptr, 10), 0);
}

struct LineCase {
    const char* name;
    const char* application;
    const char* commandLine;
    std::uint32_t flags;
    const char* line;
};

class ProcessCommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProcessCommandLineTest, Builds) {
    const LineCase& c = GetParam();
    char line[START_APP_PROCESS_LINE_SIZE];
    ASSERT_EQ(BuildProcessCommandLine(c.application, c.commandLine, c.flags, line, sizeof line), 1);
    EXPECT_STREQ(line, c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProcessCommandLineTest,
    ::testing::Values(
        LineCase{"WithoutArgumentsBit", "C:\\Tools\\report.exe", "/print job.pdf", 0x1,
                 "C:\\Tools\\report.exe"},
        LineCase{"WithArguments", "C:\\Tools\\report.exe", "/print job.pdf", 0x5,
                 "C:\\Tools\\report.exe /print job.pdf"},
        LineCase{"ArgumentsAsStored", "C:\\Tools\\report.exe", "  \"a b\"\t%1 ", 0x5,
                 "C:\\Tools\\report.exe   \"a b\"\t%1 "},
        LineCase{"EmptyArguments", "C:\\Tools\\report.exe", "", 0x5, "C:\\Tools\\report.exe "},
        LineCase{"NoArguments", "C:\\Tools\\report.exe", nullptr, 0x5, "C:\\Tools\\report.exe "},
        LineCase{"BlankQuoted", "C:\\Program Files\\Report Tool\\report.exe", "/p", 0x5,
                 "\"C:\\Program Files\\Report Tool\\report.exe\" /p"},
        LineCase{"BlankQuotedWithoutArguments", "C:\\Program Files\\Tool\\t.exe", "/p", 0x1,
                 "\"C:\\Program Files\\Tool\\t.exe\""},
        LineCase{"TabQuoted", "C:\\A\tB\\t.exe", nullptr, 0x1, "\"C:\\A\tB\\t.exe\""},
        LineCase{"AlreadyQuoted", "\"C:\\Program Files\\Tool\\t.exe\"", "/p", 0x5,
                 "\"C:\\Program Files\\Tool\\t.exe\" /p"},
        LineCase{"NoBlankNotQuoted", "report.exe", "x", 0x7, "report.exe x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcessCommandLineTest, LongestValuesFitTheirField) {
    std::string application = "C:\\" + std::string(START_APP_SERVER_SIZE - 5, 'a') + " ";
    std::string arguments(START_APP_COMMAND_LINE_SIZE - 1, 'b');
    ASSERT_EQ(application.size(), START_APP_SERVER_SIZE - 1);
    char line[START_APP_PROCESS_LINE_SIZE];
    ASSERT_EQ(BuildProcessCommandLine(application.c_str(), arguments.c_str(),
                                      START_APP_RUN | START_APP_PASS_ARGUMENTS, line, sizeof line),
              1);
    EXPECT_EQ(std::string(line), "\"" + application + "\" " + arguments);
}

TEST(ProcessCommandLineTest, RefusesWhatDoesNotFit) {
    char line[12] = "garbage";
    // 11 characters and the terminator fit; one more does not.
    EXPECT_EQ(BuildProcessCommandLine("a.exe", "12345", 0x5, line, sizeof line), 1);
    EXPECT_STREQ(line, "a.exe 12345");
    EXPECT_EQ(BuildProcessCommandLine("a.exe", "123456", 0x5, line, sizeof line), 0);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(BuildProcessCommandLine("C:\\a b.exe", nullptr, 0x1, line, sizeof line), 0);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(BuildProcessCommandLine(nullptr, "x", 0x5, line, sizeof line), 0);
    EXPECT_EQ(BuildProcessCommandLine("a.exe", "x", 0x5, nullptr, 100), 0);
}

}  // namespace
