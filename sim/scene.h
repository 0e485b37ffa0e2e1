#pragma once

// The static scene: barrier with its openings, rays, axis, labels and the
// bottom line, and the two figures everything is drawn with.
//
//   model.slit_count = 3;
//   redraw_scene();   // the whole static scene for the new setting

#include <cstdint>
#include <string_view>

#include "gfx/draw/draw.h"
#include "sim/sim.h"

// The two figures the scene is made of: solid plain lines and filled boxes on
// the screen. Coordinates are reals as the drawing services take them;
// relative is the coordinate-flags code (RELATIVE_NONE, _SECOND or _BOTH).

inline void scene_line(double x1, double y1, double x2, double y2, uint32_t colour,
                       int32_t relative = RELATIVE_NONE) {
    gfx_line(nullptr, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), colour, LINE_PLAIN, STYLE_SOLID, relative);
}

inline void scene_box(double x1, double y1, double x2, double y2, uint32_t colour,
                      int32_t relative = RELATIVE_NONE) {
    gfx_line(nullptr, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), colour, LINE_FILLED_BOX, STYLE_SOLID, relative);
}

inline uint32_t background() {
    return static_cast<uint32_t>(model.background_colour);
}

// Sets slit_y[1..slit_count], spread symmetrically about the axis.
void place_slits();

// The barrier with one opening of five rows per slit.
void draw_barrier();

// Every ray from a slit to the detector point, and the axis line.
void draw_rays();

// Recomputes the slit positions, cleans every opening and erases every ray.
void erase_rays();

// Clears the screen and draws the whole static scene; then the layer above
// (its scene_cleared hook) adds what it keeps on the screen.
void redraw_scene();

// Shows text (2 to 80 characters) black on white with its top-left corner at
// pixel (x, y), by way of the first text row; then prints the heading line
// there again.
void print_at_pixel(int32_t x, int32_t y, std::string_view text);
