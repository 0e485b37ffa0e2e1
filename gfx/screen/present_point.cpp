#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

#include "gfx/present/present.h"
#include "gfx/screen/screen.h"

// A frame erases its moving figures and draws them again; a window that
// showed its rows as they were marked would show the erased state now and
// then, and for the whole hold of a key that erases. The present point is
// where the program says its picture is whole: only the rows marked since
// the last point are copied, under the lock, which a frame's few hundred
// changed pixels on marked rows make a matter of microseconds.

namespace {

PresentedPicture& presented_picture(ScreenContext& screen) {
    if (screen.presented == nullptr) {
        auto picture = std::make_unique<PresentedPicture>();
        const size_t bytes = static_cast<size_t>(screen.pitch) * screen.height;
        picture->pixels.reset(new uint8_t[bytes]());
        picture->dirty_rows.reset(
            new uint8_t[static_cast<size_t>(screen.height) * screen.line_repeat]());
        // The window was given the palette as it changed until now.
        std::memcpy(picture->palette, screen.palette.get(), sizeof picture->palette);
        screen.presented = std::move(picture);
        // Everything, once: the window's copy starts as the framebuffer.
        mark_rows(screen, 0, screen.height - 1);
    }
    return *screen.presented;
}

}  // namespace

void take_present_point(ScreenContext& screen) {
    screen_lock(screen);
    PresentedPicture& picture = presented_picture(screen);
    const size_t row_bytes = static_cast<size_t>(screen.pitch);
    for (int32_t y = 0; y < screen.height; ++y) {
        if (screen.dirty_rows[y] == 0) continue;
        const size_t at = row_bytes * y;
        std::memcpy(picture.pixels.get() + at, screen.framebuffer + at, row_bytes);
        picture.dirty_rows[y] = 1;
        screen.dirty_rows[y] = 0;
        picture.rows_marked = true;
    }
    screen.rows_marked = false;
    for (int32_t i = 0; i < 256; ++i) {
        const uint32_t colour = screen.palette[i];
        if (picture.palette[i] == colour) continue;
        picture.palette[i] = colour;
        picture.rows_marked = true;
        if (screen.driver->set_palette != nullptr) {
            screen.driver->set_palette(i, static_cast<int32_t>(colour & 0xFF),
                                       static_cast<int32_t>(colour >> 8 & 0xFF),
                                       static_cast<int32_t>(colour >> 16 & 0xFF));
        }
    }
    screen_unlock(screen);
}
