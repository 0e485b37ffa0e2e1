#include <gtest/gtest.h>

#include "gfx/gfx.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawRect = test_support::GfxTest;

using namespace draw_test;

void box(float x1, float y1, float x2, float y2, int32_t kind, uint32_t style = STYLE_SOLID,
         uint32_t colour = 9) {
    gfx_line(nullptr, x1, y1, x2, y2, colour, kind, style, 0);
}

Pixels rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Pixels result;
    for (int32_t y = y1; y <= y2; ++y) {
        for (int32_t x = x1; x <= x2; ++x)
            result.insert({x, y});
    }
    return result;
}

TEST_F(DrawRect, FilledBoxCornersInEitherOrder) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    box(30, 20, 10, 5, LINE_FILLED_BOX);
    EXPECT_EQ(lit(*screen), rectangle(10, 5, 30, 20));
    EXPECT_EQ(refresh_draw_context().last_point.x, 10.0f);  // the second point as passed
    EXPECT_EQ(refresh_draw_context().last_point.y, 5.0f);

    screen = open_screen();
    box(10, 20, 30, 5, LINE_FILLED_BOX);
    EXPECT_EQ(lit(*screen), rectangle(10, 5, 30, 20));
    EXPECT_EQ(refresh_draw_context().last_point.x, 30.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 5.0f);
}

TEST_F(DrawRect, FilledBoxIsClippedAndIgnoresTheStyle) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    box(-1e9f, 470, 1e9f, 1e9f, LINE_FILLED_BOX, 0x8000, 2);
    EXPECT_EQ(lit(*screen), rectangle(0, 470, 639, 479));
    EXPECT_EQ(pixel_at(*screen, 639, 479), 2u);
    EXPECT_EQ(dirty_rows(*screen), row_range(470, 479));

    clear_dirty_rows(*screen);
    box(-20, -20, -1, 500, LINE_FILLED_BOX);  // wholly left: nothing at all
    box(640, 0, 700, 10, LINE_FILLED_BOX);
    EXPECT_TRUE(dirty_rows(*screen).empty());
    EXPECT_EQ(lit(*screen).size(), 6400u);
}

TEST_F(DrawRect, SolidFrameIsThePerimeter) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    box(6, 8, 2, 3, LINE_FRAME);
    Pixels expected = rectangle(2, 3, 6, 8);
    for (const Pixel& inside : rectangle(3, 4, 5, 7))
        expected.erase(inside);
    EXPECT_EQ(lit(*screen), expected);
    EXPECT_EQ(dirty_rows(*screen), row_range(3, 8));  // the rows between the edges too

    // Every kind other than 0 and 2 is a frame.
    for (int32_t kind : {3, -1, INT32_MIN, INT32_MAX}) {
        screen = open_screen();
        box(2, 3, 6, 8, kind);
        EXPECT_EQ(lit(*screen), expected) << kind;
    }
}

TEST_F(DrawRect, StyledFrameRunsOnePatternRoundAllEdges) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    // Positions: bottom 0..3, top 4..7, right 8..11, left 12..15; every even one drawn.
    box(0, 0, 3, 3, LINE_FRAME, 0xAAAA);
    EXPECT_EQ(lit(*screen), (Pixels{{0, 3}, {2, 3}, {0, 0}, {2, 0}, {3, 0}, {3, 2}, {0, 2}}));
}

// A frame with edges outside the view must draw the others exactly as the
// same frame drawn whole on a larger screen does.
TEST_F(DrawRect, StyledFrameKeepsItsPhaseWhenClipped) {
    struct Frame {
        float x1, y1, x2, y2;
    };
    const Frame frames[] = {
        {-5, 10, 20, 30},      // left edge outside
        {10, -5, 40, 20},      // top
        {620, 10, 650, 30},    // right
        {10, 470, 40, 490},    // bottom
        {-7, -9, 300, 200},    // left and top
        {600, 450, 700, 500},  // right and bottom
    };
    constexpr int32_t shift = 100;
    for (const Frame& f : frames) {
        for (uint32_t style : {0xE4B1u, 0x8000u, 0x0001u, 0x7FFEu}) {
            ScreenContext* screen = open_screen();
            ASSERT_NE(screen, nullptr);
            box(f.x1, f.y1, f.x2, f.y2, LINE_FRAME, style);
            const Pixels clipped = lit(*screen);
            EXPECT_FALSE(clipped.empty());

            ASSERT_EQ(gfx_screen_size(1000, 1000, 8, 1, SCREEN_FLAG_NULL_DRIVER, 0), 0);
            box(f.x1 + shift, f.y1 + shift, f.x2 + shift, f.y2 + shift, LINE_FRAME, style);
            Pixels whole;
            for (const Pixel& p : lit(*active_screen())) {
                const int32_t x = p.first - shift;
                const int32_t y = p.second - shift;
                if (x >= 0 && x < 640 && y >= 0 && y < 480) whole.insert({x, y});
            }
            EXPECT_EQ(clipped, whole) << f.x1 << "," << f.y1 << " style " << style;
        }
    }
}

TEST_F(DrawRect, HugeFramesCostOnlyTheirVisiblePart) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    box(-1e9f, -1e9f, 1e9f, 1e9f, LINE_FRAME, 0xE4B1);  // every edge outside
    box(-1e30f, -1e30f, 1e30f, 1e30f, LINE_FRAME);
    EXPECT_TRUE(lit(*screen).empty());

    box(10, 10, 3e9f, 20, LINE_FRAME);  // right edge far outside
    Pixels expected = rectangle(10, 10, 639, 10);
    for (const Pixel& p : rectangle(10, 20, 639, 20))
        expected.insert(p);
    for (const Pixel& p : rectangle(10, 10, 10, 20))
        expected.insert(p);
    EXPECT_EQ(lit(*screen), expected);

    // Style positions far beyond 32 bits: the top edge starts at 3e9 - 9 positions.
    screen = open_screen();
    box(10, 10, 3e9f, 20, LINE_FRAME, 0x8000);
    const int64_t across = 3000000000LL - 10 + 1;
    Pixels styled;
    for (int32_t x = 10; x < 640; ++x) {
        if ((x - 10) % 16 == 0) styled.insert({x, 20});
        if ((across + x - 10) % 16 == 0) styled.insert({x, 10});
    }
    for (int32_t y = 10; y <= 20; ++y) {
        if ((2 * across + 11 + y - 10) % 16 == 0) styled.insert({10, y});
    }
    EXPECT_EQ(lit(*screen), styled);
}

}  // namespace
