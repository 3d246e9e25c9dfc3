// Control API of the simulated machine's named events: events that another party (a test, the
// printing side) holds, their state, and each set and reset made through the seam. System code
// never includes this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win::sim {

// Creates a named event that another party holds open until eventRemove or reset; an existing
// one keeps its state.
void eventCreate(const std::string& name, bool manualReset, bool initiallySet);
// The other party closes its hold; the event lives on while handles to it are open.
void eventRemove(const std::string& name);
// The state of the named event; none when no event has the name.
std::optional<bool> eventIsSet(const std::string& name);

// A successful set or reset through the seam, in call order.
struct EventChange {
    enum class Kind { reset, set };
    std::string name;  // "" for an unnamed event
    Kind kind = Kind::set;
    std::uint64_t atMs = 0;            // virtual time of the call
    std::size_t processesStarted = 0;  // process starts recorded before the call
};
std::vector<EventChange> eventChanges();

}  // namespace win::sim
