// Shared by the native implementations: UTF-16 text as the W functions take it, and the seam's
// handle values as the platform's HANDLE.
#pragma once

#include <windows.h>

#include <cstdint>

namespace win::native {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the UTF-16 calls need a 16-bit wchar_t");

inline const wchar_t* wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}

template <typename SeamHandle>
HANDLE raw(SeamHandle handle) {
    return reinterpret_cast<HANDLE>(std::uintptr_t(handle));
}
template <typename SeamHandle>
SeamHandle wrap(HANDLE handle) {
    return SeamHandle(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace win::native
