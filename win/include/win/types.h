// Basic types and error codes of the Windows seam. Values are the platform's own, so the native
// implementation forwards them unchanged; the names are ours so that they never meet the
// platform's macros.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win {

using Dword = std::uint32_t;
using Long = std::int32_t;
using Word = std::uint16_t;
using Byte = std::uint8_t;

// Error codes (the thread's last error and the registry calls' results).
namespace err {
inline constexpr Long success = 0;
inline constexpr Long invalidFunction = 1;
inline constexpr Long fileNotFound = 2;
inline constexpr Long pathNotFound = 3;
inline constexpr Long accessDenied = 5;
inline constexpr Long invalidHandle = 6;
inline constexpr Long notEnoughMemory = 8;
inline constexpr Long outOfMemory = 14;
inline constexpr Long writeFault = 29;
inline constexpr Long readFault = 30;
inline constexpr Long sharingViolation = 32;
inline constexpr Long handleEof = 38;
inline constexpr Long fileExists = 80;
inline constexpr Long invalidParameter = 87;
inline constexpr Long insufficientBuffer = 122;
inline constexpr Long invalidName = 123;
inline constexpr Long negativeSeek = 131;
inline constexpr Long dirNotEmpty = 145;
inline constexpr Long badPathname = 161;
inline constexpr Long alreadyExists = 183;
inline constexpr Long badExeFormat = 193;
inline constexpr Long envvarNotFound = 203;
inline constexpr Long filenameTooLong = 206;
inline constexpr Long moreData = 234;
inline constexpr Long noMoreItems = 259;
inline constexpr Long invalidDirectory = 267;
inline constexpr Long noAccess = 998;
inline constexpr Long possibleDeadlock = 1131;
inline constexpr Long keyDeleted = 1018;
}  // namespace err

// The thread's last error.
Dword getLastError();
void setLastError(Dword error);

}  // namespace win
