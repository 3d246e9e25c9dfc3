// The settings store on the simulated registry: the printer store name, the raw readers, the
// option sets with their roots, the first-page picture settings and the writers.
#include "jobhost/settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "jobhost/settings/first_image.h"
#include "jobhost/settings/option_sets.h"
#include "jobhost/settings/settings_bits.h"
#include "win/sim/machine.h"

namespace {

namespace sim = win::sim;
using win::reg::currentUser;

const std::string kRoot = "SOFTWARE\\Korvanex Software LLC";
const std::string kPrinter = kRoot + "\\Office PDF";
const std::string kProtected =
    "Software\\Microsoft\\Internet Explorer\\InternetRegistry\\REGISTRY\\USER\\"
    "S-1-5-21-1-2-3-1001\\SOFTWARE\\Korvanex Software LLC";

std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::reset();
        SetDmDeviceName(&settings_, u"Device Name");
        SetPrinterId(&settings_, 7);
        sim::regSetString(currentUser, kRoot + "\\PrinterIDs\\7", "Printer name", "Office PDF",
                          false);
    }
    void TearDown() override {
        EXPECT_EQ(sim::openResources().total(), 0u)
            << ::testing::PrintToString(sim::describeOpenResources());
    }

    std::u16string StoreName(std::uint32_t bufferBytes = 520) {
        char16_t buffer[300];
        std::memset(buffer, 0x55, sizeof buffer);
        GetPrinterStoreName(&settings_, buffer, bufferBytes);
        EXPECT_EQ(buffer[bufferBytes / 2 - 1], 0) << "the buffer keeps a terminator";
        return std::u16string(buffer);
    }

    DriverSettings settings_{};
};

TEST_F(SettingsStore, PrinterStoreNameComesFromPrinterIds) {
    EXPECT_EQ(StoreName(), u"Office PDF");
    // A name written with its terminator reads the same.
    sim::regSetString(currentUser, kRoot + "\\PrinterIDs\\7", "Printer name", "Office PDF");
    EXPECT_EQ(StoreName(), u"Office PDF");
}

TEST_F(SettingsStore, PrinterStoreNameFallsBackOnTheDeviceName) {
    struct Case {
        const char* why;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"no PrinterIDs key", [] { sim::regDeleteTree(currentUser, kRoot + "\\PrinterIDs\\7"); }},
        {"no value",
         [] { sim::regDeleteValue(currentUser, kRoot + "\\PrinterIDs\\7", "Printer name"); }},
        {"empty value",
         [] {
             sim::regSetString(currentUser, kRoot + "\\PrinterIDs\\7", "Printer name", "", false);
         }},
        {"value larger than the buffer",
         [] {
             sim::regSetString(currentUser, kRoot + "\\PrinterIDs\\7", "Printer name",
                               std::string(300, 'x'), false);
         }},
        {"key not readable", [] { sim::failCall("RegOpenKeyEx", win::err::accessDenied); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SetUp();
        c.arrange();
        EXPECT_EQ(StoreName(), u"Device Name");
        sim::clearFaults();
    }
}

TEST_F(SettingsStore, PrinterIdIsASignedNumber) {
    SetPrinterId(&settings_, 0xFFFFFFFBu);
    sim::regSetString(currentUser, kRoot + "\\PrinterIDs\\-5", "Printer name", "Negative", false);
    EXPECT_EQ(StoreName(), u"Negative");
}

TEST_F(SettingsStore, PrinterStoreNameIsCutToTheBuffer) {
    EXPECT_EQ(StoreName(8), u"Dev");  // the registry name does not fit: the device name, cut
    SetDmDeviceName(&settings_, std::u16string(31, u'D').c_str());
    sim::regDeleteTree(currentUser, kRoot + "\\PrinterIDs");
    EXPECT_EQ(StoreName(), std::u16string(31, u'D'));
    char16_t untouched = u'@';
    GetPrinterStoreName(&settings_, &untouched, 1);
    EXPECT_EQ(untouched, u'@');
    GetPrinterStoreName(nullptr, &untouched, 2);
    EXPECT_EQ(untouched, 0);
}

TEST_F(SettingsStore, ReadStoreValueReadsRawBytesInTwoSteps) {
    sim::regSetRaw(currentUser, kPrinter + "\\Pdf Settings", "Raw", win::reg::type::binary,
                   std::string("\x01\x02\x03", 3));
    char buffer[8] = {};
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(ReadStoreValue(&settings_, kStoreRoot, u"%s\\Pdf Settings", u"Raw", buffer, &size),
              1);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(buffer, 3), std::string("\x01\x02\x03", 3));

    // Asking for the size: no buffer and a size of 0.
    size = 0;
    EXPECT_EQ(ReadStoreValue(&settings_, kStoreRoot, u"%s\\Pdf Settings", u"Raw", nullptr, &size),
              0);
    EXPECT_EQ(size, 3u);
    // A size but no buffer.
    size = 10;
    EXPECT_EQ(ReadStoreValue(&settings_, kStoreRoot, u"%s\\Pdf Settings", u"Raw", nullptr, &size),
              0);
    EXPECT_EQ(size, 3u);
    // Too small.
    size = 2;
    EXPECT_EQ(ReadStoreValue(&settings_, kStoreRoot, u"%s\\Pdf Settings", u"Raw", buffer, &size),
              0);
    EXPECT_EQ(size, 3u);
}

