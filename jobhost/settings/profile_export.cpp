#include "jobhost/settings/profile_export.h"

#include <optional>
#include <string>
#include <vector>

#include "jobhost/settings/first_image.h"
#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_text.h"
#include "jobhost/settings/store_values.h"
#include "win/profile.h"

namespace {

using store_text::Decimal;
using SV = StoreValue;

// Counts come from outside; a list is never exported beyond this many entries.
constexpr std::int32_t kMaxListEntries = 999;

using RecordText = std::u16string (*)(const DriverSettings*);

template <typename Text>
std::u16string Copy(const Text& text) {
    return std::u16string(text.View());
}

std::u16string BitsPerPixelName(const DriverSettings* p) {
    switch (GetColorDepth(p)) {
        case 1:
            return u"8gray";
        case 2:
            return u"8";
        case 3:
            return u"24";
        default:
            return u"1";
    }
}

std::u16string ParameterOrder(const DriverSettings* p) {
    std::u16string digits;
    for (std::uint32_t i = 0; i < 8; ++i)
        digits.push_back(char16_t(u'0' + GetStartApplicationParameterOrder(p, i) % 10));
    return digits;
}

std::u16string FaceName(const DriverSettings* p) {
    SettingsLogFont font = GetAnnotationFont(p);
    return std::u16string(store_text::UpToTerminator(font.lfFaceName, 32));
}

std::u16string FirstImagePath(const DriverSettings* p, std::int32_t nSide) {
    char16_t szPath[kStoreBufferBytes / 2] = {};
    std::uint32_t nSize = sizeof szPath;
    if (!ReadFirstImagePath(p, szPath, &nSize, nSide)) return {};
    return std::u16string(szPath, nSize / 2);
}

struct RecordKey {
    const char16_t* szKey;
    RecordText get;
};

// "Default Settings": the record's fields. FixedFileName goes under its own key or the
// template's, as FileNameGenerationFlags says, and is written separately.
const RecordKey kRecordKeys[] = {
    {u"Orientation", [](const DriverSettings* p) { return Decimal(GetDmOrientation(p)); }},
    {u"PaperSize", [](const DriverSettings* p) { return Decimal(GetDmPaperSize(p)); }},
    {u"PaperLength", [](const DriverSettings* p) { return Decimal(GetDmPaperLength(p)); }},
    {u"PaperWidth", [](const DriverSettings* p) { return Decimal(GetDmPaperWidth(p)); }},
    {u"PrintQuality", [](const DriverSettings* p) { return Decimal(GetDmPrintQuality(p)); }},
    {u"YResolution", [](const DriverSettings* p) { return Decimal(GetDmYResolution(p)); }},
    {u"Flags", [](const DriverSettings* p) { return Decimal(GetFlags(p)); }},
    {u"FileFormat", [](const DriverSettings* p) { return Decimal(GetFileFormat(p)); }},
    {u"BitsPerPixel", BitsPerPixelName},
    {u"FAXheader", [](const DriverSettings* p) { return Decimal(GetFAXheader(p)); }},
    {u"LossRatio", [](const DriverSettings* p) { return Decimal(GetLossRatio(p)); }},
    {u"Dithering", [](const DriverSettings* p) { return Decimal(GetDithering(p)); }},
    {u"Brightness", [](const DriverSettings* p) { return Decimal(GetBrightness(p)); }},
    {u"PaperWidthInPixels",
     [](const DriverSettings* p) { return Decimal(GetPaperWidthInPixels(p)); }},
    {u"PaperHeightInPixels",
     [](const DriverSettings* p) { return Decimal(GetPaperHeightInPixels(p)); }},
    {u"ApplicationPath", [](const DriverSettings* p) { return Copy(GetApplicationPath(p)); }},
    {u"LaunchFlags", [](const DriverSettings* p) { return Decimal(GetLaunchFlags(p)); }},
    {u"FileNameGenerationFlags",
     [](const DriverSettings* p) { return Decimal(GetFileNameGenerationFlags(p)); }},
    {u"OutputDirectory", [](const DriverSettings* p) { return Copy(GetOutputDirectory(p)); }},
    {u"FileNamePrefix", [](const DriverSettings* p) { return Copy(GetFileNamePrefix(p)); }},
    {u"FileExtension", [](const DriverSettings* p) { return Copy(GetFileExtension(p)); }},
    {u"TiffLibraryName", [](const DriverSettings* p) { return Copy(GetTiffLibraryName(p)); }},
    {u"JpegLibraryName", [](const DriverSettings* p) { return Copy(GetJpegLibraryName(p)); }},
    {u"WatermarkFilePortrait",
     [](const DriverSettings* p) { return Copy(GetWatermarkFilePortrait(p)); }},
    {u"WatermarkFileLandscape",
     [](const DriverSettings* p) { return Copy(GetWatermarkFileLandscape(p)); }},
    {u"WatermarkFlags", [](const DriverSettings* p) { return Decimal(GetWatermarkFlags(p)); }},
    {u"WatermarkBrightness",
     [](const DriverSettings* p) { return Decimal(GetWatermarkBrightness(p)); }},
    {u"FirstWatermarkFilePortrait",
     [](const DriverSettings* p) { return FirstImagePath(p, kPortraitSide); }},
    {u"FirstWatermarkFileLandscape",
     [](const DriverSettings* p) { return FirstImagePath(p, kLandscapeSide); }},
    {u"FirstWatermarkBrightness",
     [](const DriverSettings* p) {
         return Decimal(std::int64_t(ReadFirstImageBrightness(p, kPortraitSide)) * 65536 +
                        ReadFirstImageBrightness(p, kLandscapeSide));
     }},
    {u"FirstWatermarkPosition",
     [](const DriverSettings* p) {
         return Decimal(std::int64_t(ReadFirstImagePosition(p, kPortraitSide)) * 65536 +
                        ReadFirstImagePosition(p, kLandscapeSide));
     }},
    {u"AnnotationText", [](const DriverSettings* p) { return Copy(GetAnnotationText(p)); }},
    {u"AnnotationSeparator",
     [](const DriverSettings* p) { return Copy(GetAnnotationSeparator(p)); }},
    {u"AnnotationFlags", [](const DriverSettings* p) { return Decimal(GetAnnotationFlags(p)); }},
    {u"AnnotationXOffset",
     [](const DriverSettings* p) { return Decimal(GetAnnotationXOffset(p)); }},
    {u"AnnotationYOffset",
     [](const DriverSettings* p) { return Decimal(GetAnnotationYOffset(p)); }},
    {u"AnnotationRotation",
     [](const DriverSettings* p) { return Decimal(GetAnnotationRotation(p)); }},
    {u"AnnotationColor", [](const DriverSettings* p) { return Decimal(GetAnnotationColor(p)); }},
    {u"AnnotationFontHeight",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfHeight); }},
    {u"AnnotationFontWidth",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfWidth); }},
    {u"AnnotationFontEscapement",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfEscapement); }},
    {u"AnnotationFontOrientation",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfOrientation); }},
    {u"AnnotationFontWeight",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfWeight); }},
    {u"AnnotationFontItalic",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfItalic); }},
    {u"AnnotationFontUnderline",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfUnderline); }},
    {u"AnnotationFontStrikeOut",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfStrikeOut); }},
    {u"AnnotationFontCharSet",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfCharSet); }},
    {u"AnnotationFontOutPrecision",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfOutPrecision); }},
    {u"AnnotationFontClipPrecision",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfClipPrecision); }},
    {u"AnnotationFontQuality",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfQuality); }},
    {u"AnnotationFontPitchAndFamily",
     [](const DriverSettings* p) { return Decimal(GetAnnotationFont(p).lfPitchAndFamily); }},
    {u"AnnotationFontFaceName", FaceName},
    {u"PDFFlags", [](const DriverSettings* p) { return Decimal(GetPDFFlags(p)); }},
    {u"StartApplicationParameterOrder", ParameterOrder},
    {u"CustomStartApplicationParameter",
     [](const DriverSettings* p) { return Copy(GetCustomStartApplicationParameter(p)); }},
    {u"SelectedBatesFormat",
     [](const DriverSettings* p) { return Decimal(GetSelectedBatesFormat(p)); }},
};

