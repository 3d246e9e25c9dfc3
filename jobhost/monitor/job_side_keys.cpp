// The job's keys for outside programs (e-mail, SharePoint) and its option set.
#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/key_paths.h"
#include "jobhost/monitor/registry_read.h"

namespace {

using PathFormatter = bool (*)(RegistryPath&, const char*, std::int32_t);

int ReadJobSideValue(PathFormatter formatPath, std::int32_t nJobNumber,
                     const char* szPrinterKeyName, const char* szValueName, char* pField,
                     std::uint32_t* pnSize) {
    if (!pField || !szValueName || !pnSize || !szPrinterKeyName) return 0;
    RegistryPath szPath;
    win::reg::UniqueKey hKey;
    if (!formatPath(szPath, szPrinterKeyName, nJobNumber) || !OpenExchangeKey(szPath, &hKey))
        return 0;
    return ReadRegistryString(hKey.get(), szValueName, pField, *pnSize, pnSize) ? 1 : 0;
}

}  // namespace

int ReadEmailRegistryValue(std::int32_t nJobNumber, const char* szPrinterKeyName,
                           const char* szValueName, char* pField, std::uint32_t* pnSize) {
    return ReadJobSideValue(FormatEmailKeyPath, nJobNumber, szPrinterKeyName, szValueName, pField,
                            pnSize);
}

int ReadSharePointRegistryValue(std::int32_t nJobNumber, const char* szPrinterKeyName,
                                const char* szValueName, char* pField, std::uint32_t* pnSize) {
    return ReadJobSideValue(FormatSharePointKeyPath, nJobNumber, szPrinterKeyName, szValueName,
                            pField, pnSize);
}

void DeleteSaveAsOptionSettingsRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    RegistryPath szPath;
    if (FormatOptionSetKeyPath(szPath, szPrinterKeyName, nJobNumber))
        win::reg::deleteKey(win::reg::currentUser, szPath);
}
