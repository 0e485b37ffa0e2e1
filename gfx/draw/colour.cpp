#include "gfx/draw/writers.h"
#include "gfx/screen/screen_context.h"

uint32_t native_colour(int32_t bytes_per_pixel, uint32_t colour) {
    switch (bytes_per_pixel) {
        case 1:
            return colour & 0xFF;
        case 2: {
            const uint32_t red = (colour >> 16) & 0xFF;
            const uint32_t green = (colour >> 8) & 0xFF;
            const uint32_t blue = colour & 0xFF;
            return (blue >> 3) | ((green >> 2) << 5) | ((red >> 3) << 11);
        }
        case 3:
            return colour & 0xFFFFFF;
        default:
            return colour;
    }
}

uint32_t primitive_colour(const DrawContext& context, uint32_t colour, int32_t flags,
                          bool use_background) {
    if (flags < 0) return use_background ? context.background : context.foreground;
    return native_colour(context.bytes_per_pixel, colour);
}

void select_writers(DrawContext& context, uint32_t colour) {
    // The writers of the target's own pixel size: after a block of another
    // size they would otherwise step through the rows wrongly.
    const WriterSet& writers = writer_set(context.bytes_per_pixel);
    const ScreenContext* screen = active_screen();
    // An opaque colour (alpha byte 0xFF) never blends, so the plain writers
    // serve it even on a blending screen.
    const bool blend = writers.alpha_pixel != nullptr && writers.alpha_span != nullptr &&
                       screen != nullptr && (screen->screen_flags & SCREEN_ALPHA) != 0 &&
                       (colour >> 24) != 0xFF;
    context.pixel_writer = blend ? writers.alpha_pixel : writers.pixel;
    context.span_writer = blend ? writers.alpha_span : writers.span;
}
