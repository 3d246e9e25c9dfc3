// The watermark's first-page picture settings of a printer's profile (<printer>\Watermark),
// always below the ordinary store root. A side is 1 for portrait and 0 for landscape.
#pragma once

#include <cstdint>

#include "jobhost/settings/driver_settings.h"

inline constexpr std::int32_t kPortraitSide = 1;
inline constexpr std::int32_t kLandscapeSide = 0;

// Reads the side's picture path into a 520-byte buffer of its own and copies it, terminated,
// into szBuffer (*pnSize bytes). 1 with the path's size in bytes, without the terminator, in
// *pnSize. 0 when the key or value can't be read, or, with the size needed (terminator
// included) in *pnSize, when szBuffer is missing or too small.
int ReadFirstImagePath(const DriverSettings* pSettings, char16_t* szBuffer, std::uint32_t* pnSize,
                       std::int32_t nSide);

// 1 to 100; 30 when it can't be read or is 0 or above 100.
std::uint32_t ReadFirstImageBrightness(const DriverSettings* pSettings, std::int32_t nSide);

// Placement code 1, 2, 4 or 8; 4 when it can't be read or is another value.
std::uint32_t ReadFirstImagePosition(const DriverSettings* pSettings, std::int32_t nSide);
