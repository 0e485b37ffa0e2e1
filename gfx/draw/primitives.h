#pragma once

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
