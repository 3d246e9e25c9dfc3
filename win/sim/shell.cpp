// The simulated shell: a request finds its file or folder among the simulated files and answers
// from the table of file types and verbs that a test sets; every request is recorded.
#include "win/shell.h"

#include <map>

#include "state.h"
#include "win/sim/machine.h"
#include "win/sim/shell_requests.h"

namespace win::sim::detail {
namespace {

constexpr std::intptr_t kStarted = 42;

struct Shell {
    std::map<std::string, std::map<std::string, std::intptr_t>> types;  // by folded type name
    std::vector<win::sim::ShellRequest> requests;
};

void defaultTypes(Shell& shell) {
    shell.types[foldedPath(".exe")] = {{"open", kStarted}};
    shell.types[foldedPath("Folder")] = {{"open", kStarted}, {"explore", kStarted}};
}

Shell& shellState() {
    static Shell s = [] {
        Shell fresh;
        defaultTypes(fresh);
        return fresh;
    }();
    return s;
}

void resetShell() {
    shellState() = Shell{};
    defaultTypes(shellState());
}

[[maybe_unused]] const bool registered = [] {
    win::sim::onReset(resetShell);
    return true;
}();

std::optional<std::string> given(const char* text) {
    if (!text) return std::nullopt;
    return std::string(text);
}

bool folderExists(const std::string& full) {
    if (full.size() == 3 && full[1] == ':') return true;
    return machine().fs.folders.count(foldedPath(full)) > 0;
}

std::string typeOf(const std::string& full) {
    std::size_t dot = full.rfind('.');
    std::size_t slash = full.rfind('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return full.substr(dot);
}

std::intptr_t answer(const char* verb, const char* file, const char* folder) {
    if (!file || !*file) {
        setLastError(err::invalidParameter);
        return shell::result::badFormat;
    }
    std::string path(file);
    bool relative = !(path.size() >= 2 && path[1] == ':') && path[0] != '\\' && path[0] != '/';
    if (relative && folder && *folder) path = std::string(folder) + "\\" + path;
    std::string full = fullPath(path);
    std::string type;
    if (!full.empty() && folderExists(full)) {
        type = "Folder";
    } else if (!full.empty() && win::sim::fileExists(full)) {
        type = typeOf(full);
    } else {
        // The answer is "file not found" either way; the last error tells the two apart.
        bool folderThere = !full.empty() && folderExists(parentOf(full));
        setLastError(folderThere ? err::fileNotFound : err::pathNotFound);
        return shell::result::fileNotFound;
    }
    auto known = shellState().types.find(foldedPath(type));
    if (known == shellState().types.end() || known->second.empty()) {
        setLastError(err::badExeFormat);
        return shell::result::noAssociation;
    }
    const std::map<std::string, std::intptr_t>& verbs = known->second;
    auto chosen = verbs.end();
    if (verb && *verb) {
        for (auto it = verbs.begin(); it != verbs.end(); ++it)
            if (foldedPath(it->first) == foldedPath(verb)) chosen = it;
    } else {
        // The type's default verb: "open" where it has one, otherwise its first.
        chosen = verbs.find("open");
        if (chosen == verbs.end()) chosen = verbs.begin();
    }
    if (chosen == verbs.end()) {
        setLastError(err::badExeFormat);
        return shell::result::noAssociation;
    }
    if (!shell::succeeded(chosen->second)) setLastError(Dword(chosen->second));
    return chosen->second;
}

}  // namespace
}  // namespace win::sim::detail

namespace win::shell {

using namespace win::sim::detail;

std::intptr_t execute(const char* verb, const char* file, const char* parameters,
                      const char* folder, int showCommand) {
    std::intptr_t outcome;
    if (Dword fault = win::sim::takeFault("ShellExecute")) {
        setLastError(fault);
        outcome = std::intptr_t(fault);
    } else {
        outcome = answer(verb, file, folder);
    }
    shellState().requests.push_back({given(verb), given(file), given(parameters), given(folder),
                                     showCommand, outcome, win::sim::nowMs()});
    return outcome;
}

}  // namespace win::shell

namespace win::sim {

using namespace detail;

void shellSetType(const std::string& type, const std::map<std::string, std::intptr_t>& verbs) {
    shellState().types[foldedPath(type)] = verbs;
}

void shellRemoveType(const std::string& type) {
    shellState().types.erase(foldedPath(type));
}

std::vector<ShellRequest> shellRequests() {
    return shellState().requests;
}

}  // namespace win::sim