TEST_F(SettingsStore, ReadStoreValueFailsWithoutChangingTheSize) {
    struct Case {
        const char* why;
        const DriverSettings* settings;
        const char16_t* root;
        const char16_t* keyTemplate;
        const char16_t* name;
    };
    sim::regSetString(currentUser, kPrinter + "\\Pdf Settings", "Title", "T", false);
    const Case cases[] = {
        {"missing value", &settings_, kStoreRoot, u"%s\\Pdf Settings", u"Missing"},
        {"missing key", &settings_, kStoreRoot, u"%s\\Html Settings", u"Title"},
        {"no record", nullptr, kStoreRoot, u"%s\\Pdf Settings", u"Title"},
        {"no root", &settings_, nullptr, u"%s\\Pdf Settings", u"Title"},
        {"no template", &settings_, kStoreRoot, nullptr, u"Title"},
        {"no name", &settings_, kStoreRoot, u"%s\\Pdf Settings", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        char buffer[8];
        std::uint32_t size = sizeof buffer;
        EXPECT_EQ(ReadStoreValue(c.settings, c.root, c.keyTemplate, c.name, buffer, &size), 0);
        EXPECT_EQ(size, sizeof buffer);
    }
    EXPECT_EQ(
        ReadStoreValue(&settings_, kStoreRoot, u"%s\\Pdf Settings", u"Title", nullptr, nullptr), 0);
}

TEST_F(SettingsStore, ReadStoreDwordTakesExactlyFourBytesOfAnyType) {
    const std::string key = kPrinter + "\\Save As Option Settings\\3";
    sim::regSetDword(currentUser, key, "Print Watermark", 9);
    sim::regSetRaw(currentUser, key, "File Format", win::reg::type::binary,
                   std::string("\x05\x00\x00\x00", 4));
    sim::regSetRaw(currentUser, key, "Color Depth", win::reg::type::binary,
                   std::string("\x05\x00", 2));
    sim::regSetRaw(currentUser, key, "JPEG: Loss Ratio", win::reg::type::qword,
                   std::string(8, '\x01'));
    std::uint32_t value = 77;
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 39, 3, &value), 1);
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 0, 3, &value), 1);
    EXPECT_EQ(value, 5u);
    value = 77;
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 8, 3, &value), 0) << "shorter than 4 bytes";
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 9, 3, &value), 0) << "longer than 4 bytes";
    EXPECT_EQ(value, 77u);
}

TEST_F(SettingsStore, JobOptionSetComesFromTheProtectedRootWhenTheRecordSaysSo) {
    SetUserSid(&settings_, u"S-1-5-21-1-2-3-1001");
    sim::regSetDword(currentUser, kProtected + "\\Office PDF\\Save As Option Settings\\17",
                     "Print Watermark", 1);
    sim::regSetDword(currentUser, kPrinter + "\\Save As Option Settings\\17", "Print Watermark", 0);

    std::uint32_t value = 99;
    SetSettingsBit(&settings_, kStoreProtectedMode);
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 39, 17, &value), 1);
    EXPECT_EQ(value, 1u);
    ClearSettingsBit(&settings_, kStoreProtectedMode);
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 39, 17, &value), 1);
    EXPECT_EQ(value, 0u);

    // The default set and all writers use the ordinary root whatever the bit says.
    SetSettingsBit(&settings_, kStoreProtectedMode);
    sim::regSetDword(currentUser, kPrinter + "\\Save As Option Settings\\Default Settings",
                     "Print Watermark", 5);
    EXPECT_EQ(ReadDefaultOptionNumber(&settings_, 39, &value), 1);
    EXPECT_EQ(value, 5u);
    EXPECT_EQ(WriteJobOptionNumber(&settings_, 41, 17, 1), 1);
    EXPECT_EQ(sim::regDword(currentUser, kPrinter + "\\Save As Option Settings\\17",
                            "Watermark Add first page only"),
              1u);
}

