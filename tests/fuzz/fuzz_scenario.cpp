// printside's scenario reader on any text.
#include <cstdint>
#include <string>

#include "scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    printside::parseScenario(text, "/nonexistent", &error);
    return 0;
}
