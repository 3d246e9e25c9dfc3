// Little-endian loads and stores at any byte offset of a record, the same on every target
// whatever the alignment of the address.
#pragma once

#include <cstddef>
#include <cstdint>

namespace record_bytes {

inline std::uint16_t LoadU16(const std::uint8_t* pBytes) {
    return std::uint16_t(pBytes[0] | (pBytes[1] << 8));
}

inline std::uint32_t LoadU32(const std::uint8_t* pBytes) {
    return std::uint32_t(pBytes[0]) | (std::uint32_t(pBytes[1]) << 8) |
           (std::uint32_t(pBytes[2]) << 16) | (std::uint32_t(pBytes[3]) << 24);
}

inline void StoreU16(std::uint8_t* pBytes, std::uint16_t nValue) {
    pBytes[0] = std::uint8_t(nValue);
    pBytes[1] = std::uint8_t(nValue >> 8);
}

inline void StoreU32(std::uint8_t* pBytes, std::uint32_t nValue) {
    pBytes[0] = std::uint8_t(nValue);
    pBytes[1] = std::uint8_t(nValue >> 8);
    pBytes[2] = std::uint8_t(nValue >> 16);
    pBytes[3] = std::uint8_t(nValue >> 24);
}

}  // namespace record_bytes
