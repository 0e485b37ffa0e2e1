#include <algorithm>

#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

// The text view and the grid it cuts; the cursor routines read them, and
// setting the view (text_view.cpp) moves the cursor.

int32_t view_print_top = -1;
int32_t view_print_bottom = -1;

void text_view_unset() {
    view_print_top = -1;
    view_print_bottom = -1;
}

TextGrid text_grid(const ScreenContext& screen) {
    const TextGrid empty{0, 0, 0, -1};
    const FontSpec* font = screen.font;
    if (font == nullptr || font->width <= 0 || font->height <= 0) return empty;
    const int32_t columns = std::min(screen.text_columns, screen.width / font->width);
    const int32_t rows = std::min(screen.text_rows, screen.height / font->height);
    if (columns <= 0 || rows <= 0 || screen.text_cells.empty()) return empty;
    const int32_t bottom = view_print_bottom < 0 ? rows - 1 : std::min(view_print_bottom, rows - 1);
    const int32_t top = std::min(std::max(view_print_top, 0), bottom);
    return TextGrid{columns, rows, top, bottom};
}
