#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"
#include "runtime/runtime.h"

namespace {

// The packed answer: row and column 1-based, one byte each.
int32_t packed_position(int32_t row, int32_t column) {
    return (row & 0xFF) * 256 + (column & 0xFF) + 257;
}

}  // namespace

int32_t screen_locate(int32_t row, int32_t column, int32_t /*cursor*/) {
    last_error = ERROR_NONE;
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return packed_position(0, 0);
    const TextGrid grid = text_grid(*screen);
    // A position outside the view is no error: the cursor just stays.
    const bool row_outside = row != 0 && (row < grid.top + 1 || row > grid.bottom + 1);
    const bool column_outside = column != 0 && (column < 1 || column > grid.columns);
    if (row_outside || column_outside) {
        row = 0;
        column = 0;
    }
    screen->screen_flags &= ~SCREEN_PENDING_WRAP;
    if (row >= 1) screen->text_row = row - 1;
    if (column >= 1) screen->text_column = column - 1;
    return packed_position(screen->text_row, screen->text_column);
}

int32_t gfx_locate(int32_t row, int32_t column, int32_t cursor) {
    if (console_hooks.locate != nullptr) return console_hooks.locate(row, column, cursor);
    // The text console keeps its cursor where it is.
    last_error = ERROR_NONE;
    return packed_position(0, 0);
}
