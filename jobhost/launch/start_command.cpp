#include "jobhost/launch/start_command.h"

#include <cstring>

#include "jobhost/launch/start_flags.h"

namespace {

bool HasBlank(const char* szText) {
    return std::strpbrk(szText, " \t") != nullptr;
}

}  // namespace

int GetApplicationFolder(const char* szApplication, char* szFolder, std::size_t nFolderSize) {
    if (!szFolder || nFolderSize == 0) return 0;
    szFolder[0] = '\0';
    if (!szApplication) return 0;
    const char* pCut = std::strrchr(szApplication, '\\');
    if (!pCut) pCut = std::strrchr(szApplication, ':');
    if (!pCut) return 0;
    std::size_t nLength = std::size_t(pCut - szApplication);
    if (nLength >= nFolderSize) return 0;
    std::memcpy(szFolder, szApplication, nLength);
    szFolder[nLength] = '\0';
    return 1;
}

int BuildProcessCommandLine(const char* szApplication, const char* szCommandLine,
                            std::uint32_t dwFlags, char* szProcessLine, std::size_t nLineSize) {
    if (!szProcessLine || nLineSize == 0) return 0;
    szProcessLine[0] = '\0';
    if (!szApplication) return 0;
    // Unquoted, a path such as C:\Program Files\Tool\tool.exe would first be taken for
    // C:\Program.exe.
    const bool bQuote = szApplication[0] != '"' && HasBlank(szApplication);
    const bool bArguments = (dwFlags & START_APP_PASS_ARGUMENTS) != 0;
    const char* szArguments = szCommandLine ? szCommandLine : "";
    const std::size_t nApplication = std::strlen(szApplication);
    const std::size_t nArguments = bArguments ? std::strlen(szArguments) : 0;
    const std::size_t nNeeded =
        nApplication + (bQuote ? 2 : 0) + (bArguments ? 1 + nArguments : 0) + 1;
    if (nNeeded > nLineSize) return 0;

    char* pOut = szProcessLine;
    if (bQuote) *pOut++ = '"';
    std::memcpy(pOut, szApplication, nApplication);
    pOut += nApplication;
    if (bQuote) *pOut++ = '"';
    if (bArguments) {
        *pOut++ = ' ';
        std::memcpy(pOut, szArguments, nArguments);
        pOut += nArguments;
    }
    *pOut = '\0';
    return 1;
}
