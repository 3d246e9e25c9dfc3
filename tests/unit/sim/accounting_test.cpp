// Accounting of open handles and blocks, which tests use to prove that a run released all.
#include <gtest/gtest.h>

#include "win/file.h"
#include "win/memory.h"
#include "win/registry.h"
#include "win/sim/machine.h"

namespace {

class AccountingTest : public ::testing::Test {
  protected:
    void SetUp() override { win::sim::reset(); }
};

TEST_F(AccountingTest, CountsEachKindUntilReleased) {
    win::reg::Key key{};
    ASSERT_EQ(win::reg::createKey(win::reg::currentUser, "Software\\K", win::reg::access::write,
                                  &key, nullptr),
              0);
    win::file::Handle file = win::file::create("C:\\Temp\\a.log", win::file::access::genericWrite,
                                               0, win::file::disposition::openAlways, 0x80);
    ASSERT_NE(file, win::file::invalid);
    win::mem::Global block = win::mem::globalAlloc(win::mem::gmem::moveable, 10);
    void* heap = win::mem::heapAlloc(3, true);

    win::sim::OpenResources open = win::sim::openResources();
    EXPECT_EQ(open.keys, 1u);
    EXPECT_EQ(open.files, 1u);
    EXPECT_EQ(open.globals, 1u);
    EXPECT_EQ(open.heapBlocks, 1u);
    EXPECT_EQ(win::sim::describeOpenResources().size(), 4u);

    win::reg::closeKey(key);
    win::file::close(file);
    EXPECT_EQ(win::mem::globalFree(block), win::mem::Global::none);
    EXPECT_TRUE(win::mem::heapFree(heap));
    EXPECT_EQ(win::sim::openResources().total(), 0u);
}

TEST_F(AccountingTest, DoubleReleaseIsRefused) {
    win::mem::Global block = win::mem::globalAlloc(0, 10);
    EXPECT_EQ(win::mem::globalFree(block), win::mem::Global::none);
    EXPECT_EQ(win::mem::globalFree(block), block);
    EXPECT_EQ(win::getLastError(), 6u);
    win::reg::Key key{};
    win::reg::createKey(win::reg::currentUser, "Software\\K", win::reg::access::read, &key,
                        nullptr);
    EXPECT_EQ(win::reg::closeKey(key), 0);
    EXPECT_EQ(win::reg::closeKey(key), 6);
}

TEST_F(AccountingTest, UninitialisedBlocksAreNotZero) {
    win::mem::UniqueGlobal block(win::mem::globalAlloc(win::mem::gmem::fixed, 8));
    auto* bytes = static_cast<unsigned char*>(win::mem::globalLock(block.get()));
    ASSERT_NE(bytes, nullptr);
    EXPECT_NE(bytes[0], 0);
    win::mem::UniqueGlobal zeroed(win::mem::globalAlloc(win::mem::gmem::zeroInit, 8));
    auto* zero = static_cast<unsigned char*>(win::mem::globalLock(zeroed.get()));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(zero[i], 0);
}

TEST_F(AccountingTest, ResetReleasesEverything) {
    win::mem::globalAlloc(0, 10);
    win::mem::heapAlloc(10, false);
    win::reg::Key key{};
    win::reg::openKey(win::reg::currentUser, "Software", win::reg::access::read, &key);
    win::sim::reset();
    EXPECT_EQ(win::sim::openResources().total(), 0u);
}

}  // namespace
