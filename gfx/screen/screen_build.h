#pragma once

#include <cstdint>

#include "gfx/screen/palette_font_spec.h"
#include "gfx/screen/screen_context.h"

// The steps of making and releasing the screen record, in the order the
// screen services run them; the services also open the window in between.

// What a screen is built from: a row of the mode table, or a free size.
struct ScreenShape {
    int32_t mode_number;  // 1..21, or -1 for a free size
    int32_t width;
    int32_t height;
    int32_t depth;
    int32_t line_repeat;
    const PaletteSpec* default_palette;
    const FontSpec* font;
    int32_t text_columns;
    int32_t text_rows;
};

// The shape of a numbered mode 1..21; false for an unsupported mode.
bool mode_shape(int32_t mode, ScreenShape* shape);

// The shape of a free-size screen; false for an unsupported depth or size.
bool free_shape(int32_t width, int32_t height, int32_t depth, ScreenShape* shape);

// The depth a screen of this shape gets from the caller's depth and flags,
// normalised to 1, 2, 4, 8, 16 or 32.
int32_t screen_depth(const ScreenShape& shape, int32_t depth_argument, int32_t flags);

// Whether the pages and text cells of such a screen stay within the 1 GiB a
// screen may take.
bool screen_fits(const ScreenShape& shape, int32_t depth_argument, int32_t pages, int32_t flags);

// Makes the record the active screen: depth from the shape and the caller's
// depth and flags, pages, palettes, dirty rows, key states, event ring,
// flags, a new screen_id. Throws std::bad_alloc when memory runs out.
ScreenContext& create_screen(const ScreenShape& shape, int32_t depth_argument, int32_t pages,
                             int32_t flags);

// Text cells for every page, once the grid's size is known.
void create_text_cells(ScreenContext& screen, int32_t columns, int32_t rows);

// Releases the active screen and every buffer it owns.
void release_screen();
