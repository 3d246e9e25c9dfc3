// printside's scenarios: what they parse to and what they write on the simulated machine.
#include "scenario.h"

#include <gtest/gtest.h>

#include "report.h"
#include "scenario_writer.h"
#include "win/sim/machine.h"

namespace {

using printside::parseScenario;
using printside::Scenario;
using printside::Step;

const std::string kPrinter = "SOFTWARE\\Korvanex Software LLC\\Office Printer";

Scenario parse(const std::string& json) {
    std::string error;
    std::optional<Scenario> scenario = parseScenario(json, ".", &error);
    EXPECT_TRUE(scenario.has_value()) << error;
    return scenario.value_or(Scenario{});
}

class ScenarioTest : public ::testing::Test {
  protected:
    void SetUp() override { win::sim::reset(); }

    void applyAll(const Scenario& scenario) {
        printside::StepPlayer player;
        for (const Step& step : scenario.steps) ASSERT_EQ(player.play(scenario, step, nullptr), 0);
    }
};

TEST_F(ScenarioTest, RejectsWhatIsNotAScenario) {
    struct Case {
        const char* json;
        const char* why;
    } cases[] = {
        {"{", "not JSON"},
        {R"({"job": 1})", "no printer"},
        {R"({"printer": "P"})", "no job"},
        {R"({"printer": "P", "job": 1, "steps": [{"at": 0}]})", "a step without a target"},
        {R"({"printer": "P", "job": 1, "steps": [{"job": {"X": {"binary": "abc"}}}]})", "odd hex"},
        {R"({"printer": "P", "job": 1, "steps": [{"job": {"X": [1, 2]}}]})", "an array value"},
        {R"({"printer": "P", "job": 2.2e41})", "a job number beyond 32 bits"},
        {R"({"printer": "P", "job": 3000000000})", "a job number above the signed range"},
        {R"({"printer": "P", "job": 1.5})", "a fraction"},
        {R"({"printer": "P", "job": 1, "steps": [{"at": -1, "job": {}}]})",
         "a time before the start"},
        {R"({"printer": "P", "job": 1, "steps": [{"job": {"X": {"size": 99999999999}}}]})",
         "a zero-filled value larger than any record"},
        {R"({"printer": "P", "job": 1, "steps": [{"createEvent": {"name": "E", "set": 3}}]})",
         "a number for a switch"},
        {R"({"printer": "P", "job": 1, "steps": [{"file": {"path": "x", "source": "/nonexistent/f"}}]})",
         "a missing source file"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parseScenario(c.json, ".", &error).has_value()) << c.why;
        EXPECT_FALSE(error.empty()) << c.why;
    }
}

TEST_F(ScenarioTest, CommandLineDefaultsToJobCommaPrinterAndStepsRunInTimeOrder) {
    Scenario s = parse(R"({"printer": "Office Printer", "job": 17, "steps": [
        {"at": 900, "job": {"Job Status": "Job Finished"}},
        {"at": 100, "forwarding": {"Ready": "Printing"}}]})");
    EXPECT_EQ(s.commandLine, "17,Office Printer");
    ASSERT_EQ(s.steps.size(), 2u);
    EXPECT_EQ(s.steps[0].atMs, 100u);
    EXPECT_EQ(s.steps[1].target, Step::Target::jobKey);
    EXPECT_EQ(parse(R"({"printer": "P", "job": 1, "commandLine": "17"})").commandLine, "17");
}

TEST_F(ScenarioTest, ReadyIsWrittenLastWhateverItsPlaceInTheFile) {
    Scenario s = parse(R"({"printer": "P", "job": 1, "steps": [
        {"job": {"Ready": "YES", "Server": "a.exe", "Flags": 1}}]})");
    ASSERT_EQ(s.steps.size(), 1u);
    ASSERT_EQ(s.steps[0].values.size(), 3u);
    EXPECT_EQ(s.steps[0].values.back().name, "Ready");
}

