// Option sets of the settings store, below <printer>\Save As Option Settings: "Default
// Settings", the printer's default set, and one numbered set per job, which the job's record
// points to with bit 31 of Flags. Options are named by number through option_tables.h; a number
// without a name reads and writes nothing and reports 0.
//
// The readers of a numbered set, and the removal of any set, work below the protected-mode
// root when bit 0 of the record's StoreFlags is set; all writers use the ordinary store root.
#pragma once

#include <cstdint>

#include "jobhost/settings/driver_settings.h"

// Bit 31 of Flags; false without a record.
bool HasJobOptionSet(const DriverSettings* pSettings);

// The dword of a number option; 1 on success, *pdwValue unchanged otherwise.
int ReadJobOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                        std::int32_t nOptionSet, std::uint32_t* pdwValue);
// The raw bytes of a string option (not terminated), as ReadStoreValue reads them. An indexed
// option is refused here; it is read with ReadJobOptionIndexedString.
int ReadJobOptionString(const DriverSettings* pSettings, std::int32_t nOption,
                        std::int32_t nOptionSet, void* pBuffer, std::uint32_t* pnSize);
int ReadJobOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                               std::int32_t nIndex, std::int32_t nOptionSet, void* pBuffer,
                               std::uint32_t* pnSize);
int WriteJobOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                         std::int32_t nOptionSet, std::uint32_t dwValue);
int WriteJobOptionString(const DriverSettings* pSettings, std::int32_t nOption,
                         std::int32_t nOptionSet, const char16_t* szText);
int WriteJobOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                                std::int32_t nIndex, std::int32_t nOptionSet,
                                const char16_t* szText);

int ReadDefaultOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                            std::uint32_t* pdwValue);
int ReadDefaultOptionString(const DriverSettings* pSettings, std::int32_t nOption, void* pBuffer,
                            std::uint32_t* pnSize);
int ReadDefaultOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                                   std::int32_t nIndex, void* pBuffer, std::uint32_t* pnSize);
int WriteDefaultOptionNumber(const DriverSettings* pSettings, std::int32_t nOption,
                             std::uint32_t dwValue);
int WriteDefaultOptionString(const DriverSettings* pSettings, std::int32_t nOption,
                             const char16_t* szText);
int WriteDefaultOptionIndexedString(const DriverSettings* pSettings, std::int32_t nOption,
                                    std::int32_t nIndex, const char16_t* szText);

// Delete one job's set or the default set; 1 on success.
int RemoveJobOptionSet(const DriverSettings* pSettings, std::int32_t nOptionSet);
int RemoveDefaultOptionSet(const DriverSettings* pSettings);
