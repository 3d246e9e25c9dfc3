// Environment variables, with the platform's contracts: the result is the length copied
// without the terminator, or the size needed with it when the buffer is too small, or 0 with
// err::envvarNotFound.
#pragma once

#include "win/types.h"

namespace win::env {

Dword getVariable(const char* name, char* buffer, Dword size);
Dword getVariable(const char16_t* name, char16_t* buffer, Dword size);
// value null removes the variable.
bool setVariable(const char* name, const char* value);
bool setVariable(const char16_t* name, const char16_t* value);
// %NAME% references expanded; result as for getVariable, counting the terminator.
Dword expandStrings(const char* source, char* buffer, Dword size);
Dword expandStrings(const char16_t* source, char16_t* buffer, Dword size);

}  // namespace win::env
