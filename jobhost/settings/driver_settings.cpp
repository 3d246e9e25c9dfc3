#include "jobhost/settings/driver_settings.h"

#include <cstring>

#include "jobhost/settings/record_bytes.h"

namespace {

using namespace settings_layout;
using record_bytes::LoadU16;
using record_bytes::LoadU32;
using record_bytes::StoreU16;
using record_bytes::StoreU32;

std::uint32_t ReadU32(const DriverSettings* pSettings, std::size_t nOffset,
                      std::uint32_t nFallback = 0) {
    return pSettings ? LoadU32(pSettings->abBytes + nOffset) : nFallback;
}

void WriteU32(DriverSettings* pSettings, std::size_t nOffset, std::uint32_t nValue) {
    if (pSettings) StoreU32(pSettings->abBytes + nOffset, nValue);
}

std::int16_t ReadI16(const DriverSettings* pSettings, std::size_t nOffset, std::int16_t nFallback) {
    return pSettings ? std::int16_t(LoadU16(pSettings->abBytes + nOffset)) : nFallback;
}

void WriteI16(DriverSettings* pSettings, std::size_t nOffset, std::int16_t nValue) {
    if (pSettings) StoreU16(pSettings->abBytes + nOffset, std::uint16_t(nValue));
}

template <std::size_t nCapacity>
SettingsText<nCapacity> ReadText(const DriverSettings* pSettings, std::size_t nOffset) {
    SettingsText<nCapacity> text;
    if (!pSettings) return text;
    const std::uint8_t* pField = pSettings->abBytes + nOffset;
    while (text.nLength < nCapacity) {
        char16_t c = char16_t(LoadU16(pField + 2 * text.nLength));
        if (c == 0) break;
        text.sz[text.nLength++] = c;
    }
    return text;
}

// The text's length, counted no further than nLimit.
std::size_t BoundedLength(const char16_t* szText, std::size_t nLimit) {
    std::size_t nLength = 0;
    while (nLength < nLimit && szText[nLength] != 0) ++nLength;
    return nLength;
}

void StoreUnits(DriverSettings* pSettings, std::size_t nOffset, const char16_t* szText,
                std::size_t nLength) {
    std::uint8_t* pField = pSettings->abBytes + nOffset;
    for (std::size_t i = 0; i < nLength; ++i) StoreU16(pField + 2 * i, szText[i]);
    StoreU16(pField + 2 * nLength, 0);
}

// Copies the text with its terminator only when the two fit the field.
void WriteText(DriverSettings* pSettings, std::size_t nOffset, std::size_t nCapacity,
               const char16_t* szText) {
    if (!pSettings || !szText) return;
    std::size_t nLength = BoundedLength(szText, nCapacity);
    if (nLength >= nCapacity) return;
    StoreUnits(pSettings, nOffset, szText, nLength);
}

// Clears the field and copies as much of the text as fits before the terminator.
void WriteClearedText(DriverSettings* pSettings, std::size_t nOffset, std::size_t nCapacity,
                      const char16_t* szText) {
    if (!pSettings || !szText) return;
    std::memset(pSettings->abBytes + nOffset, 0, 2 * nCapacity);
    StoreUnits(pSettings, nOffset, szText, BoundedLength(szText, nCapacity - 1));
}

// The driver's negative quality codes, -1 first.
constexpr std::int16_t kPrintQualityCodes[] = {100, 200, 300, 600, 204, 204};
constexpr std::int16_t kYResolutionCodes[] = {100, 200, 300, 600, 98, 196};

std::int16_t ResolveResolution(std::int16_t nValue, const std::int16_t (&codes)[6]) {
    if (nValue >= 0) return nValue;
    if (nValue >= -6) return codes[-nValue - 1];
    // The absolute value of the smallest 16-bit number does not fit: the nearest that does.
    return nValue == INT16_MIN ? INT16_MAX : std::int16_t(-nValue);
}

constexpr std::uint32_t kDefaultWatermarkBrightness = 30;

}  // namespace

// ---- public part ---------------------------------------------------------------------------

