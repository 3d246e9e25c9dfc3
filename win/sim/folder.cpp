// Folders on the simulated machine.
#include "win/folder.h"

#include "state.h"
#include "win/sim/machine.h"

namespace win::folder {

using namespace win::sim::detail;

namespace {
bool fail(Dword error) {
    setLastError(error);
    return false;
}
}  // namespace

bool create(const char* path) {
    if (Dword fault = win::sim::takeFault("CreateDirectory")) {
        setLastError(fault);
        return false;
    }
    std::string full = path ? fullPath(path) : std::string();
    if (full.empty()) {
        setLastError(err::pathNotFound);
        return false;
    }
    FileSystem& fs = machine().fs;
    std::string key = foldedPath(full);
    bool isRoot = full.size() == 3 && full[1] == ':';
    if (isRoot || fs.folders.count(key) || fs.files.count(key)) {
        setLastError(err::alreadyExists);
        return false;
    }
    std::string parent = parentOf(full);
    bool parentIsRoot = parent.size() == 3 && parent[1] == ':';
    if (!parentIsRoot && !fs.folders.count(foldedPath(parent))) {
        setLastError(err::pathNotFound);
        return false;
    }
    fs.folders.insert(key);
    return true;
}

bool remove(const char* path) {
    if (Dword fault = win::sim::takeFault("RemoveDirectory")) {
        setLastError(fault);
        return false;
    }
    std::string full = path ? fullPath(path) : std::string();
    FileSystem& fs = machine().fs;
    std::string key = foldedPath(full);
    if (full.empty() || !fs.folders.count(key)) {
        setLastError(fs.files.count(key) ? err::invalidDirectory : err::fileNotFound);
        return false;
    }
    std::string prefix = key + "\\";
    for (const auto& [file, entry] : fs.files)
        if (file.compare(0, prefix.size(), prefix) == 0) return fail(err::dirNotEmpty);
    for (const std::string& folder : fs.folders)
        if (folder.compare(0, prefix.size(), prefix) == 0) return fail(err::dirNotEmpty);
    fs.folders.erase(key);
    return true;
}

}  // namespace win::folder
