#pragma once

#include <cstdint>

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

// Circle, ellipse, filled ellipse or elliptic arc around (x, y) on target
// (nullptr: the screen). aspect is the ratio of vertical to horizontal radius
// (0: the screen's own shape); angles are radians counter-clockwise from the
// positive x axis, and a negative one also draws the radius line to it.
void gfx_ellipse(void* target, float x, float y, float radius, uint32_t colour, float aspect,
                 float start, float end, int32_t fill, int32_t flags);
