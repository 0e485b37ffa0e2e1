#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "gfx/draw/primitives.h"

struct DrawContext;

// Writes one pixel of the current target: (context, x, y, colour).
using PixelWriter = void (*)(DrawContext& context, int32_t x, int32_t y, uint32_t colour);
// Fills count pixels from the address of the first one.
using SpanWriter = void (*)(uint8_t* address, uint32_t colour, int32_t count);

// A run of count pixel positions from start, as the line writers step it:
// after each position the address moves major_step bytes, and minor_step
// bytes more whenever the Bresenham error term (2 minor_delta - major_delta
// at the start) is not negative; a tie takes the minor step. Position k is
// drawn when style has the bit of mask rotated right k times (mask is the
// bit of position 0); style 0xFFFF draws every position.
struct LineSteps {
    uint8_t* start;
    ptrdiff_t major_step;
    ptrdiff_t minor_step;
    int64_t count;
    int64_t major_delta;
    int64_t minor_delta;
    uint16_t style;
    uint16_t mask;
};
using LineWriter = void (*)(const LineSteps& line, uint32_t colour);

// Fills count pixels in each of rows rows, the first row at address and the
// next ones pitch bytes apart: the span writer once per row.
using BoxWriter = void (*)(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows,
                           uint32_t colour);

