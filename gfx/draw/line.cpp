#include <algorithm>
#include <cstdlib>
#include <utility>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"

uint16_t reverse_bits16(uint16_t value) {
    uint16_t result = 0;
    for (int bit = 0; bit < 16; ++bit) {
        result = static_cast<uint16_t>((result << 1) | ((value >> bit) & 1));
    }
    return result;
}

namespace {

uint8_t* pixel_address(const DrawContext& context, int64_t x, int64_t y) {
    return row_start(context, y) + x * context.bytes_per_pixel;
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

// Where the line writer starts and how it steps, for a clipped segment.
LineSteps line_steps(const DrawContext& context, const PixelSegment& s, uint16_t style) {
    const ptrdiff_t size = context.bytes_per_pixel;
    const ptrdiff_t pitch = context.pitch;
    if (s.x1 == s.x2) {
        int64_t y1 = s.y1, y2 = s.y2;
        const uint16_t mask = run_start_mask(y1, y2, style);
        return LineSteps{
            pixel_address(context, s.x1, y1), pitch, 0, y2 - y1 + 1, 0, 0, style, mask};
    }
    if (s.y1 == s.y2) {
        int64_t x1 = s.x1, x2 = s.x2;
        const uint16_t mask = run_start_mask(x1, x2, style);
        return LineSteps{pixel_address(context, x1, s.y1), size, 0, x2 - x1 + 1, 0, 0, style, mask};
    }
    // Bresenham from the first point; the longer axis is the major one.
    const int64_t dx = std::llabs(s.x2 - s.x1);
    const int64_t dy = std::llabs(s.y2 - s.y1);
    const ptrdiff_t step_x = s.x2 >= s.x1 ? size : -size;
    const ptrdiff_t step_y = s.y2 >= s.y1 ? pitch : -pitch;
    uint8_t* start = pixel_address(context, s.x1, s.y1);
    if (dx >= dy) return LineSteps{start, step_x, step_y, dx + 1, dx, dy, style, 0x8000};
    return LineSteps{start, step_y, step_x, dy + 1, dy, dx, style, 0x8000};
}

void draw_segment(DrawContext& context, PixelSegment s, uint32_t colour, uint16_t style) {
    if (!clip_segment(context, s)) return;
    lock_target();
    if (s.x1 != s.x2 && s.y1 == s.y2 && style == 0xFFFF) {
        // A solid horizontal run is one fill.
        const int64_t x = std::min(s.x1, s.x2);
        context.span_writer(pixel_address(context, x, s.y1), colour,
                            static_cast<int32_t>(std::llabs(s.x2 - s.x1) + 1));
    } else {
        context.line_writer(line_steps(context, s, style), colour);
    }
    finish_target(context, std::min(s.y1, s.y2), std::max(s.y1, s.y2), std::min(s.x1, s.x2),
                  std::max(s.x1, s.x2));
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
        draw_segment(*context, PixelSegment{p1.x, p1.y, p2.x, p2.y}, pixel,
                     static_cast<uint16_t>(style));
        return;
    }
    int64_t ax = p1.x, ay = p1.y, bx = p2.x, by = p2.y;
    order_corners(ax, ay, bx, by);
    draw_rect(*context, ax, ay, bx, by, pixel, kind == LINE_FILLED_BOX, style & 0xFFFF);
}
