// The job monitor: jobhost's polling loop over one print job.
#pragma once

#include <cstdint>

#include "jobhost/monitor/job_actions.h"

inline constexpr std::uint32_t kCycleSleepMs = 500;
inline constexpr std::uint32_t kAbortWaitMs = 1000;
inline constexpr std::int32_t kMaxCycles = 28800;

// Follows the job named by the command line ("<job number>,<printer key name>", without the
// program's own name) until it and its redirect printing are over, it is aborted, or
// kMaxCycles have passed. Returns the exit code, 0 on every path. On return it has released
// what the end of the process would: the log file and the target records.
int RunJobMonitor(const char* szCommandLine, JobActions& actions);

// The same with the program's own wiring of the other subsystems (production_job_actions.cpp,
// linked into jobhost_app).
int RunProductionJobMonitor(const char* szCommandLine);
