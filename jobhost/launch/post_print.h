// The post-print actions of a finished job: open the output folder, hand the job to the e-mail
// sending program, open the output file, hand it to the SharePoint utility.
#pragma once

#include <cstdint>

// Runs the actions whose POST_PRINT_* bits dwPostPrintFlags has, each on its own: a value that
// cannot be read skips only its action.
void StartPostPrintSteps(std::int32_t nJobNumber, const char* szPrinterKeyName,
                         std::uint32_t dwPostPrintFlags);
