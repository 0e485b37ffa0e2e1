#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "gfx/draw/draw_context.h"
#include "gfx/draw/primitives.h"

namespace {

struct Segment {
    int64_t x1, y1, x2, y2;
};

// Four clips settle any segment; the cap only guards against a loop that
// would not end.
constexpr int MAX_CLIP_PASSES = 16;

int64_t clamp_to_pixel(long double value) {
    // Clipped coordinates lie on the segment between two mapped points, so
    // this bound is never reached; it keeps the conversion defined regardless.
    constexpr long double limit = 4398046511104.0L;  // 2^42
    return static_cast<int64_t>(std::trunc(std::clamp(value, -limit, limit)));
}

// Cohen-Sutherland: the outside endpoint is always moved, so a segment whose
// second end was clipped comes back running from that end to the first.
bool clip_segment(const DrawContext& context, Segment& s) {
    const ViewRect& view = context.view;
    const int64_t left = view.x;
    const int64_t right = static_cast<int64_t>(view.x) + view.width - 1;
    const int64_t top = view.y;
    const int64_t bottom = static_cast<int64_t>(view.y) + view.height - 1;
    for (int pass = 0; pass < MAX_CLIP_PASSES; ++pass) {
        uint32_t c1 = clip_outcode(context, s.x1, s.y1);
        const uint32_t c2 = clip_outcode(context, s.x2, s.y2);
        if ((c1 | c2) == 0) return true;
        if ((c1 & c2) != 0) return false;
        if (c1 == 0) {
            std::swap(s.x1, s.x2);
            std::swap(s.y1, s.y2);
            c1 = c2;
        }
        const long double m = s.x1 == s.x2 ? 1.0L
                                           : static_cast<long double>(s.y2 - s.y1) /
                                                 static_cast<long double>(s.x2 - s.x1);
        if (c1 & 1) {
            s.y1 = clamp_to_pixel(s.y1 + m * static_cast<long double>(left - s.x1));
            s.x1 = left;
        } else if (c1 & 2) {
            s.y1 = clamp_to_pixel(s.y1 + m * static_cast<long double>(right - s.x1));
            s.x1 = right;
        } else if (c1 & 8) {
            if (s.x1 != s.x2)
                s.x1 = clamp_to_pixel(s.x1 + static_cast<long double>(top - s.y1) / m);
            s.y1 = top;
        } else {
            if (s.x1 != s.x2) {
                s.x1 = clamp_to_pixel(s.x1 + static_cast<long double>(bottom - s.y1) / m);
            }
            s.y1 = bottom;
        }
    }
    return false;
}

uint16_t rotate_right(uint16_t mask) {
    return static_cast<uint16_t>((mask >> 1) | (mask << 15));
}

void plot(DrawContext& context, int64_t x, int64_t y, uint32_t colour) {
    context.pixel_writer(context, static_cast<int32_t>(x), static_cast<int32_t>(y), colour);
}

// A vertical or horizontal run is drawn from its lower coordinate up; the
// reversed pattern, started at the right bit, reads as if drawn from the
// first endpoint.
uint16_t run_start_mask(int64_t& from, int64_t& to, uint16_t& style) {
    if (from <= to) return 0x8000;
    std::swap(from, to);
    style = reverse_bits16(style);
    return static_cast<uint16_t>(1u << ((to - from) % 16));
}

void draw_vertical(DrawContext& context, const Segment& s, uint32_t colour, uint16_t style) {
    int64_t y1 = s.y1;
    int64_t y2 = s.y2;
    uint16_t mask = run_start_mask(y1, y2, style);
    for (int64_t y = y1; y <= y2; ++y, mask = rotate_right(mask)) {
        if (style & mask) plot(context, s.x1, y, colour);
    }
}

void draw_horizontal(DrawContext& context, const Segment& s, uint32_t colour, uint16_t style) {
    int64_t x1 = s.x1;
    int64_t x2 = s.x2;
    uint16_t mask = run_start_mask(x1, x2, style);
    if (style == 0xFFFF) {
        uint8_t* start =
            context.row_table[static_cast<size_t>(s.y1)] + x1 * context.bytes_per_pixel;
        context.span_writer(start, colour, static_cast<int32_t>(x2 - x1 + 1));
        return;
    }
    for (int64_t x = x1; x <= x2; ++x, mask = rotate_right(mask)) {
        if (style & mask) plot(context, x, s.y1, colour);
    }
}

void draw_sloped(DrawContext& context, const Segment& s, uint32_t colour, uint16_t style) {
    const int64_t dx = std::llabs(s.x2 - s.x1);
    const int64_t dy = std::llabs(s.y2 - s.y1);
    const int64_t sx = s.x2 >= s.x1 ? 1 : -1;
    const int64_t sy = s.y2 >= s.y1 ? 1 : -1;
    int64_t x = s.x1;
    int64_t y = s.y1;
    uint16_t mask = 0x8000;
    if (dx >= dy) {
        int64_t err = 2 * dy - dx;
        for (int64_t i = 0; i <= dx; ++i, mask = rotate_right(mask)) {
            if (style & mask) plot(context, x, y, colour);
            if (err >= 0) {
                y += sy;
                err -= 2 * dx;
            }
            x += sx;
            err += 2 * dy;
        }
    } else {
        int64_t err = 2 * dx - dy;
        for (int64_t i = 0; i <= dy; ++i, mask = rotate_right(mask)) {
            if (style & mask) plot(context, x, y, colour);
            if (err >= 0) {
                x += sx;
                err -= 2 * dy;
            }
            y += sy;
            err += 2 * dx;
        }
    }
}

void draw_segment(DrawContext& context, Segment s, uint32_t colour, uint16_t style) {
    if (!clip_segment(context, s)) return;
    lock_target();
    if (s.x1 == s.x2) {
        draw_vertical(context, s, colour, style);
    } else if (s.y1 == s.y2) {
        draw_horizontal(context, s, colour, style);
    } else {
        draw_sloped(context, s, colour, style);
    }
    finish_target(context, std::min(s.y1, s.y2), std::max(s.y1, s.y2));
}

}  // namespace

void gfx_line(void* target, float x1, float y1, float x2, float y2, uint32_t colour, int32_t kind,
              uint32_t style, int32_t flags) {
    const auto [context, pixel] = begin_primitive(target, colour, flags);
    if (context == nullptr) return;
    PointF first{x1, y1};
    PointF second{x2, y2};
    apply_step(*context, flags, first, &second);
    const PixelPoint p1 = map_point(*context, first.x, first.y);
    const PixelPoint p2 = map_point(*context, second.x, second.y);
    // A point that is not a number has no pixel; the cursor has moved all the same.
    if (!p1.ok || !p2.ok) return;
    if (kind == LINE_PLAIN) {
        draw_segment(*context, Segment{p1.x, p1.y, p2.x, p2.y}, pixel,
                     static_cast<uint16_t>(style));
        return;
    }
    int64_t ax = p1.x, ay = p1.y, bx = p2.x, by = p2.y;
    order_corners(ax, ay, bx, by);
    draw_rect(*context, ax, ay, bx, by, pixel, kind == LINE_FILLED_BOX, style & 0xFFFF);
}
