// The names of the options of an option set and of the user interface's tabs, by number.
#pragma once

#include <cstdint>

// Null for a number that has no name.
const char16_t* NumberOptionName(std::int32_t nOption);
const char16_t* StringOptionName(std::int32_t nOption);
// Indexed string options have a name ending in "_%d" or holding "%d", filled with an index.
bool IsIndexedStringOption(std::int32_t nOption);
// The empty name for a number outside the table.
const char16_t* UiTabName(std::int32_t nTab);

// Number options that stand for fields and bits of the settings record.
namespace number_option {
inline constexpr std::int32_t kFileFormat = 0;
inline constexpr std::int32_t kSaveEachPageAsSeparateFile = 3;
inline constexpr std::int32_t kAppendFile = 4;
inline constexpr std::int32_t kColorDepth = 8;
inline constexpr std::int32_t kJpegLossRatio = 9;
inline constexpr std::int32_t kTiffInternetFormat = 10;
inline constexpr std::int32_t kTiffReverseBitOrder = 11;
inline constexpr std::int32_t kTiffPageNumberingTag = 12;
inline constexpr std::int32_t kPdfCompressionFlag = 13;
inline constexpr std::int32_t kRedirectPrinting = 36;
inline constexpr std::int32_t kPrintWatermark = 39;
inline constexpr std::int32_t kWatermarkFirstPageOnly = 41;
inline constexpr std::int32_t kWatermarkPortraitStretchToWidth = 42;
inline constexpr std::int32_t kWatermarkPortraitStretchToFit = 43;
inline constexpr std::int32_t kWatermarkPortraitTile = 44;
inline constexpr std::int32_t kWatermarkLandscapeStretchToWidth = 45;
inline constexpr std::int32_t kWatermarkLandscapeStretchToFit = 46;
inline constexpr std::int32_t kWatermarkLandscapeTile = 47;
inline constexpr std::int32_t kWatermarkPortraitFirstImagePosition = 48;
inline constexpr std::int32_t kWatermarkLandscapeFirstImagePosition = 49;
inline constexpr std::int32_t kWatermarkFirstImageEnabled = 50;
inline constexpr std::int32_t kWatermarkPortraitBrightness = 51;
inline constexpr std::int32_t kWatermarkLandscapeBrightness = 52;
inline constexpr std::int32_t kWatermarkPortraitFirstBrightness = 53;
inline constexpr std::int32_t kWatermarkLandscapeFirstBrightness = 54;
}  // namespace number_option

namespace string_option {
inline constexpr std::int32_t kOutputPath = 0;
inline constexpr std::int32_t kWatermarkPortraitImage = 37;
inline constexpr std::int32_t kWatermarkLandscapeImage = 38;
inline constexpr std::int32_t kWatermarkPortraitFirstImage = 39;
inline constexpr std::int32_t kWatermarkLandscapeFirstImage = 40;
}  // namespace string_option
