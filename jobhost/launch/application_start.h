// Starting the user's application for a job, before printing (then signalling the
// messaging-interface event once it is ready for input) or after the job was printed.
#pragma once

#include <cstdint>

// szCommandLine: the job key's "Command Line"; szApplication: its "Server"; dwFlags: its
// "Flags" (START_APP_*); szMessagingInterfaceName: the event to signal, or null. Strings longer
// than their job key fields start nothing.
void StartApplication(const char* szCommandLine, const char* szApplication, std::uint32_t dwFlags,
                      const char* szMessagingInterfaceName);