SettingsText<kDmDeviceNameChars> GetDmDeviceName(const DriverSettings* pSettings) {
    return ReadText<kDmDeviceNameChars>(pSettings, kDmDeviceName);
}
void SetDmDeviceName(DriverSettings* pSettings, const char16_t* szText) {
    WriteText(pSettings, kDmDeviceName, kDmDeviceNameChars, szText);
}
std::int16_t GetDmOrientation(const DriverSettings* pSettings) {
    return ReadI16(pSettings, kDmOrientation, 1);
}
void SetDmOrientation(DriverSettings* pSettings, std::int16_t nValue) {
    WriteI16(pSettings, kDmOrientation, nValue);
}
std::int16_t GetDmPaperSize(const DriverSettings* pSettings) {
    return ReadI16(pSettings, kDmPaperSize, 1);
}
void SetDmPaperSize(DriverSettings* pSettings, std::int16_t nValue) {
    WriteI16(pSettings, kDmPaperSize, nValue);
}
std::int16_t GetDmPaperLength(const DriverSettings* pSettings) {
    return ReadI16(pSettings, kDmPaperLength, 1);
}
void SetDmPaperLength(DriverSettings* pSettings, std::int16_t nValue) {
    WriteI16(pSettings, kDmPaperLength, nValue);
}
std::int16_t GetDmPaperWidth(const DriverSettings* pSettings) {
    return ReadI16(pSettings, kDmPaperWidth, 1);
}
void SetDmPaperWidth(DriverSettings* pSettings, std::int16_t nValue) {
    WriteI16(pSettings, kDmPaperWidth, nValue);
}
std::int16_t GetDmPrintQuality(const DriverSettings* pSettings) {
    return ReadI16(pSettings, kDmPrintQuality, 300);
}
void SetDmPrintQuality(DriverSettings* pSettings, std::int16_t nValue) {
    WriteI16(pSettings, kDmPrintQuality, ResolveResolution(nValue, kPrintQualityCodes));
}
std::int16_t GetDmYResolution(const DriverSettings* pSettings) {
    return ReadI16(pSettings, kDmYResolution, 300);
}
void SetDmYResolution(DriverSettings* pSettings, std::int16_t nValue) {
    WriteI16(pSettings, kDmYResolution, ResolveResolution(nValue, kYResolutionCodes));
}
std::uint32_t GetDmBitsPerPel(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kDmBitsPerPel);
}
void SetDmBitsPerPel(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kDmBitsPerPel, nValue);
}

// ---- numbers of the private part -----------------------------------------------------------

