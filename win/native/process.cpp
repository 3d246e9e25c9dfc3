// Processes on the real API.
#include "win/process.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "native_support.h"

namespace win::process {
namespace {

using native::raw;
Handle wrap(HANDLE handle) {
    return native::wrap<Handle>(handle);
}

}  // namespace

bool create(const char* commandLine, bool inheritHandles, Dword creationFlags,
            const char* currentFolder, const StartupInfo& startup, Info* info) {
    if (!commandLine || !info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // The platform may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine, commandLine + std::strlen(commandLine) + 1);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = startup.flags;
    si.wShowWindow = startup.showWindow;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, inheritHandles ? TRUE : FALSE,
                        creationFlags, nullptr, currentFolder, &si, &pi))
        return false;
    info->process = wrap(pi.hProcess);
    info->thread = wrap(pi.hThread);
    info->processId = pi.dwProcessId;
    info->threadId = pi.dwThreadId;
    return true;
}

Dword waitForInputIdle(Handle process, Dword milliseconds) {
    return WaitForInputIdle(raw(process), milliseconds);
}

Dword waitForExit(Handle process, Dword milliseconds) {
    return WaitForSingleObject(raw(process), milliseconds);
}

bool exitCode(Handle process, Dword* code) {
    DWORD value = 0;
    if (!code || !GetExitCodeProcess(raw(process), &value)) return false;
    *code = value;
    return true;
}

bool terminate(Handle process, Dword code) {
    return TerminateProcess(raw(process), code) != FALSE;
}

bool close(Handle handle) {
    return CloseHandle(raw(handle)) != FALSE;
}

}  // namespace win::process
