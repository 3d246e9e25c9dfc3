// Environment variables forwarded to kernel32.
#include "win/environment.h"

#include <windows.h>

namespace win::env {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the UTF-16 calls need a 16-bit wchar_t");

const wchar_t* wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
wchar_t* wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}

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
