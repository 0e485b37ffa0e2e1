#pragma once

#include <cstdint>

#include "gfx/draw/draw.h"

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
