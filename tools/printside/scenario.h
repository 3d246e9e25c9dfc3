// A printing-side scenario: what the driver and its port monitor write for one job, and when.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace printside {

struct RegistryValue {
    enum class Kind { string, dword, binary };
    std::string name;
    Kind kind = Kind::string;
    std::string bytes;  // string text (without terminator) or raw bytes
    std::uint32_t number = 0;
    bool terminated = true;  // strings only
};

struct Step {
    enum class Target {
        jobKey,            // SOFTWARE\<vendor>\<printer>\<job>
        forwardingKey,     // ...\Forwarding\<job>_<page>; page 0 is the job's own entry
        page,              // a page file, then its forwarding key with "Ready" written last
        redirectSettings,  // the key that forwarding key 0 names, with its printer list
        key,               // any key below SOFTWARE\<vendor>
        file,              // a plain file
        createEvent,       // a named event that printside creates and holds, as the driver does
        waitEvent,         // printside waits until the named event is set before going on
    };
    std::uint64_t atMs = 0;
    // Written before jobhost is started: a job whose keys are all there when it begins.
    bool beforeStart = false;
    Target target = Target::key;
    std::uint32_t page = 0;
    std::string path;  // key path below the vendor key, or the file's path
    std::vector<RegistryValue> values;
    std::vector<std::string> deleteValues;
    bool deleteKey = false;
    std::string fileContent;            // page and file steps
    std::vector<std::string> printers;  // redirectSettings steps
    std::string label;                  // what the step does, for the timeline
    std::string eventName;              // event steps
    bool manualReset = true;            // createEvent
    bool initiallySet = false;          // createEvent
    std::uint64_t timeoutMs = 30000;    // waitEvent
};

struct Scenario {
    std::string name;
    std::string printerKeyName;
    std::int32_t jobNumber = 0;
    // The command line jobhost gets; "<job>,<printer key name>" unless given.
    std::string commandLine;
    std::vector<Step> steps;  // in the order they are to happen
};

// The vendor key below HKEY_CURRENT_USER that every job key lives in.
inline constexpr const char* kVendorKey = "SOFTWARE\\Korvanex Software LLC";

// Reads a scenario; files named by "source" are taken relative to baseFolder. On failure
// returns nothing and says why in error.
std::optional<Scenario> parseScenario(const std::string& json, const std::string& baseFolder,
                                      std::string* error);
std::optional<Scenario> loadScenario(const std::string& path, std::string* error);

// The full key path (below HKEY_CURRENT_USER) that a step writes.
std::string keyPathOf(const Scenario& scenario, const Step& step);

}  // namespace printside
