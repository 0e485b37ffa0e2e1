#include <gtest/gtest.h>

#include <bit>

#include "gfx/screen/screen.h"
#include "tests/support/gfx_state.h"

namespace {

using Fonts = test_support::GfxTest;

// Bit 0 of a row is the leftmost pixel.
const uint8_t* glyph(const FontSpec& font, int code) {
    return font.glyphs + code * font.height;
}

// Separate stretches of set pixels in a row.
int runs(uint8_t row) {
    return std::popcount(static_cast<uint8_t>(row & ~(row << 1)));
}

uint8_t mirrored(uint8_t row) {
    uint8_t m = 0;
    for (int bit = 0; bit < 8; ++bit)
        m |= ((row >> bit) & 1) << (7 - bit);
    return m;
}

int first_row(const uint8_t* g, int height) {
    int r = 0;
    while (r < height && g[r] == 0)
        ++r;
    return r;
}

int last_row(const uint8_t* g, int height) {
    int r = height - 1;
    while (r >= 0 && g[r] == 0)
        --r;
    return r;
}

TEST_F(Fonts, LetterShapesOfTheLargeFont) {
    expand_runtime_data();
    const uint8_t* l = glyph(font_8x16, 'L');
    ASSERT_LT(first_row(l, 16) + 6, last_row(l, 16));
    for (int r = first_row(l, 16); r <= last_row(l, 16); ++r)
        EXPECT_EQ(l[r] & 0x06, 0x06) << r;

    // ä, ö, ü: the base letter with two dots above its body.
    for (const auto& [umlaut, base] : {std::pair{0x84, 'a'}, {0x94, 'o'}, {0x81, 'u'}}) {
        const uint8_t* u = glyph(font_8x16, umlaut);
        const uint8_t* b = glyph(font_8x16, base);
        for (int r = first_row(b, 16); r < 16; ++r)
            EXPECT_EQ(u[r], b[r]) << umlaut << " " << r;
        const int dots = first_row(u, 16);
        EXPECT_LT(dots, first_row(b, 16) - 1) << umlaut;
        EXPECT_EQ(runs(u[dots]), 2) << umlaut;
    }
    // ß: a rounded shoulder on a stem, open at the bottom where B has a bar.
    const uint8_t* ss = glyph(font_8x16, 0xE1);
    const uint8_t* b = glyph(font_8x16, 'B');
    const int top = first_row(ss, 16), bottom = last_row(ss, 16);
    EXPECT_EQ(top, first_row(b, 16));
    EXPECT_EQ(ss[top] & 1, 0);
    for (int r = top + 1; r <= bottom; ++r)
        EXPECT_EQ(ss[r] & 1, 1) << r;
    EXPECT_EQ(runs(ss[bottom]), 2);
    EXPECT_EQ(runs(b[bottom]), 1);
}

// The small fonts come from a Nordic code page with other glyphs at 0x9B,
// 0x9D and 0xAF; the code page 437 shapes ¢, ¥ and » must be there instead.
TEST_F(Fonts, EveryFontHasTheCodePage437Shapes) {
    expand_runtime_data();
    for (const FontSpec* font : {&font_8x8, &font_8x14, &font_8x16}) {
        const int h = font->height;
        for (int r = 0; r < h; ++r) {
            EXPECT_EQ(glyph(*font, 219)[r], 0xFF) << h;
            EXPECT_EQ(glyph(*font, ' ')[r], 0) << h;
        }
        const uint8_t* cent = glyph(*font, 0x9B);  // a stroke through the c
        EXPECT_EQ(std::popcount(cent[first_row(cent, h)]), 2) << h;
        EXPECT_EQ(cent[first_row(cent, h)], cent[last_row(cent, h)]) << h;

        const uint8_t* yen = glyph(*font, 0x9D);  // symmetric, unlike Ø
        for (int r = 0; r < h; ++r) {
            EXPECT_EQ(yen[r], mirrored(yen[r])) << h << " " << r;
        }

        const uint8_t* quote = glyph(*font, 0xAF);  // two chevrons pointing right
        const int top = first_row(quote, h), bottom = last_row(quote, h);
        for (int r = top; r <= bottom; ++r)
            EXPECT_EQ(runs(quote[r]), 2) << h << " " << r;
        EXPECT_GT(std::countr_zero(quote[(top + bottom) / 2]), std::countr_zero(quote[top])) << h;
    }
}

}  // namespace
