// Control API of the simulated Windows machine: tests, the demo and printside set the machine
// up, schedule actions in virtual time, inject faults and inspect what happened. System code
// never includes this header.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/registry.h"
#include "win/time.h"

namespace win::sim {

// A fresh machine: empty registry and file system, the clock at 2024-03-05 09:04:07.000 local
// time, no faults, no scheduled actions, the process seen as a 32-bit program.
void reset();

// ---- virtual clock -------------------------------------------------------------------------
// Milliseconds since reset. Sleeping advances it at once and runs what became due.
std::uint64_t nowMs();
void setLocalTime(const time::SystemTime& localTime);
void setTimeZone(const time::TimeZoneInfo& zone, Dword result);
// Runs action when the clock reaches atMs (actions due at the same time run in the order
// they were scheduled).
void at(std::uint64_t atMs, std::function<void()> action);
// Runs every action due up to now + ms and moves the clock there.
void advance(std::uint64_t ms);
std::size_t pendingActions();

// ---- registry ------------------------------------------------------------------------------
// Paths are relative to a root, backslash-separated, case-insensitive. The 32-bit view of
// HKEY_LOCAL_MACHINE\SOFTWARE lives under SOFTWARE\Wow6432Node, as on a 64-bit system.
struct RegValue {
    Dword type = 0;
    std::string data;  // the stored bytes; strings are stored as UTF-16LE
};
void regCreateKey(reg::Key root, const std::string& path);
void regSetRaw(reg::Key root, const std::string& path, const std::string& name, Dword type,
               const std::string& bytes);
// An 8-bit string stored as REG_SZ with its terminator (terminated = false stores it
// without one).
void regSetString(reg::Key root, const std::string& path, const std::string& name,
                  const std::string& value, bool terminated = true);
void regSetDword(reg::Key root, const std::string& path, const std::string& name, Dword value);
void regSetBinary(reg::Key root, const std::string& path, const std::string& name,
                  const std::string& bytes);
void regDeleteValue(reg::Key root, const std::string& path, const std::string& name);
// Deletes the key and everything below it.
void regDeleteTree(reg::Key root, const std::string& path);
bool regKeyExists(reg::Key root, const std::string& path);
std::optional<RegValue> regValue(reg::Key root, const std::string& path, const std::string& name);
// The value as an 8-bit string, up to its first terminator.
std::optional<std::string> regString(reg::Key root, const std::string& path,
                                     const std::string& name);
std::optional<Dword> regDword(reg::Key root, const std::string& path, const std::string& name);
std::vector<std::string> regSubKeys(reg::Key root, const std::string& path);
std::vector<std::string> regValueNames(reg::Key root, const std::string& path);
// 32 or 64: the view a call without a view flag sees.
void setProcessBits(int bits);

// ---- files ---------------------------------------------------------------------------------
// Paths are case-insensitive; '/' and '\' are the same separator; relative paths start at the
// current folder. fileWrite makes the folders it needs; the seam's calls, like the platform's,
// fail with err::pathNotFound in a folder that does not exist.
void fileWrite(const std::string& path, const std::string& content);
std::optional<std::string> fileRead(const std::string& path);
bool fileExists(const std::string& path);
void fileRemove(const std::string& path);
// Makes the folder and its parents. C:\sim (the current folder), C:\Temp, C:\Windows and
// C:\Users\user exist after reset.
void folderCreate(const std::string& path);
std::vector<std::string> files();

// ---- environment ---------------------------------------------------------------------------
void envSet(const std::string& name, const std::string& value);

// ---- fault injection -----------------------------------------------------------------------
// The next `times` calls of the named seam call fail with error, after `skip` calls that
// succeed. Call names are the platform's: "RegOpenKeyEx", "RegCreateKeyEx", "RegQueryValueEx",
// "RegSetValueEx", "RegDeleteValue", "RegDeleteKeyEx", "RegEnumKeyEx", "RegEnumValue",
// "RegQueryInfoKey", "CreateFile", "ReadFile", "WriteFile", "SetFilePointerEx",
// "GetFileSizeEx", "DeleteFile", "GlobalAlloc", "GlobalLock", "HeapAlloc", and those of later
// areas. A registry call returns the error; the others fail and set it as the last error.
void failCall(const std::string& call, Dword error, int times = 1, int skip = 0);
void clearFaults();
// For seam implementations: the error to fail with when a fault is due for this call, else 0.
Dword takeFault(const char* call);

// ---- accounting ----------------------------------------------------------------------------
// Every key, file and other handle, and every global or heap block, still open.
struct OpenResources {
    std::size_t keys = 0;
    std::size_t files = 0;
    std::size_t globals = 0;
    std::size_t heapBlocks = 0;
    std::size_t others = 0;  // handles of later areas
    std::size_t total() const { return keys + files + globals + heapBlocks + others; }
};
OpenResources openResources();
// One line per open resource, for failure messages.
std::vector<std::string> describeOpenResources();

// Later areas of the simulation register their reset here and report their open handles.
void onReset(std::function<void()> resetArea);
void addOpenResourceSource(std::function<std::vector<std::string>()> describe);

}  // namespace win::sim
