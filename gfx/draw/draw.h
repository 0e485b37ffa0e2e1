#pragma once

// Drawing: lines, boxes, pixels, circles, ellipses and arcs, image blocks and
// pages, on the screen's work page or on an image block in caller memory.
// Every primitive takes the screen lock once, writes its pixels and marks the
// rows it changed on the presented page.
//
// Usage:
//   gfx_line(nullptr, 10, 10, 100, 50, 4, LINE_PLAIN, STYLE_SOLID, 0);
//   gfx_ellipse(nullptr, 320, 240, 50, 14, 0, 0, ELLIPSE_END_OMITTED, 0, 0);
//   uint8_t block[IMAGE_HEADER_SIZE + 16 * 16];  // a 16 x 16 block at one byte a pixel
//   gfx_get(nullptr, 0, 0, 15, 15, block, RELATIVE_NONE, nullptr);
//   gfx_put(nullptr, 100, 50, block, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR, put_xor_blend, 0,
//           nullptr, nullptr);  // twice restores what was there
//
// The drawing context and the writer sets at the end are the contract with
// the layers that draw through them (text, the composition).

#include <cstddef>
#include <cstdint>

// Coordinate-flags word, the last argument of every primitive: bit 31 marks
// an omitted colour, bits 0..2 say which points are relative.
constexpr int32_t COLOUR_OMITTED = INT32_MIN;
constexpr int32_t RELATIVE_NONE = 0;
constexpr int32_t RELATIVE_SECOND = 1;
constexpr int32_t RELATIVE_FIRST = 2;
constexpr int32_t RELATIVE_BOTH = 3;
constexpr int32_t RELATIVE_POINT_ABSOLUTE = 4;
constexpr int32_t RELATIVE_POINT = 5;

// ImageBuffer header tag of the 32-byte form.
constexpr int32_t IMAGE_HEADER_NEW = 7;
constexpr int32_t IMAGE_HEADER_SIZE = 32;
constexpr int32_t IMAGE_HEADER_OLD_SIZE = 4;

constexpr int32_t LINE_PLAIN = 0;
constexpr int32_t LINE_FRAME = 1;
constexpr int32_t LINE_FILLED_BOX = 2;
constexpr uint32_t STYLE_SOLID = 0xFFFF;

// The end angle a caller passes when it omits start and end: one float step
// above 2 pi (bit pattern 0x40C90FDC). Only start 0 with exactly this end
// draws the whole ellipse and honours fill; any other pair, 2 pi itself
// included, draws an arc.
constexpr float ELLIPSE_END_OMITTED = 6.283186f;

// Line, frame or filled rectangle on target (nullptr: the screen).
void gfx_line(void* target, float x1, float y1, float x2, float y2, uint32_t colour, int32_t kind,
              uint32_t style, int32_t flags);

// One pixel. use_background selects the background colour when the colour is omitted.
int32_t gfx_pset(void* target, float x, float y, uint32_t colour, int32_t flags,
                 int32_t use_background);

// Pages: gfx_set_pages chooses the page drawing goes to and the page the
// window shows, and answers the previous work page | previous visible page
// << 8, or -1 without a screen. gfx_copy_page copies one page (within the
// view) to another; 0 or 1.
int32_t gfx_set_pages(int32_t work, int32_t visible);
int32_t gfx_copy_page(int32_t source, int32_t destination);

struct ArrayDescriptor;

// ImageBuffer: a block of pixels in caller memory, in one of two forms.
//
// The 32-byte form, written by gfx_get: this header, then height rows of
// pitch bytes each (pitch = width x bytes per pixel rounded up to 16), top row
// first. The reserved bytes are left as they were.
//
// The 4-byte form, recognised by a first 32-bit word other than 7: a 16-bit
// word with the bytes per pixel in bits 0..2 (0: the target's) and the width
// in bits 3..15, a 16-bit height, then the rows without padding. gfx_get
// writes it when the process was started with a non-zero number text mode.
//
// Every field is little-endian and the block may lie at any address.
struct ImageBuffer {
    int32_t tag;  // 7 for the 32-byte form
    int32_t bytes_per_pixel;
    int32_t width;
    int32_t height;
    int32_t pitch;
    uint8_t reserved[12];
};
static_assert(sizeof(ImageBuffer) == 32);

// How gfx_put combines a source pixel with the target pixel.
using PutMode = int32_t;
constexpr PutMode PUT_XOR = 5;
constexpr PutMode PUT_ALPHA = 6;

