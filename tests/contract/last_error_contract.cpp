// The thread's last error: what a failing call leaves, kept until something replaces it, and
// each thread's own.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "contract_support.h"
#include "win/file.h"

namespace {

using win::Dword;

using LastErrorContract = contract::Test;

TEST_F(LastErrorContract, KeptUntilReplaced) {
    win::setLastError(0x20000001u);  // the application bit: any value round-trips
    EXPECT_EQ(win::getLastError(), 0x20000001u);
    EXPECT_EQ(win::getLastError(), 0x20000001u);
    win::setLastError(0);
    EXPECT_EQ(win::getLastError(), 0u);
}

TEST_F(LastErrorContract, FailingCallLeavesItsError) {
    win::setLastError(0);
    const std::string missing = contract::tempFolder() + "\\JhContract_never_made.dat";
    EXPECT_EQ(win::file::create(missing.c_str(), win::file::access::genericRead, 0,
                                win::file::disposition::openExisting, win::file::attributeNormal),
              win::file::invalid);
    EXPECT_EQ(win::getLastError(), Dword(win::err::fileNotFound));
    EXPECT_EQ(win::getLastError(), Dword(win::err::fileNotFound));
}

TEST_F(LastErrorContract, EachThreadHasItsOwn) {
    // Both errors are set while both threads run, and read before either thread makes another
    // call: starting and joining a thread are calls that may change it.
    std::atomic<bool> otherSet{false}, mainRead{false};
    Dword seenByOther = 0;
    std::thread other([&] {
        win::setLastError(222);
        otherSet = true;
        while (!mainRead) {
        }
        seenByOther = win::getLastError();
    });
    while (!otherSet) {
    }
    win::setLastError(111);
    Dword seenByMain = win::getLastError();
    mainRead = true;
    other.join();
    EXPECT_EQ(seenByMain, 111u);
    EXPECT_EQ(seenByOther, 222u);
}

}  // namespace
