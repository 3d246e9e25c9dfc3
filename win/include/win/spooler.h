// Print spooler services.
#pragma once

#include "win/types.h"

namespace win::spool {

enum class Printer : std::uintptr_t { none = 0 };

}  // namespace win::spool
