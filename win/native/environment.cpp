// Environment variables forwarded to kernel32.
#include "win/environment.h"

#include <windows.h>

#include "native_support.h"

namespace win::env {
namespace {

using native::wide;

}  // namespace

Dword getVariable(const char* name, char* buffer, Dword size) {
    return Dword(::GetEnvironmentVariableA(name, buffer, size));
}

Dword getVariable(const char16_t* name, char16_t* buffer, Dword size) {
    return Dword(::GetEnvironmentVariableW(wide(name), wide(buffer), size));
}

bool setVariable(const char* name, const char* value) {
    return ::SetEnvironmentVariableA(name, value) != FALSE;
}

bool setVariable(const char16_t* name, const char16_t* value) {
    return ::SetEnvironmentVariableW(wide(name), wide(value)) != FALSE;
}

Dword expandStrings(const char* source, char* buffer, Dword size) {
    return Dword(::ExpandEnvironmentStringsA(source, buffer, size));
}

Dword expandStrings(const char16_t* source, char16_t* buffer, Dword size) {
    return Dword(::ExpandEnvironmentStringsW(wide(source), wide(buffer), size));
}

}  // namespace win::env
