#include <gtest/gtest.h>

#include "tests/gfx/text/text_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using TextControls = test_support::GfxTest;
using TextPrint = test_support::GfxTest;
using TextWrap = test_support::GfxTest;

using namespace text_test;

// A screen of mode 12 with its font data, cursor at row 1, column 1.
ScreenContext* text_screen() {
    ScreenContext* screen = open_screen();
    if (screen == nullptr || font_8x16.glyphs == nullptr) return nullptr;
    return screen;
}

TEST_F(TextPrint, DrawsOpaqueGlyphsAndAdvancesTheCursor) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    clear_dirty_rows(*screen);
    print("AB");
    EXPECT_TRUE(shows_glyph(*screen, 1, 1, 'A'));
    EXPECT_TRUE(shows_glyph(*screen, 1, 2, 'B'));
    for (const Pixel& p : lit(*screen)) {
        EXPECT_TRUE(p.first < 16 && p.second < 16) << p.first << "," << p.second;
    }
    EXPECT_EQ(cells(*screen, 1, 1, 3), "AB ");
    EXPECT_EQ(screen->text_cells[0][0].foreground, 15u);
    EXPECT_EQ(screen->text_cells[0][0].background, 0u);
    EXPECT_EQ(dirty_rows(*screen), row_range(0, 15));
    EXPECT_EQ(gfx_cursor_row(), 1);
    EXPECT_EQ(gfx_cursor_column(), 3);

    // Text is opaque: a glyph's blank pixels cover what was there.
    gfx_line(nullptr, 16, 0, 100, 40, 9, LINE_FILLED_BOX, STYLE_SOLID, 0);
    print("C", 1);
    EXPECT_TRUE(shows_glyph(*screen, 1, 3, 'C'));
    EXPECT_EQ(gfx_cursor_row(), 2);
    EXPECT_EQ(gfx_cursor_column(), 1);
    EXPECT_TRUE(shows_glyph(*screen, 1, 1, 'A'));  // nothing scrolled
}

TEST_F(TextPrint, IntegersGetABlankOrASign) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    gfx_print_int(0, 3, 0);
    gfx_print_int(0, -12, 0);
    gfx_print_int(0, 0, 1);
    gfx_print_int(0, INT32_MIN, 0);
    EXPECT_EQ(cells(*screen, 1, 1, 8), " 3-12 0 ");
    EXPECT_EQ(cells(*screen, 2, 1, 12), "-2147483648 ");
    EXPECT_EQ(gfx_cursor_column(), 12);
}

TEST_F(TextPrint, SixteenBitUnitsAboveAByteBecomeQuestionMarks) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    const uint16_t units[] = {'A', 0x263A, 0x00E1, 0x100};
    console_hooks.write_text16(units, 4, 0);
    EXPECT_EQ(cells(*screen, 1, 1, 4), "A?\xE1?");
}

TEST_F(TextControls, TabBackspaceBellAndUnderline) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    print("\t");
    EXPECT_EQ(gfx_cursor_column(), 9);
    gfx_locate(1, 79, -1);
    print("\t");
    EXPECT_EQ(cells(*screen, 1, 79, 2), "  ");
    EXPECT_EQ(gfx_cursor_row(), 2);
    EXPECT_EQ(gfx_cursor_column(), 1);
    EXPECT_TRUE(lit(*screen).empty());

    print("\b\a");  // at column 1 neither moves nor draws
    EXPECT_EQ(gfx_cursor_column(), 1);
    EXPECT_TRUE(lit(*screen).empty());
    print("XY\b\b");  // moves back without erasing
    EXPECT_EQ(gfx_cursor_column(), 1);
    EXPECT_EQ(cells(*screen, 2, 1, 2), "XY");
    EXPECT_TRUE(shows_glyph(*screen, 2, 2, 'Y'));
    print("Z\a");  // the bell neither draws nor moves the cursor
    EXPECT_EQ(cells(*screen, 2, 1, 2), "ZY");
    EXPECT_EQ(gfx_cursor_column(), 2);

    // 255 alone only underlines, leaving the cell's other pixels as they were.
    gfx_line(nullptr, 8, 16, 15, 31, 4, LINE_FILLED_BOX, STYLE_SOLID, 0);
    print("\xFF");
    for (int32_t x = 8; x < 16; ++x) {
        EXPECT_EQ(pixel_at(*screen, x, 31), 15u);
        EXPECT_EQ(pixel_at(*screen, x, 30), 4u);
    }
    EXPECT_EQ(gfx_cursor_column(), 3);

    // Other control codes are glyphs.
    print("\x01\x0B\x0C");
    for (int32_t c = 0; c < 3; ++c)
        EXPECT_TRUE(shows_glyph(*screen, 2, 3 + c, "\x01\x0B\x0C"[c]));
}

