// Control API of the simulated machine's processes: what was started, and how the wait for a
// started program to become idle goes. System code never includes this header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win/process.h"
#include "win/types.h"

namespace win::sim {

// One successful process start, in the order of the starts.
struct ProcessStart {
    std::string commandLine;            // exactly as given
    std::string program;                // the program file the command line named, full path
    std::optional<std::string> folder;  // the working folder as given; none: the current one
    std::string startFolder;            // the full path the program started in
    bool inheritHandles = false;
    Dword creationFlags = 0;
    Dword startupFlags = 0;
    Word showWindow = 0;
    Dword processId = 0;
    std::uint64_t atMs = 0;  // virtual time of the start
};
std::vector<ProcessStart> processStarts();

// A simulated process runs until it is ended here (or terminated); false when no open handle
// names a running process with that id.
bool endProcess(Dword processId, Dword exitCode);

// How a wait for input idle goes: the virtual time it takes and its result (with the last error
// it leaves when it fails). A wait with a shorter time limit ends at the limit with
// process::idle::timeout. Actions that become due meanwhile run.
struct IdleWait {
    std::uint64_t takesMs = 0;
    Dword result = process::idle::ready;
    Dword error = 0;
};
// For every program without a wait of its own (after reset: ready at once).
void setIdleWait(const IdleWait& wait);
// For one program, by its path (compared as the file system compares paths).
void setIdleWait(const std::string& program, const IdleWait& wait);

}  // namespace win::sim
