#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "gfx/text/text_internal.h"
#include "tests/gfx/text/text_test_support.h"
#include "tests/support/gfx_state.h"
#include "tests/support/reference_model.h"

// Glyph runs written a cell row at a time against the straightforward
// drawing they replace: one pixel_writer call per pixel of every cell.

namespace {

using namespace text_test;

void reference_write(const std::vector<uint8_t>& bytes) {
    TextTarget target;
    TextWindow window;
    if (!open_text_window(window, target)) return;
    window.glyphs = reference::glyphs;
    interpret_text(window, bytes.data(), static_cast<int32_t>(bytes.size()), true);
    close_text_window(window);
}

static_assert(sizeof(TextCell) == 3 * sizeof(uint32_t));

// Everything a text call leaves behind.
struct Outcome {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> dirty;
    std::vector<uint32_t> cells;
    int32_t column, row;
    uint32_t flags;
    bool operator==(const Outcome&) const = default;
};

Outcome outcome(const ScreenContext& screen) {
    const size_t cells = static_cast<size_t>(screen.text_columns) * screen.text_rows;
    Outcome o{snapshot(screen),
              {screen.dirty_rows.get(), screen.dirty_rows.get() + screen.height},
              std::vector<uint32_t>(cells * 3),
              screen.text_column,
              screen.text_row,
              screen.screen_flags};
    std::memcpy(o.cells.data(), screen.text_cells[0].get(), cells * sizeof(TextCell));
    return o;
}

using FastGlyphs = test_support::GfxTest;

// Every font at one byte per pixel, and two and four bytes per pixel; texts
// with control bytes, wraps, scrolls and the lone underline byte.
TEST_F(FastGlyphs, TextMatchesTheReferenceWriter) {
    struct Mode {
        int32_t mode, depth;
    };
    std::mt19937 random(99);
    for (const Mode m : {Mode{12, 8}, Mode{9, 8}, Mode{13, 8}, Mode{16, 16}, Mode{14, 32}}) {
        ScreenContext* screen = open_screen(m.mode, m.depth);
        ASSERT_NE(screen, nullptr);
        const size_t bytes = static_cast<size_t>(screen->pitch) * screen->height;
        std::vector<uint8_t> base(bytes);
        for (uint8_t& byte : base)
            byte = static_cast<uint8_t>(random());
        const size_t cell_count = static_cast<size_t>(screen->text_columns) * screen->text_rows;
        const std::vector<TextCell> cells(screen->text_cells[0].get(),
                                          screen->text_cells[0].get() + cell_count);
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<uint8_t> text(1 + random() % 160);
            for (uint8_t& byte : text)
                byte = static_cast<uint8_t>(random() % 4 == 0 ? random() % 16 : random());
            if (trial % 10 == 0) text = {255};
            const auto top = static_cast<int32_t>(random() % 3);
            const auto row = static_cast<int32_t>(1 + random() % screen->text_rows);
            const auto column = static_cast<int32_t>(1 + random() % screen->text_columns);
            const bool pending = random() % 4 == 0;
            const auto foreground = static_cast<uint32_t>(random());
            const auto background = static_cast<uint32_t>(random());
            auto start = [&] {
                std::memcpy(screen->framebuffer, base.data(), bytes);
                std::copy(cells.begin(), cells.end(), screen->text_cells[0].get());
                clear_dirty_rows(*screen);
                gfx_view_print(top + 1, 0);
                screen->text_column = column - 1;
                screen->text_row = row - 1;
                screen->screen_flags &= ~SCREEN_PENDING_WRAP;
                if (pending) screen->screen_flags |= SCREEN_PENDING_WRAP;
                refresh_draw_context().foreground = foreground;
                refresh_draw_context().background = background;
            };
            start();
            write_text(text.data(), static_cast<int32_t>(text.size()), 0);
            const Outcome fast = outcome(*screen);
            start();
            reference_write(text);
            ASSERT_TRUE(fast == outcome(*screen))
                << "mode " << m.mode << "/" << m.depth << " trial " << trial << " at " << row
                << ", " << column << " length " << text.size();
        }
    }
}

}  // namespace