TEST_F(TextWrap, FullLastRowWaitsForMoreTextBeforeScrolling) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    print("top");
    gfx_locate(30, 1, -1);
    print(row_of('x'));
    EXPECT_TRUE(shows_glyph(*screen, 1, 1, 't'));
    EXPECT_EQ(gfx_cursor_row(), 30);
    EXPECT_EQ(gfx_cursor_column(), 80);
    EXPECT_NE(screen->screen_flags & SCREEN_PENDING_WRAP, 0u);

    const std::vector<uint8_t> before = snapshot(*screen);
    clear_dirty_rows(*screen);
    print("Z");
    EXPECT_EQ(0, std::memcmp(screen->framebuffer, before.data() + 16 * 640, 464 * 640));
    EXPECT_TRUE(shows_glyph(*screen, 30, 1, 'Z'));
    for (int32_t y = 464; y < 480; ++y) {
        for (int32_t x = 8; x < 640; ++x)
            ASSERT_EQ(pixel_at(*screen, x, y), 0u);
    }
    EXPECT_EQ(cells(*screen, 29, 1, 2), "xx");
    EXPECT_EQ(cells(*screen, 30, 1, 2), "Z ");
    EXPECT_EQ(cells(*screen, 1, 1, 3), "   ");
    EXPECT_EQ(dirty_rows(*screen), row_range(0, 479));
    EXPECT_EQ(gfx_cursor_column(), 2);
}

TEST_F(TextWrap, LineEndsAdvanceRowsAndScrollAtTheBottom) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    // Mid-grid the wrap and the line feed each take a row.
    gfx_locate(5, 1, -1);
    print(row_of('m'), 1);
    EXPECT_EQ(gfx_cursor_row(), 7);
    EXPECT_EQ(cells(*screen, 6, 1, 80), row_of(' '));

    // On the last row a line end scrolls at once.
    gfx_locate(30, 1, -1);
    print("Q", 1);
    EXPECT_EQ(cells(*screen, 29, 1, 2), "Q ");
    EXPECT_EQ(cells(*screen, 30, 1, 80), row_of(' '));
    EXPECT_EQ(cells(*screen, 4, 1, 2), "mm");
    EXPECT_TRUE(shows_glyph(*screen, 29, 1, 'Q'));
    EXPECT_EQ(gfx_cursor_row(), 30);
    EXPECT_EQ(gfx_cursor_column(), 1);
}

TEST_F(TextWrap, LongTextScrollsThroughTheWholeGrid) {
    ScreenContext* screen = text_screen();
    ASSERT_NE(screen, nullptr);
    std::string text;
    for (int32_t i = 0; i < 2500; ++i)
        text += static_cast<char>('A' + i % 26);
    print(text);
    // Two rows scrolled off: row r, column c holds character (r + 1) * 80 + c - 1.
    for (int32_t row = 1; row <= 30; ++row) {
        for (int32_t column = 1; column <= 80; ++column) {
            const int32_t i = (row + 1) * 80 + column - 1;
            const char want = i < 2500 ? static_cast<char>('A' + i % 26) : ' ';
            ASSERT_EQ(cells(*screen, row, column, 1)[0], want) << row << "," << column;
        }
    }
    EXPECT_TRUE(shows_glyph(*screen, 30, 20, 'A' + 2499 % 26));
    EXPECT_EQ(gfx_cursor_row(), 30);
    EXPECT_EQ(gfx_cursor_column(), 21);
}

}  // namespace
