#include <gtest/gtest.h>

#include "gfx/gfx.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawContextState = test_support::GfxTest;

using namespace draw_test;

TEST_F(DrawContextState, WithoutAScreenNothingHappens) {
    // A context built for a screen that has gone since.
    ASSERT_NE(open_screen(), nullptr);
    gfx_pset(nullptr, 7, 8, 9, 0, 0);
    gfx_screen(0, 0, 0, SCREEN_FLAG_TEARDOWN, 0);
    ASSERT_EQ(active_screen(), nullptr);
    const DrawContext& context = refresh_draw_context();
    const PointF before = context.last_point;
    const int32_t id = context.screen_id;
    EXPECT_EQ(begin_primitive(nullptr, 9, 0).context, nullptr);
    gfx_line(nullptr, 1, 2, 30, 40, 9, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_line(nullptr, 1, 2, 30, 40, 9, LINE_FILLED_BOX, STYLE_SOLID, RELATIVE_BOTH);
    gfx_pset(nullptr, 5, 6, 9, RELATIVE_POINT, 0);
    EXPECT_EQ(refresh_draw_context().last_point.x, before.x);
    EXPECT_EQ(refresh_draw_context().last_point.y, before.y);
    EXPECT_EQ(refresh_draw_context().screen_id, id);
}

TEST_F(DrawContextState, ANewScreenResetsTheContext) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    std::vector<uint8_t> image(IMAGE_HEADER_SIZE + 16 * 4, 0);
    const int32_t header[5] = {IMAGE_HEADER_NEW, 1, 16, 4, 16};
    std::memcpy(image.data(), header, sizeof(header));
    gfx_pset(image.data(), 3, 3, 9, RELATIVE_POINT_ABSOLUTE, 0);
    ASSERT_EQ(refresh_draw_context().target, image.data());

    screen = open_screen(13);
    ASSERT_NE(screen, nullptr);
    const DrawContext& context = refresh_draw_context();
    EXPECT_EQ(context.screen_id, screen->screen_id);
    EXPECT_EQ(context.target, nullptr);
    EXPECT_EQ(context.last_point.x, 0.0f);
    EXPECT_EQ(context.last_point.y, 0.0f);
    EXPECT_EQ(context.view.width, 320);
    EXPECT_EQ(context.view.height, 200);
    EXPECT_EQ(context.saved_view.width, 320);
    EXPECT_EQ(context.saved_view.height, 200);
    EXPECT_EQ(context.work_page, 0);
    EXPECT_EQ(context.bytes_per_pixel, 1);
    EXPECT_EQ(context.pitch, 320);
    EXPECT_EQ(context.foreground, 15u);
    EXPECT_EQ(context.background, 0u);
    EXPECT_EQ(row_start(context, 0), screen->page_buffers[0].get());
    EXPECT_EQ(row_start(context, 199), screen->page_buffers[0].get() + 199 * 320);

    // The whole new screen is drawable: nothing of the old image's view is left.
    gfx_pset(nullptr, 319, 199, 9, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(lit(*screen), (Pixels{{319, 199}}));
}

TEST_F(DrawContextState, DefaultColoursFollowTheDepth) {
    struct Case {
        int32_t mode, depth;
        uint32_t foreground, background;
    };
    for (const Case& c :
         {Case{12, 8, 15, 0}, Case{13, 0, 15, 0}, Case{2, 0, 1, 0}, Case{1, 0, 3, 0},
          Case{18, 16, 0xFFFF, 0}, Case{18, 32, 0xFFFFFFFF, 0xFF000000}}) {
        ASSERT_NE(open_screen(c.mode, c.depth), nullptr);
        EXPECT_EQ(refresh_draw_context().foreground, c.foreground) << c.mode << "/" << c.depth;
        EXPECT_EQ(refresh_draw_context().background, c.background) << c.mode << "/" << c.depth;
    }
}

TEST_F(DrawContextState, APageNotShownMarksNoRows) {
    ScreenContext* screen = open_screen(12, 8, 2);
    ASSERT_NE(screen, nullptr);
    gfx_set_pages(1, 0);
    clear_dirty_rows(*screen);
    gfx_line(nullptr, 5, 30, 50, 10, 9, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_line(nullptr, 5, 100, 50, 110, 9, LINE_FILLED_BOX, STYLE_SOLID, 0);
    gfx_pset(nullptr, 7, 200, 9, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_TRUE(dirty_rows(*screen).empty());
    EXPECT_TRUE(lit(*screen).empty());  // page 0 is shown and untouched
    const Pixels page1 = pixels_not(*screen, screen->page_buffers[1].get());
    EXPECT_EQ(page1.count({5, 30}), 1u);
    EXPECT_EQ(page1.count({50, 110}), 1u);
    EXPECT_EQ(page1.count({7, 200}), 1u);

    // Showing page 1 makes the same drawing mark its rows.
    gfx_set_pages(1, 1);
    clear_dirty_rows(*screen);
    gfx_pset(nullptr, 7, 300, 9, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(dirty_rows(*screen), row_range(300, 300));

    // And drawing on page 0 while page 1 is shown marks nothing.
    gfx_set_pages(0, 1);
    clear_dirty_rows(*screen);
    gfx_pset(nullptr, 7, 301, 9, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_TRUE(dirty_rows(*screen).empty());
    EXPECT_EQ(pixels_not(*screen, screen->page_buffers[0].get()), (Pixels{{7, 301}}));
}

}  // namespace
