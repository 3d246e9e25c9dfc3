// Global blocks and the process heap forwarded to kernel32.
#include "win/memory.h"

#include <windows.h>

namespace win::mem {
namespace {

HGLOBAL toHglobal(Global block) {
    return reinterpret_cast<HGLOBAL>(std::uintptr_t(block));
}

Global fromHglobal(HGLOBAL block) {
    return Global(reinterpret_cast<std::uintptr_t>(block));
}

}  // namespace

Global globalAlloc(Dword flags, std::size_t bytes) {
    return fromHglobal(::GlobalAlloc(flags, bytes));
}

void* globalLock(Global block) {
    return ::GlobalLock(toHglobal(block));
}

bool globalUnlock(Global block) {
    return ::GlobalUnlock(toHglobal(block)) != FALSE;
}

Global globalFree(Global block) {
    return fromHglobal(::GlobalFree(toHglobal(block)));
}

std::size_t globalSize(Global block) {
    return ::GlobalSize(toHglobal(block));
}

void* heapAlloc(std::size_t bytes, bool zeroFill) {
    return ::HeapAlloc(::GetProcessHeap(), zeroFill ? HEAP_ZERO_MEMORY : 0, bytes);
}

bool heapFree(void* memory) {
    if (!memory) return true;
    return ::HeapFree(::GetProcessHeap(), 0, memory) != FALSE;
}

}  // namespace win::mem
