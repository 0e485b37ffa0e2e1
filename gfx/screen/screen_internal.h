#pragma once

// The mode table, shared by the screen's own files.

#include <cstdint>

#include "gfx/screen/screen.h"

// One numbered screen mode. A row whose width is 0 is an unsupported mode.
struct ModeRow {
    uint16_t width;
    uint16_t height;
    uint8_t depth;
    uint8_t line_repeat;
    const PaletteSpec* default_palette;
    const FontSpec* font;
    uint8_t text_columns;
    uint8_t text_rows;
    // Attribute -> default-palette entry loaded at palette reset; nullptr for none.
    // Mode 1 chooses one of mode1_colour_sets instead.
    const uint8_t* index_map;
    // Entries in index_map. A screen may have more attributes than its map
    // (a depth raised by the creation flags); those show their own entry.
    uint8_t index_map_size;
};

constexpr int32_t MODE_COUNT = 21;

// Rows for modes 1..21 at index mode - 1.
extern const ModeRow ModeTable[MODE_COUNT];

// The four four-colour sets of mode 1, as entries of the 16-colour palette.
constexpr int32_t MODE1_SET_SIZE = 4;
extern const uint8_t mode1_colour_sets[4][MODE1_SET_SIZE];

// The row of a mode number, or nullptr outside 1..21.
const ModeRow* mode_row(int32_t mode);
