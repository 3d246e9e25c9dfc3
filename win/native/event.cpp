// Named events on the real API.
#include "win/event.h"

#include <windows.h>

#include "native_support.h"

namespace win::event {
namespace {

using native::raw;
Handle wrap(HANDLE handle) {
    return native::wrap<Handle>(handle);
}

}  // namespace

Handle create(bool manualReset, bool initiallySet, const char* name) {
    return wrap(
        CreateEventA(nullptr, manualReset ? TRUE : FALSE, initiallySet ? TRUE : FALSE, name));
}

Handle open(Dword access, bool inheritable, const char* name) {
    return wrap(OpenEventA(access, inheritable ? TRUE : FALSE, name));
}

bool reset(Handle event) {
    return ResetEvent(raw(event)) != FALSE;
}

bool set(Handle event) {
    return SetEvent(raw(event)) != FALSE;
}

bool close(Handle event) {
    return CloseHandle(raw(event)) != FALSE;
}

Dword wait(Handle event, Dword milliseconds) {
    return WaitForSingleObject(raw(event), milliseconds);
}

}  // namespace win::event
