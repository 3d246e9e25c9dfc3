// The virtual clock: sleeping moves time at once and runs what became due, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/sim/machine.h"
#include "win/time.h"

namespace {

class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override { win::sim::reset(); }
};

TEST_F(ClockTest, SleepRunsDueActionsAtTheirTimesInScheduleOrder) {
    std::vector<std::string> seen;
    win::sim::at(700, [&] { seen.push_back("b@" + std::to_string(win::sim::nowMs())); });
    win::sim::at(200, [&] { seen.push_back("a@" + std::to_string(win::sim::nowMs())); });
    win::sim::at(700, [&] { seen.push_back("c@" + std::to_string(win::sim::nowMs())); });
    win::sim::at(1500, [&] { seen.push_back("late"); });

    win::time::sleep(500);
    EXPECT_EQ(seen, (std::vector<std::string>{"a@200"}));
    EXPECT_EQ(win::sim::nowMs(), 500u);

    win::time::sleep(500);
    EXPECT_EQ(seen, (std::vector<std::string>{"a@200", "b@700", "c@700"}));
    EXPECT_EQ(win::sim::nowMs(), 1000u);
    EXPECT_EQ(win::sim::pendingActions(), 1u);
}

TEST_F(ClockTest, ActionScheduledByAnActionInThePastRunsInTheSameSleep) {
    int runs = 0;
    win::sim::at(100, [&] {
        ++runs;
        win::sim::at(50, [&] { ++runs; });
    });
    win::time::sleep(100);
    EXPECT_EQ(runs, 2);
}

TEST_F(ClockTest, LocalTimeFollowsVirtualTimeAcrossMidnightAndMonthEnd) {
    win::time::SystemTime start{};
    start.year = 2024;
    start.month = 2;
    start.day = 29;
    start.hour = 23;
    start.minute = 59;
    start.second = 59;
    start.milliseconds = 500;
    win::sim::setLocalTime(start);
    win::time::sleep(600);

    win::time::SystemTime now{};
    win::time::getLocalTime(&now);
    EXPECT_EQ(now.year, 2024);
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 0);
    EXPECT_EQ(now.minute, 0);
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.milliseconds, 100);
    EXPECT_EQ(now.dayOfWeek, 5);  // a Friday
}

TEST_F(ClockTest, ResetStartsAtAKnownMorning) {
    win::time::SystemTime now{};
    win::time::getLocalTime(&now);
    EXPECT_EQ(now.year, 2024);
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 5);
    EXPECT_EQ(now.hour, 9);
    EXPECT_EQ(now.minute, 4);
    EXPECT_EQ(now.second, 7);
    EXPECT_EQ(now.dayOfWeek, 2);  // a Tuesday
}

}  // namespace
