#include <gtest/gtest.h>
#include <stdlib.h>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"
#include "tests/support/gfx_state.h"

namespace {

using Screen = test_support::GfxTest;

constexpr int32_t kNull = SCREEN_FLAG_NULL_DRIVER;

TEST_F(Screen, Mode12IsTheSimulationsScreen) {
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    const ScreenContext* s = active_screen();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->mode_number, 12);
    EXPECT_EQ(s->width, 640);
    EXPECT_EQ(s->height, 480);
    EXPECT_EQ(s->depth, 4);
    EXPECT_EQ(s->bytes_per_pixel, 1);
    EXPECT_EQ(s->pitch, 640);
    EXPECT_EQ(s->colour_mask, 15u);
    EXPECT_EQ(s->page_count, 1);
    EXPECT_EQ(s->line_repeat, 1);
    EXPECT_EQ(s->text_columns, 80);
    EXPECT_EQ(s->text_rows, 30);
    EXPECT_EQ(s->font, &font_8x16);
    EXPECT_EQ(s->framebuffer, s->page_buffers[0].get());
    EXPECT_EQ(s->driver, &null_driver);
    EXPECT_EQ(last_error, 0);
    for (int32_t i = 0; i < s->pitch * s->height; ++i)
        ASSERT_EQ(s->framebuffer[i], 0) << i;
    // Page 0 starts as blank cells in the default colours.
    EXPECT_EQ(s->text_cells[0][0].code, 32u);
    EXPECT_EQ(s->text_cells[0][0].foreground, 15u);
    EXPECT_EQ(s->text_cells[0][0].background, 0u);
}

TEST_F(Screen, DepthArgumentOnlyCountsFromMode14) {
    struct Case {
        int32_t mode, depth_argument, depth, bytes;
        uint32_t mask;
    };
    const Case cases[] = {
        {18, 32, 32, 4, 0xFFFFFFFF}, {18, 7, 8, 1, 0xFF},     {18, 24, 32, 4, 0xFFFFFFFF},
        {18, 15, 16, 2, 0xFFFF},     {14, 16, 16, 2, 0xFFFF}, {13, 32, 8, 1, 0xFF},
        {12, 32, 4, 1, 15},          {2, 8, 1, 1, 1},         {1, 0, 2, 1, 3},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(gfx_screen(c.mode, c.depth_argument, 0, kNull, 0), 0);
        const ScreenContext* s = active_screen();
        EXPECT_EQ(s->depth, c.depth) << c.mode << "/" << c.depth_argument;
        EXPECT_EQ(s->bytes_per_pixel, c.bytes) << c.mode << "/" << c.depth_argument;
        EXPECT_EQ(s->colour_mask, c.mask) << c.mode << "/" << c.depth_argument;
        EXPECT_EQ(s->pitch, s->width * c.bytes);
    }
}

TEST_F(Screen, UnsupportedModesKeepTheOldScreen) {
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    const ScreenContext* before = active_screen();
    const int32_t id = before->screen_id;
    for (const int32_t mode : {3, 4, 5, 6, 22, -1, INT32_MIN}) {
        EXPECT_EQ(gfx_screen(mode, 8, 0, kNull, 0), 1) << mode;
        EXPECT_EQ(last_error, 1);
        EXPECT_EQ(active_screen(), before);
        EXPECT_EQ(active_screen()->screen_id, id);
    }
    for (const auto& size : {std::pair{0, 10}, {10, 0}, {-5, 10}, {100000, 10}}) {
        EXPECT_EQ(gfx_screen_size(size.first, size.second, 8, 1, kNull, 0), 1);
        EXPECT_EQ(active_screen(), before);
    }
    for (const int32_t depth : {0, 3, 5, 7, 12, 64}) {
        EXPECT_EQ(gfx_screen_size(100, 100, depth, 1, kNull, 0), 1) << depth;
        EXPECT_EQ(active_screen(), before);
    }
    // Pages beyond any sensible memory are refused before the old screen goes.
    EXPECT_EQ(gfx_screen(21, 32, 100000, kNull, 0), 1);
    EXPECT_EQ(active_screen(), before);
}

