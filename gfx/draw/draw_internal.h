#pragma once

// What only the drawing layer's own files share: the small inline steps of
// every primitive, clipping, the per-size writers and the image header words.

#include <cmath>
#include <cstdint>
#include <cstring>

#include "gfx/draw/draw.h"
#include "runtime/runtime.h"

// A caller's colour as a pixel value of the given size.
inline uint32_t native_colour(int32_t bytes_per_pixel, uint32_t colour);

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
// its target (within columns first_column..last_column, where it knows them):
// they are marked only when the target is the presented page.
void lock_target();
void finish_target(const DrawContext& context, int64_t first_row, int64_t last_row,
                   int64_t first_column = 0, int64_t last_column = INT64_MAX);

// ---------------------------------------------------------------------------
// The small steps that every primitive runs once per call, defined here so
// that the primitives compile them inline: as calls they cost more than the
// drawing of a short line.
// ---------------------------------------------------------------------------

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

// 32-bit blend of source s (alpha in the top byte) over destination d.
uint32_t alpha_blend(uint32_t destination, uint32_t source);

// The line and box writers of each size, stepping an address through the
// target with no call and no bounds check per pixel.
void write_line_8(const LineSteps& line, uint32_t colour);
void write_line_16(const LineSteps& line, uint32_t colour);
void write_line_32(const LineSteps& line, uint32_t colour);
void blend_line_32(const LineSteps& line, uint32_t colour);
void fill_box_8(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);
void fill_box_16(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);
void fill_box_32(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);
void blend_box_32(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);

// Text cells of each size; at one byte per pixel a row of 8 pixels is one
// store made from a table.
void write_cell_8(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                  uint32_t foreground, uint32_t background);
void write_cell_16(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                   uint32_t foreground, uint32_t background);
void write_cell_32(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                   uint32_t foreground, uint32_t background);

// Header words of an ImageBuffer, which may lie at any address in caller memory.
inline int32_t read_i32(const uint8_t* address) {
    return load_unaligned<int32_t>(address);
}

inline uint16_t read_u16(const uint8_t* address) {
    return load_unaligned<uint16_t>(address);
}
