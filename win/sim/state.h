// Internal state of the simulated machine, shared by its areas. Not part of the control API.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "win/types.h"

namespace win::sim::detail {

// ---- text ---------------------------------------------------------------------------------
// 8-bit text is taken as Latin-1: each byte is one UTF-16 unit below 0x100.
std::u16string widen(const char* text, std::size_t length);
std::u16string widen(const char* text);
std::string narrow(const std::u16string& text);
std::u16string fromUtf16(const char16_t* text);
// Copies text and its terminator out to a caller's 8-bit or UTF-16 buffer, which has room.
template <typename Char>
void copyText(const std::u16string& text, Char* out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if constexpr (sizeof(Char) == 1)
            out[i] = text[i] < 0x100 ? char(text[i]) : '?';
        else
            out[i] = text[i];
    }
    out[text.size()] = 0;
}
// Case folding as the registry and the file system compare names.
char16_t foldCase(char16_t c);
std::u16string folded(const std::u16string& text);

// ---- registry -----------------------------------------------------------------------------
struct RegValueEntry {
    std::u16string name;
    Dword type = 0;
    std::string data;  // string types as UTF-16LE bytes
};

struct RegNode {
    std::u16string name;
    std::map<std::u16string, std::shared_ptr<RegNode>> children;  // by folded name
    std::vector<RegValueEntry> values;                            // in creation order
    RegNode* parent = nullptr;
    bool deleted = false;
    bool isLocalMachineRoot = false;

    RegValueEntry* findValue(const std::u16string& valueName);
};

bool isStringType(Dword type);

struct Registry {
    std::shared_ptr<RegNode> currentUser, localMachine, users, classesRoot;
    int processBits = 32;
};

// ---- files --------------------------------------------------------------------------------
struct SimFile {
    std::string path;  // as first written, normalized separators
    std::string content;
};

struct FileSystem {
    std::map<std::string, std::shared_ptr<SimFile>> files;  // by folded full path
    std::set<std::string> folders;                          // folded full paths
    std::string currentFolder = "C:\\sim";
};

// A full, backslash-separated path with . and .. resolved; "" when it cannot be one.
std::string fullPath(const std::string& path);
std::string foldedPath(const std::string& full);
std::string parentOf(const std::string& full);

// ---- handles ------------------------------------------------------------------------------
enum class HandleKind { key, file };

struct OpenKeyState {
    std::shared_ptr<RegNode> node;
    Dword access = 0;
};

struct OpenFileState {
    std::shared_ptr<SimFile> file;
    Dword access = 0;
    Dword share = 0;
    std::int64_t position = 0;
};

struct HandleEntry {
    HandleKind kind;
    std::shared_ptr<OpenKeyState> key;
    std::shared_ptr<OpenFileState> file;
};

struct Machine {
    Registry registry;
    FileSystem fs;
    std::map<std::uintptr_t, HandleEntry> handles;
    std::uintptr_t nextHandle = 0x100;
    std::map<void*, std::size_t> heapBlocks;

    std::uintptr_t addHandle(HandleEntry entry);
    HandleEntry* findHandle(std::uintptr_t value, HandleKind kind);
};

Machine& machine();
void resetRegistry(Registry& registry);
void resetFiles(FileSystem& fs);
void resetMemory();
void resetClock();
void resetEnvironment();
void resetFaults();
std::size_t liveGlobalBlocks();
std::vector<std::string> describeGlobalBlocks();

}  // namespace win::sim::detail
