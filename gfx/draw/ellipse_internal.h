#pragma once

#include <algorithm>
#include <cstdint>

#include "gfx/draw/draw_internal.h"

// What the two ellipse algorithms share: the integer walk for a whole ellipse
// (ellipse_walk.cpp) and the plot by angle steps for arcs (ellipse_arc.cpp).
// Both write the pixels of their plain loops, as often as those loops write
// them, but find the visible part without stepping through the rest, so a
// huge ellipse costs its visible pixels, not its size.

struct Radii {
    float x;
    float y;
};

// The view as inclusive pixel bounds.
struct Bounds {
    int64_t left;
    int64_t top;
    int64_t right;
    int64_t bottom;
};

struct Pen {
    DrawContext& context;
    uint32_t colour;
    Bounds view;
};

inline void plot(const Pen& pen, int64_t x, int64_t y) {
    pen.context.pixel_writer(pen.context, static_cast<int32_t>(x), static_cast<int32_t>(y),
                             pen.colour);
}

inline void fill_row(const Pen& pen, int64_t y, int64_t xl, int64_t xr) {
    if (y < pen.view.top || y > pen.view.bottom) return;
    const int64_t first = std::max(xl, pen.view.left);
    const int64_t last = std::min(xr, pen.view.right);
    if (first > last) return;
    uint8_t* start = row_start(pen.context, y) + first * pen.context.bytes_per_pixel;
    pen.context.span_writer(start, pen.colour, static_cast<int32_t>(last - first + 1));
}

// Marks rows first..last where they meet the view, and unlocks.
inline void finish(const Pen& pen, int64_t first, int64_t last) {
    finish_target(pen.context, std::max(first, pen.view.top), std::min(last, pen.view.bottom));
}

// The whole ellipse, outline or filled, centred on pixel (cx, cy).
void draw_whole_ellipse(const Pen& pen, int64_t cx, int64_t cy, float rx, float ry, bool filled);

struct ArcCall {
    void* target;
    PointF centre;  // world coordinates, after the relative code
    int64_t cx;     // the centre in pixels
    int64_t cy;
    Radii radii;
    float start;
    float end;
    uint32_t colour;  // as the caller passed it, for the radius lines
    int32_t flags;
};

// The arc from call.start to call.end; a negative angle adds its radius line.
void draw_arc(const Pen& pen, ArcCall call);
