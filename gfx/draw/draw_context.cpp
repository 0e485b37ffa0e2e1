#include "gfx/draw/draw_internal.h"

#include "gfx/screen/screen.h"

namespace {

// Allocated on first use and never freed, so that exit handlers running after
// static destruction still find a valid context.
DrawContext& context_slot() {
    static DrawContext* const context = new DrawContext();
    return *context;
}

// Everything a screen change resets: view, target, colours and last_point.
void rebuild(DrawContext& context, const ScreenContext& screen) {
    context = DrawContext{};
    context.screen_id = screen.screen_id;
    const int32_t width = screen.width > 0 ? screen.width : 0;
    const int32_t height = screen.height > 0 ? screen.height : 0;
    context.saved_view = ViewRect{0, 0, width, height};
    context.foreground = screen.depth >= 5 && screen.depth <= 8 ? 15u : screen.colour_mask;
    context.background = screen.colour_mask & 0xFF000000u;
    context.context_flags = CONTEXT_LOAD_SCREEN;
    set_target(context, nullptr);
    select_writers(context, 0xFF000000u);
}

}  // namespace

void draw_state_reset() {
    context_slot() = DrawContext{};
}

DrawContext& refresh_draw_context() {
    DrawContext& context = context_slot();
    const ScreenContext* screen = active_screen();
    if (screen != nullptr && screen->screen_id != context.screen_id) rebuild(context, *screen);
    return context;
}