// A section of store values; a list entry is written as its count's entries.
struct StoreSection {
    const char16_t* szSection;
    std::vector<StoreValue> values;
};

struct ListPart {
    StoreValue count;
    StoreValue entry;
};

constexpr ListPart kLists[] = {
    {SV::pdfForceEmbedFontCount, SV::pdfForceEmbedFont},
    {SV::pdfForbidEmbedFontCount, SV::pdfForbidEmbedFont},
    {SV::htmlForceEmbedFontCount, SV::htmlForceEmbedFont},
    {SV::htmlForbidEmbedFontCount, SV::htmlForbidEmbedFont},
    {SV::redirectPrinterCount, SV::redirectPrinter},
};

const StoreSection kStoreSections[] = {
    {u"Redirect Printing", {SV::redirectPrinterCount, SV::redirectLogEnabled, SV::redirectLogFile}},
    {u"PDF Settings",
     {SV::pdfDocumentTitle, SV::pdfDocumentSubject, SV::pdfDocumentAuthor, SV::pdfDocumentKeywords,
      SV::pdfDocumentUserPassword, SV::pdfDocumentOwnerPassword, SV::pdfStreamCompression,
      SV::pdfMonoImageCompression, SV::pdfColorImageCompression, SV::pdfJpegQuality,
      SV::pdfDocumentEncryption, SV::pdfDocumentSecurityFlag, SV::pdfEmbedAllFonts,
      SV::pdfCreateSubset, SV::pdfEmbedLicensedFonts, SV::pdfEmbedAdobeFonts,
      SV::pdfEmbedWindowsFonts}},
    {u"PDF Force Font Settings", {SV::pdfForceEmbedFontCount}},
    {u"PDF Forbidden Font Settings", {SV::pdfForbidEmbedFontCount}},
    {u"HTML Settings",
     {SV::htmlContentOutputDirectory, SV::htmlPageSizeSetting, SV::htmlCssSettings,
      SV::htmlVectorGraphicsDisplayMode, SV::htmlEmbedAllFonts, SV::htmlCreateSubset,
      SV::htmlSeparatePages, SV::htmlEmbedLicensedFonts}},
    {u"HTML Force Font Settings", {SV::htmlForceEmbedFontCount}},
    {u"HTML Forbidden Font Settings", {SV::htmlForbidEmbedFontCount}},
    {u"Post Print Options",
     {SV::postOpenOutputFolder, SV::postSendInEmail, SV::postViewInDefaultViewer,
      SV::postEmailProgram32, SV::postEmailProgram64, SV::postSharePointUtility,
      SV::applicationExeName, SV::sharePointUpload, SV::sharePointSilent, SV::sharePointServer,
      SV::sharePointDirectory, SV::sharePointUser, SV::sharePointLogfile, SV::sharePointPass}},
    {u"Email Settings",
     {SV::emailSenderClient, SV::emailSmtpServer, SV::emailSmtpPort, SV::emailSmtpUserName,
      SV::emailSmtpPassword, SV::emailSmtpEnableSsl, SV::emailSendSilently, SV::emailLoggingEnabled,
      SV::emailSender, SV::emailTo, SV::emailCc, SV::emailBcc, SV::emailSubject, SV::emailBody,
      SV::emailLoggingDirectory}},
};

