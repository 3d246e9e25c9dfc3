// Plays a scenario on the simulated machine beside the job monitor, in virtual time.
#pragma once

#include <ostream>

#include "scenario.h"

namespace printside {

// Runs the job with the production wiring of jobhost and writes a timeline of what changed,
// cycle by cycle, and the final report. Returns jobhost's exit code.
int runOnSimulatedMachine(const Scenario& scenario, std::ostream& out);

}  // namespace printside
