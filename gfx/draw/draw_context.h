#pragma once

#include <cstdint>
#include <vector>

#include "gfx/draw/primitives.h"

struct DrawContext;

// Writes one pixel of the current target: (context, x, y, colour).
using PixelWriter = void (*)(DrawContext& context, int32_t x, int32_t y, uint32_t colour);
// Fills count pixels from the address of the first one.
using SpanWriter = void (*)(uint8_t* address, uint32_t colour, int32_t count);

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
    std::vector<uint8_t*> row_table;  // start of every row of the target
    int32_t row_capacity = 0;
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
    const void* xor_blender_table = nullptr;
    uint32_t context_flags = 0;
};

// The process's context, first rebuilt (view, target, colours, cursor) when
// the screen has changed since it was last used.
DrawContext& refresh_draw_context();

// Loads the target (nullptr: the screen's work page) into the context.
void set_target(DrawContext& context, void* target);

// A caller's colour as a pixel value of the given size.
uint32_t native_colour(int32_t bytes_per_pixel, uint32_t colour);

// Picks the plain or the alpha writers for the colour.
void select_writers(DrawContext& context, uint32_t colour);

// Applies the relative code of flags and updates last_point.
void apply_step(DrawContext& context, int32_t flags, PointF& first, PointF* second);

// An integer pixel. Coordinates that are not finite are reported through ok = false.
struct PixelPoint {
    int64_t x;
    int64_t y;
    bool ok;
};

// Rounds half away from zero and adds the view origin. Values beyond the
// integer range are clamped far outside any view.
PixelPoint map_point(const DrawContext& context, float x, float y);

// Outcode: 1 left, 2 right, 8 above, 4 below the view.
uint32_t clip_outcode(const DrawContext& context, int64_t x, int64_t y);

uint16_t reverse_bits16(uint16_t value);

void order_corners(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2);

// Frame or filled rectangle in pixel coordinates with x1 <= x2, y1 <= y2.
void draw_rect(DrawContext& context, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
               uint32_t colour, bool filled, uint32_t style);

// The colour a primitive draws with: the default (foreground, or background
// for use_background) when flags < 0, else the caller's colour as a pixel value.
uint32_t primitive_colour(const DrawContext& context, uint32_t colour, int32_t flags,
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
