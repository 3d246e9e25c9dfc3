// Registry calls forwarded to advapi32: the 8-bit overloads to the A functions, the UTF-16 ones
// to the W functions.
#include "win/registry.h"

#include <windows.h>

#include "native_support.h"

namespace win::reg {
namespace {

using native::wide;

// The root keys are sign-extended on 64-bit Windows, so they are mapped rather than cast.
HKEY toHkey(Key key) {
    switch (std::uintptr_t(key)) {
        case std::uintptr_t(classesRoot):
            return HKEY_CLASSES_ROOT;
        case std::uintptr_t(currentUser):
            return HKEY_CURRENT_USER;
        case std::uintptr_t(localMachine):
            return HKEY_LOCAL_MACHINE;
        case std::uintptr_t(users):
            return HKEY_USERS;
        default:
            return reinterpret_cast<HKEY>(std::uintptr_t(key));
    }
}

Key fromHkey(HKEY key) {
    return Key(reinterpret_cast<std::uintptr_t>(key));
}

// Carries an optional in/out count across the DWORD the platform takes.
class Count {
  public:
    explicit Count(Dword* target) : target_(target), value_(target ? *target : 0) {}
    ~Count() {
        if (target_) *target_ = Dword(value_);
    }
    Count(const Count&) = delete;
    Count& operator=(const Count&) = delete;
    DWORD* get() { return target_ ? &value_ : nullptr; }

  private:
    Dword* target_;
    DWORD value_;
};

Long finishOpen(LONG result, HKEY opened, Key* out) {
    if (out) *out = result == ERROR_SUCCESS ? fromHkey(opened) : Key::none;
    return Long(result);
}

}  // namespace

Long openKey(Key parent, const char* subKey, Dword access, Key* result) {
    HKEY opened = nullptr;
    LONG r = ::RegOpenKeyExA(toHkey(parent), subKey, 0, access, result ? &opened : nullptr);
    return finishOpen(r, opened, result);
}

Long openKey(Key parent, const char16_t* subKey, Dword access, Key* result) {
    HKEY opened = nullptr;
    LONG r = ::RegOpenKeyExW(toHkey(parent), wide(subKey), 0, access, result ? &opened : nullptr);
    return finishOpen(r, opened, result);
}

Long createKey(Key parent, const char* subKey, Dword access, Key* result, Dword* disposition) {
    HKEY opened = nullptr;
    Count how(disposition);
    LONG r = ::RegCreateKeyExA(toHkey(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                               nullptr, result ? &opened : nullptr, how.get());
    return finishOpen(r, opened, result);
}

Long createKey(Key parent, const char16_t* subKey, Dword access, Key* result, Dword* disposition) {
    HKEY opened = nullptr;
    Count how(disposition);
    LONG r = ::RegCreateKeyExW(toHkey(parent), wide(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               access, nullptr, result ? &opened : nullptr, how.get());
    return finishOpen(r, opened, result);
}

Long closeKey(Key key) {
    return Long(::RegCloseKey(toHkey(key)));
}

Long queryValue(Key key, const char* name, Dword* type, void* data, Dword* size) {
    Count kind(type), bytes(size);
    return Long(::RegQueryValueExA(toHkey(key), name, nullptr, kind.get(), static_cast<BYTE*>(data),
                                   bytes.get()));
}

Long queryValue(Key key, const char16_t* name, Dword* type, void* data, Dword* size) {
    Count kind(type), bytes(size);
    return Long(::RegQueryValueExW(toHkey(key), wide(name), nullptr, kind.get(),
                                   static_cast<BYTE*>(data), bytes.get()));
}

Long setValue(Key key, const char* name, Dword type, const void* data, Dword size) {
    return Long(::RegSetValueExA(toHkey(key), name, 0, type, static_cast<const BYTE*>(data), size));
}

Long setValue(Key key, const char16_t* name, Dword type, const void* data, Dword size) {
    return Long(
        ::RegSetValueExW(toHkey(key), wide(name), 0, type, static_cast<const BYTE*>(data), size));
}

Long deleteValue(Key key, const char* name) {
    return Long(::RegDeleteValueA(toHkey(key), name));
}

Long deleteValue(Key key, const char16_t* name) {
    return Long(::RegDeleteValueW(toHkey(key), wide(name)));
}

Long deleteKey(Key parent, const char* subKey, Dword view) {
    return Long(::RegDeleteKeyExA(toHkey(parent), subKey, view, 0));
}

Long deleteKey(Key parent, const char16_t* subKey, Dword view) {
    return Long(::RegDeleteKeyExW(toHkey(parent), wide(subKey), view, 0));
}

Long enumKey(Key key, Dword index, char* name, Dword* nameChars) {
    Count chars(nameChars);
    return Long(
        ::RegEnumKeyExA(toHkey(key), index, name, chars.get(), nullptr, nullptr, nullptr, nullptr));
}

Long enumKey(Key key, Dword index, char16_t* name, Dword* nameChars) {
    Count chars(nameChars);
    return Long(::RegEnumKeyExW(toHkey(key), index, wide(name), chars.get(), nullptr, nullptr,
                                nullptr, nullptr));
}

Long enumValue(Key key, Dword index, char* name, Dword* nameChars, Dword* type, void* data,
               Dword* dataSize) {
    Count chars(nameChars), kind(type), bytes(dataSize);
    return Long(::RegEnumValueA(toHkey(key), index, name, chars.get(), nullptr, kind.get(),
                                static_cast<BYTE*>(data), bytes.get()));
}

Long enumValue(Key key, Dword index, char16_t* name, Dword* nameChars, Dword* type, void* data,
               Dword* dataSize) {
    Count chars(nameChars), kind(type), bytes(dataSize);
    return Long(::RegEnumValueW(toHkey(key), index, wide(name), chars.get(), nullptr, kind.get(),
                                static_cast<BYTE*>(data), bytes.get()));
}

Long queryInfoKey(Key key, KeyInfo* info) {
    if (!info) return err::invalidParameter;
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    // The UTF-16 call, so that name lengths are counted in characters as the key stores them.
    LONG r = ::RegQueryInfoKeyW(toHkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKey,
                                nullptr, &values, &maxValueName, &maxValue, nullptr, nullptr);
    if (r != ERROR_SUCCESS) return Long(r);
    info->subKeys = subKeys;
    info->maxSubKeyLength = maxSubKey;
    info->values = values;
    info->maxValueNameLength = maxValueName;
    info->maxValueSize = maxValue;
    return err::success;
}

}  // namespace win::reg
