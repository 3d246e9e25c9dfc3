// Control API of the simulated shell: the file types it knows, the verbs each answers and the
// requests it received. System code never includes this header.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace win::sim {

// The verbs of a file type and the result each answers (above 32 for success, else a failure
// code). type is an extension with its dot (".pdf", any case) or "Folder" for folders. A request
// whose type lacks the verb answers shell::result::noAssociation. After reset ".exe" knows
// "open" and "Folder" knows "open" and "explore"; any other type is unknown.
void shellSetType(const std::string& type, const std::map<std::string, std::intptr_t>& verbs);
void shellRemoveType(const std::string& type);

// One shell request, in call order; none for an argument given as null.
struct ShellRequest {
    std::optional<std::string> verb;
    std::optional<std::string> file;
    std::optional<std::string> parameters;
    std::optional<std::string> folder;
    int showCommand = 0;
    std::intptr_t result = 0;
    std::uint64_t atMs = 0;
};
std::vector<ShellRequest> shellRequests();

}  // namespace win::sim
