// The composition of the graphics services: the one place that knows every
// subsystem. Selecting a screen builds the screen record, opens a window
// driver for it, and wires the console's text, key and pause operations to
// the screen's own routines; tearing it down undoes all of that. Everything
// below this file (draw, text, input, screen, present) knows only the layers
// beneath it.

#include <array>
#include <cstdlib>
#include <new>
#include <string>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text.h"
#include "runtime/runtime.h"

#ifdef __EMSCRIPTEN__
#include "gfx/present/web/web.h"
#else
#include "gfx/present/sdl/sdl.h"
#endif

namespace {

// Window drivers in the order they are tried. The browser build has its page
// and nothing else to show the screen on.
#ifdef __EMSCRIPTEN__
constexpr std::array<const WindowDriver*, 1> WINDOW_DRIVERS{&web_driver};
constexpr const SoundDriver* WINDOW_SOUND = &web_sound_driver;
#else
constexpr std::array<const WindowDriver*, 1> WINDOW_DRIVERS{&sdl_driver};
constexpr const SoundDriver* WINDOW_SOUND = &sdl_sound_driver;
#endif

// The tone's driver: the window's kind unless the program chose its own; the
// one opened, until it closes.
const SoundDriver* chosen_sound = nullptr;
const SoundDriver* open_sound = nullptr;

// The graphics screen keeps no text view of its own to adjust.
void view_changed() {}

// Output of a graphics screen always goes to its window.
int32_t not_redirected() {
    return 0;
}

// A driver without a presentation thread of its own (the browser page's)
// presents when the program pauses: a page shows nothing and hears no key
// while the program runs, and the program draws nothing while it pauses.
void pause_screen(int32_t ms) {
    const ScreenContext* screen = active_screen();
    if (screen != nullptr && screen->driver != nullptr && screen->driver->poll != nullptr) {
        screen->driver->poll();
    }
    screen_sleep(ms);
}

// The graphics screen's console routines. A slot left out is a service this
// screen does not offer; its operation then answers as without a screen.
constexpr ConsoleHooks SCREEN_CONSOLE_HOOKS = {
    .inkey = screen_inkey,
    .getkey = screen_getkey,
    .key_hit = screen_key_hit,
    .cls = screen_cls,
    .locate = screen_locate,
    .cursor_column = screen_cursor_column,
    .cursor_row = screen_cursor_row,
    .cursor_position = screen_cursor_position,
    .text_size = screen_text_size,
    .write_text = write_text,
    .write_text16 = write_text16,
    .multikey = screen_multikey,
    .get_mouse = screen_get_mouse,
    .set_mouse = screen_set_mouse,
    .port_in = palette_port_in,
    .port_out = palette_port_out,
    .view_changed = view_changed,
    .pause = pause_screen,
    .is_redirected = not_redirected,
    .copy_page = gfx_copy_page,
    .set_pages = gfx_set_pages,
};

bool g_exit_handler_registered = false;
bool g_title_taken = false;
std::string g_window_title;

void tear_down() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    if (screen->driver != nullptr && screen->driver->exit != nullptr) screen->driver->exit();
    release_screen();
}

int32_t fail() {
    last_error = ERROR_ILLEGAL_ARGUMENT;
    return 1;
}

// What the window driver shows, read by its presentation thread under the
// driver's lock, and where the keys of its window go.
bool current_frame(PresentFrame* frame) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return false;
    // A program that has present points is shown at them, never between.
    if (const PresentedPicture* presented = screen->presented.get()) {
        *frame = PresentFrame{
            .pixels = presented->pixels.get(),
            .width = screen->width,
            .height = screen->height,
            .pitch = screen->pitch,
            .depth = screen->depth,
            .line_repeat = screen->line_repeat,
            .dirty_rows = presented->dirty_rows.get(),
            .palette = presented->palette,
            .conversion_table = screen->conversion_table.get(),
            .key_states = screen->key_states.get(),
        };
        return true;
    }
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

// What the window driver shows and where the keys of its window go; handed
// to the driver that opens.
constexpr PresentSource PRESENT_SOURCE = {
    .frame = current_frame,
    .key_down = key_down,
    .text_typed = key_text,
    .close_request = key_close_request,
};

// Every page starts cleared to the drawing context's background. This runs
// before the window opens: from then on the presentation thread may show the
// pixels at any moment.
void clear_pages(ScreenContext& screen, const DrawContext& context) {
    const SpanWriter fill = writer_set(screen.bytes_per_pixel).span;
    for (int32_t page = 0; page < screen.page_count; ++page) {
        for (int32_t y = 0; y < screen.height; ++y) {
            fill(screen.page_buffers[page].get() + static_cast<size_t>(y) * screen.pitch,
                 context.background, screen.width);
        }
    }
}

