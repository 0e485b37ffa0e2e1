#include <algorithm>
#include <cstring>

#include "gfx/draw/draw.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

namespace {

constexpr uint8_t BELL = 7;
constexpr uint8_t BACKSPACE = 8;
constexpr uint8_t TAB = 9;
constexpr uint8_t LINE_FEED = 10;
constexpr uint8_t CARRIAGE_RETURN = 13;
constexpr int32_t TAB_WIDTH = 8;

// The printable bytes waiting to be drawn. Tabs add spaces that are not in
// the caller's bytes, so the run is a buffer of its own rather than a range.
struct Run {
    uint8_t bytes[TEXT_RUN_LIMIT];
    int32_t count = 0;
};

void flush(TextWindow& window, Run& run) {
    if (run.count == 0) return;
    emit_run(window, run.bytes, run.count);
    run.count = 0;
}

void append(TextWindow& window, Run& run, uint8_t byte) {
    if (run.count == TEXT_RUN_LIMIT) flush(window, run);
    run.bytes[run.count++] = byte;
}

// A cursor below the view is brought back to its last row by scrolling.
void scroll_below_view(TextWindow& window) {
    if (window.bottom != -1 && window.row > window.bottom) {
        window.scroll(window, window.left, window.top, window.right, window.bottom,
                      window.row - window.bottom);
    }
}

}  // namespace

bool open_text_window(TextWindow& window, TextTarget& target) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return false;
    const TextGrid grid = text_grid(*screen);
    if (grid.rows == 0) return false;

    // Text always goes to the work page and is always opaque, whatever a
    // drawing primitive selected before.
    DrawContext& context = refresh_draw_context();
    set_target(context, nullptr);
    select_writers(context, 0xFF000000u);
    screen_lock(*screen);

    target = TextTarget{&context, screen, 0, 0};
    window = TextWindow{.target = &target,
                        .scroll = scroll_text,
                        .glyphs = draw_glyphs,
                        .left = 0,
                        .top = grid.top,
                        .right = grid.columns - 1,
                        .bottom = grid.bottom,
                        .column = 0,
                        .row = 0};
    // The stored cursor may come from another grid or view; text never
    // starts outside the current one.
    window.column = std::clamp(screen->text_column, window.left, window.right);
    window.row = std::clamp(screen->text_row, window.top, window.bottom);

    if ((screen->screen_flags & SCREEN_PENDING_WRAP) != 0) {
        screen->screen_flags &= ~SCREEN_PENDING_WRAP;
        window.column = window.left;
        ++window.row;
        scroll_below_view(window);
    }
    return true;
}

void close_text_window(TextWindow& window) {
    TextTarget& target = *window.target;
    ScreenContext& screen = *target.screen;
    if (window.column == window.left && window.row == window.bottom + 1) {
        // The text ended exactly at the view's last cell: the move to the
        // next row waits for more text, so the last line stays on screen.
        screen.screen_flags |= SCREEN_PENDING_WRAP;
        window.column = window.right;
        window.row = window.bottom;
    } else {
        scroll_below_view(window);
    }
    screen.text_column = window.column;
    screen.text_row = window.row;

    const DrawContext& context = *target.context;
    if (target.dirty_end > target.dirty_first && is_presented_page(screen, context.first_row)) {
        mark_rows(screen, target.dirty_first, target.dirty_end - 1);
    }
    screen_unlock(screen);
}

void write_text(const uint8_t* bytes, int32_t length, int32_t /*flags*/) {
    if (bytes == nullptr || length <= 0) return;
    TextTarget target;
    TextWindow window;
    if (!open_text_window(window, target)) return;
    interpret_text(window, bytes, length, true);
    close_text_window(window);
}

void interpret_text(TextWindow& window, const uint8_t* bytes, int32_t length,
                    bool line_feed_to_left) {
    Run run;
    bool moved_last = false;
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t byte = bytes[i];
        switch (byte) {
            case BELL:
                // No tone output here; the bell only keeps its place in the text.
                break;
            case BACKSPACE:
                flush(window, run);
                if (window.column > window.left) --window.column;
                moved_last = true;
                break;
            case TAB: {
                // Drawing the run first makes the column exact, wraps included.
                flush(window, run);
                const int32_t spaces = TAB_WIDTH - (window.column - window.left) % TAB_WIDTH;
                for (int32_t k = 0; k < spaces; ++k)
                    append(window, run, ' ');
                moved_last = false;
                break;
            }
            case LINE_FEED:
                flush(window, run);
                ++window.row;
                if (line_feed_to_left) window.column = window.left;
                moved_last = true;
                break;
            case CARRIAGE_RETURN:
                flush(window, run);
                window.column = window.left;
                moved_last = true;
                break;
            default:
                append(window, run, byte);
                moved_last = false;
                break;
        }
    }
    flush(window, run);
    // A line feed on the view's last row scrolls at once; a row filled by
    // text waits (see close_text_window).
    if (moved_last) scroll_below_view(window);
}

void emit_run(TextWindow& window, const uint8_t* bytes, int32_t count) {
    while (count > 0) {
        if (window.column < window.left || window.column > window.right) return;
        const int32_t piece = std::min(count, window.right - window.column + 1);
        scroll_below_view(window);
        if (window.glyphs(window, bytes, piece) != 1) return;
        bytes += piece;
        count -= piece;
        window.column += piece;
        if (window.column > window.right) {
            window.column = window.left;
            ++window.row;
        }
    }
}

void widen_dirty_rows(TextTarget& target, int32_t first, int32_t end) {
    if (first >= end) return;
    if (target.dirty_first >= target.dirty_end) {
        target.dirty_first = first;
        target.dirty_end = end;
        return;
    }
    target.dirty_first = std::min(target.dirty_first, first);
    target.dirty_end = std::max(target.dirty_end, end);
}
