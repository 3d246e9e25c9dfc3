// Whole jobs through printside on the simulated machine, with jobhost's production wiring.
#include <gtest/gtest.h>

#include <sstream>

#include "scenario.h"
#include "sim_runner.h"
#include "win/sim/events.h"
#include "win/sim/machine.h"
#include "win/sim/processes.h"
#include "win/sim/shell_requests.h"

namespace {

printside::Scenario load(const std::string& name) {
    std::string error;
    std::optional<printside::Scenario> scenario =
        printside::loadScenario(std::string(JH_EXAMPLES) + "/" + name, &error);
    EXPECT_TRUE(scenario.has_value()) << error;
    return scenario.value_or(printside::Scenario{});
}

TEST(JobFlowTest, TheDemoForwardsEveryPageAndLeavesOnlyTheSettings) {
    std::ostringstream out;
    EXPECT_EQ(printside::runOnSimulatedMachine(load("demo.json"), out), 0);
    std::string text = out.str();
    for (const char* line : {"Printing page: 1", "Printing page: 3", "Redirect printing finished.",
                             "key Forwarding\\17_3 gone", "jobhost ended with exit code 0"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(win::sim::regSubKeys(win::reg::currentUser,
                                   "SOFTWARE\\Korvanex Software LLC\\Office Printer"),
              (std::vector<std::string>{"Forwarding", "Redirect Settings"}));
    EXPECT_EQ(win::sim::openResources().total(), 0u)
        << ::testing::PrintToString(win::sim::describeOpenResources());
}

TEST(JobFlowTest, TheDriverWaitsForTheViewerBeforeItWritesThePages) {
    std::ostringstream out;
    EXPECT_EQ(printside::runOnSimulatedMachine(load("start-before-printing.json"), out), 0);

    std::vector<win::sim::ProcessStart> starts = win::sim::processStarts();
    ASSERT_EQ(starts.size(), 1u) << out.str();
    EXPECT_EQ(starts[0].commandLine, "\"C:\\Program Files\\Report Viewer\\viewer.exe\" /job 18");
    EXPECT_EQ(starts[0].startFolder, "C:\\Program Files\\Report Viewer");

    std::vector<win::sim::EventChange> changes = win::sim::eventChanges();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].kind, win::sim::EventChange::Kind::reset);
    EXPECT_EQ(changes[0].processesStarted, 0u);
    EXPECT_EQ(changes[1].kind, win::sim::EventChange::Kind::set);
    EXPECT_EQ(changes[1].processesStarted, 1u);
    // The printing side wrote forwarding key 0 only once the event was set.
    EXPECT_LT(out.str().find("is set"), out.str().find("forwarding key 0: printing"));

    std::vector<win::sim::ShellRequest> requests = win::sim::shellRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, "C:\\Program Files\\Mailer\\mailer32.exe");
    EXPECT_EQ(requests[0].parameters,
              "\"SOFTWARE\\Korvanex Software LLC\\Office Printer\\Email_TMP\\18\"");
    EXPECT_EQ(win::sim::regSubKeys(win::reg::currentUser,
                                   "SOFTWARE\\Korvanex Software LLC\\Office Printer"),
              (std::vector<std::string>{"Email_TMP", "Forwarding", "Redirect Settings"}));
}

}  // namespace
