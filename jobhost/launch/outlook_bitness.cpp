#include "jobhost/launch/outlook_bitness.h"

#include <cstring>

#include "win/registry.h"

namespace {

constexpr win::Dword kValueFieldSize = 256;

// The string value as stored, up to its first terminator; false when the key or the value
// cannot be read into the field.
bool ReadStringValue(win::reg::Key hRoot, const char* szPath, const char* szName,
                     char (&szValue)[kValueFieldSize + 1]) {
    win::reg::UniqueKey hKey;
    if (win::reg::openKey(hRoot, szPath, win::reg::access::read, hKey.put()) != win::err::success)
        return false;
    win::Dword dwSize = kValueFieldSize;
    if (win::reg::queryValue(hKey.get(), szName, nullptr, szValue, &dwSize) != win::err::success)
        return false;
    szValue[dwSize <= kValueFieldSize ? dwSize : kValueFieldSize] = '\0';
    return true;
}

}  // namespace

int IsOutlook64Bit() {
    char szMailClient[kValueFieldSize + 1] = {};
    if (!ReadStringValue(win::reg::currentUser, "Software\\Clients\\Mail", "", szMailClient) &&
        !ReadStringValue(win::reg::localMachine, "Software\\Clients\\Mail", "", szMailClient))
        return 0;
    if (std::strcmp(szMailClient, "Microsoft Outlook") != 0) return 0;

    char szBitness[kValueFieldSize + 1] = {};
    if (!ReadStringValue(win::reg::localMachine, "Software\\Microsoft\\Office\\14.0\\Outlook",
                         "Bitness", szBitness))
        return 0;
    return std::strcmp(szBitness, "x64") == 0 ? 1 : 0;
}
