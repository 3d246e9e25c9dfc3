// Simulated global blocks and heap: every block is accounted for, uninitialised memory is
// filled with a pattern, and requests beyond what the simulated machine has fail.
#include "win/memory.h"

#include <cstring>
#include <map>
#include <memory>

#include "state.h"
#include "win/sim/machine.h"

namespace win::sim::detail {
namespace {

// Larger requests fail as on a machine whose memory is exhausted.
constexpr std::size_t kMemoryLimit = std::size_t(256) << 20;

struct GlobalBlock {
    std::unique_ptr<unsigned char[]> data;
    std::size_t size = 0;
    Dword flags = 0;
    int locks = 0;
};

std::map<std::uintptr_t, GlobalBlock>& globals() {
    static std::map<std::uintptr_t, GlobalBlock> blocks;
    return blocks;
}

std::uintptr_t nextMoveable = 0x7A0000;

}  // namespace

void resetMemory() {
    globals().clear();
    nextMoveable = 0x7A0000;
}

std::size_t liveGlobalBlocks() {
    return globals().size();
}

std::vector<std::string> describeGlobalBlocks() {
    std::vector<std::string> lines;
    for (auto& [handle, block] : globals())
        lines.push_back("global block of " + std::to_string(block.size) + " bytes");
    return lines;
}

GlobalBlock* findGlobal(mem::Global handle) {
    auto it = globals().find(std::uintptr_t(handle));
    return it == globals().end() ? nullptr : &it->second;
}

}  // namespace win::sim::detail

namespace win::mem {

using namespace win::sim::detail;

Global globalAlloc(Dword flags, std::size_t bytes) {
    if (Dword fault = win::sim::takeFault("GlobalAlloc")) {
        setLastError(fault);
        return Global::none;
    }
    if (bytes > kMemoryLimit) {
        setLastError(err::notEnoughMemory);
        return Global::none;
    }
    GlobalBlock block;
    block.size = bytes;
    block.flags = flags;
    block.data.reset(new unsigned char[bytes ? bytes : 1]);
    std::memset(block.data.get(), (flags & gmem::zeroInit) ? 0 : 0xCD, bytes ? bytes : 1);
    // A fixed block's handle is its address; a moveable one gets a handle of its own.
    std::uintptr_t handle =
        (flags & gmem::moveable) ? (nextMoveable += 8) : std::uintptr_t(block.data.get());
    globals().emplace(handle, std::move(block));
    return Global(handle);
}

void* globalLock(Global handle) {
    if (Dword fault = win::sim::takeFault("GlobalLock")) {
        setLastError(fault);
        return nullptr;
    }
    GlobalBlock* block = findGlobal(handle);
    if (!block) {
        setLastError(err::invalidHandle);
        return nullptr;
    }
    if (!(block->flags & gmem::moveable)) return block->data.get();
    // An empty moveable block has no memory to lock.
    if (block->size == 0) return nullptr;
    ++block->locks;
    return block->data.get();
}

bool globalUnlock(Global handle) {
    GlobalBlock* block = findGlobal(handle);
    if (!block) {
        setLastError(err::invalidHandle);
        return false;
    }
    // A fixed block has no lock count.
    if (!(block->flags & gmem::moveable)) return true;
    // As the platform: false once the lock count is back at zero, with no error.
    if (block->locks > 0) --block->locks;
    setLastError(err::success);
    return block->locks > 0;
}

Global globalFree(Global handle) {
    if (!findGlobal(handle)) {
        setLastError(err::invalidHandle);
        return handle;
    }
    globals().erase(std::uintptr_t(handle));
    return Global::none;
}

std::size_t globalSize(Global handle) {
    GlobalBlock* block = findGlobal(handle);
    if (!block) {
        setLastError(err::invalidHandle);
        return 0;
    }
    return block->size;
}

void* heapAlloc(std::size_t bytes, bool zeroFill) {
    if (win::sim::takeFault("HeapAlloc") || bytes > kMemoryLimit) return nullptr;
    void* memory = ::operator new(bytes ? bytes : 1);
    std::memset(memory, zeroFill ? 0 : 0xCD, bytes ? bytes : 1);
    machine().heapBlocks.emplace(memory, bytes);
    return memory;
}

bool heapFree(void* memory) {
    if (!memory) return true;
    auto& blocks = machine().heapBlocks;
    auto it = blocks.find(memory);
    if (it == blocks.end()) {
        setLastError(err::invalidParameter);
        return false;
    }
    ::operator delete(memory);
    blocks.erase(it);
    return true;
}

}  // namespace win::mem
