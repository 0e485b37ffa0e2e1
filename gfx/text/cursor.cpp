#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

namespace {

// The text console's grid, as a screen's closing leaves it.
constexpr int32_t CONSOLE_COLUMNS = 80;
constexpr int32_t CONSOLE_ROWS = 25;

}  // namespace

int32_t screen_cursor_column() {
    const ScreenContext* screen = active_screen();
    return screen != nullptr ? screen->text_column + 1 : 1;
}

int32_t screen_cursor_row() {
    const ScreenContext* screen = active_screen();
    return screen != nullptr ? screen->text_row + 1 : 1;
}

// Packed as gfx_locate answers a position.
int32_t screen_cursor_position() {
    const int32_t row = screen_cursor_row() - 1;
    const int32_t column = screen_cursor_column() - 1;
    return (row & 0xFF) * 256 + (column & 0xFF) + 257;
}

void screen_text_size(int32_t* columns, int32_t* rows) {
    const ScreenContext* screen = active_screen();
    if (columns != nullptr) *columns = screen != nullptr ? screen->text_columns : 0;
    if (rows != nullptr) *rows = screen != nullptr ? screen->text_rows : 0;
}

int32_t gfx_cursor_column() {
    return console_hooks.cursor_column != nullptr ? console_hooks.cursor_column() : 1;
}

int32_t gfx_cursor_row() {
    return console_hooks.cursor_row != nullptr ? console_hooks.cursor_row() : 1;
}

void gfx_text_size(int32_t* columns, int32_t* rows) {
    if (console_hooks.text_size != nullptr) {
        console_hooks.text_size(columns, rows);
        return;
    }
    if (columns != nullptr) *columns = CONSOLE_COLUMNS;
    if (rows != nullptr) *rows = CONSOLE_ROWS;
}
