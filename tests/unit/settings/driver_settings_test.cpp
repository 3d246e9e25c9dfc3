// The settings record read and written at its byte offsets, and the rules of its accessors.
#include "jobhost/settings/driver_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "jobhost/settings/settings_bits.h"

namespace {

// A record as the driver writes it: bytes put at the documented offsets, little-endian.
class RawRecord {
  public:
    RawRecord() { bytes_.fill(0); }
    void Put16(std::size_t offset, std::uint16_t value) {
        bytes_[offset] = std::uint8_t(value);
        bytes_[offset + 1] = std::uint8_t(value >> 8);
    }
    void Put32(std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[offset + i] = std::uint8_t(value >> (8 * i));
    }
    void PutText(std::size_t offset, const std::u16string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) Put16(offset + 2 * i, text[i]);
        Put16(offset + 2 * text.size(), 0);
    }
    std::uint32_t Get32(std::size_t offset) const {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | bytes_[offset + i];
        return value;
    }
    std::uint16_t Get16(std::size_t offset) const {
        return std::uint16_t(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::array<std::uint8_t, 6879>& bytes() { return bytes_; }

  private:
    std::array<std::uint8_t, 6879> bytes_;
};

// The record placed at an odd address, as a copy inside a larger block may be.
class OddRecord {
  public:
    explicit OddRecord(const std::array<std::uint8_t, 6879>& bytes) {
        std::memcpy(storage_.data() + 1, bytes.data(), bytes.size());
    }
    DriverSettings* get() { return reinterpret_cast<DriverSettings*>(storage_.data() + 1); }

  private:
    alignas(8) std::array<std::uint8_t, 6879 + 8> storage_{};
};

TEST(DriverSettingsLayout, FieldsAreReadAtTheirOffsets) {
    RawRecord raw;
    raw.PutText(0, u"Office PDF");
    raw.Put16(76, 2);
    raw.Put16(78, 9);
    raw.Put16(80, 2970);
    raw.Put16(82, 2100);
    raw.Put16(90, 600);
    raw.Put16(96, 98);
    raw.Put32(168, 24);
    raw.Put32(220, 0x8A000024u);
    raw.Put32(224, 12);
    raw.Put32(228, 2);
    raw.Put32(236, 75);
    raw.Put32(244, 150);
    raw.Put32(248, 4960);
    raw.Put32(252, 7016);
    raw.PutText(784, u"C:\\Out");
    raw.PutText(1824, u"INV");
    raw.PutText(1842, u"tif");
    raw.PutText(2372, u"C:\\ui.ini");
    raw.PutText(2892, u"tiff.dll");
    raw.PutText(3412, u"jpeg.dll");
    raw.Put32(4452, 3);
    raw.PutText(4460, u"S-1-5-21-1-2-3-1001");
    raw.PutText(4972, u"P.bmp");
    raw.PutText(5492, u"L.jpg");
    raw.Put32(6012, 0x425);
    raw.Put32(6016, (40u << 16) | 25u);
    raw.PutText(6020, u"text");
    raw.PutText(6276, u"sep");
    raw.Put32(6532, std::uint32_t(-12));
    raw.Put32(6548, 700);
    raw.PutText(6532 + 28, u"Arial");
    raw.Put32(6624, 0x00A00007);
    raw.Put32(6628, std::uint32_t(-100));
    raw.Put32(6632, 50);
    raw.Put32(6636, std::uint32_t(-90));
    raw.Put32(6640, 0x00FF00);
    raw.Put16(6652, 0x1FE0);
    raw.Put16(6654 + 2 * 7, 9);
    raw.bytes()[6670] = 4;
    raw.PutText(6671, u"/custom parameter");
    raw.Put32(6803, 0x01020304);
    raw.Put32(6807, 0x80000001u);

    OddRecord odd(raw.bytes());
    const DriverSettings* p = odd.get();
    EXPECT_EQ(GetDmDeviceName(p).View(), u"Office PDF");
    EXPECT_EQ(GetDmOrientation(p), 2);
    EXPECT_EQ(GetDmPaperSize(p), 9);
    EXPECT_EQ(GetDmPaperLength(p), 2970);
    EXPECT_EQ(GetDmPaperWidth(p), 2100);
    EXPECT_EQ(GetDmPrintQuality(p), 600);
    EXPECT_EQ(GetDmYResolution(p), 98);
    EXPECT_EQ(GetDmBitsPerPel(p), 24u);
    EXPECT_EQ(GetFlags(p), 0x8A000024u);
    EXPECT_EQ(GetFileFormat(p), 12u);
    EXPECT_EQ(GetColorDepth(p), 2u);
    EXPECT_EQ(GetLossRatio(p), 75u);
    EXPECT_EQ(GetBrightness(p), 150u);
    EXPECT_EQ(GetPaperWidthInPixels(p), 4960u);
    EXPECT_EQ(GetPaperHeightInPixels(p), 7016u);
    EXPECT_EQ(GetOutputDirectory(p).View(), u"C:\\Out");
    EXPECT_EQ(GetFileNamePrefix(p).View(), u"INV");
    EXPECT_EQ(GetFileExtension(p).View(), u"tif");
    EXPECT_EQ(GetINIFileName(p).View(), u"C:\\ui.ini");
    EXPECT_EQ(GetTiffLibraryName(p).View(), u"tiff.dll");
    EXPECT_EQ(GetJpegLibraryName(p).View(), u"jpeg.dll");
    EXPECT_EQ(GetSessionID(p), 3u);
    EXPECT_EQ(GetUserSid(p).View(), u"S-1-5-21-1-2-3-1001");
    EXPECT_EQ(GetWatermarkFilePortrait(p).View(), u"P.bmp");
    EXPECT_EQ(GetWatermarkFileLandscape(p).View(), u"L.jpg");
    EXPECT_EQ(GetWatermarkFlags(p), 0x425u);
    EXPECT_EQ(GetWatermarkBrightnessPortrait(p), 40u);
    EXPECT_EQ(GetWatermarkBrightnessLandscape(p), 25u);
    EXPECT_EQ(GetAnnotationText(p).View(), u"text");
    EXPECT_EQ(GetAnnotationSeparator(p).View(), u"sep");
    SettingsLogFont font = GetAnnotationFont(p);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(std::u16string(font.lfFaceName), u"Arial");
    EXPECT_EQ(GetAnnotationFlags(p), 0x00A00007u);
    EXPECT_EQ(GetAnnotationXOffset(p), -100);
    EXPECT_EQ(GetAnnotationYOffset(p), 50);
    EXPECT_EQ(GetAnnotationRotation(p), -90);
    EXPECT_EQ(GetAnnotationColor(p), 0x00FF00u);
    EXPECT_EQ(GetPDFFlags(p), 0x1FE0u);
    EXPECT_EQ(GetStartApplicationParameterOrder(p, 7), 9u);
    EXPECT_EQ(GetSelectedBatesFormat(p), 4u);
    EXPECT_EQ(GetCustomStartApplicationParameter(p).View(), u"/custom parameter");
    EXPECT_EQ(GetPrinterId(p), 0x01020304u);
    EXPECT_EQ(GetStoreFlags(p), 0x80000001u);
    EXPECT_TRUE(TestSettingsBit(p, kStoreProtectedMode));
    EXPECT_TRUE(TestSettingsBit(p, kFlagJobOptionSet));
}

// Each setter changes its own bytes and no other: the rest of a record filled with a pattern,
// the uninterpreted fields and reserved bytes included, is carried unchanged.
TEST(DriverSettingsLayout, SettersTouchOnlyTheirBytes) {
    struct Case {
        const char* field;
        std::size_t offset;
        std::vector<std::uint8_t> expected;
        std::function<void(DriverSettings*)> set;
    };
    const std::vector<Case> cases = {
        {"PrinterId",
         6803,
         {0x04, 0x03, 0x02, 0x01},
         [](DriverSettings* p) { SetPrinterId(p, 0x01020304); }},
        {"StoreFlags",
         6807,
         {0x01, 0x00, 0x00, 0x80},
         [](DriverSettings* p) { SetStoreFlags(p, 0x80000001u); }},
        {"CustomStartApplicationParameter",
         6671,
         {'/', 0, 'x', 0, 0, 0},
         [](DriverSettings* p) { SetCustomStartApplicationParameter(p, u"/x"); }},
        {"SelectedBatesFormat",
         6670,
         {0x05},
         [](DriverSettings* p) { SetSelectedBatesFormat(p, 5); }},
        {"PDFFlags", 6652, {0x20, 0x01}, [](DriverSettings* p) { SetPDFFlags(p, 0x0120); }},
        {"StartApplicationParameterOrder[3]",
         6660,
         {0x07, 0x00},
         [](DriverSettings* p) { SetStartApplicationParameterOrder(p, 3, 7); }},
        {"AnnotationRotation",
         6636,
         {0xA6, 0xFF, 0xFF, 0xFF},
         [](DriverSettings* p) { SetAnnotationRotation(p, -90); }},
        {"dmPrintQuality", 90, {0xCC, 0x00}, [](DriverSettings* p) { SetDmPrintQuality(p, -5); }},
        {"dmYResolution", 96, {0x62, 0x00}, [](DriverSettings* p) { SetDmYResolution(p, -5); }},
        {"SessionID", 4452, {0x09, 0, 0, 0}, [](DriverSettings* p) { SetSessionID(p, 9); }},
        {"FileExtension",
         1842,
         {'t', 0, 'x', 0, 't', 0, 0, 0},
         [](DriverSettings* p) { SetFileExtension(p, u"txt"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        RawRecord raw;
        for (std::size_t i = 0; i < raw.bytes().size(); ++i) raw.bytes()[i] = std::uint8_t(i * 7);
        std::array<std::uint8_t, 6879> expected = raw.bytes();
        std::copy(c.expected.begin(), c.expected.end(), expected.begin() + c.offset);

        OddRecord odd(raw.bytes());
        c.set(odd.get());
        EXPECT_EQ(std::memcmp(odd.get()->abBytes, expected.data(), expected.size()), 0);
    }
}

TEST(DriverSettingsRules, ResolutionSettersTranslateNegativeCodes) {
    struct Case {
        std::int16_t given;
        std::int16_t quality;
        std::int16_t yResolution;
    };
    const Case cases[] = {
        {-1, 100, 100},
        {-2, 200, 200},
        {-3, 300, 300},
        {-4, 600, 600},
        {-5, 204, 98},
        {-6, 204, 196},
        {-7, 7, 7},
        {-1200, 1200, 1200},
        {0, 0, 0},
        {720, 720, 720},
        {INT16_MIN, INT16_MAX, INT16_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        DriverSettings settings{};
        SetDmPrintQuality(&settings, c.given);
        SetDmYResolution(&settings, c.given);
        EXPECT_EQ(GetDmPrintQuality(&settings), c.quality);
        EXPECT_EQ(GetDmYResolution(&settings), c.yResolution);
    }
}

// Stored value -> what the getter reports, and given value -> what the setter stores.
struct NumberRule {
    const char* field;
    std::function<std::uint32_t(const DriverSettings*)> get;
    std::function<void(DriverSettings*, std::uint32_t)> set;
    std::function<void(DriverSettings*, std::uint32_t)> store;  // raw store at the offset
    std::vector<std::pair<std::uint32_t, std::uint32_t>> reads;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> writes;
};

void StoreRaw(DriverSettings* p, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p->abBytes[offset + i] = std::uint8_t(value >> (8 * i));
}

TEST(DriverSettingsRules, NumberGettersAndSettersKeepTheirRanges) {
    const std::vector<NumberRule> rules = {
        {"FileFormat",
         GetFileFormat,
         SetFileFormat,
         [](DriverSettings* p, std::uint32_t v) { StoreRaw(p, 224, v); },
         {{0, 0}, {38, 38}, {39, 39}},
         {{0, 0}, {38, 38}, {39, 19}, {1000, 19}}},
        {"ColorDepth",
         GetColorDepth,
         SetColorDepth,
         [](DriverSettings* p, std::uint32_t v) { StoreRaw(p, 228, v); },
         {{0, 0}, {3, 3}, {4, 3}, {7, 3}, {0xFFFFFFFFu, 3}},
         {{2, 2}, {3, 3}, {9, 3}}},
        {"LossRatio",
         GetLossRatio,
         SetLossRatio,
         [](DriverSettings* p, std::uint32_t v) { StoreRaw(p, 236, v); },
         {{0, 1}, {1, 1}, {100, 100}, {101, 100}},
         {{0, 0}, {100, 100}, {101, 100}}},
        {"Brightness",
         GetBrightness,
         SetBrightness,
         [](DriverSettings* p, std::uint32_t v) { StoreRaw(p, 244, v); },
         {{0, 0}, {199, 199}, {200, 199}, {5000, 199}},
         {{250, 250}}},
        {"FileNameGenerationFlags",
         GetFileNameGenerationFlags,
         SetFileNameGenerationFlags,
         [](DriverSettings* p, std::uint32_t v) { StoreRaw(p, 780, v); },
         {{7, 7}, {8, 0}, {100, 0}},
         {{7, 7}, {8, 0}}},
    };
    for (const NumberRule& rule : rules) {
        SCOPED_TRACE(rule.field);
        for (auto [stored, read] : rule.reads) {
            DriverSettings settings{};
            rule.store(&settings, stored);
            EXPECT_EQ(rule.get(&settings), read) << "stored " << stored;
        }
        for (auto [given, stored] : rule.writes) {
            DriverSettings settings{};
            DriverSettings expected{};
            rule.set(&settings, given);
            rule.store(&expected, stored);
            // dmBitsPerPel follows ColorDepth; compare the field alone.
            EXPECT_EQ(std::memcmp(settings.abBytes + 220, expected.abBytes + 220, 6879 - 220), 0)
                << "given " << given;
        }
    }
}

TEST(DriverSettingsRules, ColorDepthKeepsBitsPerPelInStep) {
    struct Case {
        std::uint32_t depth;
        std::uint32_t bitsPerPel;    // stored by the setter
        std::uint32_t bitsPerPixel;  // derived by the getter
    };
    const Case cases[] = {{0, 1, 1}, {1, 24, 8}, {2, 24, 8}, {3, 24, 24}, {7, 24, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        DriverSettings settings{};
        SetDmBitsPerPel(&settings, 99);
        SetColorDepth(&settings, c.depth);
        EXPECT_EQ(GetDmBitsPerPel(&settings), c.bitsPerPel);
        EXPECT_EQ(GetBitsPerPixel(&settings), c.bitsPerPixel);
    }
}

TEST(DriverSettingsRules, WatermarkBrightnessHalves) {
    struct Case {
        std::uint32_t stored;
        std::uint32_t portrait;
        std::uint32_t landscape;
    };
    const Case cases[] = {
        {0, 30, 0},
        {(101u << 16) | 101u, 30, 30},
        {(1u << 16) | 100u, 1, 100},
        {(100u << 16) | 50u, 100, 50},
        {0xFFFFFFFFu, 30, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        DriverSettings settings{};
        SetWatermarkBrightness(&settings, c.stored);
        EXPECT_EQ(GetWatermarkBrightnessPortrait(&settings), c.portrait);
        EXPECT_EQ(GetWatermarkBrightnessLandscape(&settings), c.landscape);
    }

    DriverSettings settings{};
    SetWatermarkBrightness(&settings, (70u << 16) | 20u);
    SetWatermarkBrightnessPortrait(&settings, 55);
    EXPECT_EQ(GetWatermarkBrightness(&settings), (55u << 16) | 20u);
    SetWatermarkBrightnessLandscape(&settings, 0);
    EXPECT_EQ(GetWatermarkBrightness(&settings), 55u << 16);
    for (std::uint32_t ignored : {0u, 101u, 0x10000u})
        SetWatermarkBrightnessPortrait(&settings, ignored);
    for (std::uint32_t ignored : {101u, 0x10000u})
        SetWatermarkBrightnessLandscape(&settings, ignored);
    EXPECT_EQ(GetWatermarkBrightness(&settings), 55u << 16);
}

TEST(DriverSettingsRules, RotationAndParameterOrderIgnoreValuesOutOfRange) {
    DriverSettings settings{};
    for (std::int32_t kept : {-180, 0, 180, 45}) {
        SetAnnotationRotation(&settings, kept);
        EXPECT_EQ(GetAnnotationRotation(&settings), kept);
    }
    for (std::int32_t ignored : {-181, 181, 360, INT32_MIN})
        SetAnnotationRotation(&settings, ignored);
    EXPECT_EQ(GetAnnotationRotation(&settings), 45);

    for (std::uint32_t i = 0; i < 8; ++i)
        SetStartApplicationParameterOrder(&settings, i, std::uint16_t(9 - i));
    SetStartApplicationParameterOrder(&settings, 0, 10);  // not a digit
    SetStartApplicationParameterOrder(&settings, 8, 1);   // no such entry
    EXPECT_EQ(GetStartApplicationParameterOrder(&settings, 0), 9u);
    EXPECT_EQ(GetStartApplicationParameterOrder(&settings, 7), 2u);
    EXPECT_EQ(GetStartApplicationParameterOrder(&settings, 8), 0u);
    EXPECT_EQ(settings.abBytes[6670], 0u) << "entry 8 would be SelectedBatesFormat";
}

TEST(DriverSettingsRules, AbsentRecordGivesTheFallbacks) {
    const DriverSettings* none = nullptr;
    EXPECT_EQ(GetDmPrintQuality(none), 300);
    EXPECT_EQ(GetDmYResolution(none), 300);
    EXPECT_EQ(GetDmOrientation(none), 1);
    EXPECT_EQ(GetDmPaperSize(none), 1);
    EXPECT_EQ(GetDmPaperLength(none), 1);
    EXPECT_EQ(GetDmPaperWidth(none), 1);
    EXPECT_EQ(GetFileFormat(none), 4u);
    EXPECT_EQ(GetColorDepth(none), 0u);
    EXPECT_EQ(GetBitsPerPixel(none), 1u);
    EXPECT_EQ(GetLossRatio(none), 0u);
    EXPECT_EQ(GetBrightness(none), 0u);
    EXPECT_EQ(GetPaperWidthInPixels(none), 1728u);
    EXPECT_EQ(GetPaperHeightInPixels(none), 2200u);
    EXPECT_EQ(GetWatermarkBrightnessPortrait(none), 30u);
    EXPECT_EQ(GetWatermarkBrightnessLandscape(none), 30u);
    EXPECT_EQ(GetAnnotationRotation(none), 0);
    EXPECT_EQ(GetStartApplicationParameterOrder(none, 0), 0u);
    EXPECT_EQ(GetSelectedBatesFormat(none), 0u);
    EXPECT_EQ(GetPrinterId(none), 0u);
    EXPECT_EQ(GetOutputDirectory(none).nLength, 0u);
    EXPECT_EQ(GetOutputDirectory(none).sz[0], 0);
    SettingsLogFont font = GetAnnotationFont(none);
    EXPECT_EQ(font.lfHeight, 0);
    EXPECT_EQ(font.lfFaceName[0], 0);

    // Setters and bit operations do nothing and do not fail.
    SetFileFormat(nullptr, 3);
    SetOutputDirectory(nullptr, u"x");
    SetSettingsBit(nullptr, kWatermarkPrint);
    ClearSettingsBit(nullptr, kWatermarkPrint);
}

TEST(DriverSettingsBits, AbsentRecordTestsOnExceptTheNamedOnes) {
    for (std::uint8_t bit = 0; bit < 32; ++bit) {
        SCOPED_TRACE(int(bit));
        EXPECT_EQ(TestSettingsBit(nullptr, {SettingsBitSet::flags, bit}), bit < 28);
        EXPECT_EQ(TestSettingsBit(nullptr, {SettingsBitSet::watermarkFlags, bit}), bit != 10);
        EXPECT_TRUE(TestSettingsBit(nullptr, {SettingsBitSet::annotationFlags, bit}));
        EXPECT_TRUE(TestSettingsBit(nullptr, {SettingsBitSet::launchFlags, bit}));
    }
    EXPECT_FALSE(TestSettingsBit(nullptr, {SettingsBitSet::pdfFlags, 16})) << "beyond 16 bits";
}

TEST(DriverSettingsBits, LaunchFlagsBitSixTestsTheOppositeWay) {
    DriverSettings settings{};
    EXPECT_TRUE(TestSettingsBit(&settings, LaunchFlagsBit(6)));
    EXPECT_FALSE(TestSettingsBit(&settings, LaunchFlagsBit(5)));
    SetSettingsBit(&settings, LaunchFlagsBit(6));
    EXPECT_EQ(GetLaunchFlags(&settings), 0x40u);
    EXPECT_FALSE(TestSettingsBit(&settings, LaunchFlagsBit(6)));
    ClearSettingsBit(&settings, LaunchFlagsBit(6));
    EXPECT_EQ(GetLaunchFlags(&settings), 0u);
}

TEST(DriverSettingsBits, EveryNamedBitSetsAndClearsItsOwnBitOnly) {
    struct Named {
        SettingsBit bit;
        std::size_t offset;
        std::uint8_t number;
    };
    const Named named[] = {
        {kFlagTiffInternetFormat, 220, 2},
        {kFlagTiffPageNumberingTag, 220, 3},
        {kFlagTiffReverseBitOrder, 220, 4},
        {kFlagAllPagesInOneFile, 220, 5},
        {kFlagAppendFile, 220, 20},
        {kFlagRedirectPrinting, 220, 25},
        {kFlagBatesNumbering, 220, 27},
        {kFlagJobOptionSet, 220, 31},
        {kWatermarkPrint, 6012, 0},
        {kWatermarkFirstPageOnly, 6012, 1},
        {kWatermarkPortraitStretchToFit, 6012, 2},
        {kWatermarkPortraitStretchToWidth, 6012, 3},
        {kWatermarkPortraitPlacement, 6012, 4},
        {kWatermarkPortraitTile, 6012, 5},
        {kWatermarkLandscapeStretchToFit, 6012, 6},
        {kWatermarkLandscapeStretchToWidth, 6012, 7},
        {kWatermarkLandscapePlacement, 6012, 8},
        {kWatermarkLandscapeTile, 6012, 9},
        {kWatermarkFirstImage, 6012, 10},
        {kAnnotationDraw, 6624, 0},
        {kAnnotationWithText, 6624, 1},
        {kAnnotationAddDate, 6624, 2},
        {kAnnotationDateMonthDayYear, 6624, 3},
        {kAnnotationDateShortMonthDayYear, 6624, 4},
        {kAnnotationDateDayMonthYear, 6624, 5},
        {kAnnotationDateDayMonthNameYear, 6624, 6},
        {kAnnotationDateYearMonthDay, 6624, 7},
        {kAnnotationDateNumber, 6624, 8},
        {kAnnotationAddTime, 6624, 9},
        {kAnnotationClock12, 6624, 10},
        {kAnnotationClock24, 6624, 11},
        {kAnnotationMinutes, 6624, 12},
        {kAnnotationSeconds, 6624, 13},
        {kAnnotationTimeZone, 6624, 14},
        {kAnnotationTransparent, 6624, 15},
        {kAnnotationTopRight, 6624, 18},
        {kAnnotationCentre, 6624, 19},
        {kAnnotationBottomLeft, 6624, 20},
        {kAnnotationBottomRight, 6624, 21},
        {kAnnotationOffsetsTenthMm, 6624, 22},
        {kAnnotationOffsetsHundredthInch, 6624, 23},
        {kStoreProtectedMode, 6807, 0},
    };
    for (const Named& n : named) {
        SCOPED_TRACE(std::to_string(n.offset) + ":" + std::to_string(n.number));
        RawRecord raw;
        raw.Put32(n.offset, 0x00000000u);
        OddRecord odd(raw.bytes());
        DriverSettings* p = odd.get();
        EXPECT_FALSE(TestSettingsBit(p, n.bit));
        SetSettingsBit(p, n.bit);
        EXPECT_TRUE(TestSettingsBit(p, n.bit));
        std::uint32_t field = 0;
        for (int i = 3; i >= 0; --i) field = (field << 8) | p->abBytes[n.offset + i];
        EXPECT_EQ(field, 1u << n.number);
        // A clear takes only this bit away.
        for (int i = 0; i < 4; ++i) p->abBytes[n.offset + i] = 0xFF;
        ClearSettingsBit(p, n.bit);
        EXPECT_FALSE(TestSettingsBit(p, n.bit));
        field = 0;
        for (int i = 3; i >= 0; --i) field = (field << 8) | p->abBytes[n.offset + i];
        EXPECT_EQ(field, ~(1u << n.number));
    }
}

TEST(DriverSettingsBits, PdfFlagsAreSixteenBitsWide) {
    DriverSettings settings{};
    settings.abBytes[6654] = 0xAB;  // the next field
    SetSettingsBit(&settings, {SettingsBitSet::pdfFlags, 12});
    SetSettingsBit(&settings, {SettingsBitSet::pdfFlags, 16});  // no such bit
    EXPECT_EQ(GetPDFFlags(&settings), 0x1000u);
    EXPECT_EQ(settings.abBytes[6654], 0xAB);
}

struct TextRule {
    const char* field;
    std::size_t capacity;
    std::function<void(DriverSettings*, const char16_t*)> set;
    std::function<std::u16string(const DriverSettings*)> get;
};

template <typename Text>
std::u16string ViewOf(const Text& text) {
    return std::u16string(text.View());
}

TEST(DriverSettingsTexts, SettersRefuseTextsThatDoNotFitWithTheirTerminator) {
    const std::vector<TextRule> rules = {
        {"dmDeviceName", 32, SetDmDeviceName, [](auto p) { return ViewOf(GetDmDeviceName(p)); }},
        {"ApplicationPath", 260, SetApplicationPath,
         [](auto p) { return ViewOf(GetApplicationPath(p)); }},
        {"OutputDirectory", 260, SetOutputDirectory,
         [](auto p) { return ViewOf(GetOutputDirectory(p)); }},
        {"FixedFileName", 260, SetFixedFileName,
         [](auto p) { return ViewOf(GetFixedFileName(p)); }},
        {"FileNamePrefix", 9, SetFileNamePrefix,
         [](auto p) { return ViewOf(GetFileNamePrefix(p)); }},
        {"FileExtension", 5, SetFileExtension, [](auto p) { return ViewOf(GetFileExtension(p)); }},
        {"UnnamedPath1", 260, SetUnnamedPath1, [](auto p) { return ViewOf(GetUnnamedPath1(p)); }},
        {"INIFileName", 260, SetINIFileName, [](auto p) { return ViewOf(GetINIFileName(p)); }},
        {"TiffLibraryName", 260, SetTiffLibraryName,
         [](auto p) { return ViewOf(GetTiffLibraryName(p)); }},
        {"JpegLibraryName", 260, SetJpegLibraryName,
         [](auto p) { return ViewOf(GetJpegLibraryName(p)); }},
        {"UnnamedPath2", 260, SetUnnamedPath2, [](auto p) { return ViewOf(GetUnnamedPath2(p)); }},
        {"UserSid", 256, SetUserSid, [](auto p) { return ViewOf(GetUserSid(p)); }},
        {"WatermarkFilePortrait", 260, SetWatermarkFilePortrait,
         [](auto p) { return ViewOf(GetWatermarkFilePortrait(p)); }},
        {"WatermarkFileLandscape", 260, SetWatermarkFileLandscape,
         [](auto p) { return ViewOf(GetWatermarkFileLandscape(p)); }},
        {"CustomStartApplicationParameter", 66, SetCustomStartApplicationParameter,
         [](auto p) { return ViewOf(GetCustomStartApplicationParameter(p)); }},
    };
    for (const TextRule& rule : rules) {
        SCOPED_TRACE(rule.field);
        DriverSettings settings;
        std::memset(&settings, 0x5A, sizeof settings);
        std::array<std::uint8_t, 6879> before;
        std::memcpy(before.data(), settings.abBytes, before.size());

        std::u16string longest(rule.capacity - 1, u'a');
        rule.set(&settings, longest.c_str());
        EXPECT_EQ(rule.get(&settings), longest);

        std::u16string tooLong(rule.capacity, u'b');
        rule.set(&settings, tooLong.c_str());
        EXPECT_EQ(rule.get(&settings), longest);
        std::u16string far(5000, u'c');
        rule.set(&settings, far.c_str());
        rule.set(&settings, nullptr);
        EXPECT_EQ(rule.get(&settings), longest);

        rule.set(&settings, u"ok");
        EXPECT_EQ(rule.get(&settings), u"ok");
        // Only the field changed: everything from 2 * capacity bytes on is as before.
        DriverSettings copy = settings;
        rule.set(&copy, longest.c_str());
        std::size_t changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) changed += copy.abBytes[i] != before[i];
        EXPECT_LE(changed, 2 * rule.capacity);
    }
}

TEST(DriverSettingsTexts, AnnotationTextsAreClearedAndCutTo127Characters) {
    using Setter = void (*)(DriverSettings*, const char16_t*);
    using Getter = SettingsText<128> (*)(const DriverSettings*);
    const std::pair<Setter, Getter> fields[] = {{SetAnnotationText, GetAnnotationText},
                                                {SetAnnotationSeparator, GetAnnotationSeparator}};
    for (auto [set, get] : fields) {
        DriverSettings settings;
        std::memset(&settings, 0x5A, sizeof settings);
        std::u16string text(300, u'x');
        set(&settings, text.c_str());
        EXPECT_EQ(get(&settings).View(), std::u16string(127, u'x'));
        set(&settings, u"short");
        EXPECT_EQ(get(&settings).View(), u"short");
        std::size_t offset = set == SetAnnotationText ? 6020 : 6276;
        for (std::size_t i = offset + 10; i < offset + 256; ++i)
            ASSERT_EQ(settings.abBytes[i], 0) << "byte " << i << " not cleared";
        EXPECT_EQ(settings.abBytes[offset + 256], 0x5A) << "the next field";
    }
}

TEST(DriverSettingsTexts, UnterminatedFieldReadsWholeAndTerminated) {
    RawRecord raw;
    for (std::size_t i = 0; i < 32; ++i) raw.Put16(2 * i, u'N');
    for (std::size_t i = 0; i < 66; ++i) raw.Put16(6671 + 2 * i, u'p');
    OddRecord odd(raw.bytes());
    auto name = GetDmDeviceName(odd.get());
    EXPECT_EQ(name.View(), std::u16string(32, u'N'));
    EXPECT_EQ(name.sz[32], 0);
    auto parameter = GetCustomStartApplicationParameter(odd.get());
    EXPECT_EQ(parameter.View(), std::u16string(66, u'p'));
    EXPECT_EQ(parameter.sz[66], 0);
}

}  // namespace
