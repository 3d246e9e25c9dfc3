// File calls forwarded to kernel32.
#include "win/file.h"

#include <windows.h>

#include "native_support.h"

namespace win::file {
namespace {

using native::wide;

HANDLE toHandle(Handle file) {
    return native::raw(file);
}

Handle fromHandle(HANDLE file) {
    return native::wrap<Handle>(file);
}

bool fail(DWORD error) {
    ::SetLastError(error);
    return false;
}

}  // namespace

Handle create(const char* name, Dword access, Dword shareMode, Dword disposition,
              Dword attributes) {
    return fromHandle(
        ::CreateFileA(name, access, shareMode, nullptr, disposition, attributes, nullptr));
}

Handle create(const char16_t* name, Dword access, Dword shareMode, Dword disposition,
              Dword attributes) {
    return fromHandle(
        ::CreateFileW(wide(name), access, shareMode, nullptr, disposition, attributes, nullptr));
}

bool read(Handle file, void* buffer, Dword toRead, Dword* bytesRead) {
    // The platform needs the count when the call is not overlapped.
    DWORD count = 0;
    BOOL ok = ::ReadFile(toHandle(file), buffer, toRead, &count, nullptr);
    if (bytesRead) *bytesRead = count;
    return ok != FALSE;
}

bool write(Handle file, const void* data, Dword toWrite, Dword* bytesWritten) {
    DWORD count = 0;
    BOOL ok = ::WriteFile(toHandle(file), data, toWrite, &count, nullptr);
    if (bytesWritten) *bytesWritten = count;
    return ok != FALSE;
}

bool setPointer(Handle file, std::int64_t distance, Dword method, std::int64_t* newPosition) {
    LARGE_INTEGER move;
    move.QuadPart = distance;
    LARGE_INTEGER reached;
    reached.QuadPart = 0;
    BOOL ok = ::SetFilePointerEx(toHandle(file), move, &reached, method);
    if (ok && newPosition) *newPosition = reached.QuadPart;
    return ok != FALSE;
}

bool getSize(Handle file, std::int64_t* size) {
    if (!size) return fail(ERROR_NOACCESS);
    LARGE_INTEGER bytes;
    bytes.QuadPart = 0;
    if (!::GetFileSizeEx(toHandle(file), &bytes)) return false;
    *size = bytes.QuadPart;
    return true;
}

bool close(Handle file) {
    // The invalid value is also the process's own pseudo-handle, which closing would accept.
    if (file == invalid) return fail(ERROR_INVALID_HANDLE);
    return ::CloseHandle(toHandle(file)) != FALSE;
}

bool remove(const char* name) {
    return ::DeleteFileA(name) != FALSE;
}

bool remove(const char16_t* name) {
    return ::DeleteFileW(wide(name)) != FALSE;
}

Dword getAttributes(const char* name) {
    return Dword(::GetFileAttributesA(name));
}

Dword getAttributes(const char16_t* name) {
    return Dword(::GetFileAttributesW(wide(name)));
}

}  // namespace win::file
