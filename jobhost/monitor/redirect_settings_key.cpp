// The redirect settings key: the job's target printers. Its log settings are read by the
// redirect log itself.
#include <cstdio>

#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/registry_read.h"

std::int32_t RedirectPrinting_ReadPrinterCount(const char* szRedirectSettingsPath) {
    win::reg::UniqueKey hKey;
    if (!OpenExchangeKey(szRedirectSettingsPath, &hKey)) return 0;
    std::uint32_t dwCount = 0;
    if (!ReadRegistryDword(hKey.get(), "Printer count", &dwCount)) return 0;
    const std::int32_t nCount = std::int32_t(dwCount);
    // Every target costs a connection and a read in every cycle; no settings list this many.
    if (nCount < 0 || nCount > kMaxRedirectTargets) return 0;
    return nCount;
}

int RedirectPrinting_ReadPrinterName(const char* szRedirectSettingsPath, std::int32_t nIndex,
                                     char* pField, std::uint32_t* pnSize) {
    if (!pField || !pnSize) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenExchangeKey(szRedirectSettingsPath, &hKey)) return 0;
    char szValueName[32];
    std::snprintf(szValueName, sizeof szValueName, "Printer %d", int(nIndex) + 1);
    return ReadRegistryString(hKey.get(), szValueName, pField, *pnSize, pnSize) ? 1 : 0;
}
