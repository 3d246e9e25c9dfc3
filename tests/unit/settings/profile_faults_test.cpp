// The simulated INI calls fail as a real machine can make them fail, and leave nothing open.
#include <gtest/gtest.h>

#include "win/file.h"
#include "win/profile.h"
#include "win/sim/machine.h"

namespace {

namespace sim = win::sim;
namespace ini = win::ini;

class ProfileFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::reset();
        sim::fileWrite("C:\\sim\\f.ini", "[A]\r\nk=v\r\n");
    }
    void TearDown() override { EXPECT_EQ(sim::openResources().total(), 0u); }
};

TEST_F(ProfileFaults, InjectedFaultsFailTheCallWithTheirError) {
    sim::failCall("WritePrivateProfileString", win::err::accessDenied);
    EXPECT_FALSE(ini::writeString(u"A", u"k", u"w", u"C:\\sim\\f.ini"));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::accessDenied));
    EXPECT_EQ(sim::fileRead("C:\\sim\\f.ini"), "[A]\r\nk=v\r\n");

    char16_t buffer[8] = {u'x'};
    sim::failCall("GetPrivateProfileString", win::err::readFault);
    EXPECT_EQ(ini::readString(u"A", u"k", u"d", buffer, 8, u"C:\\sim\\f.ini"), 0u);
    EXPECT_EQ(buffer[0], 0);
    sim::failCall("GetPrivateProfileInt", win::err::readFault);
    EXPECT_EQ(ini::readInt(u"A", u"k", 7, u"C:\\sim\\f.ini"), 7u);
}

TEST_F(ProfileFaults, FileFaultsBelowTheCallsAreReported) {
    struct Case {
        const char* call;
        int skip;
    };
    // The write reads the file, then writes it.
    for (Case c : {Case{"CreateFile", 0}, Case{"ReadFile", 0}, Case{"CreateFile", 1},
                   Case{"WriteFile", 0}}) {
        SCOPED_TRACE(std::string(c.call) + " after " + std::to_string(c.skip));
        sim::failCall(c.call, win::err::writeFault, 1, c.skip);
        EXPECT_FALSE(ini::writeString(u"A", u"k", u"w", u"C:\\sim\\f.ini"));
        EXPECT_EQ(win::getLastError(), win::Dword(win::err::writeFault));
        EXPECT_EQ(sim::openResources().files, 0u);
        sim::clearFaults();
        sim::fileWrite("C:\\sim\\f.ini", "[A]\r\nk=v\r\n");
    }
}

TEST_F(ProfileFaults, FileHeldWithoutSharingCannotBeWritten) {
    win::file::UniqueFile held(win::file::create("C:\\sim\\f.ini", win::file::access::genericRead,
                                                 win::file::share::none,
                                                 win::file::disposition::openExisting, 0));
    ASSERT_TRUE(held);
    EXPECT_FALSE(ini::writeString(u"A", u"k", u"w", u"C:\\sim\\f.ini"));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::sharingViolation));
    char16_t buffer[8];
    EXPECT_EQ(ini::readString(u"A", u"k", u"d", buffer, 8, u"C:\\sim\\f.ini"), 1u);
    EXPECT_EQ(std::u16string(buffer), u"d");
}

}  // namespace
