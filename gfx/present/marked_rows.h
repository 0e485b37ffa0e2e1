#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/present/present_source.h"

// The first and the last framebuffer row marked changed, or -1 when none is:
// a driver shows the one span between them.
inline int32_t first_marked(const PresentFrame& frame) {
    const void* hit = std::memchr(frame.dirty_rows, 1, static_cast<size_t>(frame.height));
    return hit == nullptr
               ? -1
               : static_cast<int32_t>(static_cast<const uint8_t*>(hit) - frame.dirty_rows);
}

inline int32_t last_marked(const PresentFrame& frame) {
    int32_t y = frame.height - 1;
    while (y >= 0 && frame.dirty_rows[y] == 0)
        --y;
    return y;
}
