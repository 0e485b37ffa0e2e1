#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "gfx/draw/draw_internal.h"
#include "gfx/gfx.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawWriters = test_support::GfxTest;

using namespace draw_test;

ScreenContext* open_blending_screen() {
    setenv("QXGFX", "null", 1);  // bit 6 needs a driver chosen by name, not flags -1
    if (gfx_screen(18, 32, 0, SCREEN_FLAG_ALPHA, 0) != 0) return nullptr;
    return active_screen();
}

TEST_F(DrawWriters, AlphaBlendFormula) {
    // Each colour byte: floor((d * (256 - a) + s * a) / 256); alpha byte from the source.
    EXPECT_EQ(alpha_blend(0xFF102030, 0x80FF8040), 0x80875038u);
    EXPECT_EQ(alpha_blend(0xFF102030, 0x40FFFFFF), 0x404B5763u);
    EXPECT_EQ(alpha_blend(0x00ABCDEF, 0x00123456), 0x00ABCDEFu);  // a = 0 keeps the colour
    EXPECT_EQ(alpha_blend(0x00000000, 0xFFFFFFFF), 0xFFFEFEFEu);  // a = 255 never reaches s
}

TEST_F(DrawWriters, BlendingScreenBlendsTranslucentColours) {
    ScreenContext* screen = open_blending_screen();
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screen->screen_flags & SCREEN_ALPHA, 0u);
    gfx_line(nullptr, 0, 0, 99, 9, 0xFF102030, LINE_FILLED_BOX, STYLE_SOLID, 0);  // opaque: plain
    EXPECT_EQ(pixel_at(*screen, 50, 5), 0xFF102030u);

    gfx_pset(nullptr, 1, 1, 0x80FF8040, RELATIVE_POINT_ABSOLUTE, 0);  // pixel writer
    EXPECT_EQ(pixel_at(*screen, 1, 1), 0x80875038u);
    gfx_line(nullptr, 10, 2, 90, 2, 0x40FFFFFF, LINE_PLAIN, STYLE_SOLID, 0);  // span writer
    for (int32_t x = 10; x <= 90; ++x)
        ASSERT_EQ(pixel_at(*screen, x, 2), 0x404B5763u) << x;
    EXPECT_EQ(pixel_at(*screen, 9, 2), 0xFF102030u);
    EXPECT_EQ(pixel_at(*screen, 91, 2), 0xFF102030u);
    gfx_line(nullptr, 10, 4, 20, 8, 0x40FFFFFF, LINE_FILLED_BOX, STYLE_SOLID, 0);
    EXPECT_EQ(pixel_at(*screen, 20, 8), 0x404B5763u);

    // Blending twice blends twice; an opaque colour still overwrites.
    gfx_pset(nullptr, 1, 1, 0x80FF8040, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(pixel_at(*screen, 1, 1), alpha_blend(0x80875038u, 0x80FF8040));
    gfx_pset(nullptr, 1, 1, 0xFF000001, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(pixel_at(*screen, 1, 1), 0xFF000001u);
}

TEST_F(DrawWriters, WithoutTheAlphaFlagColoursAreStoredPlainly) {
    ScreenContext* screen = open_screen(18, 32);
    ASSERT_NE(screen, nullptr);
    gfx_pset(nullptr, 1, 1, 0x80FF8040, RELATIVE_POINT_ABSOLUTE, 0);
    gfx_line(nullptr, 0, 2, 40, 2, 0x00123456, LINE_PLAIN, STYLE_SOLID, 0);
    EXPECT_EQ(pixel_at(*screen, 1, 1), 0x80FF8040u);
    EXPECT_EQ(pixel_at(*screen, 40, 2), 0x00123456u);
    EXPECT_EQ(pixel_at(*screen, 41, 2), 0xFF000000u);  // the screen starts as opaque black
}

TEST_F(DrawWriters, SixteenBitScreenTakesRgb565) {
    EXPECT_EQ(native_colour(2, 0xFF8040), 0xFC08u);
    EXPECT_EQ(native_colour(2, 0xFFFFFF), 0xFFFFu);
    EXPECT_EQ(native_colour(2, 0x070307), 0x0000u);
    EXPECT_EQ(native_colour(2, 0xAB0000FF), 0x001Fu);
    EXPECT_EQ(native_colour(1, 0x1234), 0x34u);
    EXPECT_EQ(native_colour(3, 0xAB123456), 0x123456u);
    EXPECT_EQ(native_colour(4, 0xAB123456), 0xAB123456u);

    ScreenContext* screen = open_screen(18, 16);
    ASSERT_NE(screen, nullptr);
    gfx_line(nullptr, 3, 7, 100, 7, 0xFF8040, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_pset(nullptr, 5, 9, 0x0000FF, RELATIVE_POINT_ABSOLUTE, 0);
    for (int32_t x = 3; x <= 100; ++x)
        ASSERT_EQ(pixel_at(*screen, x, 7), 0xFC08u) << x;
    EXPECT_EQ(pixel_at(*screen, 2, 7), 0u);
    EXPECT_EQ(pixel_at(*screen, 101, 7), 0u);
    EXPECT_EQ(pixel_at(*screen, 5, 9), 0x001Fu);
}

// Every size and run length fills exactly its pixels and nothing around them,
// whatever the alignment of the first pixel.
TEST_F(DrawWriters, SpanAndRowWritersStayInTheirRun) {
    for (int32_t size : {1, 2, 4}) {
        const WriterSet& writers = writer_set(size);
        for (int32_t offset = 0; offset < 4; ++offset) {
            for (int32_t count = -1; count <= 80; ++count) {
                std::vector<uint8_t> bytes(static_cast<size_t>(size) * 100 + 8, 0xEE);
                writers.span(bytes.data() + offset, 0xA1B2C3D4, count);
                const int32_t filled = count > 0 ? count * size : 0;
                for (int32_t i = 0; i < static_cast<int32_t>(bytes.size()); ++i) {
                    uint8_t expected = 0xEE;
                    if (i >= offset && i < offset + filled) {
                        expected = static_cast<uint8_t>(0xA1B2C3D4u >> (8 * ((i - offset) % size)));
                    }
                    ASSERT_EQ(bytes[i], expected)
                        << size << " " << offset << " " << count << " " << i;
                }

                std::vector<uint8_t> copy(bytes.size(), 0x11);
                writers.copy(copy.data() + 1, bytes.data() + offset, count);
                for (int32_t i = 0; i < static_cast<int32_t>(copy.size()); ++i) {
                    const uint8_t expected =
                        i >= 1 && i < 1 + filled ? bytes[offset + i - 1] : 0x11;
                    ASSERT_EQ(copy[i], expected) << size << " " << count << " " << i;
                }
            }
        }
    }
    EXPECT_EQ(&writer_set(3), &writer_set(4));  // any other size is written as 4 bytes
    EXPECT_EQ(writer_set(1).alpha_pixel, nullptr);
    EXPECT_EQ(writer_set(2).alpha_pixel, nullptr);
}

}  // namespace
