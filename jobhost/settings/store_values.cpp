#include "jobhost/settings/store_values.h"

#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "jobhost/settings/password_codec.h"
#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_text.h"

namespace {

using Kind = StoreValueKind;
using SV = StoreValue;

constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t kUnlimited = 0x3FFFFFFE;
// Stored numbers and switches are read into 16 bytes (8 characters).
constexpr std::uint32_t kShortValueBytes = 16;

constexpr const char16_t* kPdf = u"%s\\Pdf Settings";
constexpr const char16_t* kPdfForce = u"%s\\Pdf Settings\\Force Embed Fonts";
constexpr const char16_t* kPdfForbid = u"%s\\Pdf Settings\\Forbid Embed Fonts";
constexpr const char16_t* kHtml = u"%s\\Html Settings";
constexpr const char16_t* kHtmlForce = u"%s\\Html Settings\\Force Embed Fonts";
constexpr const char16_t* kHtmlForbid = u"%s\\Html Settings\\Forbid Embed Fonts";
constexpr const char16_t* kRedirect = u"%s\\Redirect Printing Settings";
constexpr const char16_t* kPostPrint = u"%s\\Post Print Settings";
constexpr const char16_t* kEmail = u"%s\\Post Print Settings\\Email Settings";
constexpr const char16_t* kSharePoint = u"%s\\Post Print Settings\\SharePoint Settings";
constexpr const char16_t* kStarter = u"%s\\Application Starter";
constexpr const char16_t* kWatermark = u"%s\\Watermark";

constexpr StoreValueInfo Text(SV value, const char16_t* szKey, const char16_t* szName,
                              std::uint32_t nMaxChars = kUnlimited) {
    return {value, szKey, szName, Kind::text, 0, 0, 0, false, 0, 0, nMaxChars, 0};
}
constexpr StoreValueInfo Password(SV value, const char16_t* szKey, const char16_t* szName,
                                  Kind kind, std::uint32_t nMaxChars, std::uint32_t nReadBytes) {
    return {value, szKey, szName, kind, 0, 0, 0, false, 0, 0, nMaxChars, nReadBytes};
}
constexpr StoreValueInfo Decimal(SV value, const char16_t* szKey, const char16_t* szName,
                                 std::int32_t nDefault, std::int64_t nMin = kIntMin,
                                 std::int64_t nMax = kIntMax) {
    return {value, szKey, szName,  Kind::decimal, nDefault, nMin,
            nMax,  false, kIntMin, kIntMax,       0,        kShortValueBytes};
}
constexpr StoreValueInfo Switch(SV value, const char16_t* szKey, const char16_t* szName,
                                Kind kind = Kind::yesNo) {
    return {value, szKey, szName, kind, 0, 0, 1, false, 0, 1, 0, kShortValueBytes};
}
constexpr StoreValueInfo Count(SV value, const char16_t* szKey, const char16_t* szName, Kind kind) {
    return {value, szKey, szName, kind, 0, 0, kIntMax, false, 0, kIntMax, 0, kShortValueBytes};
}

constexpr StoreValueInfo kStoreValues[] = {
    Text(SV::pdfDocumentTitle, kPdf, u"Document Title", 255),
    Text(SV::pdfDocumentSubject, kPdf, u"Document Subject", 255),
    Text(SV::pdfDocumentAuthor, kPdf, u"Document Author", 255),
    Text(SV::pdfDocumentKeywords, kPdf, u"Document Keywords", 515),
    Password(SV::pdfDocumentUserPassword, kPdf, u"Document User Password", Kind::documentPassword,
             32, 520),
    Password(SV::pdfDocumentOwnerPassword, kPdf, u"Document Owner Password", Kind::documentPassword,
             32, 520),
    Decimal(SV::pdfStreamCompression, kPdf, u"Stream Compression", 105, 0, 106),
    Decimal(SV::pdfMonoImageCompression, kPdf, u"Mono Image Compression", 307, 0, 308),
    Decimal(SV::pdfColorImageCompression, kPdf, u"Color Image Compression", 207, 0, 207),
    Decimal(SV::pdfJpegQuality, kPdf, u"JPEG Quality", 85, 1, 100),
    Decimal(SV::pdfDocumentEncryption, kPdf, u"Document Encryption", 0, 0, 2),
    Decimal(SV::pdfDocumentSecurityFlag, kPdf, u"Document Security Flag", 0),
    Decimal(SV::pdfEmbedAllFonts, kPdf, u"Embed all fonts", 1),
    Decimal(SV::pdfCreateSubset, kPdf, u"Create subset", 1),
    Decimal(SV::pdfEmbedLicensedFonts, kPdf, u"Embed licensed fonts", 0),
    Decimal(SV::pdfEmbedAdobeFonts, kPdf, u"Embed adobe fonts", 0),
    Decimal(SV::pdfEmbedWindowsFonts, kPdf, u"Embed windows fonts", 0),

    Decimal(SV::pdfForceEmbedFontCount, kPdfForce, u"Font count", 0, 0),
    Text(SV::pdfForceEmbedFont, kPdfForce, u"Font %d"),
    Decimal(SV::pdfForbidEmbedFontCount, kPdfForbid, u"Font count", 0, 0),
    Text(SV::pdfForbidEmbedFont, kPdfForbid, u"Font %d"),

    Text(SV::htmlContentOutputDirectory, kHtml, u"Html content output directory", 259),
    Decimal(SV::htmlPageSizeSetting, kHtml, u"Page size setting", 0),
    Decimal(SV::htmlCssSettings, kHtml, u"CSS settings", 1),
    Decimal(SV::htmlVectorGraphicsDisplayMode, kHtml, u"Vector graphics display mode", 1),
    Decimal(SV::htmlEmbedAllFonts, kHtml, u"Embed all fonts", 1),
    Decimal(SV::htmlCreateSubset, kHtml, u"Create subset", 1),
    Decimal(SV::htmlSeparatePages, kHtml, u"Separate pages", 0),
    Decimal(SV::htmlEmbedLicensedFonts, kHtml, u"Embed licensed fonts", 0),

    Decimal(SV::htmlForceEmbedFontCount, kHtmlForce, u"Font count", 0, 0),
    Text(SV::htmlForceEmbedFont, kHtmlForce, u"Font %d"),
    Decimal(SV::htmlForbidEmbedFontCount, kHtmlForbid, u"Font count", 0, 0),
    Text(SV::htmlForbidEmbedFont, kHtmlForbid, u"Font %d"),

    Count(SV::redirectPrinterCount, kRedirect, u"Printer count", Kind::dword),
    Text(SV::redirectPrinter, kRedirect, u"Printer %d"),
    Switch(SV::redirectLogEnabled, kRedirect, u"Enable Redirect Printing Log"),
    Text(SV::redirectLogFile, kRedirect, u"Redirect Printing Log File", 259),

    Switch(SV::postOpenOutputFolder, kPostPrint, u"Open output folder"),
    Switch(SV::postSendInEmail, kPostPrint, u"Send in email"),
    Switch(SV::postViewInDefaultViewer, kPostPrint, u"View in default viewer"),
    Text(SV::postEmailProgram32, kPostPrint, u"Email sending program 32bit"),
    Text(SV::postEmailProgram64, kPostPrint, u"Email sending program 64bit"),
    Text(SV::postSharePointUtility, kPostPrint, u"SharePoint utility"),

    Switch(SV::emailSenderClient, kEmail, u"Sender Client", Kind::zeroOne),
    Text(SV::emailSmtpServer, kEmail, u"SMTP Server"),
    Text(SV::emailSmtpPort, kEmail, u"SMTP Port"),
    Text(SV::emailSmtpUserName, kEmail, u"SMTP UserName"),
    // Read into 64 bytes: 31 digits, so 15 characters.
    Password(SV::emailSmtpPassword, kEmail, u"SMTP Password", Kind::smtpPassword, 15, 64),
    Switch(SV::emailSmtpEnableSsl, kEmail, u"SMTP Enable SSL"),
    Switch(SV::emailSendSilently, kEmail, u"Email Send Silently"),
    Switch(SV::emailLoggingEnabled, kEmail, u"Logging Enabled"),
    Text(SV::emailSender, kEmail, u"Email Sender"),
    Text(SV::emailTo, kEmail, u"Email To"),
    Text(SV::emailCc, kEmail, u"Email Cc"),
    Text(SV::emailBcc, kEmail, u"Email Bcc"),
    Text(SV::emailSubject, kEmail, u"Email Subject"),
    Text(SV::emailBody, kEmail, u"Email Body"),
    Text(SV::emailLoggingDirectory, kEmail, u"Logging Directory"),

    Switch(SV::sharePointUpload, kSharePoint, u"SharePoint Upload"),
    Switch(SV::sharePointSilent, kSharePoint, u"SharePoint Silent"),
    Text(SV::sharePointServer, kSharePoint, u"SharePoint Server", 259),
    Text(SV::sharePointDirectory, kSharePoint, u"SharePoint Directory", 259),
    Text(SV::sharePointUser, kSharePoint, u"SharePoint User", 259),
    Text(SV::sharePointLogfile, kSharePoint, u"SharePoint Logfile", 259),
    // Read into 520 bytes: 259 digits, so 129 characters.
    Password(SV::sharePointPass, kSharePoint, u"SharePoint Pass", Kind::sharePointPassword, 129,
             520),

    Text(SV::applicationExeName, kStarter, u"EXE Name", 259),

    // Read into 520 bytes with a terminator: 259 characters.
    Text(SV::watermarkFirstImagePortrait, kWatermark, u"First Image Portrait", 259),
    Text(SV::watermarkFirstImageLandscape, kWatermark, u"First Image Landscape", 259),
    {SV::watermarkFirstImagePortraitBrightness, kWatermark, u"First Image Portrait Brightness",
     Kind::dword, 30, 0, 100, false, 1, 100, 0, 4},
    {SV::watermarkFirstImageLandscapeBrightness, kWatermark, u"First Image Landscape Brightness",
     Kind::dword, 30, 0, 100, false, 1, 100, 0, 4},
    {SV::watermarkFirstImagePortraitPosition, kWatermark, u"First Image Portrait Position",
     Kind::dword, 4, 1, 8, true, 1, 8, 0, 4},
    {SV::watermarkFirstImageLandscapePosition, kWatermark, u"First Image Landscape Position",
     Kind::dword, 4, 1, 8, true, 1, 8, 0, 4},
};

bool IsText(Kind kind) {
    return kind == Kind::text || kind == Kind::documentPassword || kind == Kind::smtpPassword ||
           kind == Kind::sharePointPassword;
}

bool IsPositionCode(std::int64_t nValue) {
    return nValue == 1 || nValue == 2 || nValue == 4 || nValue == 8;
}

std::u16string ValueName(const StoreValueInfo& info, std::uint32_t nIndex) {
    std::u16string name(info.szName);
    std::size_t nAt = name.find(u"%d");
    if (nAt != std::u16string::npos)
        name.replace(nAt, 2, store_text::Decimal(std::int64_t(nIndex) + 1));
    return name;
}

std::optional<std::u16string> Decode(Kind kind, std::u16string_view stored) {
    switch (kind) {
        case Kind::documentPassword:
            return password_codec::UnscrambleDocumentPassword(stored);
        case Kind::smtpPassword:
            return password_codec::DecodeSmtpPassword(stored);
        case Kind::sharePointPassword:
            return password_codec::DecodeSharePointPassword(stored);
        default:
            return std::u16string(stored);
    }
}

std::optional<std::u16string> Encode(Kind kind, std::u16string_view text) {
    switch (kind) {
        case Kind::documentPassword:
            return password_codec::ScrambleDocumentPassword(text);
        case Kind::smtpPassword:
            return password_codec::EncodeSmtpPassword(text);
        case Kind::sharePointPassword:
            return password_codec::EncodeSharePointPassword(text);
        default:
            return std::u16string(text);
    }
}

int GetText(const DriverSettings* pSettings, const StoreValueInfo& info, std::uint32_t nIndex,
            char16_t* szBuffer, std::uint32_t* pnSize) {
    if (!IsText(info.kind) || !szBuffer || !pnSize) return 0;
    std::u16string name = ValueName(info, nIndex);
    if (info.kind == Kind::text)
        return ReadStoreText(pSettings, kStoreRoot, info.szKeyTemplate, name.c_str(), szBuffer,
                             pnSize);

    char16_t szStored[kStoreBufferBytes / 2];
    std::uint32_t nStored = info.nReadBytes;
    if (!ReadStoreText(pSettings, kStoreRoot, info.szKeyTemplate, name.c_str(), szStored, &nStored))
        return 0;
    std::optional<std::u16string> text =
        Decode(info.kind, std::u16string_view(szStored, nStored / 2));
    if (!text) return 0;
    std::uint32_t nNeeded = std::uint32_t(text->size() + 1) * 2;
    if (nNeeded > *pnSize) {
        *pnSize = nNeeded;
        return 0;
    }
    std::memset(szBuffer, 0, *pnSize / 2 * 2);
    text->copy(szBuffer, text->size());
    *pnSize = nNeeded - 2;
    return 1;
}

int SetText(const DriverSettings* pSettings, const StoreValueInfo& info, std::uint32_t nIndex,
            const char16_t* szText) {
    if (!IsText(info.kind) || !szText) return 0;
    std::size_t nLength = store_text::BoundedLength(szText, std::size_t(info.nMaxChars) + 1);
    if (nLength > info.nMaxChars) return 0;
    std::optional<std::u16string> stored = Encode(info.kind, std::u16string_view(szText, nLength));
    if (!stored) return 0;
    std::u16string name = ValueName(info, nIndex);
    return WriteStoreText(pSettings, kStoreRoot, info.szKeyTemplate, name.c_str(), *stored);
}

// The stored short text (a number or a switch) up to its terminator; none when it is missing
// or longer than 16 bytes.
std::optional<std::u16string> ReadShortText(const DriverSettings* pSettings,
                                            const StoreValueInfo& info) {
    char16_t szValue[kShortValueBytes / 2] = {};
    std::uint32_t nSize = kShortValueBytes;
    if (!ReadStoreValue(pSettings, kStoreRoot, info.szKeyTemplate, info.szName, szValue, &nSize))
        return std::nullopt;
    return std::u16string(store_text::UpToTerminator(szValue, nSize / 2));
}

bool HasPrinter(const DriverSettings* pSettings) {
    char16_t szName[kStoreBufferBytes / 2];
    GetPrinterStoreName(pSettings, szName, sizeof szName);
    return szName[0] != 0;
}

bool SwitchIsOn(const StoreValueInfo& info, const std::optional<std::u16string>& stored) {
    if (!stored) return false;
    if (info.kind == Kind::zeroOne) return *stored == u"1";
    return store_text::EqualsIgnoringCase(*stored, u"Yes");
}

}  // namespace

