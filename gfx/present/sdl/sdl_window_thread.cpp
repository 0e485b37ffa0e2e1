#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gfx/present/present.h"
#include "gfx/present/sdl/sdl_internal.h"

// The presentation thread owns the SDL window from creation to destruction.
// It sleeps until SDL has an event for it (the program's unlock sends one
// when rows were marked, or, once the program has present points, when a
// point took new rows) and then runs one pass under the driver lock, at
// most one pass per 10 ms; an idle screen costs a wake-up now and then.
// Every primitive unlocks the screen, so the first one of a frame wakes the
// thread: it lets the frame's drawing finish before the pass, so that one
// frame costs one pass.

namespace sdl_detail {
namespace {

constexpr Uint32 PASS_PERIOD_MS = 10;
// How long after the program's first unlock the pass waits for the rest of
// the drawing: a frame of the simulation draws in well under a millisecond.
constexpr Uint64 SETTLE_MS = 2;
// Longest sleep without a pass: signals caught by SDL surface as a quit
// event only when someone pumps.
constexpr int IDLE_WAIT_MS = 200;
// How long after the window appeared the window manager may take to tell the
// frame's size.
constexpr Uint64 CENTRE_PATIENCE_MS = 5000;

void report_start(SdlWindow& w, int32_t result) {
    std::lock_guard<std::mutex> guard(w.start_lock);
    w.start_result = result;
    w.started.notify_all();
}

void refuse(SdlWindow& w, const char* what) {
    char reason[256];
    describe_failure(reason, sizeof reason, what, SDL_GetError());
    note_window_failure(reason);
    report_start(w, -1);
}

// The window's part of SDL ends; the whole library only once nothing else
// of it is up (the tone's audio plays on without the window).
void quit_video() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

Uint32 wake_event_type() {
    // SDL hands out user event numbers for the process, never again.
    static const Uint32 registered = SDL_RegisterEvents(1);
    return registered != static_cast<Uint32>(-1) ? registered : Uint32{SDL_USEREVENT};
}

// Left to itself SDL ends up with a video driver that shows nothing (an
// off-screen one) when no display is reachable, and a window nobody sees is
// worse than none. So unless the user names drivers in SDL_VIDEODRIVER, only
// the displays the environment points to are tried.
bool choose_video_driver() {
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) return true;
    const bool x11 = std::getenv("DISPLAY") != nullptr;
    const bool wayland = std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!x11 && !wayland) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 && wayland ? "x11,wayland" : x11 ? "x11" : "wayland");
    return true;
}

Uint32 creation_flags(int32_t flags) {
    Uint32 window_flags = SDL_WINDOW_SHOWN;
    if ((flags & WINDOW_FULLSCREEN) != 0) window_flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if ((flags & WINDOW_BORDERLESS) != 0) window_flags |= SDL_WINDOW_BORDERLESS;
    if ((flags & WINDOW_ON_TOP) != 0) window_flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // Window managers offer maximising only to a window that may grow; the
    // picture then follows the window's size.
    if ((flags & WINDOW_NO_MAXIMISE) == 0) window_flags |= SDL_WINDOW_RESIZABLE;
    return window_flags;
}

// Opens the window; false (reason recorded) when that cannot be done.
bool open_window(SdlWindow& w) {
    // One close click is one close request: without this SDL adds a quit
    // event to the close event of the last window.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates the window counts as a click, as desktop
    // windows usually have it; SDL would drop it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A finger is taken as such (the left button at its place); SDL's own
    // mouse events made from it would press the button twice.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    if (!choose_video_driver()) {
        SDL_SetError("DISPLAY and WAYLAND_DISPLAY are not set");
        refuse(w, "no display to open a window on");
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        refuse(w, "SDL could not start its video subsystem");
        return false;
    }
    // The window surface straight on the display (shared memory on X11):
    // SDL's default, a texture behind an OpenGL context, costs a software
    // renderer's threads on machines without a graphics card, for nothing
    // a 640 x 480 picture needs. Only a driver without a surface of its own
    // gets the renderer. SDL reads this when it first makes the surface.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION,
                framebuffer_acceleration(SDL_GetCurrentVideoDriver()));
    w.wake_event = wake_event_type();
    // Before the window shows: a hang-up as soon as it can be seen ends the
    // program in order too (SDL, initialised above, turns SIGTERM into
    // the quit event).
    end_on_hangup();
    w.window = SDL_CreateWindow(w.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                w.width, w.height, creation_flags(w.flags));
    SDL_Surface* surface = w.window != nullptr ? SDL_GetWindowSurface(w.window) : nullptr;
    int32_t display_depth = 0;
    bool red_low = false;
    const char* failure = nullptr;
    if (surface == nullptr) {
        failure = "SDL could not open a window";
    } else if (!display_format(*surface->format, &display_depth, &red_low) ||
               select_converter(w.depth, display_depth, red_low) == nullptr) {
        SDL_SetError("%s", SDL_GetPixelFormatName(surface->format->format));
        failure = "no pixel converter for the window's format";
    }
    if (failure != nullptr) {
        refuse(w, failure);
        if (w.window != nullptr) SDL_DestroyWindow(w.window);
        w.window = nullptr;
        quit_video();
        return false;
    }
    // Smaller than the picture would drop its 1-pixel lines.
    if ((SDL_GetWindowFlags(w.window) & SDL_WINDOW_RESIZABLE) != 0) {
        SDL_SetWindowMinimumSize(w.window, w.width, w.height);
    }
    watch_display_connection(w.title.c_str());
    SDL_DisableScreenSaver();
    // Letters come only as text. SDL leaves text input off when the
    // compositor offers text-input-v3 (sway) and the seat has no keyboard
    // yet, as if only an on-screen keyboard could ever type; a keyboard
    // that comes later would then type no letter.
    SDL_StartTextInput();
    return true;
}

