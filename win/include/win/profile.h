// INI file services (the private profile calls) with the platform's contracts: sections and
// keys compared without regard to case, values trimmed, a file created on the first write in
// the 8-bit code page, a file's own encoding (a UTF-16 or UTF-8 byte order mark) kept.
#pragma once

#include "win/types.h"

namespace win::ini {

// Stores value under key in section. A null key removes the whole section, a null value the
// key; removing from a file that does not exist succeeds without making it. false and the
// last error on failure (a null section, a folder that does not exist, a file that cannot be
// opened).
bool writeString(const char16_t* section, const char16_t* key, const char16_t* value,
                 const char16_t* file);

// Copies the value of key in section into buffer (sizeChars characters, terminator included),
// quotes around the value removed; when the file, the section or the key is missing, the
// default (trailing blanks removed; null reads as empty) is copied instead. A value that does
// not fit is cut to sizeChars - 1 characters. Returns the characters copied, without the
// terminator.
// A null key copies the names of the section's keys, a null section the names of the sections:
// each name terminated, the list ended by one more terminator; a list that does not fit is cut
// to sizeChars - 2 characters and ended by two terminators, and sizeChars - 2 is returned.
Dword readString(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                 char16_t* buffer, Dword sizeChars, const char16_t* file);

// The value of key as a number (leading blanks and a sign allowed; "0x", "0o" and "0b" select
// hexadecimal, octal and binary digits; reading stops at the first other character); the
// default when the key is missing or its value empty.
Dword readInt(const char16_t* section, const char16_t* key, Long defaultValue,
              const char16_t* file);

}  // namespace win::ini
