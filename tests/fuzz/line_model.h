#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

// The written rules of lines and boxes, plainly, on a copy of a target of one
// byte per pixel whose view is the whole target.
struct ModelTarget {
    std::vector<uint8_t> pixels;
    int32_t width;
    int32_t height;
};

inline void model_plot(ModelTarget& t, int64_t x, int64_t y, uint8_t colour) {
    t.pixels[static_cast<size_t>(y * t.width + x)] = colour;
}

inline uint16_t model_rotate(uint16_t mask) {
    return static_cast<uint16_t>(mask >> 1 | (mask & 1) << 15);
}

inline uint16_t model_reverse(uint16_t v) {
    uint16_t r = 0;
    for (int i = 0; i < 16; ++i)
        if ((v >> i & 1) != 0) r = static_cast<uint16_t>(r | 1 << (15 - i));
    return r;
}

// A line whose two ends lie in the view.
inline void model_line(ModelTarget& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                       uint8_t colour, uint16_t style) {
    uint16_t mask = 0x8000;
    if (x1 == x2 || y1 == y2) {
        const bool vertical = x1 == x2;
        int64_t a = vertical ? y1 : x1;
        int64_t b = vertical ? y2 : x2;
        if (a > b) {
            std::swap(a, b);
            style = model_reverse(style);
            mask = static_cast<uint16_t>(1u << ((b - a) % 16));
        }
        for (int64_t i = a; i <= b; ++i) {
            if ((style & mask) != 0) model_plot(t, vertical ? x1 : i, vertical ? i : y1, colour);
            mask = model_rotate(mask);
        }
        return;
    }
    const int64_t dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1);
    const int64_t sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
    const bool x_major = dx >= dy;
    const int64_t major = x_major ? dx : dy, minor = x_major ? dy : dx;
    int64_t x = x1, y = y1, err = 2 * minor - major;
    for (int64_t k = 0; k <= major; ++k) {
        if ((style & mask) != 0) model_plot(t, x, y, colour);
        mask = model_rotate(mask);
        if (err >= 0) {
            (x_major ? y : x) += x_major ? sy : sx;
            err -= 2 * major;
        }
        (x_major ? x : y) += x_major ? sx : sy;
        err += 2 * minor;
    }
}

// A filled box, or a solid frame, with corners anywhere.
inline void model_box(ModelTarget& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                      uint8_t colour, bool filled) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x2 < 0 || y2 < 0 || x1 >= t.width || y1 >= t.height) return;
    const int64_t cx1 = std::max<int64_t>(x1, 0), cy1 = std::max<int64_t>(y1, 0);
    const int64_t cx2 = std::min<int64_t>(x2, t.width - 1),
                  cy2 = std::min<int64_t>(y2, t.height - 1);
    for (int64_t y = cy1; y <= cy2; ++y) {
        for (int64_t x = cx1; x <= cx2; ++x) {
            const bool edge = y == y1 || y == y2 || x == x1 || x == x2;
            if (filled || edge) model_plot(t, x, y, colour);
        }
    }
}