std::uint32_t GetFlags(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kFlags);
}
void SetFlags(DriverSettings* pSettings, std::uint32_t dwValue) {
    WriteU32(pSettings, kFlags, dwValue);
}
std::uint32_t GetFileFormat(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kFileFormat, 4);
}
void SetFileFormat(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kFileFormat, nValue >= 39 ? 19 : nValue);
}
std::uint32_t GetColorDepth(const DriverSettings* pSettings) {
    std::uint32_t nDepth = ReadU32(pSettings, kColorDepth);
    return nDepth > 3 ? 3 : nDepth;
}
void SetColorDepth(DriverSettings* pSettings, std::uint32_t nValue) {
    if (!pSettings) return;
    std::uint32_t nDepth = nValue > 3 ? 3 : nValue;
    WriteU32(pSettings, kColorDepth, nDepth);
    WriteU32(pSettings, kDmBitsPerPel, nDepth == 0 ? 1 : 24);
}
std::uint32_t GetBitsPerPixel(const DriverSettings* pSettings) {
    switch (GetColorDepth(pSettings)) {
        case 1:
        case 2:
            return 8;
        case 3:
            return 24;
        default:
            return 1;
    }
}
std::uint32_t GetFAXheader(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kFAXheader);
}
void SetFAXheader(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kFAXheader, nValue);
}
std::uint32_t GetLossRatio(const DriverSettings* pSettings) {
    if (!pSettings) return 0;
    std::uint32_t nRatio = ReadU32(pSettings, kLossRatio);
    return nRatio == 0 ? 1 : nRatio > 100 ? 100 : nRatio;
}
void SetLossRatio(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kLossRatio, nValue > 100 ? 100 : nValue);
}
std::uint32_t GetDithering(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kDithering);
}
void SetDithering(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kDithering, nValue);
}
std::uint32_t GetBrightness(const DriverSettings* pSettings) {
    std::uint32_t nBrightness = ReadU32(pSettings, kBrightness);
    return nBrightness >= 200 ? 199 : nBrightness;
}
void SetBrightness(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kBrightness, nValue);
}
std::uint32_t GetPaperWidthInPixels(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kPaperWidthInPixels, 1728);
}
void SetPaperWidthInPixels(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kPaperWidthInPixels, nValue);
}
std::uint32_t GetPaperHeightInPixels(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kPaperHeightInPixels, 2200);
}
void SetPaperHeightInPixels(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kPaperHeightInPixels, nValue);
}
std::uint32_t GetLaunchFlags(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kLaunchFlags);
}
void SetLaunchFlags(DriverSettings* pSettings, std::uint32_t dwValue) {
    WriteU32(pSettings, kLaunchFlags, dwValue);
}
std::uint32_t GetFileNameGenerationFlags(const DriverSettings* pSettings) {
    std::uint32_t nMode = ReadU32(pSettings, kFileNameGenerationFlags);
    return nMode >= 8 ? 0 : nMode;
}
void SetFileNameGenerationFlags(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kFileNameGenerationFlags, nValue >= 8 ? 0 : nValue);
}
std::uint32_t GetSessionID(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kSessionID);
}
void SetSessionID(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kSessionID, nValue);
}
std::uint32_t GetWatermarkFlags(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kWatermarkFlags);
}
void SetWatermarkFlags(DriverSettings* pSettings, std::uint32_t dwValue) {
    WriteU32(pSettings, kWatermarkFlags, dwValue);
}
std::uint32_t GetWatermarkBrightness(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kWatermarkBrightness);
}
void SetWatermarkBrightness(DriverSettings* pSettings, std::uint32_t dwValue) {
    WriteU32(pSettings, kWatermarkBrightness, dwValue);
}
std::uint32_t GetWatermarkBrightnessPortrait(const DriverSettings* pSettings) {
    if (!pSettings) return kDefaultWatermarkBrightness;
    std::uint32_t nValue = ReadU32(pSettings, kWatermarkBrightness) >> 16;
    return nValue >= 1 && nValue <= 100 ? nValue : kDefaultWatermarkBrightness;
}
void SetWatermarkBrightnessPortrait(DriverSettings* pSettings, std::uint32_t nValue) {
    if (!pSettings || nValue < 1 || nValue > 100) return;
    std::uint32_t dwBoth = ReadU32(pSettings, kWatermarkBrightness);
    WriteU32(pSettings, kWatermarkBrightness, (nValue << 16) | (dwBoth & 0xFFFFu));
}
std::uint32_t GetWatermarkBrightnessLandscape(const DriverSettings* pSettings) {
    if (!pSettings) return kDefaultWatermarkBrightness;
    std::uint32_t nValue = ReadU32(pSettings, kWatermarkBrightness) & 0xFFFFu;
    return nValue <= 100 ? nValue : kDefaultWatermarkBrightness;
}
void SetWatermarkBrightnessLandscape(DriverSettings* pSettings, std::uint32_t nValue) {
    if (!pSettings || nValue > 100) return;
    std::uint32_t dwBoth = ReadU32(pSettings, kWatermarkBrightness);
    WriteU32(pSettings, kWatermarkBrightness, (dwBoth & 0xFFFF0000u) | nValue);
}
std::uint32_t GetAnnotationFlags(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kAnnotationFlags);
}
void SetAnnotationFlags(DriverSettings* pSettings, std::uint32_t dwValue) {
    WriteU32(pSettings, kAnnotationFlags, dwValue);
}
std::int32_t GetAnnotationXOffset(const DriverSettings* pSettings) {
    return std::int32_t(ReadU32(pSettings, kAnnotationXOffset));
}
void SetAnnotationXOffset(DriverSettings* pSettings, std::int32_t nValue) {
    WriteU32(pSettings, kAnnotationXOffset, std::uint32_t(nValue));
}
std::int32_t GetAnnotationYOffset(const DriverSettings* pSettings) {
    return std::int32_t(ReadU32(pSettings, kAnnotationYOffset));
}
void SetAnnotationYOffset(DriverSettings* pSettings, std::int32_t nValue) {
    WriteU32(pSettings, kAnnotationYOffset, std::uint32_t(nValue));
}
std::int32_t GetAnnotationRotation(const DriverSettings* pSettings) {
    return std::int32_t(ReadU32(pSettings, kAnnotationRotation));
}
void SetAnnotationRotation(DriverSettings* pSettings, std::int32_t nValue) {
    if (nValue < -180 || nValue > 180) return;
    WriteU32(pSettings, kAnnotationRotation, std::uint32_t(nValue));
}
std::uint32_t GetAnnotationColor(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kAnnotationColor);
}
void SetAnnotationColor(DriverSettings* pSettings, std::uint32_t crValue) {
    WriteU32(pSettings, kAnnotationColor, crValue);
}
std::uint32_t GetUnnamedValue1(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kUnnamedValue1);
}
void SetUnnamedValue1(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kUnnamedValue1, nValue);
}
std::uint32_t GetUnnamedValue2(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kUnnamedValue2);
}
void SetUnnamedValue2(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kUnnamedValue2, nValue);
}
std::uint16_t GetPDFFlags(const DriverSettings* pSettings) {
    return pSettings ? LoadU16(pSettings->abBytes + kPDFFlags) : 0;
}
void SetPDFFlags(DriverSettings* pSettings, std::uint16_t wValue) {
    if (pSettings) StoreU16(pSettings->abBytes + kPDFFlags, wValue);
}
std::uint16_t GetStartApplicationParameterOrder(const DriverSettings* pSettings,
                                                std::uint32_t nIndex) {
    if (!pSettings || nIndex >= kStartApplicationParameterCount) return 0;
    return LoadU16(pSettings->abBytes + kStartApplicationParameterOrder + 2 * nIndex);
}
void SetStartApplicationParameterOrder(DriverSettings* pSettings, std::uint32_t nIndex,
                                       std::uint16_t nDigit) {
    if (!pSettings || nIndex >= kStartApplicationParameterCount || nDigit > 9) return;
    StoreU16(pSettings->abBytes + kStartApplicationParameterOrder + 2 * nIndex, nDigit);
}
std::uint8_t GetSelectedBatesFormat(const DriverSettings* pSettings) {
    return pSettings ? pSettings->abBytes[kSelectedBatesFormat] : 0;
}
void SetSelectedBatesFormat(DriverSettings* pSettings, std::uint8_t nValue) {
    if (pSettings) pSettings->abBytes[kSelectedBatesFormat] = nValue;
}
std::uint32_t GetPrinterId(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kPrinterId);
}
void SetPrinterId(DriverSettings* pSettings, std::uint32_t nValue) {
    WriteU32(pSettings, kPrinterId, nValue);
}
std::uint32_t GetStoreFlags(const DriverSettings* pSettings) {
    return ReadU32(pSettings, kStoreFlags);
}
void SetStoreFlags(DriverSettings* pSettings, std::uint32_t dwValue) {
    WriteU32(pSettings, kStoreFlags, dwValue);
}

