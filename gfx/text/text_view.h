#pragma once

#include <cstdint>

// First and last text row (0-based) in which printing, scrolling and clearing
// happen; -1 means not set (the grid's edge).
extern int32_t view_print_top;
extern int32_t view_print_bottom;

// The whole grid of the screen, with the cursor at row 1, column 1.
void text_view_whole_grid();

// Not set, as while no screen exists.
void text_view_unset();
