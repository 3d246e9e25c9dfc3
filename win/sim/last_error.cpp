// The thread's last error on the simulated machine.
#include "win/types.h"

namespace win {
namespace {
thread_local Dword lastError = 0;
}

Dword getLastError() {
    return lastError;
}
void setLastError(Dword error) {
    lastError = error;
}

}  // namespace win
