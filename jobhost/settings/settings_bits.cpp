#include "jobhost/settings/settings_bits.h"

#include "jobhost/settings/driver_settings_layout.h"
#include "jobhost/settings/record_bytes.h"

namespace {

struct BitSetPlace {
    SettingsBitSet set;
    std::size_t nOffset;
    std::uint8_t nWidth;
};

constexpr BitSetPlace kBitSets[] = {
    {SettingsBitSet::flags, settings_layout::kFlags, 32},
    {SettingsBitSet::launchFlags, settings_layout::kLaunchFlags, 32},
    {SettingsBitSet::watermarkFlags, settings_layout::kWatermarkFlags, 32},
    {SettingsBitSet::annotationFlags, settings_layout::kAnnotationFlags, 32},
    {SettingsBitSet::pdfFlags, settings_layout::kPDFFlags, 16},
    {SettingsBitSet::storeFlags, settings_layout::kStoreFlags, 32},
};

// Bits whose test differs from the plain rule (set bit: on; no record: on).
struct TestRule {
    SettingsBitSet set;
    std::uint8_t nFirst;
    std::uint8_t nLast;
    bool bAbsentValue;
    bool bInverted;
};

constexpr TestRule kTestRules[] = {
    {SettingsBitSet::flags, 28, 31, false, false},
    {SettingsBitSet::watermarkFlags, 10, 10, false, false},
    {SettingsBitSet::launchFlags, 6, 6, true, true},
};

const BitSetPlace* PlaceOf(SettingsBit bit) {
    for (const BitSetPlace& place : kBitSets)
        if (place.set == bit.set) return bit.nBit < place.nWidth ? &place : nullptr;
    return nullptr;
}

const TestRule* RuleOf(SettingsBit bit) {
    for (const TestRule& rule : kTestRules)
        if (rule.set == bit.set && bit.nBit >= rule.nFirst && bit.nBit <= rule.nLast) return &rule;
    return nullptr;
}

std::uint32_t LoadSet(const DriverSettings* pSettings, const BitSetPlace& place) {
    const std::uint8_t* p = pSettings->abBytes + place.nOffset;
    return place.nWidth == 16 ? record_bytes::LoadU16(p) : record_bytes::LoadU32(p);
}

void StoreSet(DriverSettings* pSettings, const BitSetPlace& place, std::uint32_t dwValue) {
    std::uint8_t* p = pSettings->abBytes + place.nOffset;
    if (place.nWidth == 16)
        record_bytes::StoreU16(p, std::uint16_t(dwValue));
    else
        record_bytes::StoreU32(p, dwValue);
}

}  // namespace

bool TestSettingsBit(const DriverSettings* pSettings, SettingsBit bit) {
    const BitSetPlace* place = PlaceOf(bit);
    if (!place) return false;
    const TestRule* rule = RuleOf(bit);
    if (!pSettings) return rule ? rule->bAbsentValue : true;
    bool bSet = (LoadSet(pSettings, *place) >> bit.nBit) & 1u;
    return rule && rule->bInverted ? !bSet : bSet;
}

void SetSettingsBit(DriverSettings* pSettings, SettingsBit bit) {
    const BitSetPlace* place = PlaceOf(bit);
    if (!pSettings || !place) return;
    StoreSet(pSettings, *place, LoadSet(pSettings, *place) | (1u << bit.nBit));
}

void ClearSettingsBit(DriverSettings* pSettings, SettingsBit bit) {
    const BitSetPlace* place = PlaceOf(bit);
    if (!pSettings || !place) return;
    StoreSet(pSettings, *place, LoadSet(pSettings, *place) & ~(1u << bit.nBit));
}
