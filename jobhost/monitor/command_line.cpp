#include "jobhost/monitor/command_line.h"

#include <cstring>
#include <limits>

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::int32_t ParseJobNumber(const char* pText, const char* pEnd) {
    while (pText < pEnd && IsWhiteSpace(*pText)) ++pText;
    bool bNegative = false;
    if (pText < pEnd && (*pText == '+' || *pText == '-')) bNegative = *pText++ == '-';
    // Magnitudes past the limit stop growing, so any number of digits is safe.
    constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t nMagnitude = 0;
    for (; pText < pEnd && *pText >= '0' && *pText <= '9'; ++pText) {
        nMagnitude = nMagnitude * 10 + (*pText - '0');
        if (nMagnitude > kLimit) nMagnitude = kLimit;
    }
    if (bNegative) return std::int32_t(-nMagnitude);
    return nMagnitude >= kLimit ? std::numeric_limits<std::int32_t>::max()
                                : std::int32_t(nMagnitude);
}

}  // namespace

bool ParseJobCommandLine(const char* szCommandLine, JobCommandLine* pParsed) {
    if (!szCommandLine || !pParsed) return false;
    const char* pComma = std::strchr(szCommandLine, ',');
    if (!pComma) return false;
    const char* szName = pComma + 1;
    const std::size_t nNameLength = std::strlen(szName);
    if (nNameLength == 0 || nNameLength >= kPrinterKeyNameFieldSize) return false;
    pParsed->nJobNumber = ParseJobNumber(szCommandLine, pComma);
    std::memcpy(pParsed->szPrinterKeyName, szName, nNameLength + 1);
    return true;
}
