#include "jobhost/settings/first_image.h"

#include <cstring>

#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_values.h"

namespace {

constexpr std::uint32_t kDefaultBrightness = 30;
constexpr std::uint32_t kDefaultPosition = 4;

bool IsSide(std::int32_t nSide) {
    return nSide == kPortraitSide || nSide == kLandscapeSide;
}

}  // namespace

int ReadFirstImagePath(const DriverSettings* pSettings, char16_t* szBuffer, std::uint32_t* pnSize,
                       std::int32_t nSide) {
    if (!pnSize || !IsSide(nSide)) return 0;
    StoreValue value = nSide == kPortraitSide ? StoreValue::watermarkFirstImagePortrait
                                              : StoreValue::watermarkFirstImageLandscape;
    char16_t szPath[kStoreBufferBytes / 2];
    std::uint32_t nPathSize = sizeof szPath;
    if (!GetStoreText(pSettings, value, szPath, &nPathSize)) return 0;
    std::uint32_t nNeeded = nPathSize + 2;
    if (!szBuffer || nNeeded > *pnSize) {
        *pnSize = nNeeded;
        return 0;
    }
    std::memcpy(szBuffer, szPath, nNeeded);
    *pnSize = nPathSize;
    return 1;
}

std::uint32_t ReadFirstImageBrightness(const DriverSettings* pSettings, std::int32_t nSide) {
    if (!IsSide(nSide)) return kDefaultBrightness;
    std::int32_t nValue = std::int32_t(kDefaultBrightness);
    GetStoreNumber(pSettings,
                   nSide == kPortraitSide ? StoreValue::watermarkFirstImagePortraitBrightness
                                          : StoreValue::watermarkFirstImageLandscapeBrightness,
                   &nValue);
    return std::uint32_t(nValue);
}

std::uint32_t ReadFirstImagePosition(const DriverSettings* pSettings, std::int32_t nSide) {
    if (!IsSide(nSide)) return kDefaultPosition;
    std::int32_t nValue = std::int32_t(kDefaultPosition);
    GetStoreNumber(pSettings,
                   nSide == kPortraitSide ? StoreValue::watermarkFirstImagePortraitPosition
                                          : StoreValue::watermarkFirstImageLandscapePosition,
                   &nValue);
    return std::uint32_t(nValue);
}
