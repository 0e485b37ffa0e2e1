#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "gfx/screen/screen.h"
#include "gfx/text/text.h"
#include "runtime/runtime.h"
#include "tests/gfx/draw/draw_test_support.h"

namespace text_test {

using namespace draw_test;

// Prints through the statement, as the program does.
inline void print(const std::string& text, int32_t flags = 0) {
    gfx_print(0, string_temp(text.data(), static_cast<int32_t>(text.size())), flags);
}

// The codes of n cells from (row, column), both 1-based.
inline std::string cells(const ScreenContext& screen, int32_t row, int32_t column, int32_t n) {
    std::string text;
    const TextCell* cell = screen.text_cells[0].get() + (row - 1) * screen.text_columns;
    for (int32_t c = column - 1; c < column - 1 + n; ++c)
        text += static_cast<char>(cell[c].code);
    return text;
}

inline std::string row_of(char c, int32_t n = 80) {
    return std::string(static_cast<size_t>(n), c);
}

// True when the 8 x 16 cell at (row, column), 1-based, shows the glyph of code
// exactly: set bits in 15, the others in 0.
inline bool shows_glyph(const ScreenContext& screen, int32_t row, int32_t column, uint8_t code) {
    const uint8_t* glyph = font_8x16.glyphs + code * 16;
    for (int32_t j = 0; j < 16; ++j) {
        for (int32_t i = 0; i < 8; ++i) {
            const uint32_t want = ((glyph[j] >> i) & 1) != 0 ? 15 : 0;
            if (pixel_at(screen, (column - 1) * 8 + i, (row - 1) * 16 + j) != want) return false;
        }
    }
    return true;
}

inline std::vector<uint8_t> snapshot(const ScreenContext& screen) {
    return {screen.framebuffer, screen.framebuffer + screen.pitch * screen.height};
}

}  // namespace text_test