TEST_F(Screen, EveryNewScreenIsFreshAndBlack) {
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    const int32_t first = active_screen()->screen_id;
    gfx_line(nullptr, 0, 0, 639, 479, 14, 2, STYLE_SOLID, 0);
    ASSERT_EQ(active_screen()->framebuffer[1000], 14);
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    EXPECT_GT(active_screen()->screen_id, first);
    EXPECT_EQ(active_screen()->framebuffer[1000], 0);
    // A 32-bit screen starts as opaque black.
    ASSERT_EQ(gfx_screen(18, 32, 0, kNull, 0), 0);
    const auto* pixels = reinterpret_cast<const uint32_t*>(active_screen()->framebuffer);
    EXPECT_EQ(pixels[0], 0xFF000000u);
    EXPECT_EQ(pixels[640 * 480 - 1], 0xFF000000u);
}

TEST_F(Screen, FreeSizeScreens) {
    ASSERT_EQ(gfx_screen_size(100, 50, 15, 2, kNull, 0), 0);
    const ScreenContext* s = active_screen();
    EXPECT_EQ(s->mode_number, -1);
    EXPECT_EQ(s->depth, 16);
    EXPECT_EQ(s->pitch, 200);
    EXPECT_EQ(s->page_count, 2);
    EXPECT_EQ(s->text_columns, 12);
    EXPECT_EQ(s->text_rows, 6);
    EXPECT_EQ(s->font, &font_8x8);
    EXPECT_EQ(s->default_palette, &palette_256);
    ASSERT_EQ(gfx_screen_size(7, 3, 1, 0, kNull, 0), 0);
    EXPECT_EQ(active_screen()->colour_mask, 1u);
    EXPECT_EQ(active_screen()->text_columns, 0);
}

TEST_F(Screen, FlagBits) {
    unsetenv("QXGFX");
    ASSERT_EQ(gfx_screen(18, 32, 0, SCREEN_FLAG_ALPHA, 0), 1);  // no window driver here
    setenv("QXGFX", "NuLl", 1);
    ASSERT_EQ(gfx_screen(18, 32, 0, SCREEN_FLAG_ALPHA, 0), 0);
    EXPECT_NE(active_screen()->screen_flags & SCREEN_ALPHA, 0u);
    EXPECT_EQ(active_screen()->driver, &null_driver);
    // -1 asks for the null driver and nothing else.
    ASSERT_EQ(gfx_screen(18, 32, 0, kNull, 0), 0);
    EXPECT_EQ(active_screen()->screen_flags & (SCREEN_ALPHA | SCREEN_OPENGL), 0u);
    // Asking for the OpenGL form raises the depth to 16.
    ASSERT_EQ(gfx_screen(12, 0, 0, SCREEN_FLAG_OPENGL, 0), 0);
    EXPECT_EQ(active_screen()->depth, 16);
    EXPECT_NE(active_screen()->screen_flags & SCREEN_OPENGL, 0u);
    unsetenv("QXGFX");
}

TEST_F(Screen, NoDriverLeavesNoScreen) {
    unsetenv("QXGFX");
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    EXPECT_EQ(gfx_screen(12, 8, 0, 0, 0), 1);
    EXPECT_EQ(last_error, 1);
    EXPECT_EQ(active_screen(), nullptr);
    EXPECT_EQ(console_hooks.inkey, nullptr);
    EXPECT_EQ(console_hooks.set_pages, nullptr);
}

