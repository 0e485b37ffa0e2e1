#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawRobustness = test_support::GfxTest;

using namespace draw_test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST_F(DrawRobustness, NonFiniteCoordinatesDrawNothing) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    const float values[] = {kNaN, kInf, -kInf};
    for (float bad : values) {
        for (int32_t kind : {LINE_PLAIN, LINE_FRAME, LINE_FILLED_BOX}) {
            gfx_line(nullptr, bad, 5, 10, 10, 9, kind, STYLE_SOLID, 0);
            gfx_line(nullptr, 5, 5, 10, bad, 9, kind, 0x1234, 0);
            gfx_line(nullptr, bad, bad, bad, bad, 9, kind, STYLE_SOLID, RELATIVE_BOTH);
        }
        gfx_pset(nullptr, 3, bad, 9, RELATIVE_POINT_ABSOLUTE, 0);
    }
    EXPECT_TRUE(lit(*screen).empty());
    EXPECT_TRUE(dirty_rows(*screen).empty());
}

TEST_F(DrawRobustness, CursorTakesNonFiniteValuesAndRecovers) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    gfx_line(nullptr, 1, 1, kNaN, 2, 9, LINE_PLAIN, STYLE_SOLID, 0);
    EXPECT_TRUE(std::isnan(refresh_draw_context().last_point.x));
    EXPECT_EQ(refresh_draw_context().last_point.y, 2.0f);
    // Relative to a cursor that is not a number: nothing to draw, and it stays so.
    gfx_pset(nullptr, 1, 1, 9, RELATIVE_POINT, 0);
    EXPECT_TRUE(std::isnan(refresh_draw_context().last_point.x));
    EXPECT_EQ(refresh_draw_context().last_point.y, 3.0f);
    // An absolute second point brings it back.
    gfx_line(nullptr, 1, 1, 5, 5, 9, LINE_PLAIN, STYLE_SOLID, RELATIVE_FIRST);
    EXPECT_TRUE(lit(*screen).empty());
    EXPECT_EQ(refresh_draw_context().last_point.x, 5.0f);
    gfx_pset(nullptr, 1, 1, 9, RELATIVE_POINT, 0);
    gfx_line(nullptr, 0, 0, 2, 0, 9, LINE_PLAIN, STYLE_SOLID, RELATIVE_BOTH);
    EXPECT_EQ(lit(*screen), (Pixels{{6, 6}, {7, 6}, {8, 6}}));

    // inf - inf on the way through the relative code is NaN as well.
    gfx_pset(nullptr, kInf, 0, 9, RELATIVE_POINT_ABSOLUTE, 0);
    gfx_pset(nullptr, -kInf, 0, 9, RELATIVE_POINT, 0);
    EXPECT_TRUE(std::isnan(refresh_draw_context().last_point.x));
    EXPECT_EQ(lit(*screen).size(), 3u);
}

TEST_F(DrawRobustness, HugeCoordinatesAreClippedLikeFarPoints) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    gfx_line(nullptr, 320, 240, 1e30f, 1e30f, 9, LINE_PLAIN, STYLE_SOLID, 0);
    Pixels pixels = lit(*screen);
    EXPECT_EQ(pixels.count({320, 240}), 1u);
    EXPECT_EQ(pixels.count({321, 241}), 1u);
    for (const Pixel& p : pixels) {
        EXPECT_GE(p.first, 320);
        EXPECT_GE(p.second, 240);
    }
    EXPECT_EQ(dirty_rows(*screen), row_range(240, 479));

    screen = open_screen();
    gfx_line(nullptr, -1e30f, 100, 1e30f, 100, 9, LINE_PLAIN, 0xF0F0, 0);
    gfx_line(nullptr, 200, -3.4e38f, 200, 3.4e38f, 9, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_line(nullptr, -1e30f, -1e30f, 1e30f, 1e30f, 9, LINE_PLAIN, 0x1234, 0);
    gfx_line(nullptr, 3e9f, -3e9f, -3e9f, 3e9f, 9, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_line(nullptr, -1e30f, -1e30f, 1e30f, 1e30f, 9, LINE_FRAME, 0x1234, 0);
    gfx_line(nullptr, -1e30f, -1e30f, 1e30f, 1e30f, 9, LINE_FILLED_BOX, STYLE_SOLID, 0);
    gfx_pset(nullptr, 1e30f, -1e30f, 9, RELATIVE_POINT_ABSOLUTE, 0);
    gfx_pset(nullptr, 1e30f, 1e30f, 9, RELATIVE_POINT, 0);
    EXPECT_EQ(lit(*screen).size(), 640u * 480u);  // the filled box covers everything

    // Within the 32-bit range lines still find the view exactly.
    screen = open_screen();
    gfx_line(nullptr, -2147483648.0f, 10, 2147483520.0f, 10, 9, LINE_PLAIN, STYLE_SOLID, 0);
    Pixels expected;
    for (int32_t x = 0; x < 640; ++x)
        expected.insert({x, 10});
    EXPECT_EQ(lit(*screen), expected);
}

TEST_F(DrawRobustness, AnyFlagsKindAndStyleWordIsSafe) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    const int32_t words[] = {0,         -1,         INT32_MIN,
                             INT32_MAX, 0x55555555, static_cast<int32_t>(0xAAAAAAAA)};
    for (int32_t flags : words) {
        for (int32_t kind : words) {
            gfx_line(nullptr, 1, 2, 30, 40, 0xFFFFFFFF, kind, static_cast<uint32_t>(flags), flags);
        }
        gfx_pset(nullptr, 5, 5, 0xFFFFFFFF, flags, flags);
    }
    // Only the given colour's low byte or the foreground can appear.
    for (const Pixel& p : lit(*screen)) {
        const uint32_t value = pixel_at(*screen, p.first, p.second);
        EXPECT_TRUE(value == 0xFF || value == 15) << value;
    }
    EXPECT_EQ(screen->screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED), 0u);
}

}  // namespace
