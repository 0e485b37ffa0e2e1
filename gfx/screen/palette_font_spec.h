#pragma once

#include <cstdint>

// A default palette: count RGB byte triples (red, green, blue).
struct PaletteSpec {
    int32_t count;
    const uint8_t* rgb;
};

// A bitmap font: 256 glyphs in character-code order, height bytes per glyph,
// one byte per pixel row from the top, bit 0 the leftmost pixel.
struct FontSpec {
    int32_t width;
    int32_t height;
    const uint8_t* glyphs;
};

// The built-in palettes and fonts. Their data pointers are valid once the
// runtime data has been expanded (the first screen does that).
extern PaletteSpec palette_2;
extern PaletteSpec palette_16;
extern PaletteSpec palette_64;
extern PaletteSpec palette_256;
extern FontSpec font_8x8;
extern FontSpec font_8x14;
extern FontSpec font_8x16;
