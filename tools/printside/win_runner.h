// Plays scenarios against the real registry and files beside real jobhost processes.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "scenario.h"

namespace printside {

struct JobRun {
    bool started = false;
    std::uint32_t startError = 0;  // when it could not be started
    bool ended = false;            // false: still running at the deadline, then terminated
    std::uint32_t exitCode = 0;
    std::uint64_t elapsedMs = 0;  // from its start to its end as seen here
};

// Starts one jobhost per scenario with the scenario's command line, exactly as given (no
// quoting), plays all steps in time order from that moment, and waits for every jobhost to end,
// at most timeoutMs after the start. progress, when given, gets a line per step.
std::vector<JobRun> runJobs(const std::vector<Scenario>& scenarios, const std::string& jobhostPath,
                            std::uint64_t timeoutMs, std::ostream* progress);

// The command-line runner: one job, then the report. Returns 0 when jobhost ended in time.
int runOnWindows(const Scenario& scenario, const std::string& jobhostPath, std::ostream& out);

}  // namespace printside
