// Shared set-up of the monitor tests: a fresh simulated machine, the job's key paths, and a
// check that every test released what it opened.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "win/sim/machine.h"

namespace monitor_test {

inline constexpr win::reg::Key kUser = win::reg::currentUser;
inline constexpr char kPrinter[] = "Office Printer";
inline constexpr int kJob = 17;
inline const std::string kPrinterKey = "SOFTWARE\\Korvanex Software LLC\\Office Printer";
inline const std::string kJobKey = kPrinterKey + "\\17";
inline const std::string kOptionSetKey = kPrinterKey + "\\Save As Option Settings\\17";
inline const std::string kSettingsRelative = "Redirect\\Office";
inline const std::string kSettingsKey = "SOFTWARE\\Korvanex Software LLC\\Redirect\\Office";

inline std::string ForwardingKey(int page) {
    return kPrinterKey + "\\Forwarding\\17_" + std::to_string(page);
}

class MonitorTest : public ::testing::Test {
  protected:
    void SetUp() override { win::sim::reset(); }
    void TearDown() override {
        win::sim::clearFaults();
        EXPECT_EQ(win::sim::openResources().total(), 0u)
            << ::testing::PrintToString(win::sim::describeOpenResources());
    }
};

}  // namespace monitor_test
