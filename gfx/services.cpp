#include "gfx/input/key_events.h"
#include "gfx/present/present_source.h"
#include "gfx/screen/screen.h"

// Presentation: what the window driver shows and where its keys go.

namespace {

bool current_frame(PresentFrame* frame) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return false;
    *frame = PresentFrame{
        .pixels = screen->framebuffer,
        .width = screen->width,
        .height = screen->height,
        .pitch = screen->pitch,
        .depth = screen->depth,
        .line_repeat = screen->line_repeat,
        .dirty_rows = screen->dirty_rows.get(),
        .palette = screen->palette.get(),
        .conversion_table = screen->conversion_table.get(),
        .key_states = screen->key_states.get(),
    };
    return true;
}

}  // namespace

const PresentSource present_source = {
    .frame = current_frame,
    .key_down = key_down,
    .text_typed = key_text,
    .close_request = key_close_request,
};
