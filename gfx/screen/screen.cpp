#include "gfx/screen/screen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "gfx/draw/draw_context.h"
#include "gfx/draw/writers.h"
#include "gfx/present/window_driver.h"
#include "gfx/screen/console_hooks.h"
#include "gfx/screen/mode_table.h"
#include "gfx/screen/palette.h"
#include "gfx/screen/runtime_data.h"
#include "gfx/text/text_view.h"
#include "runtime/last_error.h"
#include "runtime/program_args.h"

namespace {

// What a screen is built from: a row of the mode table, or a free size.
struct ScreenShape {
    int32_t mode_number;
    int32_t width;
    int32_t height;
    int32_t depth;
    int32_t line_repeat;
    const PaletteSpec* default_palette;
    const FontSpec* font;
    int32_t text_columns;
    int32_t text_rows;
};

std::unique_ptr<ScreenContext> g_screen;
int32_t g_next_screen_id = 1;
bool g_exit_handler_registered = false;
bool g_title_taken = false;
std::string g_window_title;

// Free-size screens stop where a buffer could no longer be addressed by the
// 32-bit fields of the screen record; beyond that a caller gets result 1.
constexpr int64_t MAX_SIDE = 32767;
constexpr int64_t MAX_SCREEN_BYTES = int64_t{1} << 30;

void tear_down() {
    if (!g_screen) return;
    if (g_screen->driver != nullptr && g_screen->driver->exit != nullptr) g_screen->driver->exit();
    g_screen.reset();  // every buffer goes with the record
}

int32_t fail() {
    last_error = ERROR_ILLEGAL_ARGUMENT;
    return 1;
}

bool depth_supported(int32_t depth) {
    switch (depth) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 15:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

int32_t bytes_for_depth(int32_t depth) {
    if (depth == 15 || depth == 16) return 2;
    if (depth == 24 || depth == 32) return 4;
    return (depth + 7) / 8;
}

bool fits_in_memory(int64_t width, int64_t height, int32_t depth, int32_t pages) {
    if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE) return false;
    const int64_t bytes = width * height * bytes_for_depth(depth) * std::max(pages, 1);
    return bytes <= MAX_SCREEN_BYTES;
}

// Steps shared by numbered modes and free sizes, from the hook slots on.
int32_t build_screen(const ScreenShape& shape, int32_t depth_argument, int32_t pages, int32_t flags,
                     int32_t refresh_rate) {
    fill_console_hooks();
    g_screen = std::make_unique<ScreenContext>();
    ScreenContext& screen = *g_screen;
    screen.screen_id = g_next_screen_id++;

    screen.mode_number = shape.mode_number;
    screen.width = shape.width;
    screen.height = shape.height;
    int32_t depth = shape.depth;
    if (shape.mode_number >= 14 || shape.mode_number == -1) {
        if (depth_argument == 8 || depth_argument == 15 || depth_argument == 16 ||
            depth_argument == 24 || depth_argument == 32) {
            depth = depth_argument;
        }
    }
    if (flags >= 0 && (flags & SCREEN_FLAG_OPENGL) != 0 && depth < 16) depth = 16;

    screen.default_palette = shape.default_palette;
    screen.line_repeat = shape.line_repeat;
    screen.font = shape.font;

    if (depth == 15 || depth == 16) {
        screen.depth = 16;
        screen.colour_mask = 0xFFFF;
    } else if (depth == 24 || depth == 32) {
        screen.depth = 32;
        screen.colour_mask = 0xFFFFFFFF;
    } else {
        screen.depth = depth;
        screen.colour_mask = (1u << depth) - 1;
    }
    screen.bytes_per_pixel = (screen.depth + 7) / 8;
    screen.pitch = screen.bytes_per_pixel * screen.width;

    const size_t page_bytes =
        static_cast<size_t>(screen.pitch) * static_cast<size_t>(screen.height);
    screen.page_count = pages;
    for (int32_t page = 0; page < pages; ++page) {
        screen.page_buffers.emplace_back(new uint8_t[page_bytes]);
    }
    screen.visible_page = 0;
    screen.framebuffer = screen.page_buffers[0].get();
    screen.dirty_rows.reset(new uint8_t[static_cast<size_t>(screen.line_repeat * screen.height)]());
    screen.master_palette.reset(new uint32_t[256]());
    screen.palette.reset(new uint32_t[256]());
    screen.colour_map.reset(new uint8_t[16]());
    screen.key_states.reset(new uint8_t[KEY_STATE_COUNT]());
    screen.event_ring.reset(new ScreenEvent[EVENT_RING_SIZE]());
    screen.event_lock = std::make_unique<std::mutex>();
    screen.conversion_table.reset(new uint32_t[512]());

    if (flags != SCREEN_FLAG_NULL_DRIVER) {
        if ((flags & SCREEN_FLAG_ALPHA) != 0) screen.screen_flags |= SCREEN_ALPHA;
        if ((flags & SCREEN_FLAG_OPENGL) != 0) screen.screen_flags |= SCREEN_OPENGL;
    }
    // Also sets the MMX flag when the processor has it.
    select_depth_writers(screen.bytes_per_pixel);

    expand_runtime_data();
    if (!g_title_taken) {
        g_window_title = program_title();
        g_title_taken = true;
    }

    // The pixels are set before the window opens: from then on the
    // presentation thread may show them, and it reads them under the lock.
    DrawContext& context = draw_context();
    const SpanWriter fill = writer_set(screen.bytes_per_pixel).span;
    for (int32_t page = 0; page < pages; ++page) {
        for (int32_t y = 0; y < screen.height; ++y) {
            fill(screen.page_buffers[page].get() + static_cast<size_t>(y) * screen.pitch,
                 context.background, screen.width);
        }
    }

    const WindowDriver* driver = open_window_driver(
        window_drivers(), std::getenv("QXGFX"), g_window_title.c_str(), screen.width,
        screen.height * screen.line_repeat, screen.depth, refresh_rate, flags);
    if (driver == nullptr) {
        screen_exit_handler();
        return fail();
    }

    screen.driver = driver;
    reset_palette(-1);
    screen.text_columns = shape.text_columns;
    screen.text_rows = shape.text_rows;

    const size_t cells = static_cast<size_t>(screen.text_columns) * screen.text_rows;
    for (int32_t page = 0; page < pages; ++page) {
        screen.text_cells.emplace_back(new TextCell[cells]());
    }
    for (size_t i = 0; i < cells; ++i) {
        screen.text_cells[0][i] = TextCell{32, context.foreground, context.background};
    }

    if (!g_exit_handler_registered) {
        std::atexit(screen_exit_handler);
        g_exit_handler_registered = true;
    }
    if (flags != SCREEN_FLAG_TEARDOWN) text_view_whole_grid();
    last_error = ERROR_NONE;
    return 0;
}

// Everything before the new screen: page count, flag implications, teardown,
// and the return to the text console for mode 0.
int32_t select_screen(const ScreenShape* shape, int32_t depth_argument, int32_t pages,
                      int32_t flags, int32_t refresh_rate) {
    if (pages < 1) pages = 1;
    if (flags >= 0 && (flags & SCREEN_FLAG_COLOUR_KEY) != 0) {
        flags |= SCREEN_FLAG_NO_MAXIMISE | SCREEN_FLAG_BORDERLESS;
    }
    tear_down();
    if (shape == nullptr) {
        // Back to the text console, which has no text view of its own here.
        empty_console_hooks();
        text_view_unset();
        last_error = ERROR_NONE;
        return 0;
    }
    try {
        return build_screen(*shape, depth_argument, pages, flags, refresh_rate);
    } catch (const std::bad_alloc&) {
        tear_down();
        empty_console_hooks();
        last_error = ERROR_OUT_OF_MEMORY;
        return 1;
    }
}

}  // namespace

