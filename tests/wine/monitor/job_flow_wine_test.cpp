// One whole job through printside and the real jobhost.exe: the application started before
// printing with the printing side waiting on its event, the pages, and the e-mail hand-over
// after the job finished.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "scenario.h"
#include "win/environment.h"
#include "win/file.h"
#include "win/registry.h"
#include "win/time.h"
#include "win_runner.h"
#include "wine_support.h"

namespace {

using namespace wine_support;

constexpr const char* kPrinter = "jhw_flow";
constexpr const char* kEvent = "JhFlowTest_MI_31";

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

bool keyExists(const std::string& below) {
    std::string path = std::string(printside::kVendorKey) + "\\" + kPrinter + "\\" + below;
    win::reg::UniqueKey key;
    return win::reg::openKey(win::reg::currentUser, path.c_str(), win::reg::access::read,
                             key.put()) == 0;
}

class JobFlowUnderWine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            win::env::setVariable("JH_HELPER_RECORD_DIR", (HelpersFolder() + "\\records").c_str()));
        win::env::setVariable("JH_HELPER_EVENT", kEvent);
        win::env::setVariable("JH_HELPER_DELAY_MS", "300");
        win::env::setVariable("JH_HELPER_LIFETIME_MS", "3000");
        for (const char* program : {"app", "mailer32", "mailer64"})
            win::file::remove(RecordPath(program).c_str());
        cleanUp();
    }
    void TearDown() override {
        cleanUp();
        win::env::setVariable("JH_HELPER_EVENT", nullptr);
        win::env::setVariable("JH_HELPER_DELAY_MS", nullptr);
    }
    void cleanUp() {
        DeleteTree(win::reg::currentUser, std::string(printside::kVendorKey) + "\\" + kPrinter);
    }
};

// jobhost deletes the job key right after the start before printing, so the printing side
// writes the post-print values well after that.
TEST_F(JobFlowUnderWine, StartsTheApplicationBeforePrintingAndMailsTheJobAfterIt) {
    std::string folder = escaped(HelpersFolder());
    std::string json = R"({"printer": "jhw_flow", "job": 31, "steps": [
        {"beforeStart": true, "createEvent": {"name": "JhFlowTest_MI_31"}},
        {"beforeStart": true, "redirectSettings": {"path": "jhw_flow\\RS", "Printer count": 0}},
        {"beforeStart": true, "key": {"path": "jhw_flow\\Email_TMP\\31",
            "values": {"Email sending program 32bit": "FOLDER\\mailer32.exe"}}},
        {"beforeStart": true, "job": {"Server": "FOLDER\\app.exe", "Command Line": "/job 31", "Flags": 7,
            "MessagingInterface": "JhFlowTest_MI_31", "Ready": "YES"}},
        {"waitEvent": {"name": "JhFlowTest_MI_31", "timeoutMs": 20000}},
        {"forwarding": {"DOCUMENT NAME": "Flow", "REDIRECT INFO REGISTRY PATH": "jhw_flow\\RS", "Ready": "Printing"}},
        {"page": {"number": 1, "file": "FOLDER\\records\\flow_31_1.emf", "content": "one"}},
        {"forwarding": {"PAGENUMBER": 1, "Ready": "YES"}},
        {"at": 2500, "job": {"Post Print Flags": 2, "Ready": "NO"}},
        {"at": 2600, "job": {"Job Status": "Job Finished"}}]})";
    for (std::size_t at = json.find("FOLDER"); at != std::string::npos;
         at = json.find("FOLDER", at))
        json.replace(at, 6, folder);
    std::string error;
    std::optional<printside::Scenario> scenario = printside::parseScenario(json, ".", &error);
    ASSERT_TRUE(scenario.has_value()) << error;

    std::vector<printside::JobRun> runs =
        printside::runJobs({*scenario}, "jobhost.exe", 60000, nullptr);
    ASSERT_TRUE(runs[0].started);
    EXPECT_TRUE(runs[0].ended);
    EXPECT_EQ(runs[0].exitCode, 0u);

    // The application saw its event reset while it started: jobhost set it only once it was idle,
    // and the printing side went on after that.
    std::optional<Record> app = AwaitRecord("app");
    ASSERT_TRUE(app.has_value());
    EXPECT_NE((*app)["command_line"].find("app.exe /job 31"), std::string::npos)
        << (*app)["command_line"];
    EXPECT_EQ((*app)["event_before_loop"], "reset");

    std::optional<Record> mailer = AwaitRecord("mailer32");
    ASSERT_TRUE(mailer.has_value());
    EXPECT_NE((*mailer)["command_line"].find(
                  "\"SOFTWARE\\Korvanex Software LLC\\jhw_flow\\Email_TMP\\31\""),
              std::string::npos)
        << (*mailer)["command_line"];

    EXPECT_FALSE(keyExists("31"));
    EXPECT_FALSE(keyExists("Forwarding\\31_0"));
    EXPECT_FALSE(keyExists("Forwarding\\31_1"));
    EXPECT_TRUE(keyExists("Email_TMP\\31"));
    EXPECT_EQ(win::file::getAttributes((HelpersFolder() + "\\records\\flow_31_1.emf").c_str()),
              win::file::invalidAttributes);
}

}  // namespace
