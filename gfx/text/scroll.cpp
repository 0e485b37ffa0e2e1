#include <algorithm>

#include "gfx/draw/draw.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

void scroll_text(TextWindow& window, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 int32_t lines) {
    TextTarget& target = *window.target;
    DrawContext& context = *target.context;
    const ScreenContext& screen = *target.screen;
    const TextGrid grid = text_grid(screen);
    // Whatever rows and columns a caller asks for, only the grid moves.
    top = std::max(top, 0);
    bottom = std::min(bottom, grid.rows - 1);
    left = std::max(left, 0);
    right = std::min(right, grid.columns - 1);
    if (top > bottom || left > right) return;
    window.row = bottom;
    const int32_t view_rows = bottom - top + 1;
    lines = std::clamp(lines, 0, view_rows);
    if (lines == 0) return;

    const FontSpec& font = *screen.font;
    const int32_t y_top = top * font.height;
    const int32_t y_end = (bottom + 1) * font.height;
    const int32_t shift = lines * font.height;
    // The rows always start at pixel column 0: the view spans the grid's width.
    const int32_t pixels = (right + 1 - left) * font.width;
    int32_t fill_from = y_top;
    if (shift < y_end - y_top) {
        const RowCopier copy = writer_set(context.bytes_per_pixel).copy;
        for (int32_t y = y_top; y + shift < y_end; ++y)
            copy(row_start(context, y), row_start(context, y + shift), pixels);
        fill_from = y_end - shift;
    }
    for (int32_t y = fill_from; y < y_end; ++y)
        context.span_writer(row_start(context, y), context.background, pixels);
    widen_dirty_rows(target, y_top, y_end);

    const auto page = static_cast<size_t>(context.work_page);
    if (page >= screen.text_cells.size()) return;
    if (lines < view_rows) {
        TextCell* cells = screen.text_cells[page].get();
        const auto stride = static_cast<size_t>(screen.text_columns);
        for (int32_t row = top; row <= bottom - lines; ++row) {
            const TextCell* from = cells + (row + lines) * stride + left;
            std::copy(from, from + (right - left + 1), cells + row * stride + left);
        }
    }
    reset_cells(left, std::max(top, bottom - lines + 1), right + 1, bottom + 1, context.work_page,
                ' ', context.foreground, context.background);
}

void reset_cells(int32_t first_column, int32_t first_row, int32_t end_column, int32_t end_row,
                 int32_t page, uint32_t code, uint32_t foreground, uint32_t background) {
    const ScreenContext* screen = active_screen();
    if (screen == nullptr || page < 0 || static_cast<size_t>(page) >= screen->text_cells.size()) {
        return;
    }
    first_column = std::max(first_column, 0);
    first_row = std::max(first_row, 0);
    end_column = std::min(end_column, screen->text_columns);
    end_row = std::min(end_row, screen->text_rows);
    TextCell* cells = screen->text_cells[static_cast<size_t>(page)].get();
    for (int32_t row = first_row; row < end_row; ++row) {
        TextCell* cell = cells + static_cast<size_t>(row) * screen->text_columns;
        for (int32_t column = first_column; column < end_column; ++column)
            cell[column] = TextCell{code, foreground, background};
    }
}
