// The shell's execute request: open (or edit, explore, ...) a file, a folder or a program the
// way the shell would, with no owner window. The result is the platform's: greater than 32 on
// success, otherwise one of the codes below.
#pragma once

#include <cstdint>

#include "win/process.h"
#include "win/types.h"

namespace win::shell {

namespace result {
inline constexpr std::intptr_t outOfResources = 0;
inline constexpr std::intptr_t fileNotFound = 2;
inline constexpr std::intptr_t pathNotFound = 3;
inline constexpr std::intptr_t accessDenied = 5;
inline constexpr std::intptr_t outOfMemory = 8;
inline constexpr std::intptr_t badFormat = 11;
inline constexpr std::intptr_t shareViolation = 26;
inline constexpr std::intptr_t associationIncomplete = 27;
inline constexpr std::intptr_t ddeTimeout = 28;
inline constexpr std::intptr_t ddeFail = 29;
inline constexpr std::intptr_t ddeBusy = 30;
inline constexpr std::intptr_t noAssociation = 31;
inline constexpr std::intptr_t dllNotFound = 32;
// Results up to this one are failures.
inline constexpr std::intptr_t lastFailure = 32;
}  // namespace result

// verb null asks for the file type's default verb; parameters and folder may be null;
// showCommand is one of process::show.
std::intptr_t execute(const char* verb, const char* file, const char* parameters,
                      const char* folder, int showCommand);

inline bool succeeded(std::intptr_t executeResult) {
    return executeResult > result::lastFailure;
}

}  // namespace win::shell
