// jobhost's command line as the printing side passes it: "<job number>,<printer key name>".
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kPrinterKeyNameFieldSize = 64;

struct JobCommandLine {
    std::int32_t nJobNumber = 0;
    char szPrinterKeyName[kPrinterKeyNameFieldSize] = {};
};

// The job number is the text before the first comma, read like a signed decimal number:
// leading white space skipped, an optional sign, digits up to the first other character, 0
// without digits, the nearest limit beyond the 32-bit range. Everything after the comma is the
// printer key name. False, with nothing to do for the job, when there is no comma or the name
// is empty or longer than 63 characters: a name cut to its field, or an empty one, would
// select another printer's keys, which this job must not read or delete.
bool ParseJobCommandLine(const char* szCommandLine, JobCommandLine* pParsed);
