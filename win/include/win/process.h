// Processes: start a program from a command line, wait until it is idle for input, close its
// handles. Contracts are the platform's: create returns false and sets the last error, and the
// program is found from the start of the command line (there is no separate module name).
#pragma once

#include "win/types.h"

namespace win::process {

enum class Handle : std::uintptr_t { none = 0 };

// Show commands of a started window (also those of the shell's execute request).
namespace show {
inline constexpr int hide = 0;
inline constexpr int showNormal = 1;
inline constexpr int showMinimized = 2;
inline constexpr int showMaximized = 3;
inline constexpr int showNoActivate = 4;
inline constexpr int show = 5;
inline constexpr int minimize = 6;
inline constexpr int showMinNoActive = 7;
inline constexpr int showNa = 8;
inline constexpr int restore = 9;
inline constexpr int showDefault = 10;
}  // namespace show

namespace startf {
inline constexpr Dword useShowWindow = 0x00000001;
}  // namespace startf

// The parts of the startup information that callers give; everything else is left empty (no
// desktop, title, position or standard handles).
struct StartupInfo {
    Dword flags = 0;
    Word showWindow = 0;  // read when flags has startf::useShowWindow
};

struct Info {
    Handle process = Handle::none;
    Handle thread = Handle::none;
    Dword processId = 0;
    Dword threadId = 0;
};

// commandLine: the program and its arguments by the platform's rules for a line without a
// module name (a quoted first token, or the shortest blank-separated prefix that names a
// program, ".exe" added when it has no extension). currentFolder null starts the program in this
// process's current folder. The new process gets this process's environment.
bool create(const char* commandLine, bool inheritHandles, Dword creationFlags,
            const char* currentFolder, const StartupInfo& startup, Info* info);

inline constexpr Dword infinite = 0xFFFFFFFFu;
namespace idle {
inline constexpr Dword ready = 0;
inline constexpr Dword timeout = 258;
inline constexpr Dword failed = 0xFFFFFFFFu;  // also at once for a program without a message queue
}  // namespace idle

// Waits until the process has finished its start-up and waits for input; an idle:: result.
Dword waitForInputIdle(Handle process, Dword milliseconds);

// Waiting for a process to end, as the platform's wait on a process handle.
namespace wait {
inline constexpr Dword signaled = 0;
inline constexpr Dword timeout = 258;
inline constexpr Dword failed = 0xFFFFFFFFu;
}  // namespace wait
inline constexpr Dword stillActive = 259;

// A wait:: result.
Dword waitForExit(Handle process, Dword milliseconds);
// stillActive while it runs.
bool exitCode(Handle process, Dword* code);
bool terminate(Handle process, Dword code);

// Closes a process or thread handle; false and err::invalidHandle for one that is not open.
bool close(Handle handle);

// Closes both handles of a started process on every path.
class UniqueProcess {
  public:
    UniqueProcess() = default;
    explicit UniqueProcess(const Info& info) : info_(info) {}
    UniqueProcess(const UniqueProcess&) = delete;
    UniqueProcess& operator=(const UniqueProcess&) = delete;
    UniqueProcess(UniqueProcess&& other) noexcept : info_(other.release()) {}
    UniqueProcess& operator=(UniqueProcess&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueProcess() { reset(); }

    const Info& get() const { return info_; }
    explicit operator bool() const { return info_.process != Handle::none; }
    // For the info argument of create.
    Info* put() {
        reset();
        return &info_;
    }
    Info release() {
        Info info = info_;
        info_ = Info{};
        return info;
    }
    void reset(const Info& info = Info{}) {
        if (info_.thread != Handle::none) close(info_.thread);
        if (info_.process != Handle::none) close(info_.process);
        info_ = info;
    }

  private:
    Info info_;
};

}  // namespace win::process
