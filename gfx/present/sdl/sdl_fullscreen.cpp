#include "gfx/present/sdl/sdl_internal.h"

// Full screen and back, and the window's real size. SDL's idea of the size
// follows its own requests: it takes the desktop's size on entering full
// screen even where nobody carries that out, and on leaving it may keep
// whatever size a window manager handed back in between. What the display
// reports decides what is drawn; what it reports also goes to the size
// bookkeeping (window_size.h), which says what to ask of the window.

namespace sdl_detail {
namespace {

// Nobody carries out full screen on a bare X server: the window then takes
// the display's bounds itself.
void fill_display_alone(SdlWindow& w) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(w.window), &bounds) != 0) return;
    x11_place_window(w.window, bounds);
}

// The client area and its place, true when the display itself told the size.
bool client_area(const SdlWindow& w, PresentRect& area) {
    SDL_GetWindowPosition(w.window, &area.x, &area.y);
    if (x11_client_size(w.window, &area.w, &area.h)) return true;
    SDL_GetWindowSize(w.window, &area.w, &area.h);
    return false;
}

// The window manager holds the window maximised (in either direction, as
// some get there one direction at a time) or full screen.
bool held_by_window_manager(const SdlWindow& w) {
    return (SDL_GetWindowFlags(w.window) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED)) != 0 ||
           x11_maximised(w.window);
}

void feed(SdlWindow& w, WindowSizeEventKind kind, const PresentRect& area,
          bool places_itself = false) {
    const WindowSizeStep step = window_size_step(
        w.size_state,
        WindowSizeEvent{
            .kind = kind, .rect = area, .places_itself = places_itself, .now = SDL_GetTicks64()});
    w.size_state = step.state;
    const WindowSizeDecision& d = step.decision;
    if (d.request_place) {
        x11_place_window(w.window, SDL_Rect{d.rect.x, d.rect.y, d.rect.w, d.rect.h});
    } else if (d.request_size) {
        SDL_SetWindowSize(w.window, d.rect.w, d.rect.h);
    }
}

// The window manager's state as it is now, if it changed.
void follow_window_manager(SdlWindow& w, const PresentRect& area) {
    const bool held = held_by_window_manager(w);
    if (held != w.size_state.maximised) {
        feed(w, held ? WindowSizeEventKind::maximised : WindowSizeEventKind::unmaximised, area);
    }
}

}  // namespace

void note_client_size(SdlWindow& w) {
    PresentRect area;
    const bool known = client_area(w, area);
    // Elsewhere than on X11 SDL's surface is taken to be the window's size.
    w.client_w = known ? area.w : 0;
    w.client_h = known ? area.h : 0;
    follow_window_manager(w, area);
    feed(w, WindowSizeEventKind::client_size, area);
}

void maximise_to_fullscreen(SdlWindow& w) {
    // The maximised state may come after the maximise's sizes; the
    // bookkeeping takes them back.
    PresentRect area;
    client_area(w, area);
    if (!w.size_state.maximised) feed(w, WindowSizeEventKind::maximised, area);
    SDL_RestoreWindow(w.window);
    x11_unmaximise(w.window);
    set_fullscreen(true);
}

void set_fullscreen(bool on) {
    SdlWindow& w = sdl_window();
    const bool was = w.fullscreen;
    PresentRect before;
    client_area(w, before);
    if (SDL_SetWindowFullscreen(w.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) {
        w.fullscreen = on;
    } else {
        SDL_SetWindowFullscreen(w.window, w.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    }
    if (w.fullscreen && !was) {
        const bool alone = x11_without_window_manager(w.window);
        feed(w, WindowSizeEventKind::fullscreen_on, before, alone);
        if (alone) fill_display_alone(w);
    } else if (!w.fullscreen && was) {
        // Full screen entered from the maximised window leaves no maximised
        // window behind.
        if ((SDL_GetWindowFlags(w.window) & SDL_WINDOW_MAXIMIZED) != 0) SDL_RestoreWindow(w.window);
        x11_unmaximise(w.window);
        PresentRect area;
        client_area(w, area);
        feed(w, WindowSizeEventKind::fullscreen_off, area);
    }
    note_client_size(w);
    w.repaint = true;
}

}  // namespace sdl_detail
