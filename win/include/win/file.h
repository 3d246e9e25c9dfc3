// File services with the platform's contracts: create returns file::invalid and sets the last
// error on failure; the other calls return false and set it.
#pragma once

#include "win/types.h"

namespace win::file {

enum class Handle : std::uintptr_t {};
inline constexpr Handle invalid = Handle(~std::uintptr_t(0));

namespace access {
inline constexpr Dword genericRead = 0x80000000u;
inline constexpr Dword genericWrite = 0x40000000u;
}  // namespace access

namespace share {
inline constexpr Dword none = 0;
inline constexpr Dword read = 1;
inline constexpr Dword write = 2;
inline constexpr Dword remove = 4;
}  // namespace share

namespace disposition {
inline constexpr Dword createNew = 1;
inline constexpr Dword createAlways = 2;
inline constexpr Dword openExisting = 3;
inline constexpr Dword openAlways = 4;
inline constexpr Dword truncateExisting = 5;
}  // namespace disposition

inline constexpr Dword attributeNormal = 0x80;
inline constexpr Dword attributeDirectory = 0x10;
inline constexpr Dword invalidAttributes = 0xFFFFFFFFu;

namespace seek {
inline constexpr Dword begin = 0;
inline constexpr Dword current = 1;
inline constexpr Dword end = 2;
}  // namespace seek

Handle create(const char* name, Dword access, Dword shareMode, Dword disposition, Dword attributes);
Handle create(const char16_t* name, Dword access, Dword shareMode, Dword disposition,
              Dword attributes);
bool read(Handle file, void* buffer, Dword toRead, Dword* bytesRead);
bool write(Handle file, const void* data, Dword toWrite, Dword* bytesWritten);
// newPosition may be null.
bool setPointer(Handle file, std::int64_t distance, Dword method, std::int64_t* newPosition);
bool getSize(Handle file, std::int64_t* size);
bool close(Handle file);
bool remove(const char* name);
bool remove(const char16_t* name);
Dword getAttributes(const char* name);
Dword getAttributes(const char16_t* name);

// Closes its file on every path.
class UniqueFile {
  public:
    UniqueFile() = default;
    explicit UniqueFile(Handle file) : file_(file) {}
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    UniqueFile(UniqueFile&& other) noexcept : file_(other.release()) {}
    UniqueFile& operator=(UniqueFile&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueFile() { reset(); }

    Handle get() const { return file_; }
    explicit operator bool() const { return file_ != invalid; }
    Handle release() {
        Handle file = file_;
        file_ = invalid;
        return file;
    }
    void reset(Handle file = invalid) {
        if (file_ != invalid) close(file_);
        file_ = file;
    }

  private:
    Handle file_ = invalid;
};

}  // namespace win::file
