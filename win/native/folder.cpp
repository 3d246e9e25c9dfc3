// Folders on the real API.
#include "win/folder.h"

#include <windows.h>

namespace win::folder {

bool create(const char* path) {
    return CreateDirectoryA(path, nullptr) != FALSE;
}

bool remove(const char* path) {
    return RemoveDirectoryA(path) != FALSE;
}

}  // namespace win::folder