TEST_F(SettingsStore, ProtectedRootNeedsAUserSid) {
    SetSettingsBit(&settings_, kStoreProtectedMode);
    // A "SID" that would lead elsewhere in the hive is not followed.
    SetUserSid(&settings_, u"S-1-5\\..\\Office PDF");
    sim::regSetDword(currentUser,
                     "Software\\Microsoft\\Internet Explorer\\InternetRegistry\\REGISTRY\\USER\\"
                     "S-1-5\\..\\Office PDF\\SOFTWARE\\Korvanex Software LLC\\Office PDF\\"
                     "Save As Option Settings\\17",
                     "Print Watermark", 1);
    std::uint32_t value = 99;
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 39, 17, &value), 0);
    SetUserSid(&settings_, u"");
    EXPECT_EQ(ReadJobOptionNumber(&settings_, 39, 17, &value), 0);
    EXPECT_EQ(value, 99u);
}

TEST_F(SettingsStore, StringOptionTooLargeForTheBufferReportsItsSize) {
    const std::string key = kPrinter + "\\Save As Option Settings\\17";
    sim::regSetRaw(currentUser, key, "Watermark Portrait Image", win::reg::type::sz,
                   Utf16Bytes(std::u16string(300, u'p')));
    char16_t buffer[260];
    std::uint32_t size = 520;
    EXPECT_EQ(ReadJobOptionString(&settings_, 37, 17, buffer, &size), 0);
    EXPECT_EQ(size, 600u);

    sim::regSetRaw(currentUser, key, "Watermark Landscape Image", win::reg::type::sz,
                   Utf16Bytes(u"C:\\L.bmp"));
    size = 520;
    EXPECT_EQ(ReadJobOptionString(&settings_, 38, 17, buffer, &size), 1);
    EXPECT_EQ(std::u16string(buffer, size / 2), u"C:\\L.bmp");
}

TEST_F(SettingsStore, OptionNumbersOutsideTheTablesReadNothing) {
    const std::string key = kPrinter + "\\Save As Option Settings\\17";
    sim::regSetDword(currentUser, key, "", 1);  // what a nameless read would find
    sim::regSetString(currentUser, key, "Printer %d", "x", false);
    std::uint32_t value = 99;
    char16_t buffer[16];
    std::uint32_t size = sizeof buffer;
    for (std::int32_t option : {57, -1, 1000}) {
        EXPECT_EQ(ReadJobOptionNumber(&settings_, option, 17, &value), 0);
        EXPECT_EQ(WriteJobOptionNumber(&settings_, option, 17, 1), 0);
    }
    for (std::int32_t option : {41, -1}) {
        EXPECT_EQ(ReadJobOptionString(&settings_, option, 17, buffer, &size), 0);
        EXPECT_EQ(WriteDefaultOptionString(&settings_, option, u"x"), 0);
    }
    // Indexed options need their index.
    EXPECT_EQ(ReadJobOptionString(&settings_, 13, 17, buffer, &size), 0);
    EXPECT_EQ(ReadJobOptionIndexedString(&settings_, 0, 1, 17, buffer, &size), 0);
    EXPECT_EQ(value, 99u);
    EXPECT_EQ(size, sizeof buffer);
    EXPECT_EQ(sim::regValueNames(currentUser, key).size(), 2u);
}

