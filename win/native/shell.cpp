// The shell's execute request on the real API.
#include "win/shell.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

namespace win::shell {

std::intptr_t execute(const char* verb, const char* file, const char* parameters,
                      const char* folder, int showCommand) {
    HINSTANCE answer = ShellExecuteA(nullptr, verb, file, parameters, folder, showCommand);
    return reinterpret_cast<std::intptr_t>(answer);
}

}  // namespace win::shell