// Selects the whole image as gfx_put's source rectangle (as sx1).
constexpr int32_t PUT_WHOLE_IMAGE = static_cast<int32_t>(0xFFFF0000u);
// gfx_put flags: the source rectangle's second corner is relative to its
// first; the position is relative to the graphics cursor.
constexpr int32_t PUT_SOURCE_RELATIVE = 1 << 0;
constexpr int32_t PUT_POSITION_RELATIVE = 1 << 1;

// A caller's own per-pixel combination, handed through gfx_put to its blender.
using PutCustom = uint32_t (*)(uint32_t source, uint32_t target, void* parameter);

// Combines a block once per gfx_put: source and target address of the first
// visible pixel, width in pixels, height in rows, both pitches, then gfx_put's
// alpha, custom routine and parameter unchanged.
using PutBlender = void (*)(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                            int32_t source_pitch, int32_t target_pitch, int32_t alpha,
                            PutCustom custom, void* parameter);

// PUT_XOR: every byte of the target becomes target XOR source, so putting
// the same block twice restores the target.
void put_xor_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                   int32_t source_pitch, int32_t target_pitch, int32_t alpha, PutCustom custom,
                   void* parameter);

// PUT_ALPHA with 1-byte source pixels on a 4-byte target: each source byte
// becomes the alpha byte (bits 24..31) of its target pixel; the colour bytes
// stay. Writes nothing unless the target has 4 bytes per pixel.
void put_alpha_mask_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                          int32_t source_pitch, int32_t target_pitch, int32_t alpha,
                          PutCustom custom, void* parameter);

// Copies the rectangle between two corners (in either order) of the target
// into buffer as an ImageBuffer. The rectangle must lie wholly in the view.
// flags holds the relative code for the two corners. With array given (and
// holding any bytes), the block must lie within the array's storage.
// Returns 0 or 1, also stored in last_error.
int32_t gfx_get(void* target, float x1, float y1, float x2, float y2, void* buffer, int32_t flags,
                const ArrayDescriptor* array);

// Draws image (or its source rectangle sx1, sy1 - sx2, sy2; sx1 =
// PUT_WHOLE_IMAGE for all of it) with its top-left pixel at (x, y), clipped to
// the view, combining pixels through blender. alpha, custom and parameter go
// to the blender unchanged. Returns 0 (also when nothing was visible) or 1,
// also stored in last_error.
int32_t gfx_put(void* target, float x, float y, const void* image, int32_t sx1, int32_t sy1,
                int32_t sx2, int32_t sy2, int32_t flags, PutMode mode, PutBlender blender,
                int32_t alpha, PutCustom custom, void* parameter);
// Circle, ellipse, filled ellipse or elliptic arc around (x, y) on target
// (nullptr: the screen). aspect is the ratio of vertical to horizontal radius
// (0: the screen's own shape); angles are radians counter-clockwise from the
// positive x axis, and a negative one also draws the radius line to it.
void gfx_ellipse(void* target, float x, float y, float radius, uint32_t colour, float aspect,
                 float start, float end, int32_t fill, int32_t flags);

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

// The start of row y of the current target.
inline uint8_t* row_start(const DrawContext& context, int64_t y) {
    return context.first_row + static_cast<ptrdiff_t>(y) * context.pitch;
}

// Picks the plain or the alpha writers for the colour.
void select_writers(DrawContext& context, uint32_t colour);

inline void set_target(DrawContext& context, void* target) {
    // The screen's work page, loaded already, is what nearly every primitive
    // asks for; nothing changes then.
    if (target == nullptr &&
        (context.context_flags & (CONTEXT_LOAD_SCREEN | CONTEXT_IMAGE_TARGET)) == 0) {
        return;
    }
    load_target(context, target);
}

// Copies count pixels from source to destination.
using RowCopier = void (*)(uint8_t* destination, const uint8_t* source, int32_t count);

// Writes one 8-pixel-wide text cell, every pixel opaque: for each of height
// rows, bit i of rows[j] (bit 0 leftmost) selects foreground or background
// for pixel i. Rows of the cell lie pitch bytes apart.
using CellWriter = void (*)(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                            uint32_t foreground, uint32_t background);

// The writers for one pixel size.
struct WriterSet {
    PixelWriter pixel = nullptr;
    SpanWriter span = nullptr;
    RowCopier copy = nullptr;
    LineWriter line = nullptr;
    BoxWriter box = nullptr;
    CellWriter cell = nullptr;
    // nullptr where no blending exists.
    PixelWriter alpha_pixel = nullptr;
    SpanWriter alpha_span = nullptr;
    LineWriter alpha_line = nullptr;
    BoxWriter alpha_box = nullptr;
};

// The writers for 1, 2 and 4 (and any other) bytes per pixel.
const WriterSet& writer_set(int32_t bytes_per_pixel);
