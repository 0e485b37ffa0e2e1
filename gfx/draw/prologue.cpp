#include <algorithm>
#include <cstring>

#include "gfx/draw/draw_context.h"
#include "gfx/screen/screen.h"

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

void finish_target(const DrawContext& context, int64_t first_row, int64_t last_row) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    // Only rows of the presented page are shown by the window; a primitive
    // on another page or on an ImageBuffer leaves the marks alone.
    const bool presented = context.first_row != nullptr &&
                           context.first_row == screen->framebuffer &&
                           screen->framebuffer != nullptr;
    if (presented) {
        const int64_t first = std::max<int64_t>(first_row, 0);
        const int64_t last = std::min<int64_t>(last_row, screen->height - 1);
        if (first <= last) {
            std::memset(screen->dirty_rows.get() + first, 1, static_cast<size_t>(last - first + 1));
        }
    }
    screen_unlock(*screen);
}
