// jobhost.exe: started by the printing side once per print job, with "<job>,<printer key name>"
// on its command line. No window; the exit code is 0 on every path.
#include "jobhost/monitor/job_monitor.h"

struct HINSTANCE__;

// The C runtime passes the command line without the program's own name.
extern "C" int __stdcall WinMain(HINSTANCE__*, HINSTANCE__*, char* szCommandLine, int) {
    RunProductionJobMonitor(szCommandLine);
    return 0;
}
