#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "gfx/present/present.h"
#include "gfx/screen/screen.h"

// A frame erases its moving figures and draws them again; a window that
// showed its rows as they were marked would show the erased state now and
// then, and for the whole hold of a key that erases. The present point is
// where the program says its picture is whole: only what was marked since
// the last point is copied, under the lock, the rows of wide figures and
// the rectangles of narrow ones, which makes a frame's few hundred changed
// pixels a matter of microseconds.

namespace {

// Copies a narrow rectangle's rows into the presented picture.
void copy_rect_exactly(const ScreenContext& screen, uint8_t* to, const MarkedRect& rect) {
    const size_t row_bytes = static_cast<size_t>(screen.pitch);
    const auto pixel_bytes = static_cast<size_t>(screen.bytes_per_pixel);
    const size_t bytes = pixel_bytes * static_cast<size_t>(rect.right - rect.left + 1);
    size_t at =
        row_bytes * static_cast<size_t>(rect.top) + pixel_bytes * static_cast<size_t>(rect.left);
    for (int32_t y = rect.top; y <= rect.bottom; ++y, at += row_bytes)
        std::memcpy(to + at, screen.framebuffer + at, bytes);
}

// The same, each row in one move of the widest narrow rectangle's bytes,
// held within the row: a move of a fixed size costs a few instructions.
template <size_t PIXEL_BYTES>
void copy_rect(const ScreenContext& screen, uint8_t* to, const MarkedRect& rect) {
    constexpr size_t MOVE = NARROW_COLUMNS * PIXEL_BYTES;
    const size_t row_bytes = static_cast<size_t>(screen.pitch);
    if (row_bytes < MOVE) {
        copy_rect_exactly(screen, to, rect);
        return;
    }
    const size_t left = std::min(PIXEL_BYTES * static_cast<size_t>(rect.left), row_bytes - MOVE);
    size_t at = row_bytes * static_cast<size_t>(rect.top) + left;
    for (int32_t y = rect.top; y <= rect.bottom; ++y, at += row_bytes)
        std::memcpy(to + at, screen.framebuffer + at, MOVE);
}

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
    const size_t pixel_bytes = static_cast<size_t>(screen.bytes_per_pixel);
    uint8_t* const to = picture.pixels.get();
    const uint8_t* const from = screen.framebuffer;
    for (int32_t y = 0; y < screen.height; ++y) {
        if (screen.dirty_rows[y] == 0) continue;
        screen.dirty_rows[y] = 0;
        picture.dirty_rows[y] = 1;
        picture.rows_marked = true;
        if (screen.wide_rows[y] == 0) continue;
        screen.wide_rows[y] = 0;
        std::memcpy(to + row_bytes * y, from + row_bytes * y, row_bytes);
    }
    // A narrow rectangle's rows were marked above. Each row of it is copied
    // in one move of a fixed size, as wide as the widest narrow rectangle.
    for (int32_t i = 0; i < screen.narrow_rect_count; ++i) {
        const MarkedRect& rect = screen.narrow_rects[i];
        switch (pixel_bytes) {
            case 1:
                copy_rect<1>(screen, to, rect);
                break;
            case 2:
                copy_rect<2>(screen, to, rect);
                break;
            case 4:
                copy_rect<4>(screen, to, rect);
                break;
            default:
                copy_rect_exactly(screen, to, rect);
                break;
        }
    }
    screen.narrow_rect_count = 0;
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
