// The simulated file system: files in memory, folders that exist when made or when a file is
// put in them, the platform's sharing rules between open handles.
#include "win/file.h"

#include <algorithm>
#include <cstring>

#include "state.h"
#include "win/sim/machine.h"

namespace win::file {
namespace {

using namespace win::sim::detail;

std::string toPath(const char* name) {
    return name ? std::string(name) : std::string();
}
std::string toPath(const char16_t* name) {
    return name ? narrow(fromUtf16(name)) : std::string();
}

bool folderExists(const std::string& full) {
    if (full.size() == 3 && full[1] == ':') return true;  // a drive root
    return machine().fs.folders.count(foldedPath(full)) > 0;
}

OpenFileState* openState(Handle file) {
    HandleEntry* entry = machine().findHandle(std::uintptr_t(file), HandleKind::file);
    return entry ? entry->file.get() : nullptr;
}

// Whether a new open with access and shareMode is compatible with every open handle.
bool sharingAllows(const SimFile* target, Dword wantedAccess, Dword shareMode) {
    for (auto& [value, entry] : machine().handles) {
        if (entry.kind != HandleKind::file || entry.file->file.get() != target) continue;
        const OpenFileState& other = *entry.file;
        if ((wantedAccess & access::genericRead) && !(other.share & share::read)) return false;
        if ((wantedAccess & access::genericWrite) && !(other.share & share::write)) return false;
        if ((other.access & access::genericRead) && !(shareMode & share::read)) return false;
        if ((other.access & access::genericWrite) && !(shareMode & share::write)) return false;
    }
    return true;
}

bool fail(Dword error) {
    setLastError(error);
    return false;
}

Handle createImpl(const std::string& name, Dword wanted, Dword shareMode, Dword disposition) {
    if (Dword fault = win::sim::takeFault("CreateFile")) {
        setLastError(fault);
        return invalid;
    }
    std::string full = fullPath(name);
    if (full.empty() || name.empty()) {
        setLastError(err::pathNotFound);
        return invalid;
    }
    FileSystem& fs = machine().fs;
    std::string key = foldedPath(full);
    if (fs.folders.count(key) || (full.size() == 3 && full[1] == ':')) {
        setLastError(err::accessDenied);
        return invalid;
    }
    if (!folderExists(parentOf(full))) {
        setLastError(err::pathNotFound);
        return invalid;
    }
    auto it = fs.files.find(key);
    bool exists = it != fs.files.end();
    if (disposition < disposition::createNew || disposition > disposition::truncateExisting) {
        setLastError(err::invalidParameter);
        return invalid;
    }
    if (disposition == disposition::truncateExisting && !(wanted & access::genericWrite)) {
        setLastError(err::invalidParameter);
        return invalid;
    }
    if (exists && disposition == disposition::createNew) {
        setLastError(err::fileExists);
        return invalid;
    }
    if (!exists && (disposition == disposition::openExisting ||
                    disposition == disposition::truncateExisting)) {
        setLastError(err::fileNotFound);
        return invalid;
    }
    if (exists && !sharingAllows(it->second.get(), wanted, shareMode)) {
        setLastError(err::sharingViolation);
        return invalid;
    }
    std::shared_ptr<SimFile> file;
    if (exists) {
        file = it->second;
        if (disposition == disposition::createAlways ||
            disposition == disposition::truncateExisting)
            file->content.clear();
    } else {
        file = std::make_shared<SimFile>();
        file->path = full;
        fs.files.emplace(key, file);
    }
    auto state = std::make_shared<OpenFileState>();
    state->file = file;
    state->access = wanted;
    state->share = shareMode;
    Handle handle = Handle(machine().addHandle({HandleKind::file, nullptr, state}));
    bool reportsExisting = exists && (disposition == disposition::createAlways ||
                                      disposition == disposition::openAlways);
    setLastError(reportsExisting ? Dword(err::alreadyExists) : Dword(err::success));
    return handle;
}

bool removeImpl(const std::string& name) {
    if (Dword fault = win::sim::takeFault("DeleteFile")) return fail(fault);
    std::string full = fullPath(name);
    FileSystem& fs = machine().fs;
    std::string key = foldedPath(full);
    if (full.empty()) return fail(err::pathNotFound);
    if (fs.folders.count(key)) return fail(err::accessDenied);
    auto it = fs.files.find(key);
    if (it == fs.files.end())
        return fail(folderExists(parentOf(full)) ? err::fileNotFound : err::pathNotFound);
    for (auto& [value, entry] : machine().handles)
        if (entry.kind == HandleKind::file && entry.file->file == it->second &&
            !(entry.file->share & share::remove))
            return fail(err::sharingViolation);
    fs.files.erase(it);
    return true;
}

Dword attributesImpl(const std::string& name) {
    std::string full = fullPath(name);
    if (full.empty()) {
        setLastError(err::pathNotFound);
        return invalidAttributes;
    }
    std::string key = foldedPath(full);
    if (folderExists(full)) return attributeDirectory;
    if (machine().fs.files.count(key)) return 0x20;  // archive, as a new file has
    setLastError(folderExists(parentOf(full)) ? err::fileNotFound : err::pathNotFound);
    return invalidAttributes;
}

}  // namespace

Handle create(const char* name, Dword access, Dword shareMode, Dword disposition,
              Dword attributes) {
    (void)attributes;
    return createImpl(toPath(name), access, shareMode, disposition);
}

Handle create(const char16_t* name, Dword access, Dword shareMode, Dword disposition,
              Dword attributes) {
    (void)attributes;
    return createImpl(toPath(name), access, shareMode, disposition);
}

bool read(Handle file, void* buffer, Dword toRead, Dword* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (Dword fault = win::sim::takeFault("ReadFile")) return fail(fault);
    OpenFileState* state = openState(file);
    if (!state) return fail(err::invalidHandle);
    if (!(state->access & access::genericRead)) return fail(err::accessDenied);
    if (!buffer && toRead) return fail(err::noAccess);
    const std::string& content = state->file->content;
    std::int64_t available =
        std::max<std::int64_t>(0, std::int64_t(content.size()) - state->position);
    Dword count = Dword(std::min<std::int64_t>(available, toRead));
    if (count) std::memcpy(buffer, content.data() + state->position, count);
    state->position += count;
    if (bytesRead) *bytesRead = count;
    return true;
}

bool write(Handle file, const void* data, Dword toWrite, Dword* bytesWritten) {
    if (bytesWritten) *bytesWritten = 0;
    if (Dword fault = win::sim::takeFault("WriteFile")) return fail(fault);
    OpenFileState* state = openState(file);
    if (!state) return fail(err::invalidHandle);
    if (!(state->access & access::genericWrite)) return fail(err::accessDenied);
    if (!data && toWrite) return fail(err::noAccess);
    std::string& content = state->file->content;
    std::size_t end = std::size_t(state->position) + toWrite;
    if (content.size() < end) content.resize(end, '\0');
    if (toWrite) std::memcpy(content.data() + state->position, data, toWrite);
    state->position += toWrite;
    if (bytesWritten) *bytesWritten = toWrite;
    return true;
}

bool setPointer(Handle file, std::int64_t distance, Dword method, std::int64_t* newPosition) {
    if (Dword fault = win::sim::takeFault("SetFilePointerEx")) return fail(fault);
    OpenFileState* state = openState(file);
    if (!state) return fail(err::invalidHandle);
    std::int64_t base = 0;
    if (method == seek::current)
        base = state->position;
    else if (method == seek::end)
        base = std::int64_t(state->file->content.size());
    else if (method != seek::begin)
        return fail(err::invalidParameter);
    if (base + distance < 0) return fail(err::negativeSeek);
    state->position = base + distance;
    if (newPosition) *newPosition = state->position;
    return true;
}

bool getSize(Handle file, std::int64_t* size) {
    if (Dword fault = win::sim::takeFault("GetFileSizeEx")) return fail(fault);
    OpenFileState* state = openState(file);
    if (!state) return fail(err::invalidHandle);
    if (!size) return fail(err::noAccess);
    *size = std::int64_t(state->file->content.size());
    return true;
}

bool close(Handle file) {
    if (!openState(file)) return fail(err::invalidHandle);
    machine().handles.erase(std::uintptr_t(file));
    return true;
}

bool remove(const char* name) {
    return removeImpl(toPath(name));
}
bool remove(const char16_t* name) {
    return removeImpl(toPath(name));
}
Dword getAttributes(const char* name) {
    return attributesImpl(toPath(name));
}
Dword getAttributes(const char16_t* name) {
    return attributesImpl(toPath(name));
}

}  // namespace win::file

