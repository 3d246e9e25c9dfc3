// Reading the job exchange keys: one value at a time into a fixed field. A value that does not
// fit its field counts as missing; so does a string whose bytes fill the field without a
// terminator, since with its terminator it would not fit either. A string that is read is
// always terminated within its field.
#pragma once

#include <cstdint>

#include "win/registry.h"

// Opens a key below HKEY_CURRENT_USER for reading; false when the path is empty or the key
// cannot be opened.
bool OpenExchangeKey(const char* szPath, win::reg::UniqueKey* pKey);

// Reads a string value into szField (nFieldSize bytes). On success the field holds the value
// and a terminator, and *pnBytesRead (when given) the number of bytes stored. On failure the
// field is left as it was.
bool ReadRegistryString(win::reg::Key hKey, const char* szValueName, char* szField,
                        std::uint32_t nFieldSize, std::uint32_t* pnBytesRead = nullptr);

// Reads a 4-byte value; a value of any other size counts as missing. *pdwValue is left as it
// was on failure.
bool ReadRegistryDword(win::reg::Key hKey, const char* szValueName, std::uint32_t* pdwValue);

// The value's bytes as stored, into a field of *pnSize bytes; *pnSize then holds the number of
// bytes read.
bool ReadRegistryBytes(win::reg::Key hKey, const char* szValueName, void* pField,
                       std::uint32_t* pnSize);

// A string read by ReadRegistryString equals the literal byte for byte, terminator included.
bool IsLiteral(const char* szValue, const char* szLiteral);
