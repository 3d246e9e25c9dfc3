// The driver's settings record of one page: a DEVMODEW followed by the driver's private part,
// 6879 bytes without padding, little-endian, some fields at odd offsets. It is only ever read
// and written through the accessors below, which work byte by byte at each field's offset, so
// the record behaves the same on every target and at any address.
//
// Every accessor takes the record, possibly null: a getter then gives the field's fallback and
// a setter does nothing. The bit sets' single bits are in settings_bits.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "jobhost/settings/driver_settings_layout.h"

inline constexpr std::uint32_t kDriverSettingsSize = std::uint32_t(settings_layout::kRecordSize);

struct DriverSettings {
    std::uint8_t abBytes[kDriverSettingsSize];
};
static_assert(sizeof(DriverSettings) == kDriverSettingsSize);
static_assert(alignof(DriverSettings) == 1, "a record may start at any address");

// A text field copied out of the record, always terminated. A field that fills its capacity
// without a terminator keeps all of its characters.
template <std::size_t nCapacity>
struct SettingsText {
    char16_t sz[nCapacity + 1] = {};
    std::size_t nLength = 0;

    std::u16string_view View() const { return std::u16string_view(sz, nLength); }
};

using SettingsPath = SettingsText<settings_layout::kPathChars>;

// The font of the annotation as the record holds it (a LOGFONTW, 92 bytes).
struct SettingsLogFont {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char16_t lfFaceName[settings_layout::kFaceNameChars] = {};
};

// ---- the public part -----------------------------------------------------------------------
SettingsText<settings_layout::kDmDeviceNameChars> GetDmDeviceName(const DriverSettings* pSettings);
// Ignored unless the text is shorter than 32 characters.
void SetDmDeviceName(DriverSettings* pSettings, const char16_t* szText);
std::int16_t GetDmOrientation(const DriverSettings* pSettings);  // fallback 1
void SetDmOrientation(DriverSettings* pSettings, std::int16_t nValue);
std::int16_t GetDmPaperSize(const DriverSettings* pSettings);  // fallback 1
void SetDmPaperSize(DriverSettings* pSettings, std::int16_t nValue);
std::int16_t GetDmPaperLength(const DriverSettings* pSettings);  // fallback 1
void SetDmPaperLength(DriverSettings* pSettings, std::int16_t nValue);
std::int16_t GetDmPaperWidth(const DriverSettings* pSettings);  // fallback 1
void SetDmPaperWidth(DriverSettings* pSettings, std::int16_t nValue);
// Dots per inch, fallback 300. The setters take the driver's negative quality codes: -1 100,
// -2 200, -3 300, -4 600, -5 and -6 204 (horizontal) or 98 and 196 (vertical); any other
// negative value stores its absolute value.
std::int16_t GetDmPrintQuality(const DriverSettings* pSettings);
void SetDmPrintQuality(DriverSettings* pSettings, std::int16_t nValue);
std::int16_t GetDmYResolution(const DriverSettings* pSettings);
void SetDmYResolution(DriverSettings* pSettings, std::int16_t nValue);
std::uint32_t GetDmBitsPerPel(const DriverSettings* pSettings);
void SetDmBitsPerPel(DriverSettings* pSettings, std::uint32_t nValue);

