// Reading one value into a fixed field: what fits, what counts as missing, and that a string
// read is always terminated within its field.
#include "jobhost/monitor/registry_read.h"

#include <cstring>
#include <optional>
#include <string>

#include "monitor_fixture.h"

namespace monitor_test {
namespace {

class RegistryReadTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        win::sim::regCreateKey(kUser, kJobKey);
    }
};

struct StringCase {
    const char* what;
    std::string stored;
    bool terminated;
    std::uint32_t fieldSize;
    std::optional<std::string> expected;
};

TEST_F(RegistryReadTest, StringsFitTheirFieldWithATerminatorOrCountAsMissing) {
    const StringCase cases[] = {
        {"terminated, fits", "YES", true, 4, "YES"},
        {"unterminated, room left for the terminator", "YES", false, 4, "YES"},
        {"unterminated, fills the field", "YESS", false, 4, std::nullopt},
        {"terminated, one byte too long", "YESS", true, 4, std::nullopt},
        {"much too long", std::string(300, 'x'), true, 260, std::nullopt},
        {"exactly 259 characters and the terminator", std::string(259, 'x'), true, 260,
         std::string(259, 'x')},
        {"empty", "", true, 4, ""},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.what);
        win::sim::regSetString(kUser, kJobKey, "Value", c.stored, c.terminated);
        win::reg::UniqueKey key;
        ASSERT_TRUE(OpenExchangeKey(kJobKey.c_str(), &key));
        // A guard byte after the field shows that nothing is written past it.
        std::string field(c.fieldSize + 1, '#');
        std::uint32_t bytesRead = 0;
        bool read = ReadRegistryString(key.get(), "Value", field.data(), c.fieldSize, &bytesRead);
        EXPECT_EQ(field.back(), '#');
        if (c.expected) {
            ASSERT_TRUE(read);
            EXPECT_EQ(std::string(field.c_str()), *c.expected);
            EXPECT_EQ(bytesRead, c.stored.size() + (c.terminated ? 1 : 0));
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(field, std::string(c.fieldSize + 1, '#')) << "the field was touched";
        }
    }
}

TEST_F(RegistryReadTest, MissingValueOrKeyLeavesTheFieldAsItWas) {
    win::reg::UniqueKey key;
    ASSERT_TRUE(OpenExchangeKey(kJobKey.c_str(), &key));
    char field[8] = "before";
    EXPECT_FALSE(ReadRegistryString(key.get(), "Absent", field, sizeof field));
    EXPECT_STREQ(field, "before");

    win::reg::UniqueKey missing;
    EXPECT_FALSE(OpenExchangeKey((kPrinterKey + "\\99").c_str(), &missing));
    EXPECT_FALSE(OpenExchangeKey("", &missing));
    EXPECT_FALSE(OpenExchangeKey(nullptr, &missing));
}

TEST_F(RegistryReadTest, NumbersAreExactlyFourBytes) {
    win::sim::regSetDword(kUser, kJobKey, "Four", 0x12345678);
    win::sim::regSetRaw(kUser, kJobKey, "Two", win::reg::type::dword, std::string("\x01\x02", 2));
    win::sim::regSetRaw(kUser, kJobKey, "Eight", win::reg::type::qword, std::string(8, '\x01'));
    win::reg::UniqueKey key;
    ASSERT_TRUE(OpenExchangeKey(kJobKey.c_str(), &key));
    std::uint32_t value = 7;
    EXPECT_TRUE(ReadRegistryDword(key.get(), "Four", &value));
    EXPECT_EQ(value, 0x12345678u);
    value = 7;
    EXPECT_FALSE(ReadRegistryDword(key.get(), "Two", &value));
    EXPECT_FALSE(ReadRegistryDword(key.get(), "Eight", &value));
    EXPECT_FALSE(ReadRegistryDword(key.get(), "Absent", &value));
    EXPECT_EQ(value, 7u);
}

TEST_F(RegistryReadTest, LiteralsMatchOnlyByteForByte) {
    EXPECT_TRUE(IsLiteral("YES", "YES"));
    for (const char* other : {"yes", "Yes", "YES ", " YES", "YE", "YESS", ""}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(IsLiteral(other, "YES"));
    }
}

}  // namespace
}  // namespace monitor_test
