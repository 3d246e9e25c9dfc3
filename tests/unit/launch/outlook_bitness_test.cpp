// The choice between the 64-bit and the 32-bit e-mail sending program.
#include "jobhost/launch/outlook_bitness.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "win/sim/machine.h"

namespace {

using win::reg::currentUser;
using win::reg::localMachine;

constexpr const char* kMail = "Software\\Clients\\Mail";
// What a 32-bit process sees as Software\Microsoft\Office\14.0\Outlook.
constexpr const char* kOutlook32 = "SOFTWARE\\Wow6432Node\\Microsoft\\Office\\14.0\\Outlook";
constexpr const char* kOutlook64 = "SOFTWARE\\Microsoft\\Office\\14.0\\Outlook";

struct MailCase {
    const char* name;
    std::optional<std::string> userClient;     // none: no key
    std::optional<std::string> machineClient;  // none: no key
    std::optional<std::string> bitness;        // in the view the process sees; none: no key
    int expected;
};

class OutlookBitnessTest : public ::testing::Test {
  protected:
    void SetUp() override { win::sim::reset(); }
    void TearDown() override { EXPECT_EQ(win::sim::openResources().total(), 0u); }
};

class MailClientTest : public OutlookBitnessTest, public ::testing::WithParamInterface<MailCase> {};

void SetMachineClient(const std::string& name) {
    // Both views, so that the case does not depend on whether the key is shared between them.
    win::sim::regSetString(localMachine, "SOFTWARE\\Clients\\Mail", "", name);
    win::sim::regSetString(localMachine, "SOFTWARE\\Wow6432Node\\Clients\\Mail", "", name);
}

TEST_P(MailClientTest, ChoosesByMailClientAndBitness) {
    const MailCase& c = GetParam();
    if (c.userClient) {
        if (c.userClient->empty())
            win::sim::regCreateKey(currentUser, kMail);  // a key without a default value
        else
            win::sim::regSetString(currentUser, kMail, "", *c.userClient);
    }
    if (c.machineClient) SetMachineClient(*c.machineClient);
    if (c.bitness) win::sim::regSetString(localMachine, kOutlook32, "Bitness", *c.bitness);
    EXPECT_EQ(IsOutlook64Bit(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MailClientTest,
    ::testing::Values(
        MailCase{"NothingInstalled", std::nullopt, std::nullopt, std::nullopt, 0},
        MailCase{"UserOutlook64", "Microsoft Outlook", std::nullopt, "x64", 1},
        MailCase{"UserOutlook32", "Microsoft Outlook", std::nullopt, "x86", 0},
        MailCase{"CapitalX", "Microsoft Outlook", std::nullopt, "X64", 0},
        MailCase{"BitnessWithTrailingBlank", "Microsoft Outlook", std::nullopt, "x64 ", 0},
        MailCase{"NoBitnessValue", "Microsoft Outlook", std::nullopt, std::nullopt, 0},
        MailCase{"NameComparedWithCase", "microsoft outlook", std::nullopt, "x64", 0},
        MailCase{"OtherUserClientWinsOverMachine", "Mozilla Thunderbird", "Microsoft Outlook",
                 "x64", 0},
        MailCase{"MachineClientWhenUserHasNone", std::nullopt, "Microsoft Outlook", "x64", 1},
        MailCase{"MachineClientWhenUserKeyHasNoValue", "", "Microsoft Outlook", "x64", 1},
        MailCase{"OtherMachineClient", std::nullopt, "Windows Live Mail", "x64", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutlookBitnessTest, LooksOnlyAtOffice14) {
    win::sim::regSetString(currentUser, kMail, "", "Microsoft Outlook");
    win::sim::regSetString(localMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Office\\15.0\\Outlook",
                           "Bitness", "x64");
    EXPECT_EQ(IsOutlook64Bit(), 0);
}

TEST_F(OutlookBitnessTest, ReadsTheProcessOwnRegistryView) {
    win::sim::regSetString(currentUser, kMail, "", "Microsoft Outlook");
    win::sim::regSetString(localMachine, kOutlook64, "Bitness", "x64");
    EXPECT_EQ(IsOutlook64Bit(), 0);  // a 32-bit process sees the other view
    win::sim::setProcessBits(64);
    EXPECT_EQ(IsOutlook64Bit(), 1);
}

TEST_F(OutlookBitnessTest, UnterminatedValuesCompareByTheirText) {
    win::sim::regSetString(currentUser, kMail, "", "Microsoft Outlook", false);
    win::sim::regSetString(localMachine, kOutlook32, "Bitness", "x64", false);
    EXPECT_EQ(IsOutlook64Bit(), 1);
}

TEST_F(OutlookBitnessTest, UserValueTooLongForItsFieldFallsBackToTheMachine) {
    win::sim::regSetString(currentUser, kMail, "", std::string(300, 'M'));
    SetMachineClient("Microsoft Outlook");
    win::sim::regSetString(localMachine, kOutlook32, "Bitness", "x64");
    EXPECT_EQ(IsOutlook64Bit(), 1);
}

TEST_F(OutlookBitnessTest, OversizedOrForeignValuesGiveZero) {
    win::sim::regSetString(currentUser, kMail, "", "Microsoft Outlook");
    win::sim::regSetString(localMachine, kOutlook32, "Bitness", "x64" + std::string(300, ' '));
    EXPECT_EQ(IsOutlook64Bit(), 0);
    win::sim::regSetDword(localMachine, kOutlook32, "Bitness", 64);
    EXPECT_EQ(IsOutlook64Bit(), 0);
    win::sim::regSetBinary(localMachine, kOutlook32, "Bitness", std::string("x64\0", 4));
    EXPECT_EQ(IsOutlook64Bit(), 1);  // the type is not looked at
}

TEST_F(OutlookBitnessTest, RegistryFailuresGiveZero) {
    win::sim::regSetString(currentUser, kMail, "", "Microsoft Outlook");
    win::sim::regSetString(localMachine, kOutlook32, "Bitness", "x64");
    win::sim::failCall("RegOpenKeyEx", win::err::accessDenied, 1, 1);  // the Outlook key
    EXPECT_EQ(IsOutlook64Bit(), 0);
    win::sim::clearFaults();
    win::sim::failCall("RegQueryValueEx", win::err::accessDenied, 1, 1);  // "Bitness"
    EXPECT_EQ(IsOutlook64Bit(), 0);
    win::sim::clearFaults();
    EXPECT_EQ(IsOutlook64Bit(), 1);
}

}  // namespace