SettingsLogFont GetAnnotationFont(const DriverSettings* pSettings) {
    SettingsLogFont font;
    if (!pSettings) return font;
    const std::uint8_t* p = pSettings->abBytes + kAnnotationFont;
    font.lfHeight = std::int32_t(LoadU32(p + 0));
    font.lfWidth = std::int32_t(LoadU32(p + 4));
    font.lfEscapement = std::int32_t(LoadU32(p + 8));
    font.lfOrientation = std::int32_t(LoadU32(p + 12));
    font.lfWeight = std::int32_t(LoadU32(p + 16));
    font.lfItalic = p[20];
    font.lfUnderline = p[21];
    font.lfStrikeOut = p[22];
    font.lfCharSet = p[23];
    font.lfOutPrecision = p[24];
    font.lfClipPrecision = p[25];
    font.lfQuality = p[26];
    font.lfPitchAndFamily = p[27];
    for (std::size_t i = 0; i < kFaceNameChars; ++i)
        font.lfFaceName[i] = char16_t(LoadU16(p + 28 + 2 * i));
    return font;
}

void SetAnnotationFont(DriverSettings* pSettings, const SettingsLogFont& font) {
    if (!pSettings) return;
    std::uint8_t* p = pSettings->abBytes + kAnnotationFont;
    StoreU32(p + 0, std::uint32_t(font.lfHeight));
    StoreU32(p + 4, std::uint32_t(font.lfWidth));
    StoreU32(p + 8, std::uint32_t(font.lfEscapement));
    StoreU32(p + 12, std::uint32_t(font.lfOrientation));
    StoreU32(p + 16, std::uint32_t(font.lfWeight));
    p[20] = font.lfItalic;
    p[21] = font.lfUnderline;
    p[22] = font.lfStrikeOut;
    p[23] = font.lfCharSet;
    p[24] = font.lfOutPrecision;
    p[25] = font.lfClipPrecision;
    p[26] = font.lfQuality;
    p[27] = font.lfPitchAndFamily;
    for (std::size_t i = 0; i < kFaceNameChars; ++i) StoreU16(p + 28 + 2 * i, font.lfFaceName[i]);
}

