#include "jobhost/monitor/redirect_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/registry_read.h"
#include "win/file.h"
#include "win/time.h"

namespace {

constexpr std::uint32_t kLogSwitchFieldSize = 32;
constexpr std::size_t kMessageFieldSize = 512;
constexpr std::size_t kPrefixFieldSize = 32;

// The process's one log. A plain handle: after an abort it stays open until the process ends.
win::file::Handle g_hLogFile = win::file::invalid;

bool IsNoInAnyCase(const char* szValue) {
    return (szValue[0] == 'n' || szValue[0] == 'N') && (szValue[1] == 'o' || szValue[1] == 'O') &&
           szValue[2] == '\0';
}

void WritePiece(const char* pData, std::size_t nLength) {
    win::Dword dwWritten = 0;
    win::file::write(g_hLogFile, pData, win::Dword(nLength), &dwWritten);
}

}  // namespace

int OpenLogFile(const char* szRedirectSettingsPath) {
    // A second open must not leak the first file's handle.
    CloseLogFile();
    char szLogFile[kValueFieldSize];
    {
        win::reg::UniqueKey hKey;
        if (!OpenExchangeKey(szRedirectSettingsPath, &hKey)) return 0;
        char szSwitch[kLogSwitchFieldSize];
        if (!ReadRegistryString(hKey.get(), "Enable Redirect Printing Log", szSwitch,
                                sizeof szSwitch))
            return 1;
        if (IsNoInAnyCase(szSwitch)) return 1;
        if (!ReadRegistryString(hKey.get(), "Redirect Printing Log File", szLogFile,
                                sizeof szLogFile))
            return 0;
    }
    win::file::Handle hFile =
        win::file::create(szLogFile, win::file::access::genericWrite, win::file::share::none,
                          win::file::disposition::openAlways, win::file::attributeNormal);
    if (hFile == win::file::invalid) return 0;
    win::file::setPointer(hFile, 0, win::file::seek::end, nullptr);
    g_hLogFile = hFile;
    return 1;
}

void WriteRedirectLog(const char* szFormat, ...) {
    if (g_hLogFile == win::file::invalid || !szFormat) return;
    char szMessage[kMessageFieldSize];
    std::va_list args;
    va_start(args, szFormat);
    int nLength = std::vsnprintf(szMessage, sizeof szMessage, szFormat, args);
    va_end(args);
    if (nLength < 0) return;
    if (std::size_t(nLength) >= sizeof szMessage) nLength = int(sizeof szMessage - 1);

    win::time::SystemTime stNow;
    win::time::getLocalTime(&stNow);
    char szPrefix[kPrefixFieldSize];
    int nPrefixLength =
        std::snprintf(szPrefix, sizeof szPrefix, "[%02d/%02d/%4d %02d:%02d:%02d] ", stNow.month,
                      stNow.day, stNow.year, stNow.hour, stNow.minute, stNow.second);
    if (nPrefixLength < 0) return;
    if (std::size_t(nPrefixLength) >= sizeof szPrefix) nPrefixLength = int(sizeof szPrefix - 1);

    WritePiece(szPrefix, std::size_t(nPrefixLength));
    WritePiece(szMessage, std::size_t(nLength));
    WritePiece("\r\n", 2);
}

void CloseLogFile() {
    if (g_hLogFile == win::file::invalid) return;
    win::file::close(g_hLogFile);
    g_hLogFile = win::file::invalid;
}
