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
