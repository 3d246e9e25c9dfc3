// Simulated named events: one object per name, alive while another party holds it or a handle
// is open; every set and reset through the seam is recorded. A wait lets virtual time pass, so
// that scheduled actions can set the event meanwhile.
#include "win/event.h"

#include <map>
#include <memory>

#include "state.h"
#include "win/sim/events.h"
#include "win/sim/machine.h"
#include "win/sim/processes.h"

namespace win::sim::detail {
namespace {

constexpr Dword kPossibleDeadlock = 1131;
constexpr std::size_t kMaxNameLength = 259;
// An endless wait gives up after a virtual day rather than hang the test.
constexpr std::uint64_t kLongestWaitMs = 24ull * 60 * 60 * 1000;

struct SimEvent {
    std::string name;
    bool manualReset = true;
    bool set = false;
    bool heldByOtherParty = false;
    int openHandles = 0;
};

struct OpenEventHandle {
    std::shared_ptr<SimEvent> event;
    Dword access = 0;
};

struct Events {
    std::map<std::string, std::shared_ptr<SimEvent>> named;  // exact, case-sensitive names
    std::map<std::uintptr_t, OpenEventHandle> handles;
    std::vector<win::sim::EventChange> changes;
};

Events& events() {
    static Events e;
    return e;
}

void resetEvents() {
    events() = Events{};
}

std::vector<std::string> describeEventHandles() {
    std::vector<std::string> lines;
    for (auto& [value, handle] : events().handles)
        lines.push_back("event " + (handle.event->name.empty() ? std::string("(unnamed)")
                                                               : handle.event->name));
    return lines;
}

[[maybe_unused]] const bool registered = [] {
    win::sim::onReset(resetEvents);
    win::sim::addOpenResourceSource(describeEventHandles);
    return true;
}();

// The object name that a given name stands for, or an error for one the platform refuses.
Dword objectName(const char* given, std::string* name) {
    std::string text(given);
    if (text.size() > kMaxNameLength) return err::filenameTooLong;
    static const std::string local = "Local\\";
    if (text.compare(0, local.size(), local) == 0) {
        text = text.substr(local.size());
        if (text.empty()) return err::invalidName;
    }
    if (text.find('\\') != std::string::npos && text.compare(0, 7, "Global\\") != 0)
        return err::pathNotFound;
    *name = text;
    return 0;
}

void forget(const std::shared_ptr<SimEvent>& event) {
    if (event->openHandles > 0 || event->heldByOtherParty || event->name.empty()) return;
    auto it = events().named.find(event->name);
    if (it != events().named.end() && it->second == event) events().named.erase(it);
}

event::Handle addHandle(const std::shared_ptr<SimEvent>& event, Dword access) {
    std::uintptr_t value = machine().nextHandle;
    machine().nextHandle += 4;
    events().handles[value] = {event, access};
    ++event->openHandles;
    return event::Handle(value);
}

OpenEventHandle* findHandle(event::Handle handle) {
    auto it = events().handles.find(std::uintptr_t(handle));
    return it == events().handles.end() ? nullptr : &it->second;
}

bool change(event::Handle handle, const char* call, win::sim::EventChange::Kind kind) {
    if (Dword fault = win::sim::takeFault(call)) {
        setLastError(fault);
        return false;
    }
    OpenEventHandle* open = findHandle(handle);
    if (!open) {
        setLastError(err::invalidHandle);
        return false;
    }
    if (!(open->access & event::access::modifyState)) {
        setLastError(err::accessDenied);
        return false;
    }
    open->event->set = kind == win::sim::EventChange::Kind::set;
    events().changes.push_back(
        {open->event->name, kind, win::sim::nowMs(), win::sim::processStarts().size()});
    return true;
}

}  // namespace
}  // namespace win::sim::detail

