#include <algorithm>

#include "gfx/draw/draw.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

namespace {

constexpr int32_t CLEAR_SCREEN = 0;
constexpr int32_t CLEAR_GRAPHICS_VIEW = 1;
constexpr int32_t CLEAR_TEXT_VIEW = 2;

// Without an argument the clear follows what the program narrowed last:
// a graphics view, else a text view, else everything.
int32_t resolve_mode(int32_t mode, const DrawContext& context, const ScreenContext& screen) {
    if (mode == CLS_DEFAULT) {
        if ((context.context_flags & CONTEXT_SMALL_VIEW) != 0) return CLEAR_GRAPHICS_VIEW;
        const TextGrid grid = text_grid(screen);
        const bool whole_grid = grid.top == 0 && grid.bottom == screen.text_rows - 1;
        return whole_grid ? CLEAR_SCREEN : CLEAR_TEXT_VIEW;
    }
    return mode == CLEAR_SCREEN || mode == CLEAR_TEXT_VIEW ? mode : CLEAR_GRAPHICS_VIEW;
}

void centre_last_point(DrawContext& context) {
    context.last_point = PointF{static_cast<float>(context.view.x + context.view.width / 2),
                                static_cast<float>(context.view.y + context.view.height / 2)};
}

void fill_rows(DrawContext& context, int32_t first, int32_t end, int32_t x, int32_t pixels) {
    for (int32_t y = first; y < end; ++y) {
        context.span_writer(
            row_start(context, y) + static_cast<size_t>(x) * context.bytes_per_pixel,
            context.background, pixels);
    }
}

}  // namespace

void screen_cls(int32_t mode) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    DrawContext& context = refresh_draw_context();
    set_target(context, nullptr);
    select_writers(context, context.background);
    mode = resolve_mode(mode, context, *screen);
    screen_lock(*screen);

    int32_t dirty_first = 0;
    int32_t dirty_end = 0;
    if (mode == CLEAR_SCREEN) {
        fill_rows(context, 0, screen->height, 0, screen->width);
        reset_cells(0, 0, screen->text_columns, screen->text_rows, context.work_page, ' ',
                    context.foreground, context.background);
        centre_last_point(context);
        screen_locate(text_grid(*screen).top + 1, 1, -1);
        dirty_end = screen->height;
    } else if (mode == CLEAR_GRAPHICS_VIEW) {
        const ViewRect& view = context.view;
        dirty_first = std::clamp(view.y, 0, screen->height);
        dirty_end = std::clamp(view.y + view.height, dirty_first, screen->height);
        const int32_t x = std::clamp(view.x, 0, screen->width);
        const int32_t x_end = std::clamp(view.x + view.width, x, screen->width);
        fill_rows(context, dirty_first, dirty_end, x, x_end - x);
        centre_last_point(context);
    } else {
        const TextGrid grid = text_grid(*screen);
        if (grid.rows > 0) {
            dirty_first = grid.top * screen->font->height;
            dirty_end = (grid.bottom + 1) * screen->font->height;
            fill_rows(context, dirty_first, dirty_end, 0, screen->width);
            reset_cells(0, grid.top, screen->text_columns, grid.bottom + 1, context.work_page, ' ',
                        context.foreground, context.background);
        }
        screen_locate(grid.top + 1, 1, -1);
    }

    if (dirty_end > dirty_first && is_presented_page(*screen, context.first_row)) {
        mark_rows(*screen, dirty_first, dirty_end - 1);
    }
    screen_unlock(*screen);
}

void gfx_cls(int32_t mode) {
    // The text console has nothing to clear.
    if (console_hooks.cls != nullptr) console_hooks.cls(mode);
}