constexpr const char16_t* kBatesValues[] = {
    u"Name",
    u"Use prefix",
    u"Prefix",
    u"Start with",
    u"Transparent",
    u"Position",
    u"X Offset",
    u"Y Offset",
    u"Offset unit",
    u"Rotation",
    u"Color",
    u"Font Height",
    u"Font Width",
    u"Font Escapement",
    u"Font Orientation",
    u"Font Weight",
    u"Font Italic",
    u"Font Underline",
    u"Font Strikeout",
    u"Font Charset",
    u"Font Outprecisions",
    u"Font Clipprecisions",
    u"Font Quality",
    u"Font PinchAndFamily",
    u"Font Facename",
    u"Bates Number Length",
    u"Bates Padding Character",
    u"Reset bates number at every printing",
    u"Reset bates number",
};

// The stored text of a value as it is kept (passwords stay encoded); none when missing.
std::optional<std::u16string> RawText(const DriverSettings* p, const char16_t* szKeyTemplate,
                                      const std::u16string& name) {
    char16_t szText[kStoreBufferBytes / 2];
    std::uint32_t nSize = sizeof szText;
    if (!ReadStoreText(p, kStoreRoot, szKeyTemplate, name.c_str(), szText, &nSize))
        return std::nullopt;
    return std::u16string(szText, nSize / 2);
}