TEST_F(ScenarioTest, PageWritesItsFileThenTheDriversValues) {
    Scenario s = parse(R"({"printer": "Office Printer", "job": 17, "steps": [
        {"page": {"number": 2, "file": "C:\\Temp\\p2.emf", "content": "EMF!"}}]})");
    applyAll(s);
    std::string key = kPrinter + "\\Forwarding\\17_2";
    EXPECT_EQ(win::sim::fileRead("C:\\Temp\\p2.emf"), "EMF!");
    EXPECT_EQ(win::sim::regString(win::reg::currentUser, key, "Forwarding"), "C:\\Temp\\p2.emf");
    EXPECT_EQ(win::sim::regDword(win::reg::currentUser, key, "Size"), 4u);
    EXPECT_EQ(win::sim::regDword(win::reg::currentUser, key, "DevModeSize"), 6879u);
    auto devMode = win::sim::regValue(win::reg::currentUser, key, "DevMode");
    ASSERT_TRUE(devMode.has_value());
    EXPECT_EQ(devMode->type, win::reg::type::binary);
    EXPECT_EQ(devMode->data.size(), 6879u);
    EXPECT_EQ(win::sim::regString(win::reg::currentUser, key, "Ready"), "YES");
    EXPECT_EQ(win::sim::regValueNames(win::reg::currentUser, key).back(), "Ready");
}

TEST_F(ScenarioTest, PageValuesCanBeOverriddenAndOmitted) {
    Scenario s = parse(R"({"printer": "Office Printer", "job": 17, "steps": [
        {"page": {"number": 1, "file": "C:\\Temp\\p1.emf", "content": "x", "omit": ["Forwarding"],
                  "values": {"Ready": "Abort", "DevModeSize": 100}}}]})");
    applyAll(s);
    std::string key = kPrinter + "\\Forwarding\\17_1";
    EXPECT_FALSE(win::sim::regValue(win::reg::currentUser, key, "Forwarding").has_value());
    EXPECT_EQ(win::sim::regString(win::reg::currentUser, key, "Ready"), "Abort");
    EXPECT_EQ(win::sim::regDword(win::reg::currentUser, key, "DevModeSize"), 100u);
}

TEST_F(ScenarioTest, UnterminatedStringsAndBinaryValuesAreStoredAsGiven) {
    Scenario s = parse(R"({"printer": "Office Printer", "job": 17, "steps": [
        {"job": {"Server": {"string": "abc", "terminated": false}, "Blob": {"binary": "00ff10"}}}]})");
    applyAll(s);
    auto server = win::sim::regValue(win::reg::currentUser, kPrinter + "\\17", "Server");
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(server->data, std::string("a\0b\0c\0", 6));
    auto blob = win::sim::regValue(win::reg::currentUser, kPrinter + "\\17", "Blob");
    ASSERT_TRUE(blob.has_value());
    EXPECT_EQ(blob->data, std::string("\x00\xff\x10", 3));
}

TEST_F(ScenarioTest, RedirectSettingsListTheirPrintersAndTheReportReadsTheLog) {
    Scenario s = parse(R"({"printer": "Office Printer", "job": 17, "steps": [
        {"redirectSettings": {"path": "Office Printer\\RS", "Redirect Printing Log File": "C:\\Temp\\r.log",
                              "printers": ["A", "B"]}},
        {"forwarding": {"Ready": "Printing"}}]})");
    applyAll(s);
    std::string rs = "SOFTWARE\\Korvanex Software LLC\\Office Printer\\RS";
    EXPECT_EQ(win::sim::regDword(win::reg::currentUser, rs, "Printer count"), 2u);
    EXPECT_EQ(win::sim::regString(win::reg::currentUser, rs, "Printer 2"), "B");

    win::sim::fileWrite("C:\\Temp\\r.log", "line\r\n");
    printside::Report report = printside::takeReport(s);
    EXPECT_EQ(report.keys, (std::vector<std::string>{"Forwarding", "Forwarding\\17_0", "RS"}));
    EXPECT_TRUE(report.logExists);
    EXPECT_EQ(report.log, "line\r\n");
    EXPECT_EQ(win::sim::openResources().total(), 0u);
}

}  // namespace
