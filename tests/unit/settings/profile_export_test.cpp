// The profile export: the sample profile against its golden file, and the export's choices of
// keys, its defaults, its bounds and its failures.
#include "jobhost/settings/profile_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_values.h"
#include "sample_profile.h"
#include "win/profile.h"
#include "win/sim/machine.h"

namespace {

namespace sim = win::sim;
constexpr char16_t kIni[] = u"C:\\Temp\\profile.ini";

std::string Golden() {
    std::ifstream in(std::string(JH_SETTINGS_DATA_DIR) + "/sample_profile.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::u16string IniValue(const char16_t* section, const char16_t* key) {
    char16_t buffer[300];
    win::Dword count = win::ini::readString(section, key, u"<none>", buffer, 300, kIni);
    return std::u16string(buffer, count);
}

class ProfileExport : public ::testing::Test {
  protected:
    void SetUp() override { sim::reset(); }
    void TearDown() override {
        EXPECT_EQ(sim::openResources().total(), 0u)
            << ::testing::PrintToString(sim::describeOpenResources());
    }
};

TEST_F(ProfileExport, SampleProfileMatchesTheGoldenFile) {
    DriverSettings settings = sample_profile::MakeRecord();
    ASSERT_TRUE(sample_profile::WriteStore(settings));
    sample_profile::ExpectStoreReadsBack(settings);
    ASSERT_EQ(ExportProfile(&settings, kIni), 1);

    std::optional<std::string> exported = sim::fileRead("C:\\Temp\\profile.ini");
    ASSERT_TRUE(exported);
    bool allCrLf = false;
    std::string text = sample_profile::WithUnixLineEnds(*exported, &allCrLf);
    EXPECT_TRUE(allCrLf);
    std::string golden = Golden();
    if (text != golden) {
        // Kept beside the test binary for a look at the difference.
        std::ofstream(std::string(JH_SETTINGS_ACTUAL_DIR) + "/sample_profile.actual.ini",
                      std::ios::binary)
            << text;
    }
    ASSERT_FALSE(golden.empty()) << "golden file missing";
    EXPECT_EQ(text, golden);

    // A second export over the first gives the same file.
    ASSERT_EQ(ExportProfile(&settings, kIni), 1);
    EXPECT_EQ(sim::fileRead("C:\\Temp\\profile.ini"), exported);
}

TEST_F(ProfileExport, EachSectionIsWrittenAfreshAndOtherSectionsStay) {
    DriverSettings settings = sample_profile::MakeRecord();
    ASSERT_TRUE(sample_profile::WriteStore(settings));
    sim::fileWrite("C:\\Temp\\profile.ini",
                   "[Mine]\r\nkeep=1\r\n[PDF Settings]\r\nStale=1\r\nJPEG Quality=1\r\n");
    ASSERT_EQ(ExportProfile(&settings, kIni), 1);
    EXPECT_EQ(IniValue(u"Mine", u"keep"), u"1");
    EXPECT_EQ(IniValue(u"PDF Settings", u"Stale"), u"<none>");
    EXPECT_EQ(IniValue(u"PDF Settings", u"JPEG Quality"), u"90");
}

TEST_F(ProfileExport, RecordFieldsChooseTheirKeys) {
    struct Case {
        std::uint32_t depth;
        const char16_t* bits;
    };
    for (Case c : {Case{0, u"1"}, Case{1, u"8gray"}, Case{2, u"8"}, Case{3, u"24"}}) {
        DriverSettings settings{};
        SetDmDeviceName(&settings, u"Plain");
        SetColorDepth(&settings, c.depth);
        SetFixedFileName(&settings, u"fixed");
        SetFileNameGenerationFlags(&settings, c.depth == 3 ? 7 : 6);
        ASSERT_EQ(ExportProfile(&settings, kIni), 1);
        EXPECT_EQ(IniValue(u"Default Settings", u"BitsPerPixel"), c.bits);
        bool custom = c.depth == 3;
        EXPECT_EQ(IniValue(u"Default Settings", u"Custom Filename template"),
                  custom ? u"fixed" : u"<none>");
        EXPECT_EQ(IniValue(u"Default Settings", u"FixedFileName"), custom ? u"<none>" : u"fixed");
    }
}

TEST_F(ProfileExport, EmptyStoreExportsDefaultsAndNoTexts) {
    DriverSettings settings{};
    SetDmDeviceName(&settings, u"Plain");
    SetSelectedBatesFormat(&settings, 0);
    ASSERT_EQ(ExportProfile(&settings, kIni), 1);
    EXPECT_EQ(IniValue(u"PDF Settings", u"JPEG Quality"), u"85");
    EXPECT_EQ(IniValue(u"PDF Settings", u"Document Title"), u"<none>");
    EXPECT_EQ(IniValue(u"Post Print Options", u"Open output folder"), u"No");
    EXPECT_EQ(IniValue(u"Email Settings", u"Sender Client"), u"0");
    EXPECT_EQ(IniValue(u"Redirect Printing", u"Printer count"), u"0");
    EXPECT_EQ(IniValue(u"Bates Numbering", u"Selected Bates Format"), u"1");
    EXPECT_EQ(IniValue(u"Bates Numbering", u"Number of Formats"), u"0");
    EXPECT_EQ(IniValue(u"Paper Size Definitions", u"Number of Paper Sizes"), u"0");
    EXPECT_EQ(IniValue(u"Default Settings", u"FirstWatermarkBrightness"),
              std::u16string(u"1966110"));  // 30 * 65536 + 30
    EXPECT_EQ(IniValue(u"Default Settings", u"FirstWatermarkPosition"), u"262148");
}

TEST_F(ProfileExport, HugeCountsFromTheStoreAreBounded) {
    DriverSettings settings{};
    SetDmDeviceName(&settings, u"Plain");
    WriteStoreString(&settings, kStoreRoot, u"%s\\BatesNumbering", u"Number of Formats",
                     u"2000000000");
    WriteStoreDword(&settings, kStoreRoot, u"%s\\PapersList", u"Count", 0xFFFFFFFFu);
    SetStoreNumber(&settings, StoreValue::pdfForceEmbedFontCount, 2000000000);
    for (const char16_t* format : {u"%s\\BatesNumbering\\999", u"%s\\BatesNumbering\\1000"})
        WriteStoreString(&settings, kStoreRoot, format, u"Name", u"Far");
    ASSERT_EQ(ExportProfile(&settings, kIni), 1);
    EXPECT_EQ(IniValue(u"Bates Numbering", u"Number of Formats"), u"2000000000");
    EXPECT_EQ(IniValue(u"Paper Size Definitions", u"Number of Paper Sizes"), u"4294967295");
    EXPECT_EQ(IniValue(u"Bates Number 999", u"Name"), u"Far");
    EXPECT_EQ(IniValue(u"Bates Number 1000", u"Name"), u"<none>");
}

TEST_F(ProfileExport, FailuresStopTheExport) {
    DriverSettings nameless{};
    EXPECT_EQ(ExportProfile(nullptr, kIni), 0);
    EXPECT_EQ(ExportProfile(&nameless, kIni), 0);
    DriverSettings settings{};
    SetDmDeviceName(&settings, u"Plain");
    EXPECT_EQ(ExportProfile(&settings, nullptr), 0);
    EXPECT_EQ(ExportProfile(&settings, u""), 0);
    EXPECT_EQ(ExportProfile(&settings, u"C:\\NoSuchFolder\\p.ini"), 0);

    sim::failCall("WritePrivateProfileString", win::err::accessDenied, 1, 5);
    EXPECT_EQ(ExportProfile(&settings, kIni), 0);
    // Nothing was written after the failure: the sixth call failed, the rest were not made.
    EXPECT_EQ(IniValue(u"Default Settings", u"PrintQuality"), u"<none>");
    EXPECT_EQ(IniValue(u"Default Settings", u"PaperWidth"), u"0");
    EXPECT_EQ(IniValue(u"Email Settings", nullptr), u"<none>");
}

}  // namespace
