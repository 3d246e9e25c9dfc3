// Where each field of the driver's settings record lies: byte offsets from the first byte of the
// record and, for text fields, capacities in UTF-16 characters with the terminator. The layout
// is shared with the driver and its user interface; nothing here may move.
#pragma once

#include <cstddef>

namespace settings_layout {

inline constexpr std::size_t kRecordSize = 6879;
inline constexpr std::size_t kPublicPartSize = 220;

// The public part (a DEVMODEW).
inline constexpr std::size_t kDmDeviceName = 0;
inline constexpr std::size_t kDmDeviceNameChars = 32;
inline constexpr std::size_t kDmOrientation = 76;
inline constexpr std::size_t kDmPaperSize = 78;
inline constexpr std::size_t kDmPaperLength = 80;
inline constexpr std::size_t kDmPaperWidth = 82;
inline constexpr std::size_t kDmPrintQuality = 90;
inline constexpr std::size_t kDmYResolution = 96;
inline constexpr std::size_t kDmBitsPerPel = 168;

// The driver's private part.
inline constexpr std::size_t kFlags = 220;
inline constexpr std::size_t kFileFormat = 224;
inline constexpr std::size_t kColorDepth = 228;
inline constexpr std::size_t kFAXheader = 232;
inline constexpr std::size_t kLossRatio = 236;
inline constexpr std::size_t kDithering = 240;
inline constexpr std::size_t kBrightness = 244;
inline constexpr std::size_t kPaperWidthInPixels = 248;
inline constexpr std::size_t kPaperHeightInPixels = 252;
inline constexpr std::size_t kApplicationPath = 256;
inline constexpr std::size_t kLaunchFlags = 776;
inline constexpr std::size_t kFileNameGenerationFlags = 780;
inline constexpr std::size_t kOutputDirectory = 784;
inline constexpr std::size_t kFixedFileName = 1304;
inline constexpr std::size_t kFileNamePrefix = 1824;
inline constexpr std::size_t kFileExtension = 1842;
inline constexpr std::size_t kUnnamedPath1 = 1852;
inline constexpr std::size_t kINIFileName = 2372;
inline constexpr std::size_t kTiffLibraryName = 2892;
inline constexpr std::size_t kJpegLibraryName = 3412;
inline constexpr std::size_t kUnnamedPath2 = 3932;
inline constexpr std::size_t kSessionID = 4452;
inline constexpr std::size_t kUserSid = 4460;
inline constexpr std::size_t kWatermarkFilePortrait = 4972;
inline constexpr std::size_t kWatermarkFileLandscape = 5492;
inline constexpr std::size_t kWatermarkFlags = 6012;
inline constexpr std::size_t kWatermarkBrightness = 6016;
inline constexpr std::size_t kAnnotationText = 6020;
inline constexpr std::size_t kAnnotationSeparator = 6276;
inline constexpr std::size_t kAnnotationFont = 6532;
inline constexpr std::size_t kAnnotationFontSize = 92;
inline constexpr std::size_t kAnnotationFlags = 6624;
inline constexpr std::size_t kAnnotationXOffset = 6628;
inline constexpr std::size_t kAnnotationYOffset = 6632;
inline constexpr std::size_t kAnnotationRotation = 6636;
inline constexpr std::size_t kAnnotationColor = 6640;
inline constexpr std::size_t kUnnamedValue1 = 6644;
inline constexpr std::size_t kUnnamedValue2 = 6648;
inline constexpr std::size_t kPDFFlags = 6652;
inline constexpr std::size_t kStartApplicationParameterOrder = 6654;
inline constexpr std::size_t kStartApplicationParameterCount = 8;
inline constexpr std::size_t kSelectedBatesFormat = 6670;
inline constexpr std::size_t kCustomStartApplicationParameter = 6671;
inline constexpr std::size_t kPrinterId = 6803;
inline constexpr std::size_t kStoreFlags = 6807;

// Text capacities in characters, terminator included.
inline constexpr std::size_t kPathChars = 260;
inline constexpr std::size_t kFileNamePrefixChars = 9;
inline constexpr std::size_t kFileExtensionChars = 5;
inline constexpr std::size_t kUserSidChars = 256;
inline constexpr std::size_t kAnnotationTextChars = 128;
inline constexpr std::size_t kFaceNameChars = 32;
inline constexpr std::size_t kCustomStartApplicationParameterChars = 66;

static_assert(kFlags == kPublicPartSize);
static_assert(kApplicationPath + 2 * kPathChars == kLaunchFlags);
static_assert(kFileNamePrefix + 2 * kFileNamePrefixChars == kFileExtension);
static_assert(kFileExtension + 2 * kFileExtensionChars == kUnnamedPath1);
static_assert(kUserSid + 2 * kUserSidChars == kWatermarkFilePortrait);
static_assert(kAnnotationFont + kAnnotationFontSize == kAnnotationFlags);
static_assert(kStartApplicationParameterOrder + 2 * kStartApplicationParameterCount ==
              kSelectedBatesFormat);
static_assert(kCustomStartApplicationParameter + 2 * kCustomStartApplicationParameterChars ==
              kPrinterId);
static_assert(kStoreFlags + 4 + 68 == kRecordSize);

}  // namespace settings_layout
