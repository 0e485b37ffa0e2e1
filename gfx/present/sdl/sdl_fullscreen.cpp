#include "gfx/present/sdl/sdl_internal.h"

// Full screen and back, and the window's real size. SDL's idea of the size
// follows its own requests: it takes the desktop's size on entering full
// screen even where nobody carries that out, and on leaving it may keep
// whatever size a window manager handed back in between. What the display
// reports decides what is drawn, and leaving full screen returns to the size
// the window had before.

namespace sdl_detail {
namespace {

// How long after leaving full screen a window manager's answer still counts
// as part of leaving, and how often a wrong size is corrected in that time:
// a window manager that insists on another size wins.
constexpr Uint64 RESTORE_PATIENCE_MS = 1000;
constexpr int32_t RESTORE_ATTEMPTS = 3;

// Nobody carries out full screen on a bare X server: the window then takes
// the display's bounds itself.
void fill_display_alone(SdlWindow& w) {
    if (!x11_without_window_manager(w.window)) return;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(w.window), &bounds) != 0) return;
    x11_place_window(w.window, bounds);
    w.placed_by_us = true;
}

// The client area's size, true when the display itself told it.
bool current_size(const SdlWindow& w, int32_t* width, int32_t* height) {
    if (x11_client_size(w.window, width, height)) return true;
    SDL_GetWindowSize(w.window, width, height);
    return false;
}

}  // namespace

void note_client_size(SdlWindow& w) {
    int32_t width = 0;
    int32_t height = 0;
    const bool known = current_size(w, &width, &height);
    // Elsewhere than on X11 SDL's surface is taken to be the window's size.
    w.client_w = known ? width : 0;
    w.client_h = known ? height : 0;
    const Uint32 state = SDL_GetWindowFlags(w.window);
    if (w.fullscreen || (state & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED)) != 0 ||
        x11_maximised(w.window)) {
        return;
    }
    const bool restored = width == w.windowed.w && height == w.windowed.h;
    if (w.restore_until != 0) {
        // Once back at the earlier size, later sizes are someone's wish.
        if (restored || SDL_GetTicks64() > w.restore_until ||
            w.restore_attempts >= RESTORE_ATTEMPTS) {
            w.restore_until = 0;
        } else {
            ++w.restore_attempts;
            SDL_SetWindowSize(w.window, w.windowed.w, w.windowed.h);
            return;
        }
    }
    if (restored) return;
    w.earlier_w = w.windowed.w;
    w.earlier_h = w.windowed.h;
    w.windowed.w = width;
    w.windowed.h = height;
}

void maximise_to_fullscreen(SdlWindow& w) {
    // The window manager may have told the maximised size before it told
    // the maximised state; that size is then not one to return to.
    int32_t width = 0;
    int32_t height = 0;
    current_size(w, &width, &height);
    if (width == w.windowed.w && height == w.windowed.h && w.earlier_w > 0) {
        w.windowed.w = w.earlier_w;
        w.windowed.h = w.earlier_h;
    }
    SDL_RestoreWindow(w.window);
    x11_unmaximise(w.window);
    set_fullscreen(true);
}

void set_fullscreen(bool on) {
    SdlWindow& w = sdl_window();
    const bool was = w.fullscreen;
    if (on && !was) {
        SDL_GetWindowPosition(w.window, &w.windowed.x, &w.windowed.y);
        w.restore_until = 0;
    }
    if (SDL_SetWindowFullscreen(w.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) {
        w.fullscreen = on;
    } else {
        SDL_SetWindowFullscreen(w.window, w.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    }
    if (w.fullscreen && !was) {
        fill_display_alone(w);
    } else if (!w.fullscreen && was && w.windowed.w > 0 && w.windowed.h > 0) {
        if (w.placed_by_us) x11_place_window(w.window, w.windowed);
        // Full screen entered from the maximised window leaves no maximised
        // window behind.
        if ((SDL_GetWindowFlags(w.window) & SDL_WINDOW_MAXIMIZED) != 0) SDL_RestoreWindow(w.window);
        x11_unmaximise(w.window);
        w.placed_by_us = false;
        w.restore_until = SDL_GetTicks64() + RESTORE_PATIENCE_MS;
        w.restore_attempts = 0;
    }
    note_client_size(w);
    w.repaint = true;
}

}  // namespace sdl_detail
