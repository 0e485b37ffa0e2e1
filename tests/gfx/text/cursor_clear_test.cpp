#include <gtest/gtest.h>

#include <random>

#include "gfx/gfx.h"
#include "runtime/runtime.h"
#include "tests/gfx/text/text_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using TextCls = test_support::GfxTest;
using TextConsole = test_support::GfxTest;
using TextLocate = test_support::GfxTest;
using TextRobustness = test_support::GfxTest;
using TextView = test_support::GfxTest;

using namespace text_test;

TEST_F(TextLocate, PositionsOutsideTheViewMoveNothingAndLeaveNoError) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(gfx_locate(3, 7, -1), 3 * 256 + 7);
    for (const auto& [row, column] : {std::pair{31, 1}, {-1, 0}, {1, 81}, {0, -2}, {0, 0}}) {
        last_error = ERROR_OUT_OF_MEMORY;
        EXPECT_EQ(gfx_locate(row, column, -1), 3 * 256 + 7);
        EXPECT_EQ(last_error, ERROR_NONE);
    }
    gfx_locate(0, 5, -1);
    EXPECT_EQ(gfx_cursor_row(), 3);
    EXPECT_EQ(gfx_cursor_column(), 5);

    // Even a refused position ends a pending wrap: the next text stays on the row.
    gfx_locate(30, 1, -1);
    print(row_of('w'));
    gfx_locate(31, 1, -1);
    EXPECT_EQ(screen->screen_flags & SCREEN_PENDING_WRAP, 0u);
    print("E");
    EXPECT_EQ(cells(*screen, 30, 79, 2), "wE");
}

TEST_F(TextView, LimitsCursorScrollingAndClearing) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    print("keep");
    EXPECT_EQ(gfx_view_print(3, 5), 0);
    EXPECT_EQ(gfx_cursor_row(), 3);
    gfx_locate(6, 1, -1);
    EXPECT_EQ(gfx_cursor_row(), 3);
    print("three", 1);
    print("four", 1);
    print("five", 1);  // a line end on the view's last row scrolls the view alone
    EXPECT_EQ(cells(*screen, 1, 1, 4), "keep");
    EXPECT_EQ(cells(*screen, 3, 1, 4), "four");
    EXPECT_EQ(cells(*screen, 4, 1, 4), "five");
    EXPECT_EQ(cells(*screen, 5, 1, 4), "    ");
    EXPECT_EQ(gfx_cursor_row(), 5);

    EXPECT_EQ(gfx_view_print(0, 31), 1);
    EXPECT_EQ(gfx_view_print(6, 4), 1);
    EXPECT_EQ(gfx_view_print(-1, 10), 0);  // keeps the first row
    EXPECT_EQ(view_print_top, 2);
    EXPECT_EQ(view_print_bottom, 9);
}

TEST_F(TextCls, EachModeClearsWhatItNames) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    const auto paint = [] {
        gfx_line(nullptr, 0, 0, 639, 479, 9, LINE_FILLED_BOX, STYLE_SOLID, 0);
        gfx_locate(4, 10, -1);
        print("text");
    };

    // The whole grid is the text view, so no argument clears everything.
    paint();
    clear_dirty_rows(*screen);
    gfx_cls(CLS_DEFAULT);
    EXPECT_TRUE(lit(*screen).empty());
    EXPECT_EQ(cells(*screen, 4, 10, 4), "    ");
    EXPECT_EQ(gfx_cursor_row() * 100 + gfx_cursor_column(), 101);
    EXPECT_EQ(refresh_draw_context().last_point.x, 320.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 240.0f);
    EXPECT_EQ(dirty_rows(*screen), row_range(0, 479));

    // The graphics view: pixels only.
    for (const int32_t mode : {1, 7}) {
        paint();
        gfx_pset(nullptr, 5, 5, 9, RELATIVE_POINT_ABSOLUTE, 0);
        gfx_cls(mode);
        EXPECT_TRUE(lit(*screen).empty());
        EXPECT_EQ(cells(*screen, 4, 10, 4), "text");
        EXPECT_EQ(gfx_cursor_row() * 100 + gfx_cursor_column(), 414);
        EXPECT_EQ(refresh_draw_context().last_point.x, 320.0f);
    }

    // With a narrower text view, no argument clears just its rows.
    gfx_view_print(4, 6);
    paint();
    gfx_pset(nullptr, 5, 5, 9, RELATIVE_POINT_ABSOLUTE, 0);
    clear_dirty_rows(*screen);
    gfx_cls(CLS_DEFAULT);
    for (const int32_t y : {47, 48, 95, 96}) {
        EXPECT_EQ(pixel_at(*screen, 300, y), (y >= 48 && y < 96) ? 0u : 9u) << y;
    }
    EXPECT_EQ(cells(*screen, 4, 10, 4), "    ");
    EXPECT_EQ(gfx_cursor_row() * 100 + gfx_cursor_column(), 401);
    EXPECT_EQ(refresh_draw_context().last_point.x, 5.0f);
    EXPECT_EQ(dirty_rows(*screen), row_range(48, 95));
}