int32_t build_screen(const ScreenShape& shape, int32_t depth_argument, int32_t pages, int32_t flags,
                     int32_t refresh_rate) {
    install_console_hooks(SCREEN_CONSOLE_HOOKS);
    ScreenContext& screen = create_screen(shape, depth_argument, pages, flags);

    expand_runtime_data();
    if (!g_title_taken) {
        g_window_title = program_title();
        g_title_taken = true;
    }
    // The record has its size, depth and pages now; the drawing context
    // follows it, and the pages are cleared before anyone can see them.
    const DrawContext& context = refresh_draw_context();
    clear_pages(screen, context);

    const WindowDriver* driver = open_window_driver(
        window_drivers(), &PRESENT_SOURCE, std::getenv("QXGFX"), g_window_title.c_str(),
        screen.width, screen.height * screen.line_repeat, screen.depth, refresh_rate, flags);
    if (driver == nullptr) {
        screen_exit_handler();
        return fail();
    }
    screen.driver = driver;
    reset_palette(-1);
    create_text_cells(screen, shape.text_columns, shape.text_rows);
    const size_t cells = static_cast<size_t>(screen.text_columns) * screen.text_rows;
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
// and the return to the text console for mode 0 (shape nullptr).
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

std::span<const WindowDriver* const> window_drivers() {
    return WINDOW_DRIVERS;
}

int32_t gfx_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags,
                   int32_t refresh_rate) {
    if (mode == 0) return select_screen(nullptr, depth, pages, flags, refresh_rate);
    ScreenShape shape{};
    if (!mode_shape(mode, &shape) || !screen_fits(shape, depth, pages, flags)) return fail();
    return select_screen(&shape, depth, pages, flags, refresh_rate);
}

int32_t gfx_screen_size(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                        int32_t refresh_rate) {
    ScreenShape shape{};
    if (!free_shape(width, height, depth, &shape) || !screen_fits(shape, depth, pages, flags)) {
        return fail();
    }
    return select_screen(&shape, depth, pages, flags, refresh_rate);
}

const PresentSource* gfx_present_source() {
    return &PRESENT_SOURCE;
}

void gfx_present_point() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    take_present_point(*screen);
    // A driver without a thread of its own (the page's) shows it now.
    if (screen->driver->poll != nullptr) screen->driver->poll();
}

void gfx_set_title(const char* title) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->driver->set_title == nullptr) return;
    screen_lock(*screen);
    screen->driver->set_title(title != nullptr ? title : "");
    screen_unlock(*screen);
}

void gfx_show_single_step(bool stepping) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->driver->show_single_step == nullptr) return;
    screen_lock(*screen);
    screen->driver->show_single_step(stepping);
    screen_unlock(*screen);
}

bool gfx_describes() {
    const ScreenContext* screen = active_screen();
    return screen != nullptr && screen->driver->describe != nullptr;
}

void gfx_describe(const char* text) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->driver->describe == nullptr) return;
    screen_lock(*screen);
    screen->driver->describe(text != nullptr ? text : "");
    screen_unlock(*screen);
}

void gfx_show_key_set(const char* name) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->driver->show_key_set == nullptr) return;
    screen_lock(*screen);
    screen->driver->show_key_set(name != nullptr ? name : "");
    screen_unlock(*screen);
}

const std::string& gfx_window_title() {
    return g_window_title;
}

const char* gfx_window_failure() {
    return window_failure_reason();
}

const char* gfx_sound_open() {
    const SoundDriver* driver = chosen_sound != nullptr ? chosen_sound : WINDOW_SOUND;
    if (open_sound == driver) return nullptr;
    gfx_sound_close();
    const char* failure = driver->open();
    if (failure == nullptr) open_sound = driver;
    return failure;
}

void gfx_sound_frame(float amplitude, bool tick) {
    if (open_sound != nullptr) open_sound->frame(amplitude, tick);
}

bool gfx_sound_playing() {
    return open_sound != nullptr && open_sound->playing();
}

void gfx_sound_close() {
    if (open_sound != nullptr) open_sound->close();
    open_sound = nullptr;
}

void gfx_use_sound_driver(const SoundDriver* driver) {
    gfx_sound_close();
    chosen_sound = driver;
}

void gfx_reset() {
    gfx_use_sound_driver(nullptr);
    tear_down();
    empty_console_hooks();
    text_view_unset();
    key_buffer_clear();
    palette_port_reset();
    draw_state_reset();
    note_window_failure(nullptr);
}

void screen_exit_handler() {
    if (active_screen() != nullptr) gfx_screen(0, 0, 0, SCREEN_FLAG_TEARDOWN, 0);
}
