// Whatever the driver may have stored as a page's settings record: any bytes, of the record's
// length or not, taken the way the overlays take a record, read through every getter and bit
// test, then changed on a copy through every setter with values taken from the input.
//
// An input is [length choice][fill byte] and then patches of [offset low][offset high][count]
// [bytes]: the block is the fill byte throughout with the patches laid over it. The record is
// longer than a run's inputs may be, so patches are what lets every field be reached.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "jobhost/settings/driver_settings.h"
#include "jobhost/settings/settings_bits.h"

namespace {

using namespace settings_layout;

constexpr std::size_t kSize = kDriverSettingsSize;

// ---- the block as the job exchange hands it over ------------------------------------------

std::size_t BlockLength(std::uint8_t choice) {
    switch (choice % 8) {
        case 5:
            return kSize - 1;
        case 6:
            return kSize + 1 + choice;
        case 7:
            return std::size_t(choice >> 3) * kPublicPartSize;  // 0 up to the whole record
        default:
            return kSize;
    }
}

std::vector<std::uint8_t> MakeBlock(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> block(size >= 1 ? BlockLength(data[0]) : kSize,
                                    size >= 2 ? data[1] : 0);
    if (block.empty()) return block;
    for (std::size_t at = 2; at + 3 <= size;) {
        std::size_t offset = (data[at] | (data[at + 1] << 8)) % block.size();
        std::size_t count = data[at + 2];
        at += 3;
        if (count > size - at) count = size - at;
        if (count > block.size() - offset) count = block.size() - offset;
        std::memcpy(block.data() + offset, data + at, count);
        at += count;
    }
    return block;
}

// As the overlays take a record with its length: nothing but the record's own length is
// accepted, and they work on a copy of their own.
std::unique_ptr<DriverSettings> TakeRecord(const std::uint8_t* block, std::size_t length) {
    if (!block || length != kSize) return nullptr;
    auto record = std::make_unique<DriverSettings>();
    std::memcpy(record->abBytes, block, length);
    return record;
}

// ---- checks ------------------------------------------------------------------------------

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

volatile std::uint32_t g_sink;

void Use(std::uint32_t value) {
    g_sink = g_sink ^ value;
}

// A text getter's copy ends at a terminator within its buffer and holds no other 0.
template <std::size_t nCapacity>
std::u16string Checked(const SettingsText<nCapacity>& text) {
    Check(text.nLength <= nCapacity && text.sz[text.nLength] == 0);
    for (std::size_t i = 0; i < text.nLength; ++i) Check(text.sz[i] != 0);
    return std::u16string(text.View());
}

// ---- the record's fields -----------------------------------------------------------------

// The bytes a setter may change besides its own field's (0 bytes: none).
struct Extra {
    std::size_t nOffset = 0;
    std::size_t nBytes = 0;
};

struct TextField {
    std::size_t nOffset;
    std::size_t nChars;
    bool bClearedAndCut;  // the annotation texts: cleared, then cut to fit
    std::u16string (*get)(const DriverSettings*);
    void (*set)(DriverSettings*, const char16_t*);
};

#define JH_TEXT_FIELD(Field, Chars, bCut)                                                      \
    {                                                                                          \
        k##Field, Chars, bCut, [](const DriverSettings* p) { return Checked(Get##Field(p)); }, \
            Set##Field                                                                         \
    }

const TextField kTextFields[] = {
    JH_TEXT_FIELD(DmDeviceName, kDmDeviceNameChars, false),
    JH_TEXT_FIELD(ApplicationPath, kPathChars, false),
    JH_TEXT_FIELD(OutputDirectory, kPathChars, false),
    JH_TEXT_FIELD(FixedFileName, kPathChars, false),
    JH_TEXT_FIELD(FileNamePrefix, kFileNamePrefixChars, false),
    JH_TEXT_FIELD(FileExtension, kFileExtensionChars, false),
    JH_TEXT_FIELD(UnnamedPath1, kPathChars, false),
    JH_TEXT_FIELD(INIFileName, kPathChars, false),
    JH_TEXT_FIELD(TiffLibraryName, kPathChars, false),
    JH_TEXT_FIELD(JpegLibraryName, kPathChars, false),
    JH_TEXT_FIELD(UnnamedPath2, kPathChars, false),
    JH_TEXT_FIELD(UserSid, kUserSidChars, false),
    JH_TEXT_FIELD(WatermarkFilePortrait, kPathChars, false),
    JH_TEXT_FIELD(WatermarkFileLandscape, kPathChars, false),
    JH_TEXT_FIELD(AnnotationText, kAnnotationTextChars, true),
    JH_TEXT_FIELD(AnnotationSeparator, kAnnotationTextChars, true),
    JH_TEXT_FIELD(CustomStartApplicationParameter, kCustomStartApplicationParameterChars, false),
};

#undef JH_TEXT_FIELD

struct NumberField {
    std::size_t nOffset;
    std::size_t nBytes;
    std::uint32_t (*get)(const DriverSettings*);
    void (*set)(DriverSettings*, std::uint32_t);
    Extra extra;
};

#define JH_NUMBER_FIELD(Field, Bytes, Type)                                                    \
    {                                                                                          \
        k##Field, Bytes, [](const DriverSettings* p) { return std::uint32_t(Get##Field(p)); }, \
            [](DriverSettings* p, std::uint32_t n) { Set##Field(p, Type(n)); }, {}             \
    }

const NumberField kNumberFields[] = {
    JH_NUMBER_FIELD(DmOrientation, 2, std::int16_t),
    JH_NUMBER_FIELD(DmPaperSize, 2, std::int16_t),
    JH_NUMBER_FIELD(DmPaperLength, 2, std::int16_t),
    JH_NUMBER_FIELD(DmPaperWidth, 2, std::int16_t),
    JH_NUMBER_FIELD(DmPrintQuality, 2, std::int16_t),
    JH_NUMBER_FIELD(DmYResolution, 2, std::int16_t),
    JH_NUMBER_FIELD(DmBitsPerPel, 4, std::uint32_t),
    JH_NUMBER_FIELD(Flags, 4, std::uint32_t),
    JH_NUMBER_FIELD(FileFormat, 4, std::uint32_t),
    {kColorDepth,
     4,
     [](const DriverSettings* p) { return GetColorDepth(p); },
     SetColorDepth,
     {kDmBitsPerPel, 4}},
    JH_NUMBER_FIELD(FAXheader, 4, std::uint32_t),
    JH_NUMBER_FIELD(LossRatio, 4, std::uint32_t),
    JH_NUMBER_FIELD(Dithering, 4, std::uint32_t),
    JH_NUMBER_FIELD(Brightness, 4, std::uint32_t),
    JH_NUMBER_FIELD(PaperWidthInPixels, 4, std::uint32_t),
    JH_NUMBER_FIELD(PaperHeightInPixels, 4, std::uint32_t),
    JH_NUMBER_FIELD(LaunchFlags, 4, std::uint32_t),
    JH_NUMBER_FIELD(FileNameGenerationFlags, 4, std::uint32_t),
    JH_NUMBER_FIELD(SessionID, 4, std::uint32_t),
    JH_NUMBER_FIELD(WatermarkFlags, 4, std::uint32_t),
    JH_NUMBER_FIELD(WatermarkBrightness, 4, std::uint32_t),
    {kWatermarkBrightness,
     4,
     [](const DriverSettings* p) { return GetWatermarkBrightnessPortrait(p); },
     SetWatermarkBrightnessPortrait,
     {}},
    {kWatermarkBrightness,
     4,
     [](const DriverSettings* p) { return GetWatermarkBrightnessLandscape(p); },
     SetWatermarkBrightnessLandscape,
     {}},
    JH_NUMBER_FIELD(AnnotationFlags, 4, std::uint32_t),
    JH_NUMBER_FIELD(AnnotationXOffset, 4, std::int32_t),
    JH_NUMBER_FIELD(AnnotationYOffset, 4, std::int32_t),
    JH_NUMBER_FIELD(AnnotationRotation, 4, std::int32_t),
    JH_NUMBER_FIELD(AnnotationColor, 4, std::uint32_t),
    JH_NUMBER_FIELD(UnnamedValue1, 4, std::uint32_t),
    JH_NUMBER_FIELD(UnnamedValue2, 4, std::uint32_t),
    JH_NUMBER_FIELD(PDFFlags, 2, std::uint16_t),
    JH_NUMBER_FIELD(SelectedBatesFormat, 1, std::uint8_t),
    JH_NUMBER_FIELD(PrinterId, 4, std::uint32_t),
    JH_NUMBER_FIELD(StoreFlags, 4, std::uint32_t),
};

#undef JH_NUMBER_FIELD

struct BitSetWidth {
    SettingsBitSet set;
    std::size_t nOffset;
    std::uint8_t nWidth;
};

constexpr BitSetWidth kBitSets[] = {
    {SettingsBitSet::flags, kFlags, 32},
    {SettingsBitSet::launchFlags, kLaunchFlags, 32},
    {SettingsBitSet::watermarkFlags, kWatermarkFlags, 32},
    {SettingsBitSet::annotationFlags, kAnnotationFlags, 32},
    {SettingsBitSet::pdfFlags, kPDFFlags, 16},
    {SettingsBitSet::storeFlags, kStoreFlags, 32},
};

// Bit numbers are tried past each set's width too.
constexpr std::uint8_t kBitsTried = 40;

// ---- reading -----------------------------------------------------------------------------

void ReadEverything(const DriverSettings* p) {
    for (const TextField& field : kTextFields) Use(std::uint32_t(field.get(p).size()));
    for (const NumberField& field : kNumberFields) Use(field.get(p));

    // The getters that keep their values in a range.
    Check(GetColorDepth(p) <= 3);
    std::uint32_t nBits = GetBitsPerPixel(p);
    Check(nBits == 1 || nBits == 8 || nBits == 24);
    Check(GetLossRatio(p) <= 100 && (!p || GetLossRatio(p) >= 1));
    Check(GetBrightness(p) <= 199);
    Check(GetFileNameGenerationFlags(p) <= 7);
    std::uint32_t nPortrait = GetWatermarkBrightnessPortrait(p);
    Check(nPortrait >= 1 && nPortrait <= 100);
    Check(GetWatermarkBrightnessLandscape(p) <= 100);

    for (std::uint32_t i = 0; i < kStartApplicationParameterCount + 2; ++i) {
        std::uint16_t nEntry = GetStartApplicationParameterOrder(p, i);
        if (i >= kStartApplicationParameterCount) Check(nEntry == 0);
        Use(nEntry);
    }
    SettingsLogFont font = GetAnnotationFont(p);
    Use(std::uint32_t(font.lfHeight) ^ font.lfFaceName[31]);

    for (const BitSetWidth& set : kBitSets)
        for (std::uint8_t nBit = 0; nBit < kBitsTried; ++nBit) {
            bool bOn = TestSettingsBit(p, SettingsBit{set.set, nBit});
            if (nBit >= set.nWidth) Check(!bOn);
            Use(bOn);
        }
}

// ---- changing ----------------------------------------------------------------------------

// Runs a setter on the record and traps when it changed a byte outside its field and extra.
template <typename Change>
void ChangeOnly(DriverSettings* p, std::size_t nOffset, std::size_t nBytes, Extra extra,
                Change change) {
    std::array<std::uint8_t, kSize> before;
    std::memcpy(before.data(), p->abBytes, kSize);
    change(p);
    // The bytes between and around the two ranges that may change, compared piece by piece.
    Extra first{nOffset, nBytes}, second = extra;
    if (second.nOffset < first.nOffset) std::swap(first, second);
    auto same = [&](std::size_t nFrom, std::size_t nTo) {
        if (nTo > nFrom)
            Check(std::memcmp(p->abBytes + nFrom, before.data() + nFrom, nTo - nFrom) == 0);
    };
    same(0, first.nOffset);
    same(first.nOffset + first.nBytes, second.nOffset);
    same(std::max(first.nOffset + first.nBytes, second.nOffset + second.nBytes), kSize);
}

// A number from the whole range, or one near the ranges that the setters check.
std::uint32_t NumberFrom(FuzzedDataProvider& values) {
    if (values.ConsumeBool()) return values.ConsumeIntegral<std::uint32_t>();
    return std::uint32_t(values.ConsumeIntegralInRange<std::int32_t>(-8, 300));
}

// A text of any length up to past every capacity, without a 0 before its end.
std::u16string TextFrom(FuzzedDataProvider& values) {
    std::u16string text(values.ConsumeIntegralInRange<std::size_t>(0, 2 * kPathChars), u'x');
    for (char16_t& c : text) {
        if (values.remaining_bytes() < 2) break;
        char16_t unit = values.ConsumeIntegral<std::uint16_t>();
        if (unit != 0) c = unit;
    }
    return text;
}

void ChangeTexts(DriverSettings* p, FuzzedDataProvider& values) {
    for (const TextField& field : kTextFields) {
        std::u16string text = TextFrom(values);
        std::u16string before = field.get(p);
        ChangeOnly(p, field.nOffset, 2 * field.nChars, {},
                   [&](DriverSettings* q) { field.set(q, text.c_str()); });
        std::u16string after = field.get(p);
        if (field.bClearedAndCut)
            Check(after == text.substr(0, field.nChars - 1));
        else
            Check(after == before || after == text);
        // No text leaves the field as it is.
        ChangeOnly(p, 0, 0, {}, [&](DriverSettings* q) { field.set(q, nullptr); });
    }
}

void ChangeNumbers(DriverSettings* p, FuzzedDataProvider& values) {
    for (const NumberField& field : kNumberFields) {
        std::uint32_t nValue = NumberFrom(values);
        ChangeOnly(p, field.nOffset, field.nBytes, field.extra,
                   [&](DriverSettings* q) { field.set(q, nValue); });
    }

    for (int i = 0; i < 4; ++i) {
        std::uint32_t nIndex = values.ConsumeIntegralInRange<std::uint32_t>(0, 9);
        std::uint16_t nDigit = values.ConsumeIntegralInRange<std::uint16_t>(0, 12);
        ChangeOnly(
            p, kStartApplicationParameterOrder, 2 * kStartApplicationParameterCount, {},
            [&](DriverSettings* q) { SetStartApplicationParameterOrder(q, nIndex, nDigit); });
    }

    SettingsLogFont font;
    font.lfHeight = values.ConsumeIntegral<std::int32_t>();
    font.lfWidth = values.ConsumeIntegral<std::int32_t>();
    font.lfEscapement = values.ConsumeIntegral<std::int32_t>();
    font.lfOrientation = values.ConsumeIntegral<std::int32_t>();
    font.lfWeight = values.ConsumeIntegral<std::int32_t>();
    for (std::uint8_t* pByte :
         {&font.lfItalic, &font.lfUnderline, &font.lfStrikeOut, &font.lfCharSet,
          &font.lfOutPrecision, &font.lfClipPrecision, &font.lfQuality, &font.lfPitchAndFamily})
        *pByte = values.ConsumeIntegral<std::uint8_t>();
    for (char16_t& c : font.lfFaceName) c = values.ConsumeIntegral<std::uint16_t>();
    ChangeOnly(p, kAnnotationFont, kAnnotationFontSize, {},
               [&](DriverSettings* q) { SetAnnotationFont(q, font); });
    SettingsLogFont back = GetAnnotationFont(p);
    Check(back.lfHeight == font.lfHeight && back.lfWidth == font.lfWidth &&
          back.lfEscapement == font.lfEscapement && back.lfOrientation == font.lfOrientation &&
          back.lfWeight == font.lfWeight && back.lfItalic == font.lfItalic &&
          back.lfUnderline == font.lfUnderline && back.lfStrikeOut == font.lfStrikeOut &&
          back.lfCharSet == font.lfCharSet && back.lfOutPrecision == font.lfOutPrecision &&
          back.lfClipPrecision == font.lfClipPrecision && back.lfQuality == font.lfQuality &&
          back.lfPitchAndFamily == font.lfPitchAndFamily &&
          std::memcmp(back.lfFaceName, font.lfFaceName, sizeof font.lfFaceName) == 0);
}

void ChangeBits(DriverSettings* p, FuzzedDataProvider& values) {
    for (const BitSetWidth& set : kBitSets)
        for (int i = 0; i < 2; ++i) {
            SettingsBit bit{set.set, values.ConsumeIntegralInRange<std::uint8_t>(0, kBitsTried)};
            std::size_t nBytes = bit.nBit < set.nWidth ? set.nWidth / 8 : 0;
            ChangeOnly(p, set.nOffset, nBytes, {},
                       [&](DriverSettings* q) { SetSettingsBit(q, bit); });
            bool bAfterSet = TestSettingsBit(p, bit);
            ChangeOnly(p, set.nOffset, nBytes, {},
                       [&](DriverSettings* q) { ClearSettingsBit(q, bit); });
            // A bit within the set tests differently once set and once cleared.
            if (nBytes) Check(bAfterSet != TestSettingsBit(p, bit));
        }
}

// Without a record a setter has nothing to change; it must not fail either.
void ChangeNothing() {
    for (const TextField& field : kTextFields) field.set(nullptr, u"text");
    for (const NumberField& field : kNumberFields) field.set(nullptr, 7);
    SetStartApplicationParameterOrder(nullptr, 0, 1);
    SetAnnotationFont(nullptr, SettingsLogFont{});
    SetSettingsBit(nullptr, kFlagJobOptionSet);
    ClearSettingsBit(nullptr, kFlagJobOptionSet);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> block = MakeBlock(data, size);
    std::unique_ptr<DriverSettings> record = TakeRecord(block.data(), block.size());
    if (!record) return 0;

    ReadEverything(record.get());
    ReadEverything(nullptr);
    ChangeNothing();

    // The copy at an odd address, as a record inside a larger block may lie, and with nothing
    // after it.
    std::vector<std::uint8_t> storage(kSize + 1);
    auto* copy = reinterpret_cast<DriverSettings*>(storage.data() + 1);
    std::memcpy(copy->abBytes, record->abBytes, kSize);
    FuzzedDataProvider values(data, size);
    ChangeTexts(copy, values);
    ChangeNumbers(copy, values);
    ChangeBits(copy, values);
    ReadEverything(copy);
    return 0;
}
