#include <gtest/gtest.h>

#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawLine = test_support::GfxTest;

using namespace draw_test;

TEST_F(DrawLine, DegenerateLineIsOnePixel) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    line(10, 10, 10, 10, 9);
    EXPECT_EQ(lit(*screen), (Pixels{{10, 10}}));
    EXPECT_EQ(pixel_at(*screen, 10, 10), 9u);
}

TEST_F(DrawLine, StyleIsAnchoredAtTheFirstEndpoint) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    // Drawn leftwards: the four set bits belong to the four pixels next to x = 20.
    line(20, 5, 10, 5, 9, 0xF000);
    EXPECT_EQ(lit(*screen), (Pixels{{17, 5}, {18, 5}, {19, 5}, {20, 5}}));

    // The same upwards, and rightwards / downwards for comparison.
    line(30, 20, 30, 10, 9, 0xF000);
    line(40, 10, 50, 10, 9, 0xF000);
    line(60, 10, 60, 20, 9, 0xF000);
    const Pixels all = lit(*screen);
    for (int32_t y = 10; y <= 20; ++y)
        EXPECT_EQ(all.count({30, y}), y >= 17 ? 1u : 0u) << y;
    for (int32_t x = 40; x <= 50; ++x)
        EXPECT_EQ(all.count({x, 10}), x <= 43 ? 1u : 0u) << x;
    for (int32_t y = 10; y <= 20; ++y)
        EXPECT_EQ(all.count({60, y}), y <= 13 ? 1u : 0u) << y;
}

TEST_F(DrawLine, StyleRepeatsEvery16Positions) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    // 31 positions from y = 40 up to y = 10: positions 0 and 16 are drawn.
    line(10, 40, 10, 10, 9, 0x8000);
    EXPECT_EQ(lit(*screen), (Pixels{{10, 40}, {10, 24}}));

    open_screen();
    line(0, 0, 16, 3, 9, 0x8000);  // sloped: 17 positions
    EXPECT_EQ(lit(*active_screen()), (Pixels{{0, 0}, {16, 3}}));

    open_screen();
    line(100, 7, 50, 7, 9, 0x12348000);  // only the low 16 bits count
    EXPECT_EQ(lit(*active_screen()), (Pixels{{100, 7}, {84, 7}, {68, 7}, {52, 7}}));
}

