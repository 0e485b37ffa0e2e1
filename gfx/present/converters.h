#pragma once

#include <cstdint>

#include "gfx/present/present_source.h"

// Converts the framebuffer rows first_row..last_row that are marked in
// dirty_rows into display pixels, line_repeat display lines per row; unmarked
// rows are left alone. destination is the display's first line.
using PixelConverter = void (*)(const PresentFrame& frame, int32_t first_row, int32_t last_row,
                                uint8_t* destination, int32_t destination_pitch);

// The converter from a framebuffer depth (1..8 attributes, 16, 32) to a
// display depth (8, 15, 16, 24, 32) in red-high (0x00RRGGBB) or red-low
// (0x00BBGGRR) component order; nullptr where none exists, and a driver
// must then refuse the screen. From a 16-bit framebuffer to 24 or 32 bits the
// converter reads conversion_table, which fill_conversion_table prepares.
PixelConverter select_converter(int32_t source_depth, int32_t display_depth, bool red_low);

// The two 256-entry tables turning a 5-6-5 pixel v into the 32-bit display
// pixel low[v & 0xFF] | high[v >> 8]; every component in the top bits of its
// byte.
void fill_conversion_table(uint32_t* table, bool red_low);
