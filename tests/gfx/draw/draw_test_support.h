#pragma once

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"

namespace draw_test {

using Pixel = std::pair<int32_t, int32_t>;  // (x, y)
using Pixels = std::set<Pixel>;

// Opens a screen on the Null driver; nullptr when that failed.
inline ScreenContext* open_screen(int32_t mode = 12, int32_t depth = 8, int32_t pages = 0) {
    if (gfx_screen(mode, depth, pages, SCREEN_FLAG_NULL_DRIVER, 0) != 0) return nullptr;
    return active_screen();
}

inline uint32_t pixel_at(const uint8_t* page, const ScreenContext& screen, int32_t x, int32_t y) {
    const uint8_t* address = page + static_cast<size_t>(y) * screen.pitch +
                             static_cast<size_t>(x) * screen.bytes_per_pixel;
    switch (screen.bytes_per_pixel) {
        case 1:
            return *address;
        case 2: {
            uint16_t value;
            std::memcpy(&value, address, 2);
            return value;
        }
        default: {
            uint32_t value;
            std::memcpy(&value, address, 4);
            return value;
        }
    }
}

inline uint32_t pixel_at(const ScreenContext& screen, int32_t x, int32_t y) {
    return pixel_at(screen.framebuffer, screen, x, y);
}

// Every pixel of the page that differs from the given colour.
inline Pixels pixels_not(const ScreenContext& screen, const uint8_t* page, uint32_t colour = 0) {
    Pixels result;
    for (int32_t y = 0; y < screen.height; ++y) {
        for (int32_t x = 0; x < screen.width; ++x) {
            if (pixel_at(page, screen, x, y) != colour) result.insert({x, y});
        }
    }
    return result;
}

inline Pixels lit(const ScreenContext& screen) {
    return pixels_not(screen, screen.framebuffer);
}

inline void clear_dirty_rows(ScreenContext& screen) {
    std::memset(screen.dirty_rows.get(), 0, static_cast<size_t>(screen.height));
}

inline std::set<int32_t> dirty_rows(const ScreenContext& screen) {
    std::set<int32_t> rows;
    for (int32_t y = 0; y < screen.height; ++y) {
        if (screen.dirty_rows[y] != 0) rows.insert(y);
    }
    return rows;
}

inline std::set<int32_t> row_range(int32_t first, int32_t last) {
    std::set<int32_t> rows;
    for (int32_t y = first; y <= last; ++y)
        rows.insert(y);
    return rows;
}

inline void line(float x1, float y1, float x2, float y2, uint32_t colour = 9,
                 uint32_t style = STYLE_SOLID, int32_t flags = 0) {
    gfx_line(nullptr, x1, y1, x2, y2, colour, LINE_PLAIN, style, flags);
}

}  // namespace draw_test