TEST_F(DrawLine, BresenhamStartsAtTheFirstPointAndTiesTakeTheMinorStep) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    line(0, 0, 4, 2);
    EXPECT_EQ(lit(*screen), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));

    screen = open_screen();
    line(4, 2, 0, 0);  // the reverse direction picks other pixels
    EXPECT_EQ(lit(*screen), (Pixels{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));

    screen = open_screen();
    line(0, 0, 2, 4);  // steep
    EXPECT_EQ(lit(*screen), (Pixels{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
}

TEST_F(DrawLine, ClippedEndIsTruncatedTowardZero) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    // Leaves the view on the right at y = 130 - 0.3 * 61 = 111.7, kept as 111.
    line(600, 100, 700, 130);
    Pixels pixels = lit(*screen);
    EXPECT_EQ(pixels.size(), 40u);
    EXPECT_EQ(pixels.count({639, 111}), 1u);
    EXPECT_EQ(pixels.count({639, 112}), 0u);
    EXPECT_EQ(pixels.count({600, 100}), 1u);
    for (const Pixel& p : pixels)
        EXPECT_GE(p.first, 600);  // nothing wrapped to the next row

    // Enters on the left at y = -7 + 0.65 * 10 = -0.5, which becomes row 0, not -1.
    screen = open_screen();
    line(-10, -7, 10, 6);
    pixels = lit(*screen);
    EXPECT_EQ(pixels.size(), 11u);
    EXPECT_EQ(pixels.count({0, 0}), 1u);
    EXPECT_EQ(pixels.count({10, 6}), 1u);
}

TEST_F(DrawLine, FarOutsideEndStopsAtTheViewEdge) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    line(320, 240, 1000320, 1000240);
    Pixels expected;
    for (int32_t k = 0; k < 240; ++k)
        expected.insert({320 + k, 240 + k});
    EXPECT_EQ(lit(*screen), expected);
    EXPECT_EQ(refresh_draw_context().last_point.x, 1000320.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 1000240.0f);

    // A line touching only the corner of the view gives the corner pixel.
    screen = open_screen();
    line(-5, 5, 5, -5);
    EXPECT_EQ(lit(*screen), (Pixels{{0, 0}}));
}

TEST_F(DrawLine, ClippedSecondEndBecomesTheStyleAnchor) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    line(-5, 3, 10, 3, 9, 0xF000);
    EXPECT_EQ(lit(*screen), (Pixels{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    // Clipping the second end turns the line round: the same four pixels.
    screen = open_screen();
    line(10, 3, -5, 3, 9, 0xF000);
    EXPECT_EQ(lit(*screen), (Pixels{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(DrawLine, LinesOutsideTheViewDrawAndMarkNothing) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    line(-10, -10, -1, 500);    // wholly left
    line(-10, 5, 5, -10);       // passes the top-left corner outside
    line(700, 100, 640, 479);   // wholly right
    line(0, 480, 639, 100000);  // wholly below
    EXPECT_TRUE(lit(*screen).empty());
    EXPECT_TRUE(dirty_rows(*screen).empty());
}

TEST_F(DrawLine, SolidHorizontalRunCoversExactlyItsPixels) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    line(639, 479, 0, 479, 3);
    line(5, 0, 7, 0, 4);
    Pixels expected;
    for (int32_t x = 0; x < 640; ++x)
        expected.insert({x, 479});
    expected.insert({{5, 0}, {6, 0}, {7, 0}});
    EXPECT_EQ(lit(*screen), expected);
    EXPECT_EQ(pixel_at(*screen, 0, 479), 3u);
    EXPECT_EQ(pixel_at(*screen, 6, 0), 4u);
}

TEST_F(DrawLine, RelativeCodesAndLastPoint) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    refresh_draw_context().last_point = PointF{100, 50};
    line(1, 1, 5, 0, 9, STYLE_SOLID, RELATIVE_BOTH);
    Pixels expected;
    for (int32_t x = 101; x <= 106; ++x)
        expected.insert({x, 51});
    EXPECT_EQ(lit(*screen), expected);
    EXPECT_EQ(refresh_draw_context().last_point.x, 106.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 51.0f);

    screen = open_screen();
    line(10, 20, 0, 5, 9, STYLE_SOLID, RELATIVE_SECOND);  // (10,20)-(10,25)
    EXPECT_EQ(lit(*screen), (Pixels{{10, 20}, {10, 21}, {10, 22}, {10, 23}, {10, 24}, {10, 25}}));
    line(1, 0, 30, 30, 0, STYLE_SOLID, RELATIVE_FIRST);  // (11,25)-(30,30), colour 0
    EXPECT_EQ(refresh_draw_context().last_point.x, 30.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 30.0f);

    // Codes 6 and 7 add nothing; the sign bit omits the colour and other bits are ignored.
    screen = open_screen();
    refresh_draw_context().last_point = PointF{100, 100};
    line(3, 3, 3, 3, 9, STYLE_SOLID, 0x7FFFFFF6);
    line(4, 4, 4, 4, 9, STYLE_SOLID, INT32_MIN | 7);
    EXPECT_EQ(lit(*screen), (Pixels{{3, 3}, {4, 4}}));
    EXPECT_EQ(pixel_at(*screen, 4, 4), 15u);
}

TEST_F(DrawLine, OmittedColourUsesTheForeground) {
    struct Case {
        int32_t mode, depth;
        uint32_t foreground;
    };
    for (const Case& c : {Case{12, 8, 15}, Case{18, 8, 15}, Case{11, 0, 1}, Case{1, 0, 3},
                          Case{18, 16, 0xFFFF}, Case{18, 32, 0xFFFFFFFF}}) {
        ScreenContext* screen = open_screen(c.mode, c.depth);
        ASSERT_NE(screen, nullptr);
        line(2, 2, 2, 2, 5, STYLE_SOLID, COLOUR_OMITTED);
        EXPECT_EQ(pixel_at(*screen, 2, 2), c.foreground) << c.mode << "/" << c.depth;
    }
}

TEST_F(DrawLine, MarksTheRowsItChanged) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    line(5, 30, 50, 10);
    EXPECT_EQ(dirty_rows(*screen), row_range(10, 30));

    clear_dirty_rows(*screen);
    line(320, -100, 320, 3);  // clipped at the top
    EXPECT_EQ(dirty_rows(*screen), row_range(0, 3));
}

TEST_F(DrawLine, KeepsALockTheCallerHolds) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    gfx_lock();
    line(1, 1, 9, 9);
    EXPECT_NE(screen->screen_flags & SCREEN_LOCKED, 0u);
    gfx_unlock();
    EXPECT_EQ(screen->screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED), 0u);
    line(1, 2, 9, 9);
    EXPECT_EQ(screen->screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED), 0u);
}

}  // namespace
