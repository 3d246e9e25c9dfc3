// Global memory blocks and the process heap, with the platform's contracts.
#pragma once

#include "win/types.h"

namespace win::mem {

enum class Global : std::uintptr_t { none = 0 };

namespace gmem {
inline constexpr Dword fixed = 0x0000;
inline constexpr Dword moveable = 0x0002;
inline constexpr Dword zeroInit = 0x0040;
}  // namespace gmem

// Global::none and the last error on failure.
Global globalAlloc(Dword flags, std::size_t bytes);
void* globalLock(Global block);
bool globalUnlock(Global block);
// Returns Global::none on success, the block on failure.
Global globalFree(Global block);
std::size_t globalSize(Global block);

// The process heap; null on failure.
void* heapAlloc(std::size_t bytes, bool zeroFill);
bool heapFree(void* memory);

// Frees its block on every path.
class UniqueGlobal {
  public:
    UniqueGlobal() = default;
    explicit UniqueGlobal(Global block) : block_(block) {}
    UniqueGlobal(const UniqueGlobal&) = delete;
    UniqueGlobal& operator=(const UniqueGlobal&) = delete;
    UniqueGlobal(UniqueGlobal&& other) noexcept : block_(other.release()) {}
    UniqueGlobal& operator=(UniqueGlobal&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueGlobal() { reset(); }

    Global get() const { return block_; }
    explicit operator bool() const { return block_ != Global::none; }
    Global release() {
        Global block = block_;
        block_ = Global::none;
        return block;
    }
    void reset(Global block = Global::none) {
        if (block_ != Global::none) globalFree(block_);
        block_ = block;
    }

  private:
    Global block_ = Global::none;
};

}  // namespace win::mem
