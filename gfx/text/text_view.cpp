#include "gfx/text/text_internal.h"

#include "gfx/screen/screen.h"
#include "runtime/runtime.h"

// Setting the text view, which moves the cursor into it.

namespace {

// A grid that reports no rows is taken to have the text console's 25.
constexpr int32_t DEFAULT_LAST_ROW = 24;

int32_t current_first_row() {
    return view_print_top < 0 ? 1 : view_print_top + 1;
}

int32_t current_last_row(int32_t rows) {
    if (view_print_bottom >= 0) return view_print_bottom + 1;
    return rows > 0 ? rows : DEFAULT_LAST_ROW + 1;
}

}  // namespace

int32_t gfx_view_print(int32_t first, int32_t last) {
    int32_t columns = 0;
    int32_t rows = 0;
    gfx_text_size(&columns, &rows);
    if (first < 0) first = current_first_row();
    if (first == 0) first = 1;
    if (last < 0) last = current_last_row(rows);
    if (last == 0) last = rows;
    if (first > last || last > rows) {
        last_error = ERROR_ILLEGAL_ARGUMENT;
        return 1;
    }
    view_print_top = first - 1;
    view_print_bottom = last - 1;
    if (console_hooks.view_changed != nullptr) console_hooks.view_changed();
    gfx_locate(first, 1, -1);
    return 0;
}

void text_view_whole_grid() {
    if (gfx_view_print(0, 0) == 0) return;
    // A screen too small for a single text row has no grid to view.
    text_view_unset();
    gfx_locate(1, 1, -1);
}
