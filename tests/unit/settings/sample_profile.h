// A whole printer profile, written through the settings library the way the driver's user
// interface would, and checked back through the same library. The host tests run it on the
// simulated machine and the Wine test on the real registry; both export it and compare the
// result with tests/data/settings/sample_profile.ini.
#pragma once

#include <string>

#include "jobhost/settings/driver_settings.h"

namespace sample_profile {

inline constexpr char16_t kPrinterName[] = u"JhSettings Sample Printer";
inline constexpr std::uint32_t kPrinterId = 990017;
inline constexpr std::int32_t kJobNumber = 17;

// The record of the sample profile (with the PrinterId that names kPrinterName).
DriverSettings MakeRecord();

// Writes the PrinterIDs entry and every key of the profile; false when a write failed.
bool WriteStore(const DriverSettings& settings);

// Checks, with test expectations, that the store reads back what WriteStore wrote.
void ExpectStoreReadsBack(const DriverSettings& settings);

// Removes the profile's keys and its PrinterIDs entry; true when they are gone.
bool RemoveStore();

// The text with every CR LF turned into LF; sets *bAllCrLf to whether every line ended so.
std::string WithUnixLineEnds(const std::string& text, bool* bAllCrLf);

}  // namespace sample_profile
