// Global blocks and the process heap as the platform hands them out: zero filling, lock counts,
// sizes, freeing, and requests that cannot be met.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "contract_support.h"
#include "win/memory.h"

namespace {

namespace mem = win::mem;
namespace gmem = win::mem::gmem;
using win::Dword;

// Far more than any machine can give.
constexpr std::size_t kImpossible = SIZE_MAX - 0xFFFF;

bool allZero(const void* memory, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(memory);
    return std::all_of(p, p + bytes, [](unsigned char b) { return b == 0; });
}

using MemoryContract = contract::Test;

TEST_F(MemoryContract, ZeroInitialisedGlobalBlocks) {
    for (Dword flags : {gmem::fixed | gmem::zeroInit, gmem::moveable | gmem::zeroInit}) {
        SCOPED_TRACE(flags);
        mem::UniqueGlobal block(mem::globalAlloc(flags, 6879));
        ASSERT_TRUE(block);
        EXPECT_EQ(mem::globalSize(block.get()), 6879u);
        void* data = mem::globalLock(block.get());
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(allZero(data, 6879));
        std::memset(data, 0x5A, 6879);
        mem::globalUnlock(block.get());
    }
}

TEST_F(MemoryContract, MoveableBlockCountsItsLocksAndKeepsItsContent) {
    mem::UniqueGlobal block(mem::globalAlloc(gmem::moveable, 16));
    ASSERT_TRUE(block);
    auto* first = static_cast<char*>(mem::globalLock(block.get()));
    ASSERT_NE(first, nullptr);
    std::memcpy(first, "packed DIB here", 16);
    auto* second = static_cast<char*>(mem::globalLock(block.get()));
    EXPECT_EQ(second, first);

    win::setLastError(1234);
    EXPECT_TRUE(mem::globalUnlock(block.get()));  // still locked once
    // The last unlock reports false, and no error, as the count is back at zero.
    win::setLastError(1234);
    EXPECT_FALSE(mem::globalUnlock(block.get()));
    EXPECT_EQ(win::getLastError(), 0u);

    auto* again = static_cast<char*>(mem::globalLock(block.get()));
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again, "packed DIB here");
    mem::globalUnlock(block.get());
}

TEST_F(MemoryContract, FixedBlockIsItsOwnAddress) {
    mem::UniqueGlobal block(mem::globalAlloc(gmem::fixed, 32));
    ASSERT_TRUE(block);
    void* data = mem::globalLock(block.get());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data), std::uintptr_t(block.get()));
    mem::globalUnlock(block.get());
}

TEST_F(MemoryContract, FixedBlockHasNoLockCount) {
    mem::UniqueGlobal block(mem::globalAlloc(gmem::fixed, 8));
    ASSERT_TRUE(block);
    ASSERT_NE(mem::globalLock(block.get()), nullptr);
    EXPECT_TRUE(mem::globalUnlock(block.get()));
    EXPECT_TRUE(mem::globalUnlock(block.get()));
}

TEST_F(MemoryContract, EmptyMoveableBlockCannotBeLocked) {
    mem::UniqueGlobal block(mem::globalAlloc(gmem::moveable, 0));
    ASSERT_TRUE(block);
    EXPECT_EQ(mem::globalSize(block.get()), 0u);
    EXPECT_EQ(mem::globalLock(block.get()), nullptr);
}

TEST_F(MemoryContract, FreeReturnsNoneAndReleasesTheBlock) {
    mem::Global block = mem::globalAlloc(gmem::moveable | gmem::zeroInit, 100);
    ASSERT_NE(block, mem::Global::none);
    EXPECT_EQ(mem::globalFree(block), mem::Global::none);
}

TEST_F(MemoryContract, ImpossibleRequestsFail) {
    win::setLastError(0);
    EXPECT_EQ(mem::globalAlloc(gmem::moveable, kImpossible), mem::Global::none);
    EXPECT_EQ(win::getLastError(), Dword(win::err::notEnoughMemory));
    EXPECT_EQ(mem::globalAlloc(gmem::fixed | gmem::zeroInit, kImpossible), mem::Global::none);
    EXPECT_EQ(mem::heapAlloc(kImpossible, false), nullptr);
}

TEST_F(MemoryContract, HeapBlocks) {
    void* zeroed = mem::heapAlloc(4096, true);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_TRUE(allZero(zeroed, 4096));
    void* plain = mem::heapAlloc(10, false);
    ASSERT_NE(plain, nullptr);
    std::memset(plain, 1, 10);
    void* empty = mem::heapAlloc(0, false);
    EXPECT_NE(empty, nullptr);
    EXPECT_TRUE(mem::heapFree(plain));
    EXPECT_TRUE(mem::heapFree(zeroed));
    EXPECT_TRUE(mem::heapFree(empty));
    EXPECT_TRUE(mem::heapFree(nullptr));
}

}  // namespace
