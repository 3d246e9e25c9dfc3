#include "jobhost/launch/application_start.h"

#include <cstring>

#include "jobhost/launch/start_command.h"
#include "jobhost/launch/start_flags.h"
#include "win/event.h"
#include "win/process.h"

namespace {

// Whether szText is terminated within a field of nFieldSize bytes.
bool FitsField(const char* szText, std::size_t nFieldSize) {
    return std::memchr(szText, '\0', nFieldSize) != nullptr;
}

win::Word ShowSetting(std::uint32_t dwFlags) {
    if (dwFlags & START_APP_HIDDEN) return win::process::show::hide;
    if (dwFlags & START_APP_MINIMIZED) return win::process::show::showMinimized;
    return win::process::show::show;
}

}  // namespace

void StartApplication(const char* szCommandLine, const char* szApplication, std::uint32_t dwFlags,
                      const char* szMessagingInterfaceName) {
    if (!(dwFlags & START_APP_RUN) || !szApplication) return;
    if (!FitsField(szApplication, START_APP_SERVER_SIZE)) return;
    if (szCommandLine && (dwFlags & START_APP_PASS_ARGUMENTS) &&
        !FitsField(szCommandLine, START_APP_COMMAND_LINE_SIZE))
        return;

    char szFolder[START_APP_SERVER_SIZE];
    const bool bHasFolder = GetApplicationFolder(szApplication, szFolder, sizeof szFolder) == 1;

    win::process::StartupInfo stStartup;
    stStartup.flags = win::process::startf::useShowWindow;
    stStartup.showWindow = ShowSetting(dwFlags);

    char szProcessLine[START_APP_PROCESS_LINE_SIZE];
    if (!BuildProcessCommandLine(szApplication, szCommandLine, dwFlags, szProcessLine,
                                 sizeof szProcessLine))
        return;

    // The waiting party created the event; a name that names none leaves nothing to signal.
    win::event::UniqueEvent hEvent;
    if ((dwFlags & START_APP_BEFORE_PRINTING) && szMessagingInterfaceName &&
        szMessagingInterfaceName[0] != '\0' &&
        FitsField(szMessagingInterfaceName, START_APP_EVENT_NAME_SIZE)) {
        hEvent.reset(
            win::event::open(win::event::access::modifyState, false, szMessagingInterfaceName));
        if (hEvent) win::event::reset(hEvent.get());
    }

    win::process::UniqueProcess hProcess;
    if (!win::process::create(szProcessLine, true, 0, bHasFolder ? szFolder : nullptr, stStartup,
                              hProcess.put()))
        return;  // the event stays reset
    win::process::waitForInputIdle(hProcess.get().process, win::process::infinite);
    hProcess.reset();
    if (hEvent) win::event::set(hEvent.get());
}