const StoreValueInfo* FindStoreValue(StoreValue value) {
    for (const StoreValueInfo& info : kStoreValues)
        if (info.value == value) return &info;
    return nullptr;
}

bool IsIndexedStoreValue(StoreValue value) {
    const StoreValueInfo* info = FindStoreValue(value);
    return info && std::u16string_view(info->szName).find(u"%d") != std::u16string_view::npos;
}

int GetStoreText(const DriverSettings* pSettings, StoreValue value, char16_t* szBuffer,
                 std::uint32_t* pnSize) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || IsIndexedStoreValue(value)) return 0;
    return GetText(pSettings, *info, 0, szBuffer, pnSize);
}

int SetStoreText(const DriverSettings* pSettings, StoreValue value, const char16_t* szText) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || IsIndexedStoreValue(value)) return 0;
    return SetText(pSettings, *info, 0, szText);
}

int GetStoreListText(const DriverSettings* pSettings, StoreValue value, std::uint32_t nIndex,
                     char16_t* szBuffer, std::uint32_t* pnSize) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || !IsIndexedStoreValue(value)) return 0;
    return GetText(pSettings, *info, nIndex, szBuffer, pnSize);
}

int SetStoreListText(const DriverSettings* pSettings, StoreValue value, std::uint32_t nIndex,
                     const char16_t* szText) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || !IsIndexedStoreValue(value)) return 0;
    return SetText(pSettings, *info, nIndex, szText);
}