std::u16string EntryName(const StoreValueInfo& info, std::int32_t nIndex) {
    std::u16string name(info.szName);
    std::size_t nAt = name.find(u"%d");
    if (nAt != std::u16string::npos) name.replace(nAt, 2, Decimal(nIndex + 1));
    return name;
}

std::int32_t Bounded(std::int32_t nCount) {
    return nCount < 0 ? 0 : nCount > kMaxListEntries ? kMaxListEntries : nCount;
}

class Exporter {
  public:
    Exporter(const DriverSettings* pSettings, const char16_t* szFile)
        : pSettings_(pSettings), szFile_(szFile) {}

    bool Begin(const char16_t* szSection) {
        szSection_ = szSection;
        return bOk_ = bOk_ && win::ini::writeString(szSection, nullptr, nullptr, szFile_);
    }

    bool Put(const std::u16string& key, const std::u16string& value) {
        return bOk_ =
                   bOk_ && win::ini::writeString(szSection_, key.c_str(), value.c_str(), szFile_);
    }

    void PutStoreValue(StoreValue value) {
        const StoreValueInfo* info = FindStoreValue(value);
        if (!info || !bOk_) return;
        switch (info->kind) {
            case StoreValueKind::decimal:
            case StoreValueKind::dword: {
                std::int32_t nValue = info->nDefault;
                GetStoreNumber(pSettings_, value, &nValue);
                Put(info->szName, Decimal(nValue));
                for (const ListPart& list : kLists)
                    if (list.count == value) PutList(list.entry, Bounded(nValue));
                break;
            }
            case StoreValueKind::yesNo:
                Put(info->szName, GetStoreSwitch(pSettings_, value) ? u"Yes" : u"No");
                break;
            case StoreValueKind::zeroOne:
                Put(info->szName, GetStoreSwitch(pSettings_, value) ? u"1" : u"0");
                break;
            default:
                if (auto text = RawText(pSettings_, info->szKeyTemplate, info->szName))
                    Put(info->szName, *text);
                break;
        }
    }

    void PutList(StoreValue entry, std::int32_t nCount) {
        const StoreValueInfo* info = FindStoreValue(entry);
        for (std::int32_t i = 0; info && i < nCount && bOk_; ++i) {
            std::u16string name = EntryName(*info, i);
            if (auto text = RawText(pSettings_, info->szKeyTemplate, name)) Put(name, *text);
        }
    }

