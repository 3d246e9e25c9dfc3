#include "jobhost/monitor/registry_read.h"

#include <cstring>
#include <memory>
#include <new>

bool OpenExchangeKey(const char* szPath, win::reg::UniqueKey* pKey) {
    if (!szPath || !szPath[0]) return false;
    return win::reg::openKey(win::reg::currentUser, szPath, win::reg::access::queryValue,
                             pKey->put()) == win::err::success;
}

bool ReadRegistryString(win::reg::Key hKey, const char* szValueName, char* szField,
                        std::uint32_t nFieldSize, std::uint32_t* pnBytesRead) {
    if (!szField || nFieldSize == 0) return false;
    // Read aside first so that a value refused below leaves the caller's field as it was.
    std::unique_ptr<char[]> pScratch(new (std::nothrow) char[nFieldSize]);
    if (!pScratch) return false;
    win::Dword dwSize = nFieldSize;
    if (win::reg::queryValue(hKey, szValueName, nullptr, pScratch.get(), &dwSize) !=
        win::err::success)
        return false;
    if (dwSize > nFieldSize) return false;
    if (!std::memchr(pScratch.get(), '\0', dwSize)) {
        if (dwSize == nFieldSize) return false;
        pScratch[dwSize] = '\0';
        std::memcpy(szField, pScratch.get(), dwSize + 1);
    } else {
        std::memcpy(szField, pScratch.get(), dwSize);
    }
    if (pnBytesRead) *pnBytesRead = dwSize;
    return true;
}

bool ReadRegistryDword(win::reg::Key hKey, const char* szValueName, std::uint32_t* pdwValue) {
    if (!pdwValue) return false;
    std::uint32_t dwValue = 0;
    win::Dword dwSize = sizeof dwValue;
    if (win::reg::queryValue(hKey, szValueName, nullptr, &dwValue, &dwSize) != win::err::success)
        return false;
    if (dwSize != sizeof dwValue) return false;
    *pdwValue = dwValue;
    return true;
}

bool ReadRegistryBytes(win::reg::Key hKey, const char* szValueName, void* pField,
                       std::uint32_t* pnSize) {
    if (!pField || !pnSize) return false;
    win::Dword dwSize = *pnSize;
    if (win::reg::queryValue(hKey, szValueName, nullptr, pField, &dwSize) != win::err::success)
        return false;
    *pnSize = dwSize;
    return true;
}

bool IsLiteral(const char* szValue, const char* szLiteral) {
    return std::strcmp(szValue, szLiteral) == 0;
}
