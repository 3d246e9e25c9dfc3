// The clean-up of an aborted job's keys and page files.
#include <limits>

#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/key_paths.h"
#include "win/file.h"

void DeleteAbortedJobRegistryKeys(const char* szPrinterKeyName, std::int32_t nJobNumber) {
    DeletePortMonitorFinishedTheJobRegistryKey(szPrinterKeyName, nJobNumber);
    RedirectPrinting_DeleteRegistryKey(szPrinterKeyName, nJobNumber, 0);
    // Stops at the first missing page: once page 1 was forwarded and deleted, at once.
    for (std::int32_t nPage = 1; nPage < std::numeric_limits<std::int32_t>::max(); ++nPage) {
        char szFileName[kRegistryPathSize] = {};
        if (!RedirectPrinting_ReadFileNameRegistryKey(szPrinterKeyName, nJobNumber, nPage,
                                                      szFileName))
            break;
        win::file::remove(szFileName);
        RedirectPrinting_DeleteRegistryKey(szPrinterKeyName, nJobNumber, nPage);
    }
}
