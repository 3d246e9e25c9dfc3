// Fault injection: the named call fails after the calls it skips, as often as asked.
#include <gtest/gtest.h>

#include "win/file.h"
#include "win/memory.h"
#include "win/registry.h"
#include "win/sim/machine.h"

namespace {

class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override { win::sim::reset(); }
};

TEST_F(FaultTest, RegistryCallFailsWithTheGivenErrorAfterSkippedCalls) {
    win::sim::regCreateKey(win::reg::currentUser, "Software\\A");
    win::sim::failCall("RegOpenKeyEx", 1234, 2, 1);
    win::reg::Key key{};
    auto open = [&] {
        win::reg::UniqueKey holder;
        return win::reg::openKey(win::reg::currentUser, "Software\\A", win::reg::access::queryValue,
                                 holder.put());
    };
    EXPECT_EQ(open(), 0);
    EXPECT_EQ(open(), 1234);
    EXPECT_EQ(open(), 1234);
    EXPECT_EQ(open(), 0);
    (void)key;
    EXPECT_EQ(win::sim::openResources().total(), 0u);
}

TEST_F(FaultTest, AllocationAndFileFaultsSetTheLastError) {
    win::sim::failCall("GlobalAlloc", 8);
    EXPECT_EQ(win::mem::globalAlloc(win::mem::gmem::zeroInit, 16), win::mem::Global::none);
    EXPECT_EQ(win::getLastError(), 8u);

    win::sim::failCall("CreateFile", 5);
    EXPECT_EQ(win::file::create("C:\\Temp\\x.txt", win::file::access::genericWrite, 0,
                                win::file::disposition::createAlways, 0x80),
              win::file::invalid);
    EXPECT_EQ(win::getLastError(), 5u);
    EXPECT_FALSE(win::sim::fileExists("C:\\Temp\\x.txt"));
}

TEST_F(FaultTest, ClearAndResetDropPendingFaults) {
    win::sim::failCall("GlobalAlloc", 8, 5);
    win::sim::clearFaults();
    win::mem::UniqueGlobal block(win::mem::globalAlloc(0, 4));
    EXPECT_TRUE(block);
}

}  // namespace
