// Bits of the job key's "Flags" (application start) and "Post Print Flags" values.
#pragma once

#include <cstdint>

// Start flags.
inline constexpr std::uint32_t START_APP_RUN = 0x1;
inline constexpr std::uint32_t START_APP_BEFORE_PRINTING = 0x2;  // and signal the event
inline constexpr std::uint32_t START_APP_PASS_ARGUMENTS = 0x4;
inline constexpr std::uint32_t START_APP_MINIMIZED = 0x10;
inline constexpr std::uint32_t START_APP_HIDDEN = 0x20;  // wins over START_APP_MINIMIZED

// Post-print flags, run in this order: folder, e-mail, file, SharePoint.
inline constexpr std::uint32_t POST_PRINT_OPEN_FOLDER = 0x1;
inline constexpr std::uint32_t POST_PRINT_SEND_EMAIL = 0x2;
inline constexpr std::uint32_t POST_PRINT_OPEN_FILE = 0x4;
inline constexpr std::uint32_t POST_PRINT_UPLOAD_SHAREPOINT = 0x8;
