// The job key: the start-application values, the job status and the post-print settings.
#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/key_paths.h"
#include "jobhost/monitor/registry_read.h"

namespace {

bool OpenJobKey(const char* szPrinterKeyName, std::int32_t nJobNumber, win::reg::UniqueKey* pKey) {
    RegistryPath szPath;
    return FormatJobKeyPath(szPath, szPrinterKeyName, nJobNumber) && OpenExchangeKey(szPath, pKey);
}

// "Ready" of an open key; false when it cannot be read.
bool ReadReady(win::reg::Key hKey, char (&szReady)[kValueFieldSize]) {
    return ReadRegistryString(hKey, "Ready", szReady, sizeof szReady);
}

}  // namespace

int StartApp_CheckReady(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    win::reg::UniqueKey hKey;
    if (!OpenJobKey(szPrinterKeyName, nJobNumber, &hKey)) return 0;
    char szReady[kValueFieldSize];
    if (!ReadReady(hKey.get(), szReady) || !IsLiteral(szReady, "YES")) return 0;
    std::uint32_t dwFlags = 0;
    if (!ReadRegistryDword(hKey.get(), "Flags", &dwFlags)) return 0;
    return (dwFlags & START_APP_BEFORE_PRINTING_FLAG) ? 1 : 2;
}

int StartApp_ReadRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                             char* szCommandLine, std::uint32_t nCommandLineSize,
                             char* szApplication, std::uint32_t nApplicationSize,
                             std::uint32_t* pdwFlags, char* szEventName,
                             std::uint32_t nEventNameSize) {
    if (!szCommandLine || !szApplication || !pdwFlags) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenJobKey(szPrinterKeyName, nJobNumber, &hKey)) return 0;
    char szReady[kValueFieldSize];
    if (!ReadReady(hKey.get(), szReady)) return 0;
    if (IsLiteral(szReady, "YES")) {
        if (!ReadRegistryString(hKey.get(), "Server", szApplication, nApplicationSize)) return 0;
        // The arguments are optional; stale ones from an earlier read must not stay.
        if (!ReadRegistryString(hKey.get(), "Command Line", szCommandLine, nCommandLineSize) &&
            nCommandLineSize > 0)
            szCommandLine[0] = '\0';
        if (!ReadRegistryDword(hKey.get(), "Flags", pdwFlags)) return 0;
        if ((*pdwFlags & START_APP_BEFORE_PRINTING_FLAG) &&
            !ReadRegistryString(hKey.get(), "MessagingInterface", szEventName, nEventNameSize))
            return 0;
        return RET_START_APP_READY;
    }
    if (IsLiteral(szReady, "Abort")) return RET_START_APP_ABORT;
    return 0;
}

int ReadJobStatusRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    win::reg::UniqueKey hKey;
    if (!OpenJobKey(szPrinterKeyName, nJobNumber, &hKey)) return 0;
    char szStatus[kValueFieldSize];
    if (!ReadRegistryString(hKey.get(), "Job Status", szStatus, sizeof szStatus)) return 0;
    if (IsLiteral(szStatus, "Job Finished")) return 1;
    if (IsLiteral(szStatus, "Aborted")) return 2;
    return 0;
}

int ReadJobRegistryValue(const char* szPrinterKeyName, std::int32_t nJobNumber,
                         const char* szValueName, char* pField, std::uint32_t* pnSize) {
    if (!pField || !szValueName || !pnSize) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenJobKey(szPrinterKeyName, nJobNumber, &hKey)) return 0;
    return ReadRegistryString(hKey.get(), szValueName, pField, *pnSize, pnSize) ? 1 : 0;
}

int ReadJobRegistryDword(const char* szPrinterKeyName, std::int32_t nJobNumber,
                         const char* szValueName, std::uint32_t* pdwValue) {
    if (!szValueName || !pdwValue) return 0;
    win::reg::UniqueKey hKey;
    if (!OpenJobKey(szPrinterKeyName, nJobNumber, &hKey)) return 0;
    return ReadRegistryDword(hKey.get(), szValueName, pdwValue) ? 1 : 0;
}

void DeleteJobRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    RegistryPath szPath;
    if (FormatJobKeyPath(szPath, szPrinterKeyName, nJobNumber))
        win::reg::deleteKey(win::reg::currentUser, szPath);
}

int DeletePortMonitorFinishedTheJobRegistryKey(const char* szPrinterKeyName,
                                               std::int32_t nJobNumber) {
    RegistryPath szPath;
    if (!FormatJobKeyPath(szPath, szPrinterKeyName, nJobNumber)) return 1;
    {
        win::reg::UniqueKey hKey;
        if (win::reg::openKey(win::reg::currentUser, szPath, win::reg::access::write, hKey.put()) ==
            win::err::success)
            win::reg::deleteValue(hKey.get(), "Job Status");
    }
    win::reg::deleteKey(win::reg::currentUser, szPath);
    return 1;
}
