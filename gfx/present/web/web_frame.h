#pragma once

#include <cstdint>

#include "gfx/present/present.h"

// The display lines a presentation converted: first line and count (0: none).
struct LineSpan {
    int32_t first;
    int32_t count;
};

// The converter into the canvas's pixels (bytes red, green, blue, alpha);
// nullptr for a framebuffer depth that has none.
PixelConverter canvas_converter(int32_t depth);

// Converts the rows marked in dirty_rows (every row with repaint) through
// convert into rgba, a whole picture of width x (height x line_repeat)
// canvas pixels, makes them opaque and clears the marks. Answers the span
// from the first to the last converted display line, which the page copies
// in one piece.
LineSpan convert_marked_rows(const PresentFrame& frame, PixelConverter convert, uint8_t* rgba,
                             bool repaint);