struct ViewRect {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

struct PointF {
    float x;
    float y;
};

// context_flags bits.
constexpr uint32_t CONTEXT_LOAD_SCREEN = 1u << 0;
constexpr uint32_t CONTEXT_IMAGE_TARGET = 1u << 1;
constexpr uint32_t CONTEXT_SMALL_VIEW = 1u << 4;

// The process-wide drawing state.
struct DrawContext {
    int32_t screen_id = 0;
    int32_t work_page = 0;
    // Row 0 of the target; row y starts y x pitch bytes further. Rows are
    // computed rather than looked up in a table, so that no allocation
    // follows the row count an ImageBuffer header claims.
    uint8_t* first_row = nullptr;
    int32_t bytes_per_pixel = 0;
    int32_t pitch = 0;
    void* target = nullptr;  // ImageBuffer memory, or nullptr for the screen's work page
    PointF last_point{};
    ViewRect view{};
    ViewRect saved_view{};
    uint32_t foreground = 0;
    uint32_t background = 0;
    PixelWriter pixel_writer = nullptr;
    SpanWriter span_writer = nullptr;
    // Chosen with the two above: the same pixels, stepped without a call per pixel.
    LineWriter line_writer = nullptr;
    BoxWriter box_writer = nullptr;
    const void* xor_blender_table = nullptr;
    uint32_t context_flags = 0;
};

// The process's context, first rebuilt (view, target, colours, cursor) when
// the screen has changed since it was last used.
DrawContext& refresh_draw_context();

// A fresh context, as at process start: the next refresh rebuilds it for the
// screen there is.
void draw_state_reset();

// Loads the target (nullptr: the screen's work page) into the context.
inline void set_target(DrawContext& context, void* target);
// The work of set_target once it is known that something is to be loaded.
void load_target(DrawContext& context, void* target);

// A caller's colour as a pixel value of the given size.
inline uint32_t native_colour(int32_t bytes_per_pixel, uint32_t colour);

// The start of row y of the current target.
inline uint8_t* row_start(const DrawContext& context, int64_t y) {
    return context.first_row + static_cast<ptrdiff_t>(y) * context.pitch;
}

// Picks the plain or the alpha writers for the colour.
void select_writers(DrawContext& context, uint32_t colour);

// Applies the relative code of flags and updates last_point.
inline void apply_step(DrawContext& context, int32_t flags, PointF& first, PointF* second);

// An integer pixel. Coordinates that are not finite are reported through ok = false.
struct PixelPoint {
    int64_t x;
    int64_t y;
    bool ok;
};

// Rounds half away from zero and adds the view origin. Values beyond the
// integer range are clamped far outside any view.
inline PixelPoint map_point(const DrawContext& context, float x, float y);

// Outcode: 1 left, 2 right, 8 above, 4 below the view.
inline uint32_t clip_outcode(const DrawContext& context, int64_t x, int64_t y);

// A line between two pixels.
struct PixelSegment {
    int64_t x1, y1, x2, y2;
};

// Cuts the segment to the view (Cohen-Sutherland). The outside end is always
// the one moved, so a segment whose second end was clipped comes back running
// from that end to the first. False when nothing of it lies in the view.
bool clip_segment(const DrawContext& context, PixelSegment& segment);

uint16_t reverse_bits16(uint16_t value);

void order_corners(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2);

// Frame or filled rectangle in pixel coordinates with x1 <= x2, y1 <= y2.
void draw_rect(DrawContext& context, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
               uint32_t colour, bool filled, uint32_t style);

// The colour a primitive draws with: the default (foreground, or background
// for use_background) when flags < 0, else the caller's colour as a pixel value.
inline uint32_t primitive_colour(const DrawContext& context, uint32_t colour, int32_t flags,
                                 bool use_background = false);

// Everything a primitive runs before drawing: the context, the target, the
// colour and the writers. The context is nullptr when no screen exists.
struct PrimitiveStart {
    DrawContext* context;
    uint32_t colour;  // the pixel value to draw with
};
PrimitiveStart begin_primitive(void* target, uint32_t colour, int32_t flags,
                               bool use_background = false);

// Screen lock and changed rows for a primitive that wrote rows first..last of
// its target: the rows are marked only when the target is the presented page.
void lock_target();
void finish_target(const DrawContext& context, int64_t first_row, int64_t last_row);

// ---------------------------------------------------------------------------
// The small steps that every primitive runs once per call, defined here so
// that the primitives compile them inline: as calls they cost more than the
// drawing of a short line.
// ---------------------------------------------------------------------------

inline void set_target(DrawContext& context, void* target) {
    // The screen's work page, loaded already, is what nearly every primitive
    // asks for; nothing changes then.
    if (target == nullptr &&
        (context.context_flags & (CONTEXT_LOAD_SCREEN | CONTEXT_IMAGE_TARGET)) == 0) {
        return;
    }
    load_target(context, target);
}

inline uint32_t native_colour(int32_t bytes_per_pixel, uint32_t colour) {
    switch (bytes_per_pixel) {
        case 1:
            return colour & 0xFF;
        case 2: {
            const uint32_t red = (colour >> 16) & 0xFF;
            const uint32_t green = (colour >> 8) & 0xFF;
            const uint32_t blue = colour & 0xFF;
            return (blue >> 3) | ((green >> 2) << 5) | ((red >> 3) << 11);
        }
        case 3:
            return colour & 0xFFFFFF;
        default:
            return colour;
    }
}

inline uint32_t primitive_colour(const DrawContext& context, uint32_t colour, int32_t flags,
                                 bool use_background) {
    if (flags < 0) return use_background ? context.background : context.foreground;
    return native_colour(context.bytes_per_pixel, colour);
}

inline void apply_step(DrawContext& context, int32_t flags, PointF& first, PointF* second) {
    const int32_t code = flags & 7;
    // Each sum is stored as a float before it is used again.
    if (code == RELATIVE_FIRST || code == RELATIVE_BOTH || code == RELATIVE_POINT) {
        first.x = first.x + context.last_point.x;
        first.y = first.y + context.last_point.y;
    }
    if (second != nullptr && (code == RELATIVE_SECOND || code == RELATIVE_BOTH)) {
        second->x = second->x + first.x;
        second->y = second->y + first.y;
    }
    context.last_point = second != nullptr ? *second : first;
}

namespace detail {

// Pixel coordinates are kept within +-2^40: far outside any view, yet small
// enough that the clipping and stepping arithmetic on them cannot overflow.
constexpr double COORDINATE_LIMIT = 1099511627776.0;  // 2^40

// Halves away from zero. For a float, v +- 0.5 in double is exact whenever
// the sum lies near a whole number (such a float has few fraction bits), so
// it truncates to the same pixel as the sum in extended precision would; that
// holds for every float, and costs no x87 code or library call. The
// conversion to an integer is the truncation.
inline int64_t round_to_pixel(float value) {
    double v = value;
    if (v > COORDINATE_LIMIT) v = COORDINATE_LIMIT;
    if (v < -COORDINATE_LIMIT) v = -COORDINATE_LIMIT;
    return static_cast<int64_t>(v > 0 ? v + 0.5 : v - 0.5);
}

}  // namespace detail

inline PixelPoint map_point(const DrawContext& context, float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return PixelPoint{0, 0, false};
    return PixelPoint{detail::round_to_pixel(x) + context.view.x,
                      detail::round_to_pixel(y) + context.view.y, true};
}

inline uint32_t clip_outcode(const DrawContext& context, int64_t x, int64_t y) {
    const ViewRect& view = context.view;
    uint32_t code = 0;
    if (x < view.x) code |= 1;
    if (x >= static_cast<int64_t>(view.x) + view.width) code |= 2;
    if (y < view.y) code |= 8;
    if (y >= static_cast<int64_t>(view.y) + view.height) code |= 4;
    return code;
}
