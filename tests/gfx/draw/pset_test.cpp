#include <gtest/gtest.h>

#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawPset = test_support::GfxTest;

using namespace draw_test;

TEST_F(DrawPset, SetsOnePixelAndMarksItsRow) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    gfx_pset(nullptr, 12, 34, 0x1234567C, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(lit(*screen), (Pixels{{12, 34}}));
    EXPECT_EQ(pixel_at(*screen, 12, 34), 0x7Cu);  // one byte per pixel keeps the low byte
    EXPECT_EQ(dirty_rows(*screen), row_range(34, 34));
}

TEST_F(DrawPset, OutsideTheViewOnlyMovesTheCursor) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    for (const PointF p : {PointF{700, 10}, PointF{-1, 5}, PointF{5, 480}, PointF{5, -1}}) {
        gfx_pset(nullptr, p.x, p.y, 9, RELATIVE_POINT_ABSOLUTE, 0);
        EXPECT_EQ(refresh_draw_context().last_point.x, p.x);
        EXPECT_EQ(refresh_draw_context().last_point.y, p.y);
    }
    EXPECT_TRUE(lit(*screen).empty());
    EXPECT_TRUE(dirty_rows(*screen).empty());

    // Relative to the cursor, which now stands at (5, -1).
    gfx_pset(nullptr, 2, 3, 9, RELATIVE_POINT, 0);
    EXPECT_EQ(lit(*screen), (Pixels{{7, 2}}));
}

TEST_F(DrawPset, OmittedColourUsesForegroundOrBackground) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    gfx_line(nullptr, 0, 0, 20, 20, 6, LINE_FILLED_BOX, STYLE_SOLID, 0);
    gfx_pset(nullptr, 1, 1, 9, COLOUR_OMITTED | RELATIVE_POINT_ABSOLUTE, 0);
    gfx_pset(nullptr, 2, 2, 9, COLOUR_OMITTED | RELATIVE_POINT_ABSOLUTE, 1);
    gfx_pset(nullptr, 3, 3, 9, RELATIVE_POINT_ABSOLUTE, 1);  // a given colour wins
    EXPECT_EQ(pixel_at(*screen, 1, 1), 15u);
    EXPECT_EQ(pixel_at(*screen, 2, 2), 0u);
    EXPECT_EQ(pixel_at(*screen, 3, 3), 9u);

    // At 32 bits the background is opaque black.
    screen = open_screen(18, 32);
    ASSERT_NE(screen, nullptr);
    gfx_pset(nullptr, 1, 1, 0, COLOUR_OMITTED, 0);
    gfx_pset(nullptr, 2, 2, 0, COLOUR_OMITTED, 1);
    EXPECT_EQ(pixel_at(*screen, 1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(pixel_at(*screen, 2, 2), 0xFF000000u);
}

}  // namespace
