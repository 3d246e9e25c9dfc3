// Folders, with the platform's contracts: false and the last error on failure
// (err::alreadyExists for a folder or file of that name, err::pathNotFound without its parent).
#pragma once

#include "win/types.h"

namespace win::folder {

bool create(const char* path);
// Removes an empty folder.
bool remove(const char* path);

}  // namespace win::folder
