// Named events as the platform keeps them: names, access rights, manual and automatic reset,
// the errors.
#include <gtest/gtest.h>

#include <string>

#include "contract_support.h"
#include "win/event.h"

namespace {

using win::event::Handle;
using win::event::UniqueEvent;
namespace access = win::event::access;
namespace waitResult = win::event::waitResult;

constexpr const char* kName = "JhContract_Event";

using EventContract = contract::Test;

TEST_F(EventContract, OpenedHandleSeesTheCreatorsEvent) {
    win::setLastError(123);
    UniqueEvent created(win::event::create(true, false, kName));
    ASSERT_TRUE(created);
    EXPECT_EQ(win::getLastError(), 0u);
    UniqueEvent opened(win::event::open(access::modifyState, false, kName));
    ASSERT_TRUE(opened);
    EXPECT_NE(opened.get(), created.get());

    EXPECT_EQ(win::event::wait(created.get(), 0), waitResult::timeout);
    EXPECT_TRUE(win::event::set(opened.get()));
    // A manual-reset event stays set for every wait.
    EXPECT_EQ(win::event::wait(created.get(), 0), waitResult::signaled);
    EXPECT_EQ(win::event::wait(created.get(), 0), waitResult::signaled);
    EXPECT_TRUE(win::event::reset(opened.get()));
    EXPECT_EQ(win::event::wait(created.get(), 10), waitResult::timeout);
}

TEST_F(EventContract, AutoResetEventIsResetByTheWaitThatEnds) {
    UniqueEvent event(win::event::create(false, true, kName));
    ASSERT_TRUE(event);
    EXPECT_EQ(win::event::wait(event.get(), 0), waitResult::signaled);
    EXPECT_EQ(win::event::wait(event.get(), 0), waitResult::timeout);
}

TEST_F(EventContract, CreatingAnExistingEventOpensIt) {
    UniqueEvent first(win::event::create(true, false, kName));
    ASSERT_TRUE(first);
    // The second creation's settings do not count: the event stays manual and reset.
    UniqueEvent second(win::event::create(false, true, kName));
    ASSERT_TRUE(second);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::alreadyExists));
    EXPECT_EQ(win::event::wait(first.get(), 0), waitResult::timeout);
    EXPECT_TRUE(win::event::set(second.get()));
    EXPECT_EQ(win::event::wait(first.get(), 0), waitResult::signaled);
    EXPECT_EQ(win::event::wait(first.get(), 0), waitResult::signaled);
}

TEST_F(EventContract, AccessRightsAreEnforced) {
    UniqueEvent event(win::event::create(true, false, kName));
    ASSERT_TRUE(event);
    UniqueEvent modify(win::event::open(access::modifyState, false, kName));
    UniqueEvent sync(win::event::open(access::synchronize, false, kName));
    ASSERT_TRUE(modify);
    ASSERT_TRUE(sync);
    win::setLastError(0);
    EXPECT_EQ(win::event::wait(modify.get(), 0), waitResult::failed);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::accessDenied));
    win::setLastError(0);
    EXPECT_FALSE(win::event::set(sync.get()));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::accessDenied));
    EXPECT_FALSE(win::event::reset(sync.get()));
    EXPECT_EQ(win::event::wait(sync.get(), 0), waitResult::timeout);
}

TEST_F(EventContract, NamesAreCaseSensitiveAndLocalIsTheSessionNamespace) {
    UniqueEvent event(win::event::create(true, true, kName));
    ASSERT_TRUE(event);
    std::string local = std::string("Local\\") + kName;
    std::string global = std::string("Global\\") + kName;
    UniqueEvent viaLocal(win::event::open(access::synchronize, false, local.c_str()));
    ASSERT_TRUE(viaLocal);
    EXPECT_EQ(win::event::wait(viaLocal.get(), 0), waitResult::signaled);
    for (const char* name : {"jhcontract_event", "JhContract_Event ", global.c_str()}) {
        win::setLastError(0);
        EXPECT_EQ(win::event::open(access::modifyState, false, name), Handle::none) << name;
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::fileNotFound)) << name;
    }
}

TEST_F(EventContract, OpenFailsForEventsThatDoNotExistOrNamesThatCannotBe) {
    struct Case {
        std::string name;
        win::Long error;
    };
    for (const Case& c :
         {Case{"JhContract_NoSuchEvent", win::err::fileNotFound}, Case{"", win::err::invalidHandle},
          Case{"Jh\\Nested", win::err::pathNotFound},
          Case{std::string(300, 'n'), win::err::filenameTooLong}}) {
        win::setLastError(0);
        EXPECT_EQ(win::event::open(access::modifyState, false, c.name.c_str()), Handle::none);
        EXPECT_EQ(win::getLastError(), win::Dword(c.error)) << c.name.substr(0, 20);
    }
    win::setLastError(0);
    EXPECT_EQ(win::event::open(access::modifyState, false, nullptr), Handle::none);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidParameter));
}

TEST_F(EventContract, LongestNameIs259Characters) {
    std::string longest(259, 'l');
    UniqueEvent event(win::event::create(true, false, longest.c_str()));
    EXPECT_TRUE(event);
    std::string tooLong(260, 'l');
    EXPECT_EQ(win::event::create(true, false, tooLong.c_str()), Handle::none);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::filenameTooLong));
}

TEST_F(EventContract, EventEndsWithItsLastHandle) {
    {
        UniqueEvent event(win::event::create(true, true, kName));
        ASSERT_TRUE(event);
    }
    EXPECT_EQ(win::event::open(access::modifyState, false, kName), Handle::none);
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::fileNotFound));
}

TEST_F(EventContract, UnnamedEventsAreSeparate) {
    UniqueEvent first(win::event::create(true, false, nullptr));
    UniqueEvent second(win::event::create(true, false, ""));
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_TRUE(win::event::set(first.get()));
    EXPECT_EQ(win::event::wait(first.get(), 0), waitResult::signaled);
    EXPECT_EQ(win::event::wait(second.get(), 0), waitResult::timeout);
}

TEST_F(EventContract, CallsOnHandlesThatAreNotOpenFail) {
    Handle closed = win::event::create(true, false, kName);
    ASSERT_NE(closed, Handle::none);
    EXPECT_TRUE(win::event::close(closed));
    for (Handle handle : {Handle::none, closed}) {
        win::setLastError(0);
        EXPECT_FALSE(win::event::close(handle));
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));
        win::setLastError(0);
        EXPECT_FALSE(win::event::set(handle));
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));
        EXPECT_FALSE(win::event::reset(handle));
        EXPECT_EQ(win::event::wait(handle, 0), waitResult::failed);
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::invalidHandle));
    }
}

}  // namespace
