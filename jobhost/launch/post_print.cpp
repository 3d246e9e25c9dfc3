#include "jobhost/launch/post_print.h"

#include <cstdio>

#include "jobhost/launch/outlook_bitness.h"
#include "jobhost/launch/start_flags.h"
#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/key_paths.h"
#include "win/process.h"
#include "win/shell.h"

namespace {

// A string value of its 260-byte field; the readers terminate what they read.
struct ValueField {
    char szText[kValueFieldSize] = {};
    std::uint32_t dwSize = kValueFieldSize;
};

// The parameters handed to the e-mail program and the SharePoint utility: the path of their key,
// enclosed in double quotes.
using QuotedKeyPath = char[kRegistryPathSize + 2];
using KeyPathFormatter = bool (*)(RegistryPath&, const char*, std::int32_t);

bool FormatQuotedKeyPath(KeyPathFormatter pFormat, const char* szPrinterKeyName,
                         std::int32_t nJobNumber, QuotedKeyPath& szParameters) {
    RegistryPath szPath;
    if (!pFormat(szPath, szPrinterKeyName, nJobNumber)) return false;
    std::snprintf(szParameters, sizeof szParameters, "\"%s\"", szPath);
    return true;
}

void OpenOutputFolder(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    ValueField stFolder;
    if (!ReadJobRegistryValue(szPrinterKeyName, nJobNumber, "Output folder", stFolder.szText,
                              &stFolder.dwSize))
        return;
    win::shell::execute("open", stFolder.szText, nullptr, nullptr, win::process::show::showNa);
}

void SendInEmail(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    const char* szValueName =
        IsOutlook64Bit() == 1 ? "Email sending program 64bit" : "Email sending program 32bit";
    ValueField stProgram;
    if (!ReadEmailRegistryValue(nJobNumber, szPrinterKeyName, szValueName, stProgram.szText,
                                &stProgram.dwSize))
        return;
    QuotedKeyPath szParameters;
    if (!FormatQuotedKeyPath(FormatEmailKeyPath, szPrinterKeyName, nJobNumber, szParameters))
        return;
    win::shell::execute("open", stProgram.szText, szParameters, nullptr, win::process::show::show);
}

void OpenOutputFile(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    ValueField stFile;
    if (!ReadJobRegistryValue(szPrinterKeyName, nJobNumber, "Output Filename", stFile.szText,
                              &stFile.dwSize))
        return;
    std::intptr_t nResult =
        win::shell::execute("open", stFile.szText, nullptr, nullptr, win::process::show::show);
    // A type that can only be edited still gets its viewer.
    if (nResult == win::shell::result::noAssociation)
        win::shell::execute("edit", stFile.szText, nullptr, nullptr, win::process::show::show);
}

void UploadToSharePoint(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    ValueField stUtility;
    if (!ReadSharePointRegistryValue(nJobNumber, szPrinterKeyName, "SharePoint utility",
                                     stUtility.szText, &stUtility.dwSize))
        return;
    QuotedKeyPath szParameters;
    if (!FormatQuotedKeyPath(FormatSharePointKeyPath, szPrinterKeyName, nJobNumber, szParameters))
        return;
    win::shell::execute("open", stUtility.szText, szParameters, nullptr, win::process::show::show);
}

}  // namespace

void StartPostPrintSteps(std::int32_t nJobNumber, const char* szPrinterKeyName,
                         std::uint32_t dwPostPrintFlags) {
    if (!szPrinterKeyName) return;
    if (dwPostPrintFlags & POST_PRINT_OPEN_FOLDER) OpenOutputFolder(szPrinterKeyName, nJobNumber);
    if (dwPostPrintFlags & POST_PRINT_SEND_EMAIL) SendInEmail(szPrinterKeyName, nJobNumber);
    if (dwPostPrintFlags & POST_PRINT_OPEN_FILE) OpenOutputFile(szPrinterKeyName, nJobNumber);
    if (dwPostPrintFlags & POST_PRINT_UPLOAD_SHAREPOINT)
        UploadToSharePoint(szPrinterKeyName, nJobNumber);
}
