// Which tabs the driver's user interface shows: one dword per tab in <printer>\UI Tabs
// Settings, 1 shown and 0 hidden. A tab without a value is looked up in the INI file named by
// the record's INIFileName (section "UI Tabs Settings", default 1). Tabs are numbered as in
// option_tables.h; another number is never shown and can't be set.
#pragma once

#include <cstdint>

#include "jobhost/settings/driver_settings.h"

// 1 on success.
int ShowUiTab(const DriverSettings* pSettings, std::int32_t nTab, bool bShow);
// 1 when the tab is shown.
int IsUiTabShown(const DriverSettings* pSettings, std::int32_t nTab);