// ---- numbers of the private part -----------------------------------------------------------
std::uint32_t GetFlags(const DriverSettings* pSettings);
void SetFlags(DriverSettings* pSettings, std::uint32_t dwValue);
// Fallback 4; a value of 39 or more stores 19.
std::uint32_t GetFileFormat(const DriverSettings* pSettings);
void SetFileFormat(DriverSettings* pSettings, std::uint32_t nValue);
// 0 black and white, 1 8-bit grey, 2 8-bit colour, 3 24-bit colour; above 3 reads and stores
// as 3. The setter keeps dmBitsPerPel in step (1 for depth 0, else 24).
std::uint32_t GetColorDepth(const DriverSettings* pSettings);
void SetColorDepth(DriverSettings* pSettings, std::uint32_t nValue);
// From the colour depth: 1, 8 or 24.
std::uint32_t GetBitsPerPixel(const DriverSettings* pSettings);
std::uint32_t GetFAXheader(const DriverSettings* pSettings);
void SetFAXheader(DriverSettings* pSettings, std::uint32_t nValue);
// 1 to 100: a stored 0 reads as 1, above 100 as 100; fallback 0. The setter stores at most 100.
std::uint32_t GetLossRatio(const DriverSettings* pSettings);
void SetLossRatio(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetDithering(const DriverSettings* pSettings);
void SetDithering(DriverSettings* pSettings, std::uint32_t nValue);
// 0 to 199: a stored value of 200 or more reads as 199.
std::uint32_t GetBrightness(const DriverSettings* pSettings);
void SetBrightness(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetPaperWidthInPixels(const DriverSettings* pSettings);  // fallback 1728
void SetPaperWidthInPixels(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetPaperHeightInPixels(const DriverSettings* pSettings);  // fallback 2200
void SetPaperHeightInPixels(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetLaunchFlags(const DriverSettings* pSettings);
void SetLaunchFlags(DriverSettings* pSettings, std::uint32_t dwValue);
// 0 to 7; 8 or more reads and stores as 0.
std::uint32_t GetFileNameGenerationFlags(const DriverSettings* pSettings);
void SetFileNameGenerationFlags(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetSessionID(const DriverSettings* pSettings);
void SetSessionID(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetWatermarkFlags(const DriverSettings* pSettings);
void SetWatermarkFlags(DriverSettings* pSettings, std::uint32_t dwValue);
// Both halves as stored: high 16 bits portrait, low 16 bits landscape.
std::uint32_t GetWatermarkBrightness(const DriverSettings* pSettings);
void SetWatermarkBrightness(DriverSettings* pSettings, std::uint32_t dwValue);
// The portrait half, valid from 1 to 100, else (and without a record) 30. The setter ignores
// other values and keeps the landscape half.
std::uint32_t GetWatermarkBrightnessPortrait(const DriverSettings* pSettings);
void SetWatermarkBrightnessPortrait(DriverSettings* pSettings, std::uint32_t nValue);
// The landscape half, valid up to 100, else (and without a record) 30. The setter ignores
// other values and keeps the portrait half.
std::uint32_t GetWatermarkBrightnessLandscape(const DriverSettings* pSettings);
void SetWatermarkBrightnessLandscape(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetAnnotationFlags(const DriverSettings* pSettings);
void SetAnnotationFlags(DriverSettings* pSettings, std::uint32_t dwValue);
std::int32_t GetAnnotationXOffset(const DriverSettings* pSettings);
void SetAnnotationXOffset(DriverSettings* pSettings, std::int32_t nValue);
std::int32_t GetAnnotationYOffset(const DriverSettings* pSettings);
void SetAnnotationYOffset(DriverSettings* pSettings, std::int32_t nValue);
// Degrees; the setter ignores values outside -180 to 180.
std::int32_t GetAnnotationRotation(const DriverSettings* pSettings);
void SetAnnotationRotation(DriverSettings* pSettings, std::int32_t nValue);
std::uint32_t GetAnnotationColor(const DriverSettings* pSettings);
void SetAnnotationColor(DriverSettings* pSettings, std::uint32_t crValue);
std::uint32_t GetUnnamedValue1(const DriverSettings* pSettings);
void SetUnnamedValue1(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetUnnamedValue2(const DriverSettings* pSettings);
void SetUnnamedValue2(DriverSettings* pSettings, std::uint32_t nValue);
std::uint16_t GetPDFFlags(const DriverSettings* pSettings);
void SetPDFFlags(DriverSettings* pSettings, std::uint16_t wValue);
// Entry 0 to 7, each a digit 0 to 9; another index gives 0, and the setter ignores anything
// else than a digit at index 0 to 7.
std::uint16_t GetStartApplicationParameterOrder(const DriverSettings* pSettings,
                                                std::uint32_t nIndex);
void SetStartApplicationParameterOrder(DriverSettings* pSettings, std::uint32_t nIndex,
                                       std::uint16_t nDigit);
// 0-based; the store counts Bates formats from 1.
std::uint8_t GetSelectedBatesFormat(const DriverSettings* pSettings);
void SetSelectedBatesFormat(DriverSettings* pSettings, std::uint8_t nValue);
std::uint32_t GetPrinterId(const DriverSettings* pSettings);
void SetPrinterId(DriverSettings* pSettings, std::uint32_t nValue);
std::uint32_t GetStoreFlags(const DriverSettings* pSettings);
void SetStoreFlags(DriverSettings* pSettings, std::uint32_t dwValue);

// Without a record, an all-zero font.
SettingsLogFont GetAnnotationFont(const DriverSettings* pSettings);
void SetAnnotationFont(DriverSettings* pSettings, const SettingsLogFont& font);

// ---- texts of the private part -------------------------------------------------------------
// Without a record a getter gives the empty text. A setter copies the text with its terminator
// when it fits the field's rule and leaves the field unchanged otherwise (also for a null
// text): fewer than 260 characters for the paths, at most 8 for the prefix, 4 for the
// extension, fewer than 256 for the SID and 66 for the custom parameter.
SettingsPath GetApplicationPath(const DriverSettings* pSettings);
void SetApplicationPath(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetOutputDirectory(const DriverSettings* pSettings);
void SetOutputDirectory(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetFixedFileName(const DriverSettings* pSettings);
void SetFixedFileName(DriverSettings* pSettings, const char16_t* szText);
SettingsText<settings_layout::kFileNamePrefixChars> GetFileNamePrefix(
    const DriverSettings* pSettings);
void SetFileNamePrefix(DriverSettings* pSettings, const char16_t* szText);
SettingsText<settings_layout::kFileExtensionChars> GetFileExtension(
    const DriverSettings* pSettings);
void SetFileExtension(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetUnnamedPath1(const DriverSettings* pSettings);
void SetUnnamedPath1(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetINIFileName(const DriverSettings* pSettings);
void SetINIFileName(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetTiffLibraryName(const DriverSettings* pSettings);
void SetTiffLibraryName(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetJpegLibraryName(const DriverSettings* pSettings);
void SetJpegLibraryName(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetUnnamedPath2(const DriverSettings* pSettings);
void SetUnnamedPath2(DriverSettings* pSettings, const char16_t* szText);
SettingsText<settings_layout::kUserSidChars> GetUserSid(const DriverSettings* pSettings);
void SetUserSid(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetWatermarkFilePortrait(const DriverSettings* pSettings);
void SetWatermarkFilePortrait(DriverSettings* pSettings, const char16_t* szText);
SettingsPath GetWatermarkFileLandscape(const DriverSettings* pSettings);
void SetWatermarkFileLandscape(DriverSettings* pSettings, const char16_t* szText);
// These two clear the whole field, then copy at most 127 characters.
SettingsText<settings_layout::kAnnotationTextChars> GetAnnotationText(
    const DriverSettings* pSettings);
void SetAnnotationText(DriverSettings* pSettings, const char16_t* szText);
SettingsText<settings_layout::kAnnotationTextChars> GetAnnotationSeparator(
    const DriverSettings* pSettings);
void SetAnnotationSeparator(DriverSettings* pSettings, const char16_t* szText);
SettingsText<settings_layout::kCustomStartApplicationParameterChars>
GetCustomStartApplicationParameter(const DriverSettings* pSettings);
void SetCustomStartApplicationParameter(DriverSettings* pSettings, const char16_t* szText);
