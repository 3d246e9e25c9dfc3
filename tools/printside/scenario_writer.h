// Plays one scenario step through the Windows seam, as the printing side would: on the
// simulated machine in-process, on Windows against the real registry and files.
#pragma once

#include <string>

#include "scenario.h"

namespace printside {

// Returns 0 on success, else the first error code met; describes the step in what.
long applyStep(const Scenario& scenario, const Step& step, std::string* what);

}  // namespace printside
