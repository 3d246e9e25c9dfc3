#include "jobhost/monitor/key_paths.h"

#include <cstdarg>
#include <cstdio>

namespace {

__attribute__((format(printf, 2, 3))) bool FormatPath(RegistryPath& szPath, const char* szFormat,
                                                      ...) {
    std::va_list args;
    va_start(args, szFormat);
    int nLength = std::vsnprintf(szPath, sizeof szPath, szFormat, args);
    va_end(args);
    if (nLength < 0 || std::size_t(nLength) >= sizeof szPath) {
        szPath[0] = '\0';
        return false;
    }
    return true;
}

bool FormatPrinterPath(RegistryPath& szPath, const char* szFormat, const char* szPrinterKeyName,
                       std::int32_t nJobNumber) {
    if (!szPrinterKeyName) {
        szPath[0] = '\0';
        return false;
    }
    return FormatPath(szPath, szFormat, szPrinterKeyName, int(nJobNumber));
}

}  // namespace

bool FormatJobKeyPath(RegistryPath& szPath, const char* szPrinterKeyName, std::int32_t nJobNumber) {
    return FormatPrinterPath(szPath, "SOFTWARE\\Korvanex Software LLC\\%s\\%d", szPrinterKeyName,
                             nJobNumber);
}

bool FormatForwardingKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                             std::int32_t nJobNumber, std::int32_t nPageNumber) {
    if (!szPrinterKeyName) {
        szPath[0] = '\0';
        return false;
    }
    return FormatPath(szPath, "SOFTWARE\\Korvanex Software LLC\\%s\\Forwarding\\%d_%d",
                      szPrinterKeyName, int(nJobNumber), int(nPageNumber));
}

bool FormatOptionSetKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                            std::int32_t nJobNumber) {
    return FormatPrinterPath(szPath,
                             "SOFTWARE\\Korvanex Software LLC\\%s\\Save As Option Settings\\%d",
                             szPrinterKeyName, nJobNumber);
}

bool FormatEmailKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                        std::int32_t nJobNumber) {
    return FormatPrinterPath(szPath, "SOFTWARE\\Korvanex Software LLC\\%s\\Email_TMP\\%d",
                             szPrinterKeyName, nJobNumber);
}

bool FormatSharePointKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                             std::int32_t nJobNumber) {
    return FormatPrinterPath(szPath, "SOFTWARE\\Korvanex Software LLC\\%s\\SharePoint_TMP\\%d",
                             szPrinterKeyName, nJobNumber);
}

bool FormatCompanyKeyPath(RegistryPath& szPath, const char* szRelativePath) {
    if (!szRelativePath) {
        szPath[0] = '\0';
        return false;
    }
    return FormatPath(szPath, "%s%s", kCompanyKeyPath, szRelativePath);
}
