#include <gtest/gtest.h>

#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawCoordinates = test_support::GfxTest;

using namespace draw_test;

TEST_F(DrawCoordinates, RoundHalfAwayFromZero) {
    ASSERT_NE(open_screen(), nullptr);
    const DrawContext& context = refresh_draw_context();
    struct Case {
        float value;
        int64_t pixel;
    };
    for (const Case& c :
         {Case{0.5f, 1}, Case{-0.5f, -1}, Case{639.4f, 639}, Case{2.5f, 3}, Case{-2.5f, -3},
          Case{0.0f, 0}, Case{-0.0f, 0}, Case{-0.4f, 0}, Case{1.49f, 1}, Case{-1.5f, -2},
          // float addition would give 1; the sum is taken in long double
          Case{0.49999997f, 0}, Case{-0.49999997f, 0}, Case{2147483520.0f, 2147483520},
          Case{-2147483648.0f, -2147483648}}) {
        const PixelPoint p = map_point(context, c.value, -c.value);
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.x, c.pixel) << c.value;
        EXPECT_EQ(p.y, -c.pixel) << c.value;
    }
}

TEST_F(DrawCoordinates, MappingAddsTheViewOrigin) {
    ASSERT_NE(open_screen(), nullptr);
    DrawContext context = refresh_draw_context();
    context.view = ViewRect{7, -3, 100, 100};
    const PixelPoint p = map_point(context, 2.5f, 1.2f);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, -2);
}

TEST_F(DrawCoordinates, PixelRoundingOnScreen) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    gfx_pset(nullptr, 639.4f, 0.5f, 9, 4, 0);    // (639, 1)
    gfx_pset(nullptr, 639.5f, 3.0f, 9, 4, 0);    // 640: outside
    gfx_pset(nullptr, -0.4f, 5.0f, 9, 4, 0);     // 0
    gfx_pset(nullptr, -0.5f, 7.0f, 9, 4, 0);     // -1: outside
    gfx_pset(nullptr, 10.0f, 479.49f, 9, 4, 0);  // (10, 479)
    EXPECT_EQ(lit(*screen), (Pixels{{639, 1}, {0, 5}, {10, 479}}));
}

TEST_F(DrawCoordinates, RelativeSumsAreSinglePrecision) {
    ASSERT_NE(open_screen(), nullptr);
    DrawContext& context = refresh_draw_context();
    context.last_point = PointF{16777216.0f, 0.25f};
    PointF point{1.0f, 0.1f};
    apply_step(context, RELATIVE_POINT, point, nullptr);
    EXPECT_EQ(point.x, 16777216.0f);  // 2^24 + 1 has no float
    EXPECT_EQ(point.y, 0.25f + 0.1f);
    EXPECT_EQ(context.last_point.x, point.x);
    EXPECT_EQ(context.last_point.y, point.y);
}

TEST_F(DrawCoordinates, RelativeCodeTable) {
    ASSERT_NE(open_screen(), nullptr);
    DrawContext& context = refresh_draw_context();
    struct Case {
        int32_t flags;
        PointF first, second;
    };
    // last_point (100, 50); points passed (1, 2) and (10, 20).
    const Case cases[] = {
        {0, {1, 2}, {10, 20}},
        {1, {1, 2}, {11, 22}},
        {2, {101, 52}, {10, 20}},
        {3, {101, 52}, {111, 72}},
        {4, {1, 2}, {10, 20}},
        {5, {101, 52}, {10, 20}},
        {6, {1, 2}, {10, 20}},
        {7, {1, 2}, {10, 20}},
        {INT32_MIN | 3, {101, 52}, {111, 72}},
        {0x7FFFFFF9, {1, 2}, {11, 22}},
    };
    for (const Case& c : cases) {
        context.last_point = PointF{100, 50};
        PointF first{1, 2};
        PointF second{10, 20};
        apply_step(context, c.flags, first, &second);
        EXPECT_EQ(first.x, c.first.x) << c.flags;
        EXPECT_EQ(first.y, c.first.y) << c.flags;
        EXPECT_EQ(second.x, c.second.x) << c.flags;
        EXPECT_EQ(second.y, c.second.y) << c.flags;
        EXPECT_EQ(context.last_point.x, c.second.x) << c.flags;
        EXPECT_EQ(context.last_point.y, c.second.y) << c.flags;

        // With one point the cursor ends on it, and the second-point codes add nothing.
        context.last_point = PointF{100, 50};
        PointF only{1, 2};
        apply_step(context, c.flags, only, nullptr);
        EXPECT_EQ(only.x, c.first.x) << c.flags;
        EXPECT_EQ(context.last_point.x, c.first.x) << c.flags;
        EXPECT_EQ(context.last_point.y, c.first.y) << c.flags;
    }
}

TEST_F(DrawCoordinates, OutcodesReverseAndCorners) {
    ASSERT_NE(open_screen(), nullptr);
    const DrawContext& context = refresh_draw_context();
    EXPECT_EQ(clip_outcode(context, 0, 0), 0u);
    EXPECT_EQ(clip_outcode(context, 639, 479), 0u);
    EXPECT_EQ(clip_outcode(context, -1, 0), 1u);
    EXPECT_EQ(clip_outcode(context, 640, 0), 2u);
    EXPECT_EQ(clip_outcode(context, 0, -1), 8u);
    EXPECT_EQ(clip_outcode(context, 0, 480), 4u);
    EXPECT_EQ(clip_outcode(context, -1, 480), 5u);
    EXPECT_EQ(clip_outcode(context, 1LL << 40, -(1LL << 40)), 10u);

    EXPECT_EQ(reverse_bits16(0x0001), 0x8000);
    EXPECT_EQ(reverse_bits16(0xF000), 0x000F);
    EXPECT_EQ(reverse_bits16(0x1234), 0x2C48);
    EXPECT_EQ(reverse_bits16(0xFFFF), 0xFFFF);

    int64_t x1 = 30, y1 = 5, x2 = 10, y2 = 20;
    order_corners(x1, y1, x2, y2);
    EXPECT_EQ(x1, 10);
    EXPECT_EQ(y1, 5);
    EXPECT_EQ(x2, 30);
    EXPECT_EQ(y2, 20);
}

}  // namespace