TEST_F(SettingsStore, IndexedStringOptionsFillTheirIndex) {
    EXPECT_EQ(WriteDefaultOptionIndexedString(&settings_, 8, 3, u"Arial"), 1);
    EXPECT_EQ(WriteJobOptionIndexedString(&settings_, 13, 1, 17, u"Laser"), 1);
    EXPECT_EQ(sim::regString(currentUser, kPrinter + "\\Save As Option Settings\\Default Settings",
                             "PDF: Fonts - Force Embed Font_3"),
              "Arial");
    EXPECT_EQ(sim::regString(currentUser, kPrinter + "\\Save As Option Settings\\17", "Printer 1"),
              "Laser");
    char16_t buffer[16];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(ReadDefaultOptionIndexedString(&settings_, 8, 3, buffer, &size), 1);
    EXPECT_EQ(std::u16string(buffer, size / 2), u"Arial");
}

TEST_F(SettingsStore, HasJobOptionSetFollowsBit31) {
    EXPECT_FALSE(HasJobOptionSet(nullptr));
    EXPECT_FALSE(HasJobOptionSet(&settings_));
    SetSettingsBit(&settings_, kFlagJobOptionSet);
    EXPECT_TRUE(HasJobOptionSet(&settings_));
}

TEST_F(SettingsStore, OptionSetsAreRemovedUnderTheirRoot) {
    const std::string sets = kPrinter + "\\Save As Option Settings";
    sim::regSetDword(currentUser, sets + "\\17", "Print Watermark", 1);
    sim::regSetDword(currentUser, sets + "\\Default Settings", "Print Watermark", 1);
    sim::regSetDword(currentUser, kProtected + "\\Office PDF\\Save As Option Settings\\17",
                     "Print Watermark", 1);
    EXPECT_EQ(RemoveJobOptionSet(&settings_, 17), 1);
    EXPECT_FALSE(sim::regKeyExists(currentUser, sets + "\\17"));
    EXPECT_EQ(RemoveJobOptionSet(&settings_, 17), 0) << "already gone";

    SetUserSid(&settings_, u"S-1-5-21-1-2-3-1001");
    SetSettingsBit(&settings_, kStoreProtectedMode);
    EXPECT_EQ(RemoveJobOptionSet(&settings_, 17), 1);
    EXPECT_FALSE(
        sim::regKeyExists(currentUser, kProtected + "\\Office PDF\\Save As Option Settings\\17"));
    EXPECT_EQ(RemoveDefaultOptionSet(&settings_), 0) << "no default set under the protected root";
    ClearSettingsBit(&settings_, kStoreProtectedMode);
    EXPECT_EQ(RemoveDefaultOptionSet(&settings_), 1);
    EXPECT_FALSE(sim::regKeyExists(currentUser, sets + "\\Default Settings"));
}

TEST_F(SettingsStore, FirstImageBrightnessAndPositionDefaults) {
    const std::string key = kPrinter + "\\Watermark";
    struct Case {
        std::optional<std::uint32_t> stored;
        std::uint32_t brightness;
        std::uint32_t position;
    };
    const Case cases[] = {
        {std::nullopt, 30, 4},
        {0, 30, 4},
        {1, 1, 1},
        {2, 2, 2},
        {3, 3, 4},
        {4, 4, 4},
        {8, 8, 8},
        {100, 100, 4},
        {101, 30, 4},
        {0xFFFFFFFFu, 30, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? std::to_string(*c.stored) : "missing");
        sim::regDeleteTree(currentUser, key);
        if (c.stored) {
            for (const char* name :
                 {"First Image Portrait Brightness", "First Image Landscape Brightness",
                  "First Image Portrait Position", "First Image Landscape Position"})
                sim::regSetDword(currentUser, key, name, *c.stored);
        }
        for (std::int32_t side : {kPortraitSide, kLandscapeSide}) {
            EXPECT_EQ(ReadFirstImageBrightness(&settings_, side), c.brightness);
            EXPECT_EQ(ReadFirstImagePosition(&settings_, side), c.position);
        }
    }
    sim::regSetDword(currentUser, key, "First Image Portrait Brightness", 70);
    sim::regSetDword(currentUser, key, "First Image Landscape Brightness", 20);
    EXPECT_EQ(ReadFirstImageBrightness(&settings_, kPortraitSide), 70u);
    EXPECT_EQ(ReadFirstImageBrightness(&settings_, kLandscapeSide), 20u);
    EXPECT_EQ(ReadFirstImageBrightness(&settings_, 2), 30u) << "no such side";
    EXPECT_EQ(ReadFirstImageBrightness(nullptr, kPortraitSide), 30u);
}

