// Environment variables as the platform keeps them: lengths with and without the terminator,
// names without regard to case, removal, and expansion of %NAME% references.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "contract_support.h"
#include "win/environment.h"

namespace {

namespace env = win::env;
namespace err = win::err;
using win::Dword;

class EnvironmentContract : public contract::Test {
  protected:
    void TearDown() override {
        for (const char* name : {"JH_CONTRACT_A", "JH_CONTRACT_B", "JH_CONTRACT_MISSING"})
            env::setVariable(name, nullptr);
        contract::Test::TearDown();
    }
};

TEST_F(EnvironmentContract, MissingVariableIsReported) {
    char buffer[16] = "untouched";
    win::setLastError(0);
    EXPECT_EQ(env::getVariable("JH_CONTRACT_MISSING", buffer, sizeof buffer), 0u);
    EXPECT_EQ(win::getLastError(), Dword(err::envvarNotFound));
    char16_t wide[16] = {};
    win::setLastError(0);
    EXPECT_EQ(env::getVariable(u"JH_CONTRACT_MISSING", wide, 16), 0u);
    EXPECT_EQ(win::getLastError(), Dword(err::envvarNotFound));
}

TEST_F(EnvironmentContract, SetGetAndRemove) {
    ASSERT_TRUE(env::setVariable("JH_CONTRACT_A", "C:\\Output"));
    char buffer[32];
    EXPECT_EQ(env::getVariable("JH_CONTRACT_A", buffer, sizeof buffer), 9u);
    EXPECT_STREQ(buffer, "C:\\Output");
    // Names ignore case, through either call.
    EXPECT_EQ(env::getVariable("jh_contract_a", buffer, sizeof buffer), 9u);
    char16_t wide[32];
    EXPECT_EQ(env::getVariable(u"Jh_Contract_A", wide, 32), 9u);
    EXPECT_EQ(std::u16string(wide), u"C:\\Output");

    ASSERT_TRUE(env::setVariable(u"JH_CONTRACT_A", u"Caf\u00e9"));
    EXPECT_EQ(env::getVariable(u"JH_CONTRACT_A", wide, 32), 4u);
    EXPECT_EQ(std::u16string(wide), u"Caf\u00e9");

    ASSERT_TRUE(env::setVariable("JH_CONTRACT_A", nullptr));
    win::setLastError(0);
    EXPECT_EQ(env::getVariable("JH_CONTRACT_A", buffer, sizeof buffer), 0u);
    EXPECT_EQ(win::getLastError(), Dword(err::envvarNotFound));
}

TEST_F(EnvironmentContract, TooSmallBufferReportsTheSizeWithTerminator) {
    ASSERT_TRUE(env::setVariable("JH_CONTRACT_A", "0123456789"));
    for (Dword size : {Dword(10), Dword(3), Dword(0)}) {
        SCOPED_TRACE(size);
        char buffer[24];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(env::getVariable("JH_CONTRACT_A", size ? buffer : nullptr, size), 11u);
        EXPECT_TRUE(
            std::all_of(buffer + size, buffer + sizeof buffer, [](char c) { return c == '#'; }));
        char16_t wide[24];
        std::fill(std::begin(wide), std::end(wide), u'#');
        EXPECT_EQ(env::getVariable(u"JH_CONTRACT_A", size ? wide : nullptr, size), 11u);
        EXPECT_TRUE(std::all_of(wide + size, std::end(wide), [](char16_t c) { return c == u'#'; }));
    }
    char exact[11];
    EXPECT_EQ(env::getVariable("JH_CONTRACT_A", exact, sizeof exact), 10u);
    EXPECT_STREQ(exact, "0123456789");
}

TEST_F(EnvironmentContract, ExpandsKnownReferencesAndKeepsUnknownOnes) {
    ASSERT_TRUE(env::setVariable("JH_CONTRACT_A", "C:\\Jobs"));
    ASSERT_TRUE(env::setVariable("JH_CONTRACT_B", "17"));
    struct Case {
        const char* source;
        const char* expanded;
    };
    const Case cases[] = {
        {"%JH_CONTRACT_A%\\job%JH_CONTRACT_B%.pdf", "C:\\Jobs\\job17.pdf"},
        {"%jh_contract_b%", "17"},
        {"no references", "no references"},
        {"%JH_CONTRACT_MISSING%\\x", "%JH_CONTRACT_MISSING%\\x"},
        {"100%JH_CONTRACT_B%", "10017"},
        // An unknown reference is kept with both its signs and the scan goes on after them.
        {"50% of %JH_CONTRACT_B%", "50% of %JH_CONTRACT_B%"},
        {"%JH_CONTRACT_MISSING%%JH_CONTRACT_B%", "%JH_CONTRACT_MISSING%17"},
        {"%JH_CONTRACT_B", "%JH_CONTRACT_B"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        char buffer[128];
        Dword result = env::expandStrings(c.source, buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer), c.expanded);
        EXPECT_EQ(result, std::strlen(c.expanded) + 1);

        std::u16string wideSource(c.source, c.source + std::strlen(c.source));
        char16_t wide[128];
        result = env::expandStrings(wideSource.c_str(), wide, 128);
        EXPECT_EQ(std::u16string(wide),
                  std::u16string(c.expanded, c.expanded + std::strlen(c.expanded)));
        EXPECT_EQ(result, std::strlen(c.expanded) + 1);
    }
}

TEST_F(EnvironmentContract, ExpansionIntoTooSmallABufferReportsTheSizeItNeeds) {
    ASSERT_TRUE(env::setVariable("JH_CONTRACT_A", "C:\\Jobs"));
    char buffer[24];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(env::expandStrings("%JH_CONTRACT_A%\\x", buffer, 4), 10u);
    EXPECT_TRUE(std::all_of(buffer + 4, buffer + sizeof buffer, [](char c) { return c == '#'; }));
    EXPECT_EQ(env::expandStrings("%JH_CONTRACT_A%\\x", nullptr, 0), 10u);
    char16_t wide[24];
    std::fill(std::begin(wide), std::end(wide), u'#');
    EXPECT_EQ(env::expandStrings(u"%JH_CONTRACT_A%\\x", wide, 4), 10u);
    EXPECT_TRUE(std::all_of(wide + 4, std::end(wide), [](char16_t c) { return c == u'#'; }));
}

TEST_F(EnvironmentContract, MalformedNamesAreRefused) {
    for (const char* name : {"", "JH=CONTRACT"}) {
        SCOPED_TRACE(name);
        win::setLastError(0);
        EXPECT_FALSE(env::setVariable(name, "x"));
        EXPECT_EQ(win::getLastError(), Dword(err::invalidParameter));
    }
}

TEST_F(EnvironmentContract, TemporaryFolderIsSet) {
    char buffer[260];
    Dword length = env::getVariable("TEMP", buffer, sizeof buffer);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof buffer);
    EXPECT_EQ(buffer[1], ':');
}

}  // namespace
