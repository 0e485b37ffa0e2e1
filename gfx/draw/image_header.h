#pragma once

#include <cstdint>
#include <cstring>

// Header words of an ImageBuffer. The block may lie at any address in caller
// memory, so every word is read through memcpy.
inline int32_t read_i32(const uint8_t* address) {
    int32_t value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

inline uint16_t read_u16(const uint8_t* address) {
    uint16_t value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}