TEST_F(TextConsole, WithoutAScreenPrintingGoesToStandardOutput) {
    gfx_screen(0, 0, 0, 0, 0);
    gfx_cls(CLS_DEFAULT);
    last_error = ERROR_OUT_OF_MEMORY;
    EXPECT_EQ(gfx_locate(5, 5, -1), 257);
    EXPECT_EQ(last_error, ERROR_NONE);
    int32_t columns = 0;
    int32_t rows = 0;
    gfx_text_size(&columns, &rows);
    EXPECT_EQ(columns * 100 + rows, 8025);
    testing::internal::CaptureStdout();
    print("hi\t", 1);
    gfx_print_int(0, -7, 0);
    gfx_print(1, nullptr, 1);  // not the screen's device
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "hi\t\r\n-7");
}

TEST_F(TextRobustness, AnyBytesAtAnyCursorStayInsideGridAndFramebuffer) {
    // Mode 12, then screens with other pixel sizes, then one too small for a
    // single text cell; the sanitizer build watches every write.
    std::mt19937 random(12345);
    const auto shake = [&](ScreenContext& screen) {
        for (int32_t round = 0; round < 200; ++round) {
            screen.text_row = static_cast<int32_t>(random() % 100) - 30;
            screen.text_column = static_cast<int32_t>(random() % 300) - 100;
            if (random() % 4 == 0) screen.screen_flags |= SCREEN_PENDING_WRAP;
            if (random() % 8 == 0) {
                view_print_top = static_cast<int32_t>(random() % 80) - 10;
                view_print_bottom = static_cast<int32_t>(random() % 80) - 10;
            }
            std::string bytes(1 + random() % 300, '\0');
            for (char& b : bytes)
                b = static_cast<char>(random() % 256);
            print(bytes, static_cast<int32_t>(random() % 2));
            write_text(reinterpret_cast<const uint8_t*>("x"), -1, 0);
            gfx_cls(static_cast<int32_t>(random() % 3));
            if (screen.text_rows > 0) {
                ASSERT_GE(screen.text_row, 0);
                ASSERT_LT(screen.text_row, screen.text_rows);
                ASSERT_GE(screen.text_column, 0);
                ASSERT_LT(screen.text_column, screen.text_columns);
            }
        }
    };
    for (const auto& [mode, depth] : {std::pair{12, 8}, {18, 32}, {18, 16}, {1, 8}}) {
        ScreenContext* screen = open_screen(mode, depth);
        ASSERT_NE(screen, nullptr);
        shake(*screen);
    }

    ASSERT_EQ(gfx_screen_size(7, 3, 8, 1, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    ScreenContext* tiny = active_screen();
    print("abc", 1);
    EXPECT_EQ(gfx_cursor_row() * 100 + gfx_cursor_column(), 101);
    EXPECT_TRUE(lit(*tiny).empty());
    shake(*tiny);
}

TEST_F(TextRobustness, AStrayCursorIsBroughtBackIntoTheView) {
    ScreenContext* screen = open_screen(18, 32);
    ASSERT_NE(screen, nullptr);
    screen->text_row = 500;
    screen->text_column = -3;
    print("A");
    EXPECT_EQ(cells(*screen, 30, 1, 1), "A");
    EXPECT_EQ(gfx_cursor_row() * 100 + gfx_cursor_column(), 3002);
    // At 32 bits the colours are the opaque defaults.
    EXPECT_EQ(pixel_at(*screen, 0, 479), 0xFF000000u);
    const Pixels ink = pixels_not(*screen, screen->framebuffer, 0xFF000000u);
    EXPECT_FALSE(ink.empty());
    for (const Pixel& p : ink)
        EXPECT_EQ(pixel_at(*screen, p.first, p.second), 0xFFFFFFFFu);
}

}  // namespace
