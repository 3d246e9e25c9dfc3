// The forwarding keys: key 0 describes the job's redirect printing, key n its page n.
#include <cstring>

#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/key_paths.h"
#include "jobhost/monitor/registry_read.h"
#include "win/memory.h"

namespace {

bool OpenForwardingKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                       std::int32_t nPageNumber, win::reg::UniqueKey* pKey) {
    RegistryPath szPath;
    return FormatForwardingKeyPath(szPath, szPrinterKeyName, nJobNumber, nPageNumber) &&
           OpenExchangeKey(szPath, pKey);
}

}  // namespace

int ReadEndDocFromRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                              std::uint32_t* pnLastPage, char* szDocumentName,
                              char* szRedirectSettingsPath) {
    if (!pnLastPage) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenForwardingKey(szPrinterKeyName, nJobNumber, 0, &hKey)) return 0;
    char szReady[kValueFieldSize];
    if (!ReadRegistryString(hKey.get(), "Ready", szReady, sizeof szReady)) return 0;

    int nResult = 0;
    if (IsLiteral(szReady, "YES")) {
        ReadRegistryDword(hKey.get(), "PAGENUMBER", pnLastPage);
        nResult = RET_REDIRECT_PRINTING_FINISHED;
    } else if (IsLiteral(szReady, "Printing")) {
        nResult = RET_REDIRECT_PRINTING_PRINTING;
    } else if (IsLiteral(szReady, "No Redirect")) {
        return RET_REDIRECT_PRINTING_DISABLED;
    }

    if (szDocumentName)
        ReadRegistryString(hKey.get(), "DOCUMENT NAME", szDocumentName, kValueFieldSize);
    char szRelativePath[kValueFieldSize];
    if (szRedirectSettingsPath && ReadRegistryString(hKey.get(), "REDIRECT INFO REGISTRY PATH",
                                                     szRelativePath, sizeof szRelativePath)) {
        // The company key and a long relative path need not fit together.
        RegistryPath szPath;
        if (FormatCompanyKeyPath(szPath, szRelativePath))
            std::memcpy(szRedirectSettingsPath, szPath, sizeof szPath);
    }
    return nResult;
}

int RedirectPrinting_ReadRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                     std::int32_t nPageNumber, char* szFileName,
                                     std::uint32_t nFileNameSize, std::uint32_t* pdwFileSize,
                                     void** ppSettings, std::uint32_t* pdwSettingsSize) {
    if (!szFileName || !pdwFileSize || !ppSettings || !pdwSettingsSize) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenForwardingKey(szPrinterKeyName, nJobNumber, nPageNumber, &hKey)) return 0;
    char szReady[kValueFieldSize];
    if (!ReadRegistryString(hKey.get(), "Ready", szReady, sizeof szReady)) return 0;
    if (IsLiteral(szReady, "Abort")) return RET_PAGE_ABORT;
    if (!IsLiteral(szReady, "YES")) return 0;

    if (!ReadRegistryString(hKey.get(), "Forwarding", szFileName, nFileNameSize))
        return RET_PAGE_READY;
    if (!ReadRegistryDword(hKey.get(), "Size", pdwFileSize)) return RET_PAGE_READY;
    std::uint32_t dwDevModeSize = 0;
    if (!ReadRegistryDword(hKey.get(), "DevModeSize", &dwDevModeSize)) return RET_PAGE_READY;
    // The size comes from outside: no settings record is empty or this large, and four times
    // it must neither overflow nor ask for an absurd block.
    if (dwDevModeSize == 0 || dwDevModeSize > kMaxSettingsRecordSize) {
        *pdwSettingsSize = 0;
        return RET_PAGE_READY;
    }
    *pdwSettingsSize = dwDevModeSize;
    const std::uint64_t nBlockSize = std::uint64_t(dwDevModeSize) * 4;
    *ppSettings = win::mem::heapAlloc(std::size_t(nBlockSize), true);
    if (!*ppSettings) return 0;
    if (!ReadRegistryBytes(hKey.get(), "DevMode", *ppSettings, pdwSettingsSize)) return 0;
    return RET_PAGE_READY;
}

int RedirectPrinting_ReadFileNameRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                             std::int32_t nPageNumber, char* szFileName) {
    if (!szFileName) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenForwardingKey(szPrinterKeyName, nJobNumber, nPageNumber, &hKey)) return 0;
    return ReadRegistryString(hKey.get(), "Forwarding", szFileName, kValueFieldSize) ? 1 : 0;
}

int RedirectPrinting_ReadNumberOfCopies(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                        std::uint32_t* pnCopies) {
    if (!pnCopies) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenForwardingKey(szPrinterKeyName, nJobNumber, 0, &hKey)) return 1;
    return ReadRegistryDword(hKey.get(), "Number of copies", pnCopies) ? 1 : 0;
}

int RedirectPrinting_ReadBatesNumbers(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                      std::int32_t* pnCurrentNumber, std::int32_t* pnStartNumber) {
    if (!pnCurrentNumber || !pnStartNumber) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenForwardingKey(szPrinterKeyName, nJobNumber, 0, &hKey)) return 1;
    std::uint32_t dwStart = 0, dwCurrent = 0;
    const bool bStart = ReadRegistryDword(hKey.get(), "Bates start number", &dwStart);
    const bool bCurrent = ReadRegistryDword(hKey.get(), "Current Bates number", &dwCurrent);
    if (bStart) *pnStartNumber = std::int32_t(dwStart);
    if (bCurrent) *pnCurrentNumber = std::int32_t(dwCurrent);
    return bStart && bCurrent ? 1 : 0;
}

void RedirectPrinting_DeleteRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                        std::int32_t nPageNumber) {
    RegistryPath szPath;
    if (FormatForwardingKeyPath(szPath, szPrinterKeyName, nJobNumber, nPageNumber))
        win::reg::deleteKey(win::reg::currentUser, szPath);
}
