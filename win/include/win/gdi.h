// GDI services: device contexts and drawing.
#pragma once

#include "win/types.h"

namespace win::gdi {

enum class Dc : std::uintptr_t { none = 0 };

}  // namespace win::gdi