TEST_F(SettingsStore, FirstImagePathIsCopiedTerminatedWhenItFits) {
    const std::string key = kPrinter + "\\Watermark";
    sim::regSetString(currentUser, key, "First Image Portrait", "C:\\First.bmp", false);
    char16_t buffer[260];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(ReadFirstImagePath(&settings_, buffer, &size, kPortraitSide), 1);
    EXPECT_EQ(std::u16string(buffer), u"C:\\First.bmp");
    EXPECT_EQ(size, 24u);

    size = 24;  // no room for the terminator
    EXPECT_EQ(ReadFirstImagePath(&settings_, buffer, &size, kPortraitSide), 0);
    EXPECT_EQ(size, 26u);
    size = 520;
    EXPECT_EQ(ReadFirstImagePath(&settings_, nullptr, &size, kPortraitSide), 0);
    EXPECT_EQ(size, 26u);

    size = sizeof buffer;
    EXPECT_EQ(ReadFirstImagePath(&settings_, buffer, &size, kLandscapeSide), 0) << "missing";
    sim::regSetString(currentUser, key, "First Image Landscape", std::string(270, 'l'), false);
    EXPECT_EQ(ReadFirstImagePath(&settings_, buffer, &size, kLandscapeSide), 0)
        << "larger than the store's own 520 bytes";
    EXPECT_EQ(size, sizeof buffer);
}

TEST_F(SettingsStore, WritersStoreStringsWithoutTerminatorAndDwords) {
    EXPECT_EQ(
        WriteStoreString(&settings_, kStoreRoot, u"%s\\Pdf Settings", u"Document Title", u"Report"),
        1);
    auto value = sim::regValue(currentUser, kPrinter + "\\Pdf Settings", "Document Title");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, win::reg::type::sz);
    EXPECT_EQ(value->data, Utf16Bytes(u"Report"));

    EXPECT_EQ(WriteStoreDword(&settings_, kStoreRoot, u"%s\\Redirect Printing Settings",
                              u"Printer count", 0x01020304),
              1);
    value = sim::regValue(currentUser, kPrinter + "\\Redirect Printing Settings", "Printer count");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, win::reg::type::dword);
    EXPECT_EQ(value->data, std::string("\x04\x03\x02\x01", 4));

    EXPECT_EQ(WriteStoreString(&settings_, kStoreRoot, u"%s\\X", u"V", nullptr), 0);
    EXPECT_EQ(WriteStoreString(nullptr, kStoreRoot, u"%s\\X", u"V", u"t"), 0);
}

TEST_F(SettingsStore, WritersFailCleanlyAndCloseWhatTheyOpened) {
    for (const char* call : {"RegCreateKeyEx", "RegSetValueEx"}) {
        for (int skip : {0, 1}) {
            if (std::string(call) == "RegSetValueEx" && skip) continue;
            SCOPED_TRACE(std::string(call) + " after " + std::to_string(skip));
            sim::failCall(call, win::err::accessDenied, 1, skip);
            EXPECT_EQ(WriteStoreDword(&settings_, kStoreRoot, u"%s\\Watermark", u"D", 1), 0);
            EXPECT_EQ(sim::openResources().keys, 0u);
            sim::clearFaults();
        }
    }
    sim::failCall("RegQueryValueEx", win::err::accessDenied, 1, 1);  // the second read
    std::uint32_t value = 5;
    sim::regSetDword(currentUser, kPrinter + "\\Watermark", "D", 1);
    EXPECT_EQ(ReadStoreDword(&settings_, kStoreRoot, u"%s\\Watermark", u"D", &value), 0);
    EXPECT_EQ(value, 5u);
}

TEST_F(SettingsStore, EmptyPrinterNameReadsAndWritesNothing) {
    DriverSettings nameless{};
    EXPECT_EQ(WriteStoreDword(&nameless, kStoreRoot, u"%s\\Watermark", u"D", 1), 0);
    std::uint32_t value = 0;
    EXPECT_EQ(ReadStoreDword(&nameless, kStoreRoot, u"%s\\Watermark", u"D", &value), 0);
    EXPECT_EQ(sim::regSubKeys(currentUser, kRoot).size(), 1u) << "only PrinterIDs";
}

}  // namespace
