// How the job key's start values become a process: its working folder and its command line.
#pragma once

#include <cstddef>
#include <cstdint>

// Field sizes of the job key's values, with their terminators.
inline constexpr std::size_t START_APP_SERVER_SIZE = 260;
inline constexpr std::size_t START_APP_COMMAND_LINE_SIZE = 1024;
inline constexpr std::size_t START_APP_EVENT_NAME_SIZE = 260;
// The program (quoted), a blank and the arguments.
inline constexpr std::size_t START_APP_PROCESS_LINE_SIZE =
    START_APP_SERVER_SIZE + 2 + 1 + START_APP_COMMAND_LINE_SIZE;

// The application string cut at its last backslash, or else at its last colon, exactly as
// stored (a quote stays). 1 with the folder in szFolder; 0 when there is no folder (or no
// room), szFolder then empty.
int GetApplicationFolder(const char* szApplication, char* szFolder, std::size_t nFolderSize);

// The application, quoted when it holds a blank and is not quoted yet, and with
// START_APP_PASS_ARGUMENTS one blank and szCommandLine (none counts as empty). 1 when built; 0
// when it does not fit, szProcessLine then empty.
int BuildProcessCommandLine(const char* szApplication, const char* szCommandLine,
                            std::uint32_t dwFlags, char* szProcessLine, std::size_t nLineSize);
