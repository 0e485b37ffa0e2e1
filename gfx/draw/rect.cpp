#include <algorithm>
#include <utility>

#include "gfx/draw/draw_context.h"

namespace {

uint8_t* pixel_address(const DrawContext& context, int64_t x, int64_t y) {
    return context.row_table[static_cast<size_t>(y)] + x * context.bytes_per_pixel;
}

// Whether the style draws position k of the run (the pattern is read from
// bit 15 down and repeats every 16 positions).
bool style_draws(uint32_t style, int64_t position) {
    return (style & (0x8000u >> (position & 15))) != 0;
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
    if (filled) {
        for (int64_t y = cy1; y <= cy2; ++y)
            context.span_writer(pixel_address(context, cx1, y), colour, run);
        finish_target(context, cy1, cy2);
        return;
    }

    const bool bottom = y2 < view_bottom;
    const bool top = y1 >= view.y;
    const bool right = x2 < view_right;
    const bool left = x1 >= view.x;
    style &= 0xFFFF;
    if (style == 0xFFFF) {
        if (bottom) context.span_writer(pixel_address(context, cx1, y2), colour, run);
        if (top) context.span_writer(pixel_address(context, cx1, y1), colour, run);
        for (int64_t y = cy1; y <= cy2; ++y) {
            if (right)
                context.pixel_writer(context, static_cast<int32_t>(x2), static_cast<int32_t>(y),
                                     colour);
            if (left)
                context.pixel_writer(context, static_cast<int32_t>(x1), static_cast<int32_t>(y),
                                     colour);
        }
    } else {
        // One pattern runs round the whole frame as if every edge were drawn
        // whole: bottom, top, right, left. Each pixel's place in the pattern
        // comes from its position along that path, so clipped or skipped
        // stretches cost nothing however large the frame is.
        const int64_t across = x2 - x1 + 1;
        const int64_t down = y2 - y1 + 1;
        const int64_t top_start = across;
        const int64_t right_start = 2 * across;
        const int64_t left_start = 2 * across + down;
        for (int64_t x = cx1; x <= cx2; ++x) {
            if (bottom && style_draws(style, x - x1)) {
                context.pixel_writer(context, static_cast<int32_t>(x), static_cast<int32_t>(y2),
                                     colour);
            }
        }
        for (int64_t x = cx1; x <= cx2; ++x) {
            if (top && style_draws(style, top_start + x - x1)) {
                context.pixel_writer(context, static_cast<int32_t>(x), static_cast<int32_t>(y1),
                                     colour);
            }
        }
        for (int64_t y = cy1; y <= cy2; ++y) {
            if (right && style_draws(style, right_start + y - y1)) {
                context.pixel_writer(context, static_cast<int32_t>(x2), static_cast<int32_t>(y),
                                     colour);
            }
        }
        for (int64_t y = cy1; y <= cy2; ++y) {
            if (left && style_draws(style, left_start + y - y1)) {
                context.pixel_writer(context, static_cast<int32_t>(x1), static_cast<int32_t>(y),
                                     colour);
            }
        }
    }
    finish_target(context, cy1, cy2);
}
