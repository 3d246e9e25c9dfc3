#include "sample_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobhost/settings/first_image.h"
#include "jobhost/settings/option_sets.h"
#include "jobhost/settings/settings_bits.h"
#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_values.h"
#include "jobhost/settings/ui_tabs.h"
#include "win/registry.h"

namespace sample_profile {
namespace {

namespace reg = win::reg;
using SV = StoreValue;

const std::u16string kIdKey = std::u16string(kStoreRoot) + u"\\PrinterIDs\\" + u"990017";

bool DeleteTree(reg::Key parent, const std::u16string& path) {
    {
        reg::UniqueKey key;
        win::Long opened = reg::openKey(parent, path.c_str(), reg::access::read, key.put());
        if (opened == win::err::fileNotFound) return true;
        if (opened != win::err::success) return false;
        std::vector<std::u16string> children;
        for (win::Dword index = 0;; ++index) {
            char16_t name[256];
            win::Dword chars = 256;
            if (reg::enumKey(key.get(), index, name, &chars) != win::err::success) break;
            children.emplace_back(name, chars);
        }
        for (const std::u16string& child : children)
            if (!DeleteTree(key.get(), child)) return false;
    }
    return reg::deleteKey(parent, path.c_str()) == win::err::success;
}

std::u16string Text(const DriverSettings& settings, StoreValue value) {
    char16_t buffer[260];
    std::uint32_t size = sizeof buffer;
    if (!GetStoreText(&settings, value, buffer, &size)) return u"<unreadable>";
    return std::u16string(buffer, size / 2);
}

std::u16string ListText(const DriverSettings& settings, StoreValue value, std::uint32_t index) {
    char16_t buffer[260];
    std::uint32_t size = sizeof buffer;
    if (!GetStoreListText(&settings, value, index, buffer, &size)) return u"<unreadable>";
    return std::u16string(buffer, size / 2);
}

std::int32_t Number(const DriverSettings& settings, StoreValue value) {
    std::int32_t number = -12345;
    EXPECT_EQ(GetStoreNumber(&settings, value, &number), 1);
    return number;
}

struct TextValue {
    StoreValue value;
    const char16_t* text;
};

const TextValue kTexts[] = {
    {SV::pdfDocumentTitle, u"Quarterly report"},
    {SV::pdfDocumentAuthor, u"Accounts"},
    {SV::pdfDocumentKeywords, u"q3, finance"},
    {SV::pdfDocumentUserPassword, u"open sesame"},
    {SV::pdfDocumentOwnerPassword, u"0wner!"},
    {SV::htmlContentOutputDirectory, u"C:\\Output\\Html"},
    {SV::redirectLogFile, u"C:\\Logs\\redirect.log"},
    {SV::postEmailProgram32, u"C:\\Mail\\mail32.exe"},
    {SV::postSharePointUtility, u"C:\\SP\\upload.exe"},
    {SV::emailSmtpServer, u"smtp.example.com"},
    {SV::emailSmtpPort, u"587"},
    {SV::emailSmtpUserName, u"printer"},
    {SV::emailSmtpPassword, u"s3cret"},
    {SV::emailSender, u"printer@example.com"},
    {SV::emailTo, u"desk@example.com"},
    {SV::emailSubject, u"Printed document"},
    {SV::emailBody, u"See attached."},
    {SV::emailLoggingDirectory, u"C:\\Logs"},
    {SV::sharePointServer, u"https://sp.example.com"},
    {SV::sharePointDirectory, u"Shared Documents"},
    {SV::sharePointUser, u"printer"},
    {SV::sharePointPass, u"Pa55!"},
    {SV::sharePointLogfile, u"C:\\Logs\\sp.log"},
    {SV::applicationExeName, u"C:\\Tools\\after.exe"},
    {SV::watermarkFirstImagePortrait, u"C:\\Marks\\first-portrait.bmp"},
    {SV::watermarkFirstImageLandscape, u"C:\\Marks\\first-landscape.bmp"},
};

struct NumberValue {
    StoreValue value;
    std::int32_t number;
};

const NumberValue kNumbers[] = {
    {SV::pdfStreamCompression, 106},
    {SV::pdfJpegQuality, 90},
    {SV::pdfDocumentEncryption, 2},
    {SV::pdfDocumentSecurityFlag, 12},
    {SV::htmlCssSettings, 0},
    {SV::watermarkFirstImagePortraitBrightness, 55},
    {SV::watermarkFirstImageLandscapeBrightness, 45},
    {SV::watermarkFirstImagePortraitPosition, 8},
    {SV::watermarkFirstImageLandscapePosition, 2},
};

struct SwitchValue {
    StoreValue value;
    bool on;
};

const SwitchValue kSwitches[] = {
    {SV::redirectLogEnabled, true}, {SV::postOpenOutputFolder, true},
    {SV::postSendInEmail, false},   {SV::postViewInDefaultViewer, true},
    {SV::emailSenderClient, true},  {SV::emailSmtpEnableSsl, true},
    {SV::emailSendSilently, false}, {SV::emailLoggingEnabled, true},
    {SV::sharePointUpload, true},   {SV::sharePointSilent, false},
};

struct ListValue {
    StoreValue count;
    StoreValue entry;
    std::vector<const char16_t*> texts;
};

const ListValue kLists[] = {
    {SV::pdfForceEmbedFontCount, SV::pdfForceEmbedFont, {u"Arial", u"Courier New"}},
    {SV::pdfForbidEmbedFontCount, SV::pdfForbidEmbedFont, {}},
    {SV::htmlForceEmbedFontCount, SV::htmlForceEmbedFont, {u"Tahoma"}},
    {SV::redirectPrinterCount, SV::redirectPrinter, {u"Office Laser", u"Archive PDF"}},
};

struct RawValue {
    const char16_t* key;
    const char16_t* name;
    const char16_t* text;
};

// Written by the driver's user interface beside the values that the library writes.
const RawValue kBatesTexts[] = {
    {u"%s\\BatesNumbering", u"Number of Formats", u"2"},
    {u"%s\\BatesNumbering\\1", u"Name", u"Invoices"},
    {u"%s\\BatesNumbering\\1", u"Use prefix", u"1"},
    {u"%s\\BatesNumbering\\1", u"Prefix", u"INV"},
    {u"%s\\BatesNumbering\\1", u"Bates Number Length", u"6"},
    {u"%s\\BatesNumbering\\1", u"Bates Padding Character", u"0"},
    {u"%s\\BatesNumbering\\1", u"Font Facename", u"Arial"},
    {u"%s\\BatesNumbering\\2", u"Name", u"Exhibits"},
    {u"%s\\BatesNumbering\\2", u"Use prefix", u"0"},
    {u"%s\\BatesNumbering\\2", u"Prefix", u"EX"},
    {u"%s\\BatesNumbering\\2", u"Start with", u"100"},
    {u"%s\\BatesNumbering\\2", u"Font Facename", u"Times New Roman"},
    {u"%s\\PapersList\\1", u"Title", u"A4"},
    {u"%s\\PapersList\\1", u"Units", u"mm"},
};

struct RawDword {
    const char16_t* key;
    const char16_t* name;
    std::uint32_t value;
};

const RawDword kPaperDwords[] = {
    {u"%s\\PapersList", u"Count", 1},
    {u"%s\\PapersList\\1", u"Available", 1},
    {u"%s\\PapersList\\1", u"Width", 2100},
    {u"%s\\PapersList\\1", u"Height", 2970},
    {u"%s\\PapersList\\1", u"WindowsPaperCode", 9},
};

}  // namespace

DriverSettings MakeRecord() {
    DriverSettings settings{};
    SetDmDeviceName(&settings, u"Device Fallback Name");
    SetDmOrientation(&settings, 2);
    SetDmPaperSize(&settings, 9);
    SetDmPaperLength(&settings, 2970);
    SetDmPaperWidth(&settings, 2100);
    SetDmPrintQuality(&settings, -4);
    SetDmYResolution(&settings, -5);
    SetSettingsBit(&settings, kFlagAllPagesInOneFile);
    SetSettingsBit(&settings, kFlagRedirectPrinting);
    SetSettingsBit(&settings, kFlagBatesNumbering);
    SetSettingsBit(&settings, SettingsBit{SettingsBitSet::flags, 7});
    SetFileFormat(&settings, 12);
    SetColorDepth(&settings, 1);
    SetFAXheader(&settings, 3);
    SetLossRatio(&settings, 75);
    SetDithering(&settings, 2);
    SetBrightness(&settings, 120);
    SetPaperWidthInPixels(&settings, 2480);
    SetPaperHeightInPixels(&settings, 3508);
    SetApplicationPath(&settings, u"C:\\Tools\\viewer.exe");
    SetLaunchFlags(&settings, 0x41);
    SetFileNameGenerationFlags(&settings, 7);
    SetOutputDirectory(&settings, u"C:\\Output\\Jobs");
    SetFixedFileName(&settings, u"<DocName>_<Page>");
    SetFileNamePrefix(&settings, u"INV");
    SetFileExtension(&settings, u"pdf");
    SetTiffLibraryName(&settings, u"imaging.dll");
    SetJpegLibraryName(&settings, u"imaging.dll");
    SetWatermarkFilePortrait(&settings, u"C:\\Marks\\portrait.bmp");
    SetWatermarkFileLandscape(&settings, u"C:\\Marks\\landscape.jpg");
    SetSettingsBit(&settings, kWatermarkPrint);
    SetSettingsBit(&settings, kWatermarkFirstImage);
    SetSettingsBit(&settings, kWatermarkPortraitTile);
    SetWatermarkBrightnessPortrait(&settings, 40);
    SetWatermarkBrightnessLandscape(&settings, 25);
    SetAnnotationText(&settings, u"Printed by <<USERNAME>>");
    SetAnnotationSeparator(&settings, u"on");
    SettingsLogFont font;
    font.lfHeight = -12;
    font.lfWeight = 700;
    font.lfQuality = 2;
    std::u16string face = u"Arial";
    face.copy(font.lfFaceName, face.size());
    SetAnnotationFont(&settings, font);
    for (SettingsBit bit :
         {kAnnotationDraw, kAnnotationWithText, kAnnotationAddDate, kAnnotationDateMonthDayYear,
          kAnnotationTransparent, kAnnotationBottomRight})
        SetSettingsBit(&settings, bit);
    SetAnnotationXOffset(&settings, 100);
    SetAnnotationYOffset(&settings, -50);
    SetAnnotationRotation(&settings, 90);
    SetAnnotationColor(&settings, 0x0000FF);
    SetPDFFlags(&settings, 0x0120);
    SetStartApplicationParameterOrder(&settings, 0, 1);
    SetStartApplicationParameterOrder(&settings, 1, 2);
    SetStartApplicationParameterOrder(&settings, 2, 3);
    SetCustomStartApplicationParameter(&settings, u"/silent");
    SetSelectedBatesFormat(&settings, 1);
    SetPrinterId(&settings, kPrinterId);
    return settings;
}

bool WriteStore(const DriverSettings& settings) {
    {
        reg::UniqueKey key;
        if (reg::createKey(reg::currentUser, kIdKey.c_str(), reg::access::setValue, key.put(),
                           nullptr) != win::err::success)
            return false;
        std::u16string name = kPrinterName;
        if (reg::setValue(key.get(), u"Printer name", reg::type::sz, name.data(),
                          win::Dword(name.size() * 2)) != win::err::success)
            return false;
    }
    const DriverSettings* p = &settings;
    bool ok = true;
    for (const TextValue& t : kTexts) ok = SetStoreText(p, t.value, t.text) && ok;
    for (const NumberValue& n : kNumbers) ok = SetStoreNumber(p, n.value, n.number) && ok;
    for (const SwitchValue& s : kSwitches) ok = SetStoreSwitch(p, s.value, s.on) && ok;
    for (const ListValue& list : kLists) {
        ok = SetStoreNumber(p, list.count, std::int32_t(list.texts.size())) && ok;
        for (std::size_t i = 0; i < list.texts.size(); ++i)
            ok = SetStoreListText(p, list.entry, std::uint32_t(i), list.texts[i]) && ok;
    }
    for (const RawValue& raw : kBatesTexts)
        ok = WriteStoreString(p, kStoreRoot, raw.key, raw.name, raw.text) && ok;
    for (const RawDword& raw : kPaperDwords)
        ok = WriteStoreDword(p, kStoreRoot, raw.key, raw.name, raw.value) && ok;
    ok = ShowUiTab(p, 3, true) && ShowUiTab(p, 6, false) && ok;
    ok = WriteDefaultOptionNumber(p, 39, 1) && ok;
    ok = WriteDefaultOptionString(p, 0, u"C:\\Output") && ok;
    ok = WriteJobOptionNumber(p, 41, kJobNumber, 1) && ok;
    ok = WriteJobOptionIndexedString(p, 13, 2, kJobNumber, u"Office Laser") && ok;
    return ok;
}

void ExpectStoreReadsBack(const DriverSettings& settings) {
    const DriverSettings* p = &settings;
    char16_t name[260];
    GetPrinterStoreName(p, name, sizeof name);
    EXPECT_EQ(std::u16string(name), kPrinterName);
    for (const TextValue& t : kTexts) EXPECT_EQ(Text(settings, t.value), t.text);
    for (const NumberValue& n : kNumbers) EXPECT_EQ(Number(settings, n.value), n.number);
    for (const SwitchValue& s : kSwitches) EXPECT_EQ(GetStoreSwitch(p, s.value), s.on ? 1 : 0);
    for (const ListValue& list : kLists) {
        EXPECT_EQ(Number(settings, list.count), std::int32_t(list.texts.size()));
        for (std::size_t i = 0; i < list.texts.size(); ++i)
            EXPECT_EQ(ListText(settings, list.entry, std::uint32_t(i)), list.texts[i]);
    }
    // Values never written read as their defaults.
    EXPECT_EQ(Number(settings, SV::pdfMonoImageCompression), 307);
    EXPECT_EQ(Number(settings, SV::htmlEmbedAllFonts), 1);
    EXPECT_EQ(Text(settings, SV::pdfDocumentSubject), u"<unreadable>");

    char16_t path[260];
    std::uint32_t size = sizeof path;
    ASSERT_EQ(ReadFirstImagePath(p, path, &size, kPortraitSide), 1);
    EXPECT_EQ(std::u16string(path), u"C:\\Marks\\first-portrait.bmp");
    EXPECT_EQ(ReadFirstImageBrightness(p, kPortraitSide), 55u);
    EXPECT_EQ(ReadFirstImagePosition(p, kLandscapeSide), 2u);

    EXPECT_EQ(IsUiTabShown(p, 3), 1);
    EXPECT_EQ(IsUiTabShown(p, 6), 0);
    std::uint32_t number = 0;
    EXPECT_EQ(ReadDefaultOptionNumber(p, 39, &number), 1);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(ReadJobOptionNumber(p, 41, kJobNumber, &number), 1);
    char16_t option[64] = {};
    size = sizeof option;
    ASSERT_EQ(ReadJobOptionIndexedString(p, 13, 2, kJobNumber, option, &size), 1);
    EXPECT_EQ(std::u16string(option, size / 2), u"Office Laser");
}

bool RemoveStore() {
    return DeleteTree(reg::currentUser, std::u16string(kStoreRoot) + u"\\" + kPrinterName) &&
           DeleteTree(reg::currentUser, kIdKey);
}

std::string WithUnixLineEnds(const std::string& text, bool* bAllCrLf) {
    std::string out;
    *bAllCrLf = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) *bAllCrLf = false;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace sample_profile
