// Named events with the platform's contracts: names are case-sensitive and at most 259
// characters ("Local\" names the same object as the bare name); open fails with
// err::fileNotFound when no event has the name; the other calls return false and set the last
// error.
#pragma once

#include "win/types.h"

namespace win::event {

enum class Handle : std::uintptr_t { none = 0 };

namespace access {
inline constexpr Dword modifyState = 0x0002;      // reset and set
inline constexpr Dword synchronize = 0x00100000;  // wait
inline constexpr Dword allAccess = 0x001F0003;
}  // namespace access

// Creating an event is for the party that waits on it (tests, printside). An existing event of
// that name is opened instead, with err::alreadyExists as the last error. name may be null for
// an unnamed event.
Handle create(bool manualReset, bool initiallySet, const char* name);
// Handle::none and the last error when there is no such event.
Handle open(Dword access, bool inheritable, const char* name);
bool reset(Handle event);
bool set(Handle event);
bool close(Handle event);

inline constexpr Dword infinite = 0xFFFFFFFFu;
namespace waitResult {
inline constexpr Dword signaled = 0;
inline constexpr Dword timeout = 258;
inline constexpr Dword failed = 0xFFFFFFFFu;
}  // namespace waitResult

// Waits until the event is set (an auto-reset event is reset by the wait that ends); needs
// access::synchronize.
Dword wait(Handle event, Dword milliseconds);

// Closes its event on every path.
class UniqueEvent {
  public:
    UniqueEvent() = default;
    explicit UniqueEvent(Handle event) : event_(event) {}
    UniqueEvent(const UniqueEvent&) = delete;
    UniqueEvent& operator=(const UniqueEvent&) = delete;
    UniqueEvent(UniqueEvent&& other) noexcept : event_(other.release()) {}
    UniqueEvent& operator=(UniqueEvent&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueEvent() { reset(); }

    Handle get() const { return event_; }
    explicit operator bool() const { return event_ != Handle::none; }
    Handle release() {
        Handle event = event_;
        event_ = Handle::none;
        return event;
    }
    void reset(Handle event = Handle::none) {
        if (event_ != Handle::none) close(event_);
        event_ = event;
    }

  private:
    Handle event_ = Handle::none;
};

}  // namespace win::event
