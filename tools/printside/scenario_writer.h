// Plays scenario steps through the Windows seam, as the printing side would: on the simulated
// machine in-process, on Windows against the real registry, files and events.
#pragma once

#include <string>
#include <vector>

#include "scenario.h"
#include "win/event.h"

namespace printside {

class StepPlayer {
  public:
    // Returns 0 on success, else the first error code met; describes the step in what. A
    // waitEvent step blocks until the event is set or its time is up (1460 then).
    long play(const Scenario& scenario, const Step& step, std::string* what);

  private:
    // The events printside created stay open for the whole run.
    std::vector<win::event::UniqueEvent> events_;
};

}  // namespace printside
