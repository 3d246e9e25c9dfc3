// The command line as the printing side hands it over: any bytes up to the first zero.
#include <cstdint>
#include <cstring>
#include <string>

#include "jobhost/monitor/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    JobCommandLine parsed;
    if (ParseJobCommandLine(line.c_str(), &parsed)) {
        // A parsed name always fits its field with its terminator.
        if (std::memchr(parsed.szPrinterKeyName, 0, sizeof parsed.szPrinterKeyName) == nullptr)
            __builtin_trap();
    }
    return 0;
}
