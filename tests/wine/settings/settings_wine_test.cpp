// A whole profile through the settings library on the real registry: written, read back, and
// exported with the platform's own INI calls to a file that must match the host tests' golden
// file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "jobhost/settings/profile_export.h"
#include "sample_profile.h"
#include "win/environment.h"
#include "win/file.h"

namespace {

std::string ReadBytes(const char16_t* path) {
    win::file::UniqueFile in(
        win::file::create(path, win::file::access::genericRead, win::file::share::read,
                          win::file::disposition::openExisting, win::file::attributeNormal));
    if (!in) return {};
    std::string bytes;
    char chunk[4096];
    win::Dword got = 0;
    while (win::file::read(in.get(), chunk, sizeof chunk, &got) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

class SettingsOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sample_profile::RemoveStore()) << "left from an earlier run";
        char16_t temp[260];
        win::Dword length = win::env::getVariable(u"TEMP", temp, 260);
        ASSERT_GT(length, 0u);
        ASSERT_LT(length, 240u);
        ini_ = std::u16string(temp, length) + u"\\JhSettingsWine_profile.ini";
        win::file::remove(ini_.c_str());
    }
    void TearDown() override {
        win::file::remove(ini_.c_str());
        EXPECT_TRUE(sample_profile::RemoveStore());
    }

    std::u16string ini_;
};

TEST_F(SettingsOnWindows, WholeProfileReadsBackAndExportsAsTheGoldenFile) {
    DriverSettings settings = sample_profile::MakeRecord();
    ASSERT_TRUE(sample_profile::WriteStore(settings));
    sample_profile::ExpectStoreReadsBack(settings);
    ASSERT_EQ(ExportProfile(&settings, ini_.c_str()), 1);

    bool allCrLf = false;
    std::string exported = sample_profile::WithUnixLineEnds(ReadBytes(ini_.c_str()), &allCrLf);
    EXPECT_TRUE(allCrLf);
    std::ifstream in(JH_SETTINGS_GOLDEN, std::ios::binary);
    ASSERT_TRUE(in) << JH_SETTINGS_GOLDEN;
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(exported, golden.str());

    // The export over an existing file gives the same file again.
    ASSERT_EQ(ExportProfile(&settings, ini_.c_str()), 1);
    EXPECT_EQ(sample_profile::WithUnixLineEnds(ReadBytes(ini_.c_str()), &allCrLf), exported);
}

}  // namespace
