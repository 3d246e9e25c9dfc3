#include "jobhost/settings/settings_store.h"

#include <cstring>

#include "jobhost/settings/store_text.h"
#include "win/registry.h"

namespace {

namespace reg = win::reg;
using store_text::Decimal;

constexpr std::size_t kMaxTextChars = 0x3FFFFFFF;

constexpr std::uint32_t kWriteAccess =
    reg::access::createSubKey | reg::access::setValue | reg::access::queryValue;

std::u16string PrinterStoreName(const DriverSettings* pSettings) {
    char16_t szName[kStoreBufferBytes / 2];
    GetPrinterStoreName(pSettings, szName, sizeof szName);
    return std::u16string(store_text::UpToTerminator(szName, kStoreBufferBytes / 2));
}

// <root>\<template filled with the printer store name>; empty when there is no printer name.
std::u16string StoreKeyPath(const DriverSettings* pSettings, const char16_t* szRootPath,
                            const char16_t* szKeyTemplate) {
    if (!pSettings || !szRootPath || !szKeyTemplate || !szRootPath[0]) return {};
    std::u16string name = PrinterStoreName(pSettings);
    if (name.empty()) return {};
    return std::u16string(szRootPath) + u"\\" + store_text::FillTemplate(szKeyTemplate, name);
}

bool OpenForReading(const DriverSettings* pSettings, const char16_t* szRootPath,
                    const char16_t* szKeyTemplate, reg::UniqueKey* pKey) {
    std::u16string path = StoreKeyPath(pSettings, szRootPath, szKeyTemplate);
    if (path.empty()) return false;
    return reg::openKey(reg::currentUser, path.c_str(), reg::access::queryValue, pKey->put()) ==
           win::err::success;
}

int WriteValue(const DriverSettings* pSettings, const char16_t* szRootPath,
               const char16_t* szKeyTemplate, const char16_t* szValueName, std::uint32_t dwType,
               const void* pData, std::uint32_t nSize) {
    if (!pSettings || !szRootPath || !szKeyTemplate || !szValueName || !szRootPath[0]) return 0;
    std::u16string name = PrinterStoreName(pSettings);
    if (name.empty()) return 0;
    std::u16string subKey = store_text::FillTemplate(szKeyTemplate, name);
    reg::UniqueKey root;
    if (reg::createKey(reg::currentUser, szRootPath, kWriteAccess, root.put(), nullptr) !=
        win::err::success)
        return 0;
    reg::UniqueKey key;
    if (reg::createKey(root.get(), subKey.c_str(), kWriteAccess, key.put(), nullptr) !=
        win::err::success)
        return 0;
    return reg::setValue(key.get(), szValueName, dwType, pData, nSize) == win::err::success;
}

bool IsSidText(std::u16string_view sid) {
    if (sid.size() < 4 || sid[0] != u'S' || sid[1] != u'-') return false;
    for (char16_t c : sid)
        if (!(c == u'S' || c == u'-' || (c >= u'0' && c <= u'9'))) return false;
    return true;
}

}  // namespace

void GetPrinterStoreName(const DriverSettings* pSettings, char16_t* szBuffer,
                         std::uint32_t nBufferBytes) {
    if (!szBuffer || nBufferBytes < 2) return;
    const std::uint32_t nChars = nBufferBytes / 2;
    std::memset(szBuffer, 0, std::size_t(nChars) * 2);
    if (!pSettings) return;

    std::u16string path = std::u16string(kStoreRoot) + u"\\PrinterIDs\\" +
                          Decimal(std::int32_t(GetPrinterId(pSettings)));
    reg::UniqueKey key;
    if (reg::openKey(reg::currentUser, path.c_str(), reg::access::read, key.put()) ==
        win::err::success) {
        // Room is kept for the terminator that the store does not write.
        win::Dword nSize = (nChars - 1) * 2;
        if (reg::queryValue(key.get(), u"Printer name", nullptr, szBuffer, &nSize) ==
                win::err::success &&
            szBuffer[0] != 0) {
            szBuffer[nSize / 2] = 0;
            return;
        }
        std::memset(szBuffer, 0, std::size_t(nChars) * 2);
    }
    SettingsText<settings_layout::kDmDeviceNameChars> device = GetDmDeviceName(pSettings);
    std::size_t nCopy = device.nLength < nChars - 1 ? device.nLength : nChars - 1;
    for (std::size_t i = 0; i < nCopy; ++i) szBuffer[i] = device.sz[i];
}