// ---- texts of the private part -------------------------------------------------------------

#define JH_SETTINGS_TEXT_FIELD(Field, Capacity)                          \
    SettingsText<Capacity> Get##Field(const DriverSettings* pSettings) { \
        return ReadText<Capacity>(pSettings, k##Field);                  \
    }                                                                    \
    void Set##Field(DriverSettings* pSettings, const char16_t* szText) { \
        WriteText(pSettings, k##Field, Capacity, szText);                \
    }

JH_SETTINGS_TEXT_FIELD(ApplicationPath, kPathChars)
JH_SETTINGS_TEXT_FIELD(OutputDirectory, kPathChars)
JH_SETTINGS_TEXT_FIELD(FixedFileName, kPathChars)
JH_SETTINGS_TEXT_FIELD(FileNamePrefix, kFileNamePrefixChars)
JH_SETTINGS_TEXT_FIELD(FileExtension, kFileExtensionChars)
JH_SETTINGS_TEXT_FIELD(UnnamedPath1, kPathChars)
JH_SETTINGS_TEXT_FIELD(INIFileName, kPathChars)
JH_SETTINGS_TEXT_FIELD(TiffLibraryName, kPathChars)
JH_SETTINGS_TEXT_FIELD(JpegLibraryName, kPathChars)
JH_SETTINGS_TEXT_FIELD(UnnamedPath2, kPathChars)
JH_SETTINGS_TEXT_FIELD(UserSid, kUserSidChars)
JH_SETTINGS_TEXT_FIELD(WatermarkFilePortrait, kPathChars)
JH_SETTINGS_TEXT_FIELD(WatermarkFileLandscape, kPathChars)
JH_SETTINGS_TEXT_FIELD(CustomStartApplicationParameter, kCustomStartApplicationParameterChars)

#undef JH_SETTINGS_TEXT_FIELD

SettingsText<kAnnotationTextChars> GetAnnotationText(const DriverSettings* pSettings) {
    return ReadText<kAnnotationTextChars>(pSettings, kAnnotationText);
}
void SetAnnotationText(DriverSettings* pSettings, const char16_t* szText) {
    WriteClearedText(pSettings, kAnnotationText, kAnnotationTextChars, szText);
}
SettingsText<kAnnotationTextChars> GetAnnotationSeparator(const DriverSettings* pSettings) {
    return ReadText<kAnnotationTextChars>(pSettings, kAnnotationSeparator);
}
void SetAnnotationSeparator(DriverSettings* pSettings, const char16_t* szText) {
    WriteClearedText(pSettings, kAnnotationSeparator, kAnnotationTextChars, szText);
}