int GetStoreNumber(const DriverSettings* pSettings, StoreValue value, std::int32_t* pnValue) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || !pnValue || IsText(info->kind) || !HasPrinter(pSettings)) return 0;
    switch (info->kind) {
        case Kind::decimal: {
            std::optional<std::u16string> stored = ReadShortText(pSettings, *info);
            *pnValue = stored ? store_text::ParseDecimal(*stored) : info->nDefault;
            return 1;
        }
        case Kind::dword: {
            std::uint32_t dwValue = 0;
            std::int64_t nValue = info->nDefault;
            if (ReadStoreDword(pSettings, kStoreRoot, info->szKeyTemplate, info->szName,
                               &dwValue)) {
                bool bValid = dwValue >= info->nReadMin && dwValue <= info->nReadMax &&
                              (!info->bPositionCode || IsPositionCode(dwValue));
                if (bValid) nValue = dwValue;
            }
            *pnValue = std::int32_t(nValue);
            return 1;
        }
        default:
            *pnValue = SwitchIsOn(*info, ReadShortText(pSettings, *info)) ? 1 : 0;
            return 1;
    }
}

int SetStoreNumber(const DriverSettings* pSettings, StoreValue value, std::int32_t nValue) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || IsText(info->kind)) return 0;
    if (nValue < info->nMin || nValue > info->nMax) return 0;
    if (info->bPositionCode && !IsPositionCode(nValue)) return 0;
    switch (info->kind) {
        case Kind::decimal:
            return WriteStoreText(pSettings, kStoreRoot, info->szKeyTemplate, info->szName,
                                  store_text::Decimal(nValue));
        case Kind::dword:
            return WriteStoreDword(pSettings, kStoreRoot, info->szKeyTemplate, info->szName,
                                   std::uint32_t(nValue));
        default:
            return SetStoreSwitch(pSettings, value, nValue != 0);
    }
}

int GetStoreSwitch(const DriverSettings* pSettings, StoreValue value) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info || (info->kind != Kind::yesNo && info->kind != Kind::zeroOne)) return 0;
    return SwitchIsOn(*info, ReadShortText(pSettings, *info)) ? 1 : 0;
}

int SetStoreSwitch(const DriverSettings* pSettings, StoreValue value, bool bOn) {
    const StoreValueInfo* info = FindStoreValue(value);
    if (!info) return 0;
    const char16_t* szText = nullptr;
    if (info->kind == Kind::yesNo) szText = bOn ? u"Yes" : u"No";
    if (info->kind == Kind::zeroOne) szText = bOn ? u"1" : u"0";
    if (!szText) return 0;
    return WriteStoreString(pSettings, kStoreRoot, info->szKeyTemplate, info->szName, szText);
}
