// Simulated processes: a start finds its program among the simulated files by the platform's
// rules for a command line without a module name, is recorded, and gets a process and a thread
// handle; the wait for input idle takes the virtual time a test scripted.
#include "win/process.h"

#include <map>
#include <memory>

#include "state.h"
#include "win/environment.h"
#include "win/sim/machine.h"
#include "win/sim/processes.h"

namespace win::sim::detail {
namespace {

struct SimProcess {
    std::string program;
    std::string commandLine;
    Dword processId = 0;
    bool ended = false;
    Dword exitCode = process::stillActive;
};

struct OpenProcessHandle {
    std::shared_ptr<SimProcess> process;
    bool isThread = false;
};

struct Processes {
    std::vector<ProcessStart> starts;
    std::map<std::uintptr_t, OpenProcessHandle> handles;
    IdleWait defaultWait;
    std::map<std::string, IdleWait> waits;  // by folded full program path
    Dword nextId = 1000;
};

Processes& processes() {
    static Processes p;
    return p;
}

void resetProcesses() {
    processes() = Processes{};
}

std::vector<std::string> describeProcessHandles() {
    std::vector<std::string> lines;
    for (auto& [value, handle] : processes().handles)
        lines.push_back(std::string(handle.isThread ? "thread of " : "process ") +
                        handle.process->commandLine);
    return lines;
}

[[maybe_unused]] const bool registered = [] {
    win::sim::onReset(resetProcesses);
    win::sim::addOpenResourceSource(describeProcessHandles);
    return true;
}();

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool hasExtension(const std::string& name) {
    std::size_t dot = name.rfind('.');
    std::size_t slash = name.find_last_of("\\/");
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool isRunnable(const std::string& full) {
    std::size_t dot = full.rfind('.');
    std::string extension = foldedPath(full.substr(dot));
    return extension == ".EXE" || extension == ".COM" || extension == ".BAT" || extension == ".CMD";
}

std::vector<std::string> searchFolders() {
    std::vector<std::string> folders{machine().fs.currentFolder, "C:\\Windows\\System32",
                                     "C:\\Windows"};
    Dword saved = getLastError();
    char path[4096];
    Dword length = env::getVariable("PATH", path, sizeof path);
    setLastError(saved);
    if (length == 0 || length >= sizeof path) return folders;
    std::string list(path, length);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

// The full path of the program that name stands for, or "" when there is none.
std::string findProgram(std::string name) {
    if (name.empty()) return "";
    if (!hasExtension(name)) name += ".exe";
    if (name.find_first_of("\\/:") != std::string::npos) {
        std::string full = fullPath(name);
        return !full.empty() && win::sim::fileExists(full) ? full : "";
    }
    for (const std::string& folder : searchFolders()) {
        std::string full = fullPath(folder + "\\" + name);
        if (!full.empty() && win::sim::fileExists(full)) return full;
    }
    return "";
}

// The program of a command line: a quoted first token as it stands, otherwise the first
// blank-separated prefix that names a program.
std::string programOf(const std::string& line) {
    if (!line.empty() && line[0] == '"') {
        std::size_t close = line.find('"', 1);
        return findProgram(
            line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    }
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && !isBlank(line[i])) continue;
        if (i == 0) continue;
        std::string found = findProgram(line.substr(0, i));
        if (!found.empty()) return found;
    }
    return "";
}

bool folderExists(const std::string& full) {
    if (full.size() == 3 && full[1] == ':') return true;
    return machine().fs.folders.count(foldedPath(full)) > 0;
}

std::uintptr_t newHandleValue() {
    std::uintptr_t value = machine().nextHandle;
    machine().nextHandle += 4;
    return value;
}

}  // namespace
}  // namespace win::sim::detail

namespace win::process {

using namespace win::sim::detail;

bool create(const char* commandLine, bool inheritHandles, Dword creationFlags,
            const char* currentFolder, const StartupInfo& startup, Info* info) {
    if (Dword fault = win::sim::takeFault("CreateProcess")) {
        setLastError(fault);
        return false;
    }
    if (!commandLine || !info) {
        setLastError(err::invalidParameter);
        return false;
    }
    std::string line(commandLine);
    std::string program = programOf(line);
    if (program.empty()) {
        setLastError(err::fileNotFound);
        return false;
    }
    if (!isRunnable(program)) {
        setLastError(err::badExeFormat);
        return false;
    }
    std::string startFolder = machine().fs.currentFolder;
    if (currentFolder) {
        startFolder = fullPath(currentFolder);
        if (startFolder.empty() || !folderExists(startFolder)) {
            setLastError(err::invalidDirectory);
            return false;
        }
    }

    Processes& all = processes();
    win::sim::ProcessStart start;
    start.commandLine = line;
    start.program = program;
    if (currentFolder) start.folder = std::string(currentFolder);
    start.startFolder = startFolder;
    start.inheritHandles = inheritHandles;
    start.creationFlags = creationFlags;
    start.startupFlags = startup.flags;
    start.showWindow = startup.showWindow;
    start.processId = all.nextId;
    start.atMs = win::sim::nowMs();
    all.starts.push_back(start);

    auto process = std::make_shared<SimProcess>(SimProcess{program, line, all.nextId});
    std::uintptr_t processHandle = newHandleValue();
    std::uintptr_t threadHandle = newHandleValue();
    all.handles[processHandle] = {process, false};
    all.handles[threadHandle] = {process, true};
    info->process = Handle(processHandle);
    info->thread = Handle(threadHandle);
    info->processId = all.nextId;
    info->threadId = all.nextId + 4;
    all.nextId += 8;
    return true;
}

Dword waitForInputIdle(Handle process, Dword milliseconds) {
    if (Dword fault = win::sim::takeFault("WaitForInputIdle")) {
        setLastError(fault);
        return idle::failed;
    }
    Processes& all = processes();
    auto it = all.handles.find(std::uintptr_t(process));
    if (it == all.handles.end() || it->second.isThread) {
        setLastError(err::invalidHandle);
        return idle::failed;
    }
    auto scripted = all.waits.find(foldedPath(it->second.process->program));
    win::sim::IdleWait wait = scripted != all.waits.end() ? scripted->second : all.defaultWait;
    if (milliseconds != infinite && wait.takesMs > milliseconds) {
        win::sim::advance(milliseconds);
        return idle::timeout;
    }
    win::sim::advance(wait.takesMs);
    if (wait.result == idle::failed) setLastError(wait.error);
    return wait.result;
}

namespace {
SimProcess* processOf(Handle handle) {
    auto it = processes().handles.find(std::uintptr_t(handle));
    if (it == processes().handles.end() || it->second.isThread) {
        setLastError(err::invalidHandle);
        return nullptr;
    }
    return it->second.process.get();
}
}  // namespace

Dword waitForExit(Handle handle, Dword milliseconds) {
    if (Dword fault = win::sim::takeFault("WaitForSingleObject")) {
        setLastError(fault);
        return wait::failed;
    }
    SimProcess* process = processOf(handle);
    if (!process) return wait::failed;
    if (process->ended) return wait::signaled;
    if (milliseconds == infinite) {
        // Nothing in the simulation would ever end it: fail rather than hang.
        setLastError(err::possibleDeadlock);
        return wait::failed;
    }
    win::sim::advance(milliseconds);
    return process->ended ? wait::signaled : wait::timeout;
}

bool exitCode(Handle handle, Dword* code) {
    SimProcess* process = processOf(handle);
    if (!process || !code) return false;
    *code = process->exitCode;
    return true;
}

bool terminate(Handle handle, Dword code) {
    SimProcess* process = processOf(handle);
    if (!process) return false;
    if (!process->ended) {
        process->ended = true;
        process->exitCode = code;
    }
    return true;
}

bool close(Handle handle) {
    if (processes().handles.erase(std::uintptr_t(handle)) == 0) {
        setLastError(err::invalidHandle);
        return false;
    }
    return true;
}

}  // namespace win::process

namespace win::sim {

using namespace detail;

bool endProcess(Dword processId, Dword exitCode) {
    for (auto& [value, handle] : processes().handles) {
        if (handle.process->processId == processId && !handle.process->ended) {
            handle.process->ended = true;
            handle.process->exitCode = exitCode;
            return true;
        }
    }
    return false;
}

std::vector<ProcessStart> processStarts() {
    return processes().starts;
}

void setIdleWait(const IdleWait& wait) {
    processes().defaultWait = wait;
}

void setIdleWait(const std::string& program, const IdleWait& wait) {
    processes().waits[foldedPath(fullPath(program))] = wait;
}

}  // namespace win::sim
