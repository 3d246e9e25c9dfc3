// Single bits of the record's bit sets: a test, a set and a clear for any bit, and the named
// bits that this system and the driver's user interface use. Bits that are not interpreted
// here are carried unchanged; they can be reached as SettingsBit{set, number}.
//
// Without a record a test reports "on", except bits 28 to 31 of Flags and bit 10 of
// WatermarkFlags, which report "off". Bit 6 of LaunchFlags reports "on" when it is clear.
#pragma once

#include <cstdint>

#include "jobhost/settings/driver_settings.h"

enum class SettingsBitSet : std::uint8_t {
    flags,            // 32 bits at 220
    launchFlags,      // 32 bits at 776
    watermarkFlags,   // 32 bits at 6012
    annotationFlags,  // 32 bits at 6624
    pdfFlags,         // 16 bits at 6652
    storeFlags,       // 32 bits at 6807
};

struct SettingsBit {
    SettingsBitSet set;
    std::uint8_t nBit;  // 0 = least significant
};

// A bit number beyond its set's width tests "off" and is never set.
bool TestSettingsBit(const DriverSettings* pSettings, SettingsBit bit);
void SetSettingsBit(DriverSettings* pSettings, SettingsBit bit);
void ClearSettingsBit(DriverSettings* pSettings, SettingsBit bit);

// Flags.
inline constexpr SettingsBit kFlagTiffInternetFormat{SettingsBitSet::flags, 2};
inline constexpr SettingsBit kFlagTiffPageNumberingTag{SettingsBitSet::flags, 3};
inline constexpr SettingsBit kFlagTiffReverseBitOrder{SettingsBitSet::flags, 4};
inline constexpr SettingsBit kFlagAllPagesInOneFile{SettingsBitSet::flags, 5};
inline constexpr SettingsBit kFlagAppendFile{SettingsBitSet::flags, 20};
inline constexpr SettingsBit kFlagRedirectPrinting{SettingsBitSet::flags, 25};
inline constexpr SettingsBit kFlagBatesNumbering{SettingsBitSet::flags, 27};
// The job has its own option set in the store (see HasJobOptionSet).
inline constexpr SettingsBit kFlagJobOptionSet{SettingsBitSet::flags, 31};

// WatermarkFlags.
inline constexpr SettingsBit kWatermarkPrint{SettingsBitSet::watermarkFlags, 0};
inline constexpr SettingsBit kWatermarkFirstPageOnly{SettingsBitSet::watermarkFlags, 1};
inline constexpr SettingsBit kWatermarkPortraitStretchToFit{SettingsBitSet::watermarkFlags, 2};
inline constexpr SettingsBit kWatermarkPortraitStretchToWidth{SettingsBitSet::watermarkFlags, 3};
inline constexpr SettingsBit kWatermarkPortraitPlacement{SettingsBitSet::watermarkFlags, 4};
inline constexpr SettingsBit kWatermarkPortraitTile{SettingsBitSet::watermarkFlags, 5};
inline constexpr SettingsBit kWatermarkLandscapeStretchToFit{SettingsBitSet::watermarkFlags, 6};
inline constexpr SettingsBit kWatermarkLandscapeStretchToWidth{SettingsBitSet::watermarkFlags, 7};
inline constexpr SettingsBit kWatermarkLandscapePlacement{SettingsBitSet::watermarkFlags, 8};
inline constexpr SettingsBit kWatermarkLandscapeTile{SettingsBitSet::watermarkFlags, 9};
inline constexpr SettingsBit kWatermarkFirstImage{SettingsBitSet::watermarkFlags, 10};

// AnnotationFlags.
inline constexpr SettingsBit kAnnotationDraw{SettingsBitSet::annotationFlags, 0};
inline constexpr SettingsBit kAnnotationWithText{SettingsBitSet::annotationFlags, 1};
inline constexpr SettingsBit kAnnotationAddDate{SettingsBitSet::annotationFlags, 2};
inline constexpr SettingsBit kAnnotationDateMonthDayYear{SettingsBitSet::annotationFlags, 3};
inline constexpr SettingsBit kAnnotationDateShortMonthDayYear{SettingsBitSet::annotationFlags, 4};
inline constexpr SettingsBit kAnnotationDateDayMonthYear{SettingsBitSet::annotationFlags, 5};
inline constexpr SettingsBit kAnnotationDateDayMonthNameYear{SettingsBitSet::annotationFlags, 6};
inline constexpr SettingsBit kAnnotationDateYearMonthDay{SettingsBitSet::annotationFlags, 7};
inline constexpr SettingsBit kAnnotationDateNumber{SettingsBitSet::annotationFlags, 8};
inline constexpr SettingsBit kAnnotationAddTime{SettingsBitSet::annotationFlags, 9};
inline constexpr SettingsBit kAnnotationClock12{SettingsBitSet::annotationFlags, 10};
inline constexpr SettingsBit kAnnotationClock24{SettingsBitSet::annotationFlags, 11};
inline constexpr SettingsBit kAnnotationMinutes{SettingsBitSet::annotationFlags, 12};
inline constexpr SettingsBit kAnnotationSeconds{SettingsBitSet::annotationFlags, 13};
inline constexpr SettingsBit kAnnotationTimeZone{SettingsBitSet::annotationFlags, 14};
inline constexpr SettingsBit kAnnotationTransparent{SettingsBitSet::annotationFlags, 15};
inline constexpr SettingsBit kAnnotationTopRight{SettingsBitSet::annotationFlags, 18};
inline constexpr SettingsBit kAnnotationCentre{SettingsBitSet::annotationFlags, 19};
inline constexpr SettingsBit kAnnotationBottomLeft{SettingsBitSet::annotationFlags, 20};
inline constexpr SettingsBit kAnnotationBottomRight{SettingsBitSet::annotationFlags, 21};
inline constexpr SettingsBit kAnnotationOffsetsTenthMm{SettingsBitSet::annotationFlags, 22};
inline constexpr SettingsBit kAnnotationOffsetsHundredthInch{SettingsBitSet::annotationFlags, 23};

// LaunchFlags: bits 0 to 6 are the driver's; bit 6 tests with the opposite sense.
inline constexpr SettingsBit LaunchFlagsBit(std::uint8_t nBit) {
    return SettingsBit{SettingsBitSet::launchFlags, nBit};
}

// StoreFlags: the printer's store lives in the protected-mode registry.
inline constexpr SettingsBit kStoreProtectedMode{SettingsBitSet::storeFlags, 0};