namespace win::event {

using namespace win::sim::detail;

Handle create(bool manualReset, bool initiallySet, const char* name) {
    if (Dword fault = win::sim::takeFault("CreateEvent")) {
        setLastError(fault);
        return Handle::none;
    }
    std::string objectNameText;
    if (name && *name) {
        if (Dword error = objectName(name, &objectNameText)) {
            setLastError(error);
            return Handle::none;
        }
        auto it = events().named.find(objectNameText);
        if (it != events().named.end()) {
            Handle handle = addHandle(it->second, access::allAccess);
            setLastError(err::alreadyExists);
            return handle;
        }
    }
    auto event = std::make_shared<SimEvent>();
    event->name = objectNameText;
    event->manualReset = manualReset;
    event->set = initiallySet;
    if (!objectNameText.empty()) events().named[objectNameText] = event;
    setLastError(0);
    return addHandle(event, access::allAccess);
}

Handle open(Dword access, bool /*inheritable*/, const char* name) {
    if (Dword fault = win::sim::takeFault("OpenEvent")) {
        setLastError(fault);
        return Handle::none;
    }
    if (!name) {
        setLastError(err::invalidParameter);
        return Handle::none;
    }
    if (!*name) {
        setLastError(err::invalidHandle);
        return Handle::none;
    }
    std::string objectNameText;
    if (Dword error = objectName(name, &objectNameText)) {
        setLastError(error);
        return Handle::none;
    }
    auto it = events().named.find(objectNameText);
    if (it == events().named.end()) {
        setLastError(err::fileNotFound);
        return Handle::none;
    }
    return addHandle(it->second, access);
}

bool reset(Handle event) {
    return change(event, "ResetEvent", win::sim::EventChange::Kind::reset);
}

bool set(Handle event) {
    return change(event, "SetEvent", win::sim::EventChange::Kind::set);
}

bool close(Handle event) {
    auto it = events().handles.find(std::uintptr_t(event));
    if (it == events().handles.end()) {
        setLastError(err::invalidHandle);
        return false;
    }
    std::shared_ptr<SimEvent> object = it->second.event;
    events().handles.erase(it);
    --object->openHandles;
    forget(object);
    return true;
}

Dword wait(Handle event, Dword milliseconds) {
    if (Dword fault = win::sim::takeFault("WaitForSingleObject")) {
        setLastError(fault);
        return waitResult::failed;
    }
    OpenEventHandle* open = findHandle(event);
    if (!open) {
        setLastError(err::invalidHandle);
        return waitResult::failed;
    }
    if (!(open->access & access::synchronize)) {
        setLastError(err::accessDenied);
        return waitResult::failed;
    }
    // The object outlives a handle that a scheduled action closes during the wait.
    std::shared_ptr<SimEvent> object = open->event;
    const std::uint64_t start = win::sim::nowMs();
    const std::uint64_t limit = milliseconds == infinite ? kLongestWaitMs : milliseconds;
    for (;;) {
        if (object->set) {
            if (!object->manualReset) object->set = false;
            return waitResult::signaled;
        }
        const std::uint64_t waited = win::sim::nowMs() - start;
        if (waited >= limit) break;
        if (win::sim::pendingActions() == 0) {
            // Nothing is left that could set it.
            if (milliseconds == infinite) {
                setLastError(kPossibleDeadlock);
                return waitResult::failed;
            }
            win::sim::advance(limit - waited);
            break;
        }
        win::sim::advance(1);
    }
    if (milliseconds == infinite) {
        setLastError(kPossibleDeadlock);
        return waitResult::failed;
    }
    return waitResult::timeout;
}

}  // namespace win::event

namespace win::sim {

using namespace detail;

void eventCreate(const std::string& name, bool manualReset, bool initiallySet) {
    auto it = events().named.find(name);
    if (it != events().named.end()) {
        it->second->heldByOtherParty = true;
        return;
    }
    auto event = std::make_shared<SimEvent>();
    event->name = name;
    event->manualReset = manualReset;
    event->set = initiallySet;
    event->heldByOtherParty = true;
    events().named[name] = event;
}

void eventRemove(const std::string& name) {
    auto it = events().named.find(name);
    if (it == events().named.end()) return;
    std::shared_ptr<SimEvent> event = it->second;
    event->heldByOtherParty = false;
    forget(event);
}

std::optional<bool> eventIsSet(const std::string& name) {
    auto it = events().named.find(name);
    if (it == events().named.end()) return std::nullopt;
    return it->second->set;
}

std::vector<EventChange> eventChanges() {
    return events().changes;
}

}  // namespace win::sim
