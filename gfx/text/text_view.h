#pragma once

#include <cstdint>

struct ScreenContext;

// First and last text row (0-based) in which printing, scrolling and clearing
// happen; -1 means not set (the grid's edge).
extern int32_t view_print_top;
extern int32_t view_print_bottom;

// Sets the text view to rows first..last, 1-based; 0 stands for the grid's
// edge and a negative value keeps the current row. An empty range or one
// outside the grid is refused with result 1 and changes nothing. After a
// change the cursor goes to column 1 of the first row. 0 on success.
int32_t gfx_view_print(int32_t first, int32_t last);

// The whole grid of the screen, with the cursor at row 1, column 1.
void text_view_whole_grid();

// Not set, as while no screen exists.
void text_view_unset();

// The part of a screen's text grid that text can use, and the text view in
// it, 0-based. The grid is cut to what the font lets fit in the framebuffer
// and the view to the grid, so that no stale view or odd mode can lead text
// outside either. An empty grid has rows = columns = 0 and bottom = -1.
struct TextGrid {
    int32_t columns;
    int32_t rows;
    int32_t top;
    int32_t bottom;
};
TextGrid text_grid(const ScreenContext& screen);
