#pragma once

#include <SDL2/SDL.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "gfx/present/converters.h"

// The state of the one SDL window, shared by the driver's operations (program
// thread) and the presentation thread. Fields are grouped by who may touch
// them and when.
namespace sdl_detail {

struct MouseState {
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheel = 0;
    int32_t buttons = 0;  // 1 left, 2 right, 4 middle
    bool inside = false;
    bool confined = false;
};

// What the program asked of the window; the presentation thread carries it
// out on its next pass, since only that thread may touch the window.
struct WindowRequests {
    bool title = false;
    std::string title_text;
    bool move = false;
    int32_t move_x = 0;
    int32_t move_y = 0;
    bool warp = false;
    int32_t warp_x = 0;
    int32_t warp_y = 0;
    int32_t visibility = -1;   // > 0 show the pointer, 0 hide it, < 0 leave it
    int32_t confinement = -1;  // > 0 confine, 0 release, < 0 leave it
};

struct SdlWindow {
    // The driver lock, which is the screen lock.
    std::mutex lock;
    // Program thread only: it holds the lock through lock/unlock.
    bool held_by_program = false;

    // Set by init before the thread starts, read-only afterwards.
    std::string title;
    int32_t width = 0;
    int32_t height = 0;  // window lines
    int32_t depth = 0;   // framebuffer depth
    int32_t flags = 0;
    uint32_t wake_event = 0;

    // Start-up handshake: 1 while starting, then 0 (window open) or -1 (refused).
    std::mutex start_lock;
    std::condition_variable started;
    int32_t start_result = 1;

    // Under the lock.
    bool running = false;
    bool pass_pending = false;   // a wake event is on its way to the thread
    uint32_t palette[256] = {};  // 0x00BBGGRR, as the display was last given it
    bool palette_changed = false;
    bool focused = false;
    MouseState mouse;
    WindowRequests requests;
    int32_t window_x = 0;
    int32_t window_y = 0;
    int32_t refresh_rate = 0;

    // Presentation thread only.
    SDL_Window* window = nullptr;
    SDL_Surface* picture = nullptr;  // the unscaled picture while the window is larger
    SDL_Surface* surface = nullptr;  // the window surface the converter was chosen for
    uint32_t surface_format = 0;
    SDL_Rect surface_size{};
    SDL_Rect shown{};  // where the picture lies in the window
    PixelConverter converter = nullptr;
    bool fullscreen = false;
    bool repaint = true;

    std::thread thread;
};

SdlWindow& sdl_window();

// The presentation thread.
void window_thread();

// Wakes the presentation thread for a pass (lock held).
void wake_window_thread();

// Ends the process with one line on standard error when the connection to
// the X display breaks; SDL cannot recover from that.
void watch_display_connection(const char* program);

// The same for a quit event that only says the Wayland connection broke.
void end_if_display_lost(SDL_Window* window);

// A hang-up ends the program as SIGTERM does: through the close request.
void end_on_hangup();

}  // namespace sdl_detail

namespace sdl_detail {

// The window lines a pass changed, uploaded after the lock is released.
struct UploadSpan {
    SDL_Rect rect{};
    bool any = false;
};

// Handles every waiting window event (lock held); frame is nullptr while no
// screen exists.
void handle_window_events(PresentFrame* frame);

// Carries out what the program asked of the window (lock held).
void carry_out_requests();

// Converts the marked rows into the window surface (lock held).
void present_frame(PresentFrame& frame, UploadSpan& upload);

// Switches between the window and desktop full screen; the previous form
// stays when the switch fails.
void set_fullscreen(bool on);

// A window surface's pixel format as a converter's display depth and order;
// false for a format no converter writes.
bool display_format(const SDL_PixelFormat& format, int32_t* depth, bool* red_low);

}  // namespace sdl_detail