// ---- control API ----------------------------------------------------------------------------
namespace win::sim {

using namespace detail;

namespace detail {
void resetFiles(FileSystem& fs) {
    fs.files.clear();
    fs.folders.clear();
    fs.currentFolder = "C:\\sim";
    for (const char* folder : {"C:\\sim", "C:\\Temp", "C:\\Windows", "C:\\Windows\\System32",
                               "C:\\Users", "C:\\Users\\user", "C:\\Users\\user\\AppData",
                               "C:\\Users\\user\\AppData\\Roaming", "C:\\Program Files"})
        fs.folders.insert(foldedPath(folder));
}
}  // namespace detail

namespace {
void makeFolders(const std::string& full) {
    std::string folder = parentOf(full);
    while (folder.size() > 3) {
        machine().fs.folders.insert(foldedPath(folder));
        folder = parentOf(folder);
    }
}
}  // namespace

void fileWrite(const std::string& path, const std::string& content) {
    std::string full = fullPath(path);
    if (full.empty()) return;
    makeFolders(full);
    auto& files = machine().fs.files;
    auto it = files.find(foldedPath(full));
    if (it != files.end()) {
        it->second->content = content;
        return;
    }
    auto file = std::make_shared<SimFile>();
    file->path = full;
    file->content = content;
    files.emplace(foldedPath(full), file);
}

std::optional<std::string> fileRead(const std::string& path) {
    auto& files = machine().fs.files;
    auto it = files.find(foldedPath(fullPath(path)));
    if (it == files.end()) return std::nullopt;
    return it->second->content;
}

bool fileExists(const std::string& path) {
    return machine().fs.files.count(foldedPath(fullPath(path))) > 0;
}

void fileRemove(const std::string& path) {
    machine().fs.files.erase(foldedPath(fullPath(path)));
}

void folderCreate(const std::string& path) {
    std::string full = fullPath(path);
    if (full.empty()) return;
    makeFolders(full + "\\x");
}

std::vector<std::string> files() {
    std::vector<std::string> paths;
    for (auto& [key, file] : machine().fs.files) paths.push_back(file->path);
    return paths;
}

}  // namespace win::sim
