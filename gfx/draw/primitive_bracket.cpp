#include "gfx/draw/draw_internal.h"
#include "gfx/screen/screen.h"

// Every primitive runs between these: begin_primitive refreshes the drawing
// context, aims it at the target and picks the writers for the colour;
// finish_target marks the rows it changed on the presented page and gives the
// screen lock back.

PrimitiveStart begin_primitive(void* target, uint32_t colour, int32_t flags, bool use_background) {
    DrawContext& context = refresh_draw_context();
    if (active_screen() == nullptr) return {nullptr, 0};
    set_target(context, target);
    const uint32_t pixel = primitive_colour(context, colour, flags, use_background);
    select_writers(context, pixel);
    return {&context, pixel};
}

void lock_target() {
    if (ScreenContext* screen = active_screen(); screen != nullptr) screen_lock(*screen);
}

void finish_target(const DrawContext& context, int64_t first_row, int64_t last_row,
                   int64_t first_column, int64_t last_column) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    if (is_presented_page(*screen, context.first_row)) {
        mark_columns(*screen, first_row, last_row, first_column, last_column);
    }
    screen_unlock(*screen);
}