void close_window(SdlWindow& w) {
    // Lets the desktop's own screen saver setting rule again.
    SDL_EnableScreenSaver();
    if (w.picture != nullptr) SDL_FreeSurface(w.picture);
    w.picture = nullptr;
    w.surface = nullptr;
    SDL_DestroyWindow(w.window);
    w.window = nullptr;
    quit_video();
}

void start_presenting(SdlWindow& w) {
    std::lock_guard<std::mutex> guard(w.lock);
    w.running = true;
    w.pass_pending = false;
    w.focused = (SDL_GetWindowFlags(w.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    w.mouse = MouseState{};
    w.finger_down = false;
    w.requests = WindowRequests{};
    SDL_GetWindowPosition(w.window, &w.window_x, &w.window_y);
    SDL_DisplayMode mode{};
    w.refresh_rate = SDL_GetWindowDisplayMode(w.window, &mode) == 0 ? mode.refresh_rate : 0;
    w.fullscreen = (w.flags & WINDOW_FULLSCREEN) != 0;
    w.surface = nullptr;
    w.converter = nullptr;
    w.shown = SDL_Rect{0, 0, w.width, w.height};
    w.view = SDL_Rect{};
    w.size_state = WindowSizeState{};
    w.size_state.fullscreen = w.fullscreen;
    w.placed = false;
    // Only a window that SDL centred is centred again, and only soon after
    // it appeared.
    w.centre_until = w.fullscreen ? 0 : SDL_GetTicks64() + CENTRE_PATIENCE_MS;
    note_client_size(w);
    w.repaint = true;
}

// Window managers put the frame where SDL asked for the client area, so the
// client sits lower than centred by the title bar. Once the frame's size is
// known the window moves to have the client area centred, unless it went
// full screen or someone moved it meanwhile.
void centre_client_area(SdlWindow& w) {
    int top = 0;
    int left = 0;
    if (w.fullscreen || SDL_GetTicks64() > w.centre_until) {
        w.centre_until = 0;
    } else if (SDL_GetWindowBordersSize(w.window, &top, &left, nullptr, nullptr) == 0 &&
               (top > 0 || left > 0)) {
        SDL_SetWindowPosition(w.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        w.centre_until = 0;
    }
}

// One pass; false once the driver is stopping.
bool run_pass(SdlWindow& w, UploadRects& upload) {
    std::lock_guard<std::mutex> guard(w.lock);
    w.pass_pending = false;
    w.woken_at.store(0, std::memory_order_relaxed);
    if (!w.running) return false;
    PresentFrame frame{};
    const bool shown = window_source().frame != nullptr && window_source().frame(&frame);
    handle_window_events(shown ? &frame : nullptr);
    carry_out_requests();
    if (w.centre_until != 0) centre_client_area(w);
    // While a late answer to leaving full screen is awaited the size is
    // looked at every pass: the window manager's letting go of its state
    // need not come with a window event.
    if (w.size_state.restore_until != 0) {
        const int32_t client_w = w.client_w;
        const int32_t client_h = w.client_h;
        note_client_size(w);
        if (w.client_w != client_w || w.client_h != client_h) w.repaint = true;
    }
    if (!shown) return true;
    if (w.focused) sdl_refresh_key_states(frame.key_states);
    present_frame(frame, upload);
    return true;
}

}  // namespace

void window_thread() {
    SdlWindow& w = sdl_window();
    // SDL frees what it keeps per thread (its error text) only for threads
    // it started itself.
    struct ThreadEnd {
        ~ThreadEnd() { SDL_TLSCleanup(); }
    } thread_end;
    if (!open_window(w)) return;
    start_presenting(w);
    report_start(w, 0);

    Uint64 last_pass = 0;
    for (;;) {
        SDL_WaitEventTimeout(nullptr, IDLE_WAIT_MS);
        const Uint64 now = SDL_GetTicks64();
        Uint64 due = last_pass + PASS_PERIOD_MS;
        const Uint64 woken = w.woken_at.load(std::memory_order_relaxed);
        if (woken != 0) due = std::max(due, woken + SETTLE_MS);
        if (now < due) SDL_Delay(static_cast<Uint32>(due - now));
        last_pass = SDL_GetTicks64();
        UploadRects upload;
        if (!run_pass(w, upload)) break;
        if (upload.count > 0) SDL_UpdateWindowSurfaceRects(w.window, upload.rects, upload.count);
    }
    close_window(w);
}

}  // namespace sdl_detail
