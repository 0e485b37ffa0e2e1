#include <algorithm>
#include <cstring>

#include "gfx/draw/draw_internal.h"
#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"

int32_t gfx_set_pages(int32_t work, int32_t visible) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return -1;
    DrawContext& context = refresh_draw_context();
    const int32_t previous = context.work_page | (screen->visible_page << 8);
    if (work < 0 && visible < 0) {
        work = 0;
        visible = 0;
    }
    if (work >= 0 && work < screen->page_count) {
        context.work_page = work;
        // The next primitive on the screen loads the new page's rows.
        context.context_flags |= CONTEXT_LOAD_SCREEN;
    }
    if (visible >= 0 && visible < screen->page_count && visible != screen->visible_page) {
        screen_lock(*screen);
        screen->visible_page = visible;
        screen->framebuffer = screen->page_buffers[visible].get();
        mark_rows(*screen, 0, screen->height - 1);
        screen_unlock(*screen);
    }
    return previous;
}

int32_t gfx_copy_page(int32_t source, int32_t destination) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) {
        last_error = ERROR_ILLEGAL_ARGUMENT;
        return 1;
    }
    DrawContext& context = refresh_draw_context();
    if (source < 0) source = context.work_page;
    if (destination < 0) destination = screen->visible_page;
    if (source >= screen->page_count || destination >= screen->page_count) {
        last_error = ERROR_ILLEGAL_ARGUMENT;
        return 1;
    }
    last_error = ERROR_NONE;
    if (screen->driver != nullptr && screen->driver->flip != nullptr) {
        screen->driver->flip();
        return 0;
    }
    if (source == destination) return 0;

    // The caller's view on the screen: while an image is the target it is kept aside.
    const ViewRect view =
        (context.context_flags & CONTEXT_IMAGE_TARGET) != 0 ? context.saved_view : context.view;
    const int32_t x0 = std::clamp(view.x, 0, screen->width);
    const int32_t x1 = std::clamp(view.x + view.width, x0, screen->width);
    const int32_t y0 = std::clamp(view.y, 0, screen->height);
    const int32_t y1 = std::clamp(view.y + view.height, y0, screen->height);

    screen_lock(*screen);
    const uint8_t* from = screen->page_buffers[source].get();
    uint8_t* to = screen->page_buffers[destination].get();
    const size_t offset = static_cast<size_t>(x0) * screen->bytes_per_pixel;
    const size_t bytes = static_cast<size_t>(x1 - x0) * screen->bytes_per_pixel;
    for (int32_t y = y0; y < y1; ++y) {
        const size_t row = static_cast<size_t>(y) * screen->pitch + offset;
        std::memcpy(to + row, from + row, bytes);
    }
    const size_t cells = static_cast<size_t>(screen->text_columns) * screen->text_rows;
    std::copy_n(screen->text_cells[source].get(), cells, screen->text_cells[destination].get());
    if (destination == screen->visible_page) mark_rows(*screen, y0, y1 - 1);
    screen_unlock(*screen);
    return 0;
}
