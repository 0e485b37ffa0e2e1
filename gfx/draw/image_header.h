#pragma once

#include <cstdint>
#include <cstring>
#include "runtime/runtime.h"

// Header words of an ImageBuffer, which may lie at any address in caller memory.
inline int32_t read_i32(const uint8_t* address) {
    return load_unaligned<int32_t>(address);
}

inline uint16_t read_u16(const uint8_t* address) {
    return load_unaligned<uint16_t>(address);
}
