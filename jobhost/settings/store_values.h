// The values of a printer's profile keys that the driver's user interface reads and writes,
// each with its type, its default and its writer limits. One getter and one setter serve every
// value: they walk the table in store_values.cpp.
#pragma once

#include <cstdint>

#include "jobhost/settings/driver_settings.h"

enum class StoreValue : std::uint8_t {
    // <printer>\Pdf Settings
    pdfDocumentTitle,
    pdfDocumentSubject,
    pdfDocumentAuthor,
    pdfDocumentKeywords,
    pdfDocumentUserPassword,
    pdfDocumentOwnerPassword,
    pdfStreamCompression,
    pdfMonoImageCompression,
    pdfColorImageCompression,
    pdfJpegQuality,
    pdfDocumentEncryption,
    pdfDocumentSecurityFlag,
    pdfEmbedAllFonts,
    pdfCreateSubset,
    pdfEmbedLicensedFonts,
    pdfEmbedAdobeFonts,
    pdfEmbedWindowsFonts,
    // <printer>\Pdf Settings\Force Embed Fonts and \Forbid Embed Fonts
    pdfForceEmbedFontCount,
    pdfForceEmbedFont,  // indexed
    pdfForbidEmbedFontCount,
    pdfForbidEmbedFont,  // indexed
    // <printer>\Html Settings
    htmlContentOutputDirectory,
    htmlPageSizeSetting,
    htmlCssSettings,
    htmlVectorGraphicsDisplayMode,
    htmlEmbedAllFonts,
    htmlCreateSubset,
    htmlSeparatePages,
    htmlEmbedLicensedFonts,
    // <printer>\Html Settings\Force Embed Fonts and \Forbid Embed Fonts
    htmlForceEmbedFontCount,
    htmlForceEmbedFont,  // indexed
    htmlForbidEmbedFontCount,
    htmlForbidEmbedFont,  // indexed
    // <printer>\Redirect Printing Settings
    redirectPrinterCount,
    redirectPrinter,  // indexed
    redirectLogEnabled,
    redirectLogFile,
    // <printer>\Post Print Settings
    postOpenOutputFolder,
    postSendInEmail,
    postViewInDefaultViewer,
    postEmailProgram32,
    postEmailProgram64,
    postSharePointUtility,
    // <printer>\Post Print Settings\Email Settings
    emailSenderClient,
    emailSmtpServer,
    emailSmtpPort,
    emailSmtpUserName,
    emailSmtpPassword,
    emailSmtpEnableSsl,
    emailSendSilently,
    emailLoggingEnabled,
    emailSender,
    emailTo,
    emailCc,
    emailBcc,
    emailSubject,
    emailBody,
    emailLoggingDirectory,
    // <printer>\Post Print Settings\SharePoint Settings
    sharePointUpload,
    sharePointSilent,
    sharePointServer,
    sharePointDirectory,
    sharePointUser,
    sharePointLogfile,
    sharePointPass,
    // <printer>\Application Starter
    applicationExeName,
    // <printer>\Watermark
    watermarkFirstImagePortrait,
    watermarkFirstImageLandscape,
    watermarkFirstImagePortraitBrightness,
    watermarkFirstImageLandscapeBrightness,
    watermarkFirstImagePortraitPosition,
    watermarkFirstImageLandscapePosition,
};

enum class StoreValueKind : std::uint8_t {
    text,                // REG_SZ
    documentPassword,    // REG_SZ, scrambled
    smtpPassword,        // REG_SZ, hex-encoded
    sharePointPassword,  // REG_SZ, scrambled and hex-encoded
    decimal,             // REG_SZ of decimal digits
    dword,               // REG_DWORD
    yesNo,               // REG_SZ "Yes" or "No"
    zeroOne,             // REG_SZ "1" or "0"
};

struct StoreValueInfo {
    StoreValue value;
    const char16_t* szKeyTemplate;  // "%s" stands for the printer store name
    const char16_t* szName;         // an indexed value's name holds "%d"
    StoreValueKind kind;
    std::int32_t nDefault;
    // Writers of numbers accept nMin to nMax; a position code only 1, 2, 4 or 8.
    std::int64_t nMin;
    std::int64_t nMax;
    bool bPositionCode;
    // Readers of numbers report the default for a value outside nReadMin to nReadMax.
    std::int64_t nReadMin;
    std::int64_t nReadMax;
    // Writers of texts accept at most this many characters.
    std::uint32_t nMaxChars;
    // Readers that decode read the stored text into a buffer of this many bytes.
    std::uint32_t nReadBytes;
};

// Null for a value that is not in the table.
const StoreValueInfo* FindStoreValue(StoreValue value);
bool IsIndexedStoreValue(StoreValue value);

// A text (passwords decoded) into szBuffer of *pnSize bytes, terminated; 1 with the text's
// size in bytes without the terminator in *pnSize. 0 when it can't be read, the value is no
// text or it is indexed; too small a buffer gets the size it needs.
int GetStoreText(const DriverSettings* pSettings, StoreValue value, char16_t* szBuffer,
                 std::uint32_t* pnSize);
// Checks the writer limit, encodes a password and writes; 1 on success.
int SetStoreText(const DriverSettings* pSettings, StoreValue value, const char16_t* szText);

// The entry nIndex (0-based; the store counts from 1) of an indexed value.
int GetStoreListText(const DriverSettings* pSettings, StoreValue value, std::uint32_t nIndex,
                     char16_t* szBuffer, std::uint32_t* pnSize);
int SetStoreListText(const DriverSettings* pSettings, StoreValue value, std::uint32_t nIndex,
                     const char16_t* szText);

// Decimal and dword values: *pnValue gets the default first, and 1 is returned also when the
// value is missing. Yes/No and "0"/"1" values read as 1 or 0. 0 for a text value or when
// there is no record or no printer name.
int GetStoreNumber(const DriverSettings* pSettings, StoreValue value, std::int32_t* pnValue);
// Refuses a number outside the writer limits; Yes/No values take 0 and 1.
int SetStoreNumber(const DriverSettings* pSettings, StoreValue value, std::int32_t nValue);

// Yes/No values: on only for "Yes" in any letter case. "0"/"1" values: on only for "1".
// Returns 1 for on, 0 for off (also when the value is missing or of another kind).
int GetStoreSwitch(const DriverSettings* pSettings, StoreValue value);
int SetStoreSwitch(const DriverSettings* pSettings, StoreValue value, bool bOn);
