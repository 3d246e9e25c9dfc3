// Writes a printer's whole profile, the record's settings and the printer's store, to an INI
// file through the platform's INI calls. Each section is emptied before it is written, so that
// nothing of an earlier export is left in it; other sections of the file are kept.
#pragma once

#include "jobhost/settings/driver_settings.h"

// 1 when every section was written; 0 without a record, a printer store name or a file name,
// or when a write failed (the export stops there).
int ExportProfile(const DriverSettings* pSettings, const char16_t* szIniFile);
