// INI file calls forwarded to kernel32's UTF-16 private profile functions.
#include "win/profile.h"

#include <windows.h>

#include "native_support.h"

namespace win::ini {

using native::wide;

bool writeString(const char16_t* section, const char16_t* key, const char16_t* value,
                 const char16_t* file) {
    return ::WritePrivateProfileStringW(wide(section), wide(key), wide(value), wide(file)) != FALSE;
}

Dword readString(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                 char16_t* buffer, Dword sizeChars, const char16_t* file) {
    if (!buffer || sizeChars == 0) return 0;
    return ::GetPrivateProfileStringW(wide(section), wide(key), wide(defaultValue), wide(buffer),
                                      sizeChars, wide(file));
}

Dword readInt(const char16_t* section, const char16_t* key, Long defaultValue,
              const char16_t* file) {
    return ::GetPrivateProfileIntW(wide(section), wide(key), defaultValue, wide(file));
}

}  // namespace win::ini
