#include <algorithm>
#include <utility>

#include "gfx/draw/draw_internal.h"

namespace {

uint8_t* pixel_address(const DrawContext& context, int64_t x, int64_t y) {
    return row_start(context, y) + x * context.bytes_per_pixel;
}

// The style bit of position k of a pattern read from bit 15 down, repeating
// every 16 positions.
uint16_t style_mask(int64_t position) {
    return static_cast<uint16_t>(0x8000u >> (position & 15));
}

// One edge of a frame: count pixels from (x, y) stepping step bytes, the
// first of them at position first_position of the frame's pattern.
void draw_edge(const DrawContext& context, int64_t x, int64_t y, ptrdiff_t step, int64_t count,
               uint32_t style, int64_t first_position, uint32_t colour) {
    context.line_writer(LineSteps{pixel_address(context, x, y), step, 0, count, 0, 0,
                                  static_cast<uint16_t>(style), style_mask(first_position)},
                        colour);
}

}  // namespace

void order_corners(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
}

void draw_rect(DrawContext& context, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
               uint32_t colour, bool filled, uint32_t style) {
    const ViewRect& view = context.view;
    const int64_t view_right = static_cast<int64_t>(view.x) + view.width;  // first column after
    const int64_t view_bottom = static_cast<int64_t>(view.y) + view.height;
    if (x2 < view.x || y2 < view.y || x1 >= view_right || y1 >= view_bottom) return;
    const int64_t cx1 = std::max<int64_t>(x1, view.x);
    const int64_t cy1 = std::max<int64_t>(y1, view.y);
    const int64_t cx2 = std::min<int64_t>(x2, view_right - 1);
    const int64_t cy2 = std::min<int64_t>(y2, view_bottom - 1);
    if (cx1 > cx2 || cy1 > cy2) return;  // a view of no pixels
    lock_target();

    const auto run = static_cast<int32_t>(cx2 - cx1 + 1);
    const auto rows = static_cast<int32_t>(cy2 - cy1 + 1);
    if (filled) {
        context.box_writer(pixel_address(context, cx1, cy1), context.pitch, run, rows, colour);
        finish_target(context, cy1, cy2, cx1, cx2);
        return;
    }

    const bool bottom = y2 < view_bottom;
    const bool top = y1 >= view.y;
    const bool right = x2 < view_right;
    const bool left = x1 >= view.x;
    const ptrdiff_t across = context.bytes_per_pixel;
    const ptrdiff_t down = context.pitch;
    style &= 0xFFFF;
    if (style == 0xFFFF) {
        if (bottom) context.span_writer(pixel_address(context, cx1, y2), colour, run);
        if (top) context.span_writer(pixel_address(context, cx1, y1), colour, run);
        // A frame one pixel wide gets both edges on the same pixels; on a
        // blending screen they blend twice, right edge first.
        if (right) draw_edge(context, x2, cy1, down, rows, style, 0, colour);
        if (left) draw_edge(context, x1, cy1, down, rows, style, 0, colour);
    } else {
        // One pattern runs round the whole frame as if every edge were drawn
        // whole: bottom, top, right, left. Each pixel's place in the pattern
        // comes from its position along that path, so clipped or skipped
        // stretches cost nothing however large the frame is.
        const int64_t width = x2 - x1 + 1;
        const int64_t height = y2 - y1 + 1;
        if (bottom) draw_edge(context, cx1, y2, across, run, style, cx1 - x1, colour);
        if (top) draw_edge(context, cx1, y1, across, run, style, width + cx1 - x1, colour);
        if (right) draw_edge(context, x2, cy1, down, rows, style, 2 * width + cy1 - y1, colour);
        if (left) {
            draw_edge(context, x1, cy1, down, rows, style, 2 * width + height + cy1 - y1, colour);
        }
    }
    finish_target(context, cy1, cy2, cx1, cx2);
}
