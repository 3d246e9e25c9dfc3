// The simulated machine's core: text and path helpers, the handle table, faults, accounting
// and reset.
#include "win/sim/machine.h"

#include <cstring>
#include <functional>

#include "state.h"

namespace win::sim::detail {

std::u16string widen(const char* text, std::size_t length) {
    std::u16string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i)
        out.push_back(char16_t(static_cast<unsigned char>(text[i])));
    return out;
}

std::u16string widen(const char* text) {
    return text ? widen(text, std::strlen(text)) : u"";
}

std::string narrow(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c < 0x100 ? char(c) : '?');
    return out;
}

std::u16string fromUtf16(const char16_t* text) {
    if (!text) return u"";
    std::u16string out;
    while (*text) out.push_back(*text++);
    return out;
}

char16_t foldCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return char16_t(c - 32);
    // Latin-1 small letters, but not the division sign and y with diaeresis.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 32);
    return c;
}

std::u16string folded(const std::u16string& text) {
    std::u16string out(text);
    for (char16_t& c : out) c = foldCase(c);
    return out;
}

RegValueEntry* RegNode::findValue(const std::u16string& valueName) {
    std::u16string key = folded(valueName);
    for (RegValueEntry& value : values)
        if (folded(value.name) == key) return &value;
    return nullptr;
}

bool isStringType(Dword type) {
    return type == 1 || type == 2 || type == 7;
}

std::string fullPath(const std::string& path) {
    std::string p(path);
    for (char& c : p)
        if (c == '/') c = '\\';
    if (p.empty()) return "";
    std::string base;
    if (p.size() >= 2 && p[1] == ':') {
        base = p.substr(0, 2);
        p = p.substr(2);
        if (p.empty() || p[0] != '\\') p = "\\" + p;  // drive-relative taken from the root
    } else if (p[0] == '\\') {
        base = machine().fs.currentFolder.substr(0, 2);
    } else {
        const std::string& cwd = machine().fs.currentFolder;
        base = cwd.substr(0, 2);
        p = cwd.substr(2) + "\\" + p;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= p.size()) {
        std::size_t end = p.find('\\', start);
        if (end == std::string::npos) end = p.size();
        std::string part = p.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out = base;
    if (parts.empty()) return out + "\\";
    for (const std::string& part : parts) out += "\\" + part;
    return out;
}

std::string foldedPath(const std::string& full) {
    return narrow(folded(widen(full.c_str())));
}

std::string parentOf(const std::string& full) {
    std::size_t slash = full.rfind('\\');
    if (slash == std::string::npos || slash <= 2) return full.substr(0, 2) + "\\";
    return full.substr(0, slash);
}

std::uintptr_t Machine::addHandle(HandleEntry entry) {
    std::uintptr_t value = nextHandle;
    nextHandle += 4;
    handles.emplace(value, std::move(entry));
    return value;
}

HandleEntry* Machine::findHandle(std::uintptr_t value, HandleKind kind) {
    auto it = handles.find(value);
    if (it == handles.end() || it->second.kind != kind) return nullptr;
    return &it->second;
}

namespace {

std::vector<std::function<void()>>& resetHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

std::vector<std::function<std::vector<std::string>()>>& resourceSources() {
    static std::vector<std::function<std::vector<std::string>()>> sources;
    return sources;
}

struct FaultRule {
    std::string call;
    Dword error;
    int times;
    int skip;
};

std::vector<FaultRule>& faultRules() {
    static std::vector<FaultRule> rules;
    return rules;
}

void resetCore(Machine& m) {
    m.handles.clear();
    m.nextHandle = 0x100;
    for (auto& [memory, size] : m.heapBlocks) ::operator delete(memory);
    m.heapBlocks.clear();
    resetRegistry(m.registry);
    resetFiles(m.fs);
    resetMemory();
    resetClock();
    resetEnvironment();
    resetFaults();
}

}  // namespace

Machine& machine() {
    static Machine* instance = [] {
        auto* m = new Machine;
        resetCore(*m);
        return m;
    }();
    return *instance;
}

void resetFaults() {
    faultRules().clear();
}

namespace {
// The machine is fresh from program start, also for calls that reach an area's state before
// anything touches the registry or the files.
const bool startedFresh = (machine(), true);
}  // namespace

}  // namespace win::sim::detail

namespace win::sim {

using namespace detail;

void reset() {
    resetCore(machine());
    for (auto& hook : resetHooks()) hook();
}

void onReset(std::function<void()> resetArea) {
    resetHooks().push_back(std::move(resetArea));
}

void addOpenResourceSource(std::function<std::vector<std::string>()> describe) {
    resourceSources().push_back(std::move(describe));
}

void failCall(const std::string& call, Dword error, int times, int skip) {
    faultRules().push_back({call, error, times, skip});
}

void clearFaults() {
    faultRules().clear();
}

Dword takeFault(const char* call) {
    for (FaultRule& rule : faultRules()) {
        if (rule.call != call || rule.times <= 0) continue;
        if (rule.skip > 0) {
            --rule.skip;
            return 0;
        }
        --rule.times;
        return rule.error;
    }
    return 0;
}

OpenResources openResources() {
    Machine& m = machine();
    OpenResources open;
    for (auto& [value, entry] : m.handles) {
        if (entry.kind == HandleKind::key) ++open.keys;
        if (entry.kind == HandleKind::file) ++open.files;
    }
    open.globals = liveGlobalBlocks();
    open.heapBlocks = m.heapBlocks.size();
    for (auto& source : resourceSources()) open.others += source().size();
    return open;
}

std::vector<std::string> describeOpenResources() {
    Machine& m = machine();
    std::vector<std::string> lines;
    for (auto& [value, entry] : m.handles) {
        if (entry.kind == HandleKind::key)
            lines.push_back("key " + narrow(entry.key->node->name));
        else
            lines.push_back("file " + entry.file->file->path);
    }
    for (const std::string& line : describeGlobalBlocks()) lines.push_back(line);
    for (auto& [memory, size] : m.heapBlocks)
        lines.push_back("heap block of " + std::to_string(size) + " bytes");
    for (auto& source : resourceSources())
        for (const std::string& line : source()) lines.push_back(line);
    return lines;
}

}  // namespace win::sim
