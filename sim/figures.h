#pragma once

// The two figures everything on the screen is made of: solid plain lines and
// filled boxes. Coordinates are reals as the drawing services take them;
// relative is the coordinate-flags code (RELATIVE_NONE, _SECOND or _BOTH).

#include <cstdint>

#include "gfx/draw/draw.h"
#include "sim/sim.h"

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
