// The thread's last error on the real platform.
#include <windows.h>

#include "win/types.h"

namespace win {

Dword getLastError() {
    return Dword(::GetLastError());
}
void setLastError(Dword error) {
    ::SetLastError(error);
}

}  // namespace win
