// The command line the printing side passes: "<job number>,<printer key name>".
#include "jobhost/monitor/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
    std::string commandLine;
    std::optional<int> job;  // nullopt: the command line is refused
    std::string printer;
};

TEST(CommandLineTest, JobNumberAndPrinterKeyName) {
    const Case cases[] = {
        {"17,Office Printer", 17, "Office Printer"},
        {"17", std::nullopt, ""},
        {"", std::nullopt, ""},
        {"17,Office,Printer", 17, "Office,Printer"},
        {" 17x,P", 17, "P"},
        {"\t\n 17,P", 17, "P"},
        {"abc,P", 0, "P"},
        {",P", 0, "P"},
        {"+17,P", 17, "P"},
        {"-17,P", -17, "P"},
        {"- 17,P", 0, "P"},
        {"--17,P", 0, "P"},
        {"2147483647,P", 2147483647, "P"},
        {"2147483648,P", 2147483647, "P"},
        {"99999999999999999999999999,P", 2147483647, "P"},
        {"-2147483648,P", -2147483647 - 1, "P"},
        {"-2147483649,P", -2147483647 - 1, "P"},
        {"-99999999999999999999999999,P", -2147483647 - 1, "P"},
        {"0017,P", 17, "P"},
        {"17,  Office  ", 17, "  Office  "},
        {"17,", std::nullopt, ""},
        {"17," + std::string(63, 'n'), 17, std::string(63, 'n')},
        {"17," + std::string(64, 'n'), std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.commandLine + "\"");
        JobCommandLine parsed;
        bool accepted = ParseJobCommandLine(c.commandLine.c_str(), &parsed);
        ASSERT_EQ(accepted, c.job.has_value());
        if (!accepted) continue;
        EXPECT_EQ(parsed.nJobNumber, *c.job);
        EXPECT_EQ(std::string(parsed.szPrinterKeyName), c.printer);
    }
}

TEST(CommandLineTest, NoCommandLineAtAll) {
    JobCommandLine parsed;
    EXPECT_FALSE(ParseJobCommandLine(nullptr, &parsed));
}

}  // namespace
