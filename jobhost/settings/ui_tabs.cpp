#include "jobhost/settings/ui_tabs.h"

#include "jobhost/settings/option_tables.h"
#include "jobhost/settings/settings_store.h"
#include "win/profile.h"

namespace {

constexpr char16_t kUiTabs[] = u"%s\\UI Tabs Settings";
constexpr char16_t kIniSection[] = u"UI Tabs Settings";

}  // namespace

int ShowUiTab(const DriverSettings* pSettings, std::int32_t nTab, bool bShow) {
    const char16_t* szName = UiTabName(nTab);
    if (!szName[0]) return 0;
    return WriteStoreDword(pSettings, kStoreRoot, kUiTabs, szName, bShow ? 1 : 0);
}

int IsUiTabShown(const DriverSettings* pSettings, std::int32_t nTab) {
    const char16_t* szName = UiTabName(nTab);
    if (!szName[0] || !pSettings) return 0;
    std::uint32_t dwShown = 0;
    if (ReadStoreDword(pSettings, kStoreRoot, kUiTabs, szName, &dwShown)) return dwShown == 1;
    SettingsPath iniFile = GetINIFileName(pSettings);
    if (iniFile.nLength == 0) return 1;  // no file: the INI default
    return win::ini::readInt(kIniSection, szName, 1, iniFile.sz) == 1;
}
