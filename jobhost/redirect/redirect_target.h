// One target printer of redirect printing: a printer handle and one device context per copy.
#pragma once

#include <cstdint>

#include "win/gdi.h"
#include "win/spooler.h"

struct RedirectTarget {
    std::int32_t jobNumber;
    win::spool::Printer hPrinter;
    // `copies` entries allocated with win::mem::heapAlloc by DoStartDocument; freed by the job
    // monitor with win::mem::heapFree when redirect printing ends.
    win::gdi::Dc* phCopyDcs;
    std::uint32_t bOpen;
};
