// Registry services: 8-bit and UTF-16 key and value calls with the platform's contracts
// (results are error codes; sizes are in/out byte counts; a value that does not fit its field
// reports err::moreData with the size it needs; stored strings need not be terminated).
#pragma once

#include "win/types.h"

namespace win::reg {

enum class Key : std::uintptr_t { none = 0 };

inline constexpr Key classesRoot = Key(0x80000000u);
inline constexpr Key currentUser = Key(0x80000001u);
inline constexpr Key localMachine = Key(0x80000002u);
inline constexpr Key users = Key(0x80000003u);

namespace access {
inline constexpr Dword queryValue = 0x0001;
inline constexpr Dword setValue = 0x0002;
inline constexpr Dword createSubKey = 0x0004;
inline constexpr Dword enumerateSubKeys = 0x0008;
inline constexpr Dword notify = 0x0010;
inline constexpr Dword wow64_64 = 0x0100;  // the 64-bit registry view
inline constexpr Dword wow64_32 = 0x0200;  // the 32-bit registry view
inline constexpr Dword deleteKey = 0x00010000;
inline constexpr Dword read = 0x00020019;
inline constexpr Dword write = 0x00020006;
inline constexpr Dword allAccess = 0x000F003F;
}  // namespace access

namespace type {
inline constexpr Dword none = 0;
inline constexpr Dword sz = 1;
inline constexpr Dword expandSz = 2;
inline constexpr Dword binary = 3;
inline constexpr Dword dword = 4;
inline constexpr Dword multiSz = 7;
inline constexpr Dword qword = 11;
}  // namespace type

// Dispositions reported by createKey.
inline constexpr Dword createdNewKey = 1;
inline constexpr Dword openedExistingKey = 2;

Long openKey(Key parent, const char* subKey, Dword access, Key* result);
Long openKey(Key parent, const char16_t* subKey, Dword access, Key* result);
// Non-volatile key, no class; disposition may be null.
Long createKey(Key parent, const char* subKey, Dword access, Key* result, Dword* disposition);
Long createKey(Key parent, const char16_t* subKey, Dword access, Key* result, Dword* disposition);
Long closeKey(Key key);

// data may be null to ask for the size only; type may be null.
Long queryValue(Key key, const char* name, Dword* type, void* data, Dword* size);
Long queryValue(Key key, const char16_t* name, Dword* type, void* data, Dword* size);
Long setValue(Key key, const char* name, Dword type, const void* data, Dword size);
Long setValue(Key key, const char16_t* name, Dword type, const void* data, Dword size);
Long deleteValue(Key key, const char* name);
Long deleteValue(Key key, const char16_t* name);

// Deletes one key that has no subkeys; view is 0, access::wow64_32 or access::wow64_64.
Long deleteKey(Key parent, const char* subKey, Dword view = 0);
Long deleteKey(Key parent, const char16_t* subKey, Dword view = 0);

// nameChars: in, the field in characters with room for the terminator; out, the length
// without it.
Long enumKey(Key key, Dword index, char* name, Dword* nameChars);
Long enumKey(Key key, Dword index, char16_t* name, Dword* nameChars);
// type, data and dataSize may be null.
Long enumValue(Key key, Dword index, char* name, Dword* nameChars, Dword* type, void* data,
               Dword* dataSize);
Long enumValue(Key key, Dword index, char16_t* name, Dword* nameChars, Dword* type, void* data,
               Dword* dataSize);

struct KeyInfo {
    Dword subKeys = 0;
    Dword maxSubKeyLength = 0;  // characters, without the terminator
    Dword values = 0;
    Dword maxValueNameLength = 0;  // characters, without the terminator
    Dword maxValueSize = 0;        // bytes
};
Long queryInfoKey(Key key, KeyInfo* info);

// Closes its key on every path.
class UniqueKey {
  public:
    UniqueKey() = default;
    explicit UniqueKey(Key key) : key_(key) {}
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;
    UniqueKey(UniqueKey&& other) noexcept : key_(other.release()) {}
    UniqueKey& operator=(UniqueKey&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueKey() { reset(); }

    Key get() const { return key_; }
    explicit operator bool() const { return key_ != Key::none; }
    // For the result argument of openKey and createKey.
    Key* put() {
        reset();
        return &key_;
    }
    Key release() {
        Key key = key_;
        key_ = Key::none;
        return key;
    }
    void reset(Key key = Key::none) {
        if (key_ != Key::none) closeKey(key_);
        key_ = key;
    }

  private:
    Key key_ = Key::none;
};

}  // namespace win::reg