ScreenContext* active_screen() {
    return g_screen.get();
}

int32_t gfx_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags,
                   int32_t refresh_rate) {
    if (static_cast<uint32_t>(mode) > static_cast<uint32_t>(MODE_COUNT)) return fail();
    if (mode == 0) return select_screen(nullptr, depth, pages, flags, refresh_rate);
    const ModeRow& row = ModeTable[mode - 1];
    if (row.width == 0) return fail();
    if (!fits_in_memory(row.width, row.height, mode >= 14 ? 32 : row.depth, pages)) return fail();
    const ScreenShape shape{mode,      row.width,        row.height,
                            row.depth, row.line_repeat,  row.default_palette,
                            row.font,  row.text_columns, row.text_rows};
    return select_screen(&shape, depth, pages, flags, refresh_rate);
}

int32_t gfx_screen_size(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                        int32_t refresh_rate) {
    if (!depth_supported(depth) || !fits_in_memory(width, height, depth, pages)) return fail();
    const ScreenShape shape{-1,           width,     height,    depth,     1,
                            &palette_256, &font_8x8, width / 8, height / 8};
    return select_screen(&shape, depth, pages, flags, refresh_rate);
}

void screen_exit_handler() {
    if (g_screen) gfx_screen(0, 0, 0, SCREEN_FLAG_TEARDOWN, 0);
}
