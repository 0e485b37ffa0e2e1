#include <cstring>

#include "gfx/draw/draw_internal.h"
#include "gfx/screen/screen.h"

namespace {

struct TargetGeometry {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t bytes_per_pixel;
    int32_t pitch;
};

int32_t not_negative(int32_t value) {
    return value > 0 ? value : 0;
}

// Reads an ImageBuffer header. A header that cannot describe a real block
// (negative sizes, an unknown pixel size, rows narrower than their pixels)
// gives a block of no visible pixels rather than writes past its end.
TargetGeometry image_geometry(uint8_t* image, int32_t screen_bytes_per_pixel) {
    TargetGeometry geometry{};
    if (read_i32(image) == IMAGE_HEADER_NEW) {
        geometry.pixels = image + IMAGE_HEADER_SIZE;
        geometry.bytes_per_pixel = read_i32(image + 4);
        geometry.width = not_negative(read_i32(image + 8));
        geometry.height = not_negative(read_i32(image + 12));
        geometry.pitch = not_negative(read_i32(image + 16));
        const int32_t size = geometry.bytes_per_pixel;
        if (size != 1 && size != 2 && size != 4) {
            geometry.bytes_per_pixel = 4;
            geometry.width = 0;
            geometry.height = 0;
        } else if (static_cast<int64_t>(geometry.width) * size > geometry.pitch) {
            geometry.width = geometry.pitch / size;
        }
    } else {
        // The old form leaves the pixel size to the screen, so its rows have no padding.
        const uint16_t packed = read_u16(image);
        geometry.pixels = image + IMAGE_HEADER_OLD_SIZE;
        geometry.bytes_per_pixel = screen_bytes_per_pixel;
        geometry.width = packed >> 3;
        geometry.height = read_u16(image + 2);
        geometry.pitch = geometry.width * geometry.bytes_per_pixel;
    }
    // A block without a pixel in its rows has no rows either, however many
    // its header claims.
    if (geometry.width == 0 || geometry.height == 0) geometry.width = geometry.height = 0;
    return geometry;
}

void load_screen(DrawContext& context, ScreenContext& screen) {
    context.view = context.saved_view;
    context.bytes_per_pixel = screen.bytes_per_pixel;
    context.pitch = screen.pitch;
    const int32_t pages = static_cast<int32_t>(screen.page_buffers.size());
    if (context.work_page < 0 || context.work_page >= pages) context.work_page = 0;
    if (pages > 0) {
        context.first_row = screen.page_buffers[static_cast<size_t>(context.work_page)].get();
    } else {
        context.first_row = nullptr;
        context.view = ViewRect{0, 0, 0, 0};
    }
    context.context_flags &= ~(CONTEXT_LOAD_SCREEN | CONTEXT_IMAGE_TARGET);
}

void load_image(DrawContext& context, uint8_t* image, const ScreenContext& screen) {
    if ((context.context_flags & CONTEXT_IMAGE_TARGET) == 0) context.saved_view = context.view;
    const TargetGeometry geometry = image_geometry(image, screen.bytes_per_pixel);
    context.view = ViewRect{0, 0, geometry.width, geometry.height};
    context.bytes_per_pixel = geometry.bytes_per_pixel;
    context.pitch = geometry.pitch;
    context.first_row = geometry.pixels;
    context.context_flags |= CONTEXT_IMAGE_TARGET;
}

}  // namespace

void load_target(DrawContext& context, void* target) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    if (target == nullptr) {
        if ((context.context_flags & (CONTEXT_LOAD_SCREEN | CONTEXT_IMAGE_TARGET)) != 0) {
            load_screen(context, *screen);
        }
    } else {
        // The header is read again even for the block already loaded: the
        // caller may have stored a block of another size in the same memory
        // since, and stale geometry would write past its end.
        load_image(context, static_cast<uint8_t*>(target), *screen);
    }
    context.target = target;
}