TEST_F(Screen, HooksFollowTheScreen) {
    EXPECT_EQ(console_hooks.inkey, nullptr);
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    EXPECT_NE(console_hooks.inkey, nullptr);
    EXPECT_NE(console_hooks.pause, nullptr);
    EXPECT_NE(console_hooks.view_changed, nullptr);
    EXPECT_EQ(console_hooks.is_redirected(), 0);
    ASSERT_EQ(gfx_screen(0, 0, 0, 0, 0), 0);
    EXPECT_EQ(active_screen(), nullptr);
    EXPECT_EQ(console_hooks.inkey, nullptr);
    EXPECT_EQ(console_hooks.pause, nullptr);
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    screen_exit_handler();
    EXPECT_EQ(active_screen(), nullptr);
    EXPECT_EQ(console_hooks.inkey, nullptr);
}

TEST_F(Screen, PagesChooseWhatIsDrawnAndShown) {
    ASSERT_EQ(gfx_screen(12, 8, 3, kNull, 0), 0);
    ScreenContext* s = active_screen();
    ASSERT_EQ(s->page_count, 3);
    ASSERT_EQ(s->text_cells.size(), 3u);
    EXPECT_EQ(s->text_cells[1][0].code, 0u);  // further pages start zeroed

    EXPECT_EQ(gfx_set_pages(1, 2), 0);
    EXPECT_EQ(s->visible_page, 2);
    EXPECT_EQ(s->framebuffer, s->page_buffers[2].get());
    EXPECT_EQ(s->dirty_rows[0], 1);
    EXPECT_EQ(s->dirty_rows[479], 1);

    gfx_pset(nullptr, 5, 6, 9, 4, 0);
    EXPECT_EQ(s->page_buffers[1][6 * 640 + 5], 9);
    EXPECT_EQ(s->page_buffers[0][6 * 640 + 5], 0);

    EXPECT_EQ(gfx_copy_page(-1, -1), 0);  // work page to the visible page
    EXPECT_EQ(s->page_buffers[2][6 * 640 + 5], 9);
    EXPECT_EQ(gfx_copy_page(1, 3), 1);
    EXPECT_EQ(gfx_copy_page(5, 0), 1);

    EXPECT_EQ(gfx_set_pages(7, 9), 1 | (2 << 8));  // invalid pages change nothing
    EXPECT_EQ(gfx_set_pages(-1, -1), 1 | (2 << 8));
    EXPECT_EQ(s->visible_page, 0);
    EXPECT_EQ(gfx_set_pages(0, 0), 0);

    gfx_screen(0, 0, 0, 0, 0);
    EXPECT_EQ(gfx_set_pages(0, 0), -1);
    EXPECT_EQ(gfx_copy_page(0, 0), 1);
}

// A driver that counts its lock calls, to watch the lock protocol.
int g_locks = 0;
int g_unlocks = 0;
void counting_lock() {
    ++g_locks;
}
void counting_unlock(bool) {
    ++g_unlocks;
}

TEST_F(Screen, LockIsTakenOncePerPrimitiveOrHeldByTheCaller) {
    ASSERT_EQ(gfx_screen(12, 8, 0, kNull, 0), 0);
    g_locks = g_unlocks = 0;
    static const WindowDriver counting_driver{
        .name = "counting", .lock = counting_lock, .unlock = counting_unlock};
    active_screen()->driver = &counting_driver;

    gfx_pset(nullptr, 1, 1, 3, 4, 0);
    EXPECT_EQ(g_locks, 1);
    EXPECT_EQ(g_unlocks, 1);
    EXPECT_EQ(active_screen()->screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED), 0u);

    gfx_lock();
    gfx_pset(nullptr, 1, 1, 3, 4, 0);
    gfx_line(nullptr, 0, 0, 10, 10, 3, 0, STYLE_SOLID, 0);
    EXPECT_EQ(g_locks, 2);
    EXPECT_EQ(g_unlocks, 1);
    gfx_unlock();
    EXPECT_EQ(g_unlocks, 2);
    EXPECT_EQ(active_screen()->screen_flags & SCREEN_LOCKED, 0u);

    // Drawing wholly outside the view never locks.
    gfx_line(nullptr, -50, -50, -10, -10, 3, 0, STYLE_SOLID, 0);
    EXPECT_EQ(g_locks, 2);
}

}  // namespace
