#include "jobhost/settings/option_sets.h"

#include <optional>
#include <string>

#include "jobhost/settings/option_tables.h"
#include "jobhost/settings/settings_bits.h"
#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_text.h"
#include "win/registry.h"

namespace {

namespace reg = win::reg;

constexpr char16_t kOptionSets[] = u"%s\\Save As Option Settings";
constexpr char16_t kDefaultSet[] = u"Default Settings";

// Which set, and whether its readers follow the protected-mode bit.
struct SetRef {
    std::optional<std::int32_t> nJob;  // none: the default set
};

std::u16string SetName(SetRef set) {
    return set.nJob ? store_text::Decimal(*set.nJob) : std::u16string(kDefaultSet);
}

std::u16string SetTemplate(SetRef set) {
    return std::u16string(kOptionSets) + u"\\" + SetName(set);
}

std::u16string ReaderRoot(const DriverSettings* pSettings, SetRef set) {
    if (set.nJob && TestSettingsBit(pSettings, kStoreProtectedMode) && pSettings)
        return ProtectedModeRoot(pSettings);
    return kStoreRoot;
}

std::u16string RemovalRoot(const DriverSettings* pSettings) {
    if (pSettings && TestSettingsBit(pSettings, kStoreProtectedMode))
        return ProtectedModeRoot(pSettings);
    return kStoreRoot;
}

// The name of a string option; none for a number without a name or an option whose index
// use does not match.
std::optional<std::u16string> StringName(std::int32_t nOption, std::optional<std::int32_t> nIndex) {
    const char16_t* szName = StringOptionName(nOption);
    if (!szName || IsIndexedStringOption(nOption) != nIndex.has_value()) return std::nullopt;
    std::u16string name(szName);
    if (nIndex) name.replace(name.find(u"%d"), 2, store_text::Decimal(*nIndex));
    return name;
}

int ReadNumber(const DriverSettings* pSettings, std::int32_t nOption, SetRef set,
               std::uint32_t* pdwValue) {
    const char16_t* szName = NumberOptionName(nOption);
    if (!szName) return 0;
    return ReadStoreDword(pSettings, ReaderRoot(pSettings, set).c_str(), SetTemplate(set).c_str(),
                          szName, pdwValue);
}

int ReadString(const DriverSettings* pSettings, std::int32_t nOption,
               std::optional<std::int32_t> nIndex, SetRef set, void* pBuffer,
               std::uint32_t* pnSize) {
    std::optional<std::u16string> name = StringName(nOption, nIndex);
    if (!name) return 0;
    return ReadStoreValue(pSettings, ReaderRoot(pSettings, set).c_str(), SetTemplate(set).c_str(),
                          name->c_str(), pBuffer, pnSize);
}

int WriteNumber(const DriverSettings* pSettings, std::int32_t nOption, SetRef set,
                std::uint32_t dwValue) {
    const char16_t* szName = NumberOptionName(nOption);
    if (!szName) return 0;
    return WriteStoreDword(pSettings, kStoreRoot, SetTemplate(set).c_str(), szName, dwValue);
}

int WriteString(const DriverSettings* pSettings, std::int32_t nOption,
                std::optional<std::int32_t> nIndex, SetRef set, const char16_t* szText) {
    std::optional<std::u16string> name = StringName(nOption, nIndex);
    if (!name) return 0;
    return WriteStoreString(pSettings, kStoreRoot, SetTemplate(set).c_str(), name->c_str(), szText);
}

int RemoveSet(const DriverSettings* pSettings, SetRef set) {
    if (!pSettings) return 0;
    std::u16string root = RemovalRoot(pSettings);
    char16_t szPrinter[kStoreBufferBytes / 2];
    GetPrinterStoreName(pSettings, szPrinter, sizeof szPrinter);
    if (root.empty() || !szPrinter[0]) return 0;
    std::u16string path = root + u"\\" + store_text::FillTemplate(kOptionSets, szPrinter);
    reg::UniqueKey key;
    if (reg::openKey(reg::currentUser, path.c_str(), reg::access::write, key.put()) !=
        win::err::success)
        return 0;
    return reg::deleteKey(key.get(), SetName(set).c_str()) == win::err::success;
}

}  // namespace

bool HasJobOptionSet(const DriverSettings* pSettings) {
    return pSettings && TestSettingsBit(pSettings, kFlagJobOptionSet);
}

int ReadJobOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                        std::int32_t nOptionSet, std::uint32_t* pdwValue) {
    return ReadNumber(pSettings, nOption, {nOptionSet}, pdwValue);
}
int ReadJobOptionString(const DriverSettings* pSettings, std::int32_t nOption,
                        std::int32_t nOptionSet, void* pBuffer, std::uint32_t* pnSize) {
    return ReadString(pSettings, nOption, std::nullopt, {nOptionSet}, pBuffer, pnSize);
}
int ReadJobOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                               std::int32_t nIndex, std::int32_t nOptionSet, void* pBuffer,
                               std::uint32_t* pnSize) {
    return ReadString(pSettings, nOption, nIndex, {nOptionSet}, pBuffer, pnSize);
}
int WriteJobOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                         std::int32_t nOptionSet, std::uint32_t dwValue) {
    return WriteNumber(pSettings, nOption, {nOptionSet}, dwValue);
}
int WriteJobOptionString(const DriverSettings* pSettings, std::int32_t nOption,
                         std::int32_t nOptionSet, const char16_t* szText) {
    return WriteString(pSettings, nOption, std::nullopt, {nOptionSet}, szText);
}
int WriteJobOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                                std::int32_t nIndex, std::int32_t nOptionSet,
                                const char16_t* szText) {
    return WriteString(pSettings, nOption, nIndex, {nOptionSet}, szText);
}

int ReadDefaultOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                            std::uint32_t* pdwValue) {
    return ReadNumber(pSettings, nOption, {}, pdwValue);
}
int ReadDefaultOptionString(const DriverSettings* pSettings, std::int32_t nOption, void* pBuffer,
                            std::uint32_t* pnSize) {
    return ReadString(pSettings, nOption, std::nullopt, {}, pBuffer, pnSize);
}
int ReadDefaultOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                                   std::int32_t nIndex, void* pBuffer, std::uint32_t* pnSize) {
    return ReadString(pSettings, nOption, nIndex, {}, pBuffer, pnSize);
}
int WriteDefaultOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                             std::uint32_t dwValue) {
    return WriteNumber(pSettings, nOption, {}, dwValue);
}
int WriteDefaultOptionString(const DriverSettings* pSettings, std::int32_t nOption,
                             const char16_t* szText) {
    return WriteString(pSettings, nOption, std::nullopt, {}, szText);
}
int WriteDefaultOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                                    std::int32_t nIndex, const char16_t* szText) {
    return WriteString(pSettings, nOption, nIndex, {}, szText);
}

int RemoveJobOptionSet(const DriverSettings* pSettings, std::int32_t nOptionSet) {
    return RemoveSet(pSettings, {nOptionSet});
}
int RemoveDefaultOptionSet(const DriverSettings* pSettings) {
    return RemoveSet(pSettings, {});
}