    void PutBates() {
        constexpr char16_t kBates[] = u"%s\\BatesNumbering";
        std::int32_t nFormats = 0;
        if (auto count = RawText(pSettings_, kBates, u"Number of Formats"))
            nFormats = store_text::ParseDecimal(*count);
        if (!Begin(u"Bates Numbering")) return;
        Put(u"Selected Bates Format",
            Decimal(std::int64_t(GetSelectedBatesFormat(pSettings_)) + 1));
        Put(u"Number of Formats", Decimal(nFormats));
        for (std::int32_t n = 1; n <= Bounded(nFormats) && bOk_; ++n) {
            std::u16string section = u"Bates Number " + Decimal(n);
            std::u16string keyTemplate = std::u16string(kBates) + u"\\" + Decimal(n);
            if (!StoreKeyExists(pSettings_, kStoreRoot, keyTemplate.c_str())) continue;
            if (!Begin(section.c_str())) return;
            for (const char16_t* szName : kBatesValues)
                if (auto text = RawText(pSettings_, keyTemplate.c_str(), szName))
                    Put(szName, *text);
        }
    }

    void PutPapers() {
        constexpr char16_t kPapers[] = u"%s\\PapersList";
        std::uint32_t dwCount = 0;
        ReadStoreDword(pSettings_, kStoreRoot, kPapers, u"Count", &dwCount);
        std::int32_t nCount =
            dwCount > std::uint32_t(kMaxListEntries) ? kMaxListEntries : std::int32_t(dwCount);
        if (!Begin(u"Paper Size Definitions")) return;
        Put(u"Number of Paper Sizes", Decimal(dwCount));
        for (std::int32_t n = 1; n <= nCount && bOk_; ++n) {
            std::u16string keyTemplate = std::u16string(kPapers) + u"\\" + Decimal(n);
            if (!StoreKeyExists(pSettings_, kStoreRoot, keyTemplate.c_str())) continue;
            std::u16string prefix = u"Paper" + Decimal(n) + u" ";
            for (const char16_t* szName :
                 {u"Available", u"Title", u"Width", u"Height", u"Units", u"WindowsPaperCode"}) {
                std::u16string name(szName);
                if (name == u"Title" || name == u"Units") {
                    if (auto text = RawText(pSettings_, keyTemplate.c_str(), name))
                        Put(prefix + name, *text);
                } else {
                    std::uint32_t dwValue = 0;
                    if (ReadStoreDword(pSettings_, kStoreRoot, keyTemplate.c_str(), szName,
                                       &dwValue))
                        Put(prefix + name, Decimal(dwValue));
                }
            }
        }
    }

    bool Ok() const { return bOk_; }

  private:
    const DriverSettings* pSettings_;
    const char16_t* szFile_;
    const char16_t* szSection_ = nullptr;
    bool bOk_ = true;
};

}  // namespace

int ExportProfile(const DriverSettings* pSettings, const char16_t* szIniFile) {
    if (!pSettings || !szIniFile || !szIniFile[0]) return 0;
    char16_t szPrinter[kStoreBufferBytes / 2];
    GetPrinterStoreName(pSettings, szPrinter, sizeof szPrinter);
    if (!szPrinter[0]) return 0;

    Exporter out(pSettings, szIniFile);
    if (out.Begin(u"Default Settings")) {
        for (const RecordKey& key : kRecordKeys) {
            out.Put(key.szKey, key.get(pSettings));
            if (std::u16string_view(key.szKey) == u"FileNameGenerationFlags")
                out.Put(GetFileNameGenerationFlags(pSettings) == 7 ? u"Custom Filename template"
                                                                   : u"FixedFileName",
                        Copy(GetFixedFileName(pSettings)));
        }
    }
    for (const StoreSection& section : kStoreSections) {
        if (std::u16string_view(section.szSection) == u"PDF Settings") out.PutBates();
        if (!out.Begin(section.szSection)) break;
        for (StoreValue value : section.values) out.PutStoreValue(value);
    }
    out.PutPapers();
    return out.Ok() ? 1 : 0;
}