int ReadStoreValue(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate, const char16_t* szValueName, void* pBuffer,
                   std::uint32_t* pnSize) {
    if (!szValueName || !pnSize) return 0;
    reg::UniqueKey key;
    if (!OpenForReading(pSettings, szRootPath, szKeyTemplate, &key)) return 0;
    win::Dword nNeeded = 0;
    if (reg::queryValue(key.get(), szValueName, nullptr, nullptr, &nNeeded) != win::err::success)
        return 0;
    if (nNeeded > *pnSize || (*pnSize != 0 && !pBuffer)) {
        *pnSize = nNeeded;
        return 0;
    }
    win::Dword nSize = *pnSize;
    win::Long nResult = reg::queryValue(key.get(), szValueName, nullptr, pBuffer, &nSize);
    if (nResult == win::err::moreData) {
        // It grew between the two reads.
        *pnSize = nSize;
        return 0;
    }
    if (nResult != win::err::success) return 0;
    *pnSize = nSize;
    return 1;
}

int StoreKeyExists(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate) {
    reg::UniqueKey key;
    return OpenForReading(pSettings, szRootPath, szKeyTemplate, &key) ? 1 : 0;
}

int ReadStoreDword(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate, const char16_t* szValueName,
                   std::uint32_t* pdwValue) {
    if (!pdwValue) return 0;
    std::uint8_t abValue[4];
    std::uint32_t nSize = sizeof abValue;
    if (!ReadStoreValue(pSettings, szRootPath, szKeyTemplate, szValueName, abValue, &nSize) ||
        nSize != sizeof abValue)
        return 0;
    *pdwValue = std::uint32_t(abValue[0]) | (std::uint32_t(abValue[1]) << 8) |
                (std::uint32_t(abValue[2]) << 16) | (std::uint32_t(abValue[3]) << 24);
    return 1;
}

int ReadStoreText(const DriverSettings* pSettings, const char16_t* szRootPath,
                  const char16_t* szKeyTemplate, const char16_t* szValueName, char16_t* szBuffer,
                  std::uint32_t* pnSize) {
    if (!szBuffer || !pnSize || *pnSize < 2) return 0;
    const std::uint32_t nChars = *pnSize / 2;
    std::memset(szBuffer, 0, std::size_t(nChars) * 2);
    std::uint32_t nSize = (nChars - 1) * 2;
    if (!ReadStoreValue(pSettings, szRootPath, szKeyTemplate, szValueName, szBuffer, &nSize)) {
        if (nSize > (nChars - 1) * 2) *pnSize = (nSize + 1) / 2 * 2 + 2;
        return 0;
    }
    // An odd last byte is no character.
    szBuffer[nSize / 2] = 0;
    *pnSize = nSize / 2 * 2;
    return 1;
}

int WriteStoreString(const DriverSettings* pSettings, const char16_t* szRootPath,
                     const char16_t* szKeyTemplate, const char16_t* szValueName,
                     const char16_t* szText) {
    if (!szText) return 0;
    // A registry value holds far less than this; the bound keeps the byte count in range.
    std::size_t nLength = store_text::BoundedLength(szText, kMaxTextChars);
    if (nLength >= kMaxTextChars) return 0;
    return WriteStoreText(pSettings, szRootPath, szKeyTemplate, szValueName,
                          std::u16string(szText, nLength));
}

int WriteStoreText(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate, const char16_t* szValueName,
                   const std::u16string& text) {
    if (text.size() >= kMaxTextChars) return 0;
    // The platform stores a terminator that follows the counted text in memory; a character
    // other than 0 behind the text keeps it out.
    std::u16string guarded = text + u'\xFFFF';
    return WriteValue(pSettings, szRootPath, szKeyTemplate, szValueName, reg::type::sz,
                      guarded.data(), std::uint32_t(text.size() * 2));
}

int WriteStoreDword(const DriverSettings* pSettings, const char16_t* szRootPath,
                    const char16_t* szKeyTemplate, const char16_t* szValueName,
                    std::uint32_t dwValue) {
    std::uint8_t abValue[4] = {std::uint8_t(dwValue), std::uint8_t(dwValue >> 8),
                               std::uint8_t(dwValue >> 16), std::uint8_t(dwValue >> 24)};
    return WriteValue(pSettings, szRootPath, szKeyTemplate, szValueName, reg::type::dword, abValue,
                      sizeof abValue);
}

std::u16string ProtectedModeRoot(const DriverSettings* pSettings) {
    SettingsText<settings_layout::kUserSidChars> sid = GetUserSid(pSettings);
    if (!IsSidText(sid.View())) return {};
    return u"Software\\Microsoft\\Internet Explorer\\InternetRegistry\\REGISTRY\\USER\\" +
           std::u16string(sid.View()) + u"\\" + kStoreRoot;
}
