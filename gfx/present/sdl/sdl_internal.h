#pragma once

// What only the SDL driver's files share: the one window's state and who may
// touch which part of it, the key map, the video driver choice.

#include <SDL2/SDL.h>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "gfx/present/present.h"
#include "gfx/present/window_size.h"

// A key as the key code translation sees it.
struct SdlKey {
    int32_t scan;      // set-1 scan code, 0 for a key without one
    int32_t key_char;  // the character the key types without modifiers, 0 for none
    int32_t
        modifiers;  // Shift 0x10, Ctrl 0x08 (+0x04 right), Alt 0x02 (+0x01 right), 0x100 grey key
};

// A key event's key: SDL's scan code mapped to set 1 (grey keys carry the
// extended flag), with the modifier state of the event.
SdlKey sdl_key(const SDL_Keysym& keysym);

// The modifier bits of an SDL modifier state.
int32_t sdl_modifiers(uint16_t mod);

// Fills the 128 bytes of key_states from SDL's keyboard state: byte s is 1
// while a key of set-1 scan code s is down (a grey key and its keypad twin
// share one byte).
void sdl_refresh_key_states(uint8_t* key_states);

// What differs between SDL's video drivers for this window.
namespace sdl_detail {

// The value of SDL_HINT_FRAMEBUFFER_ACCELERATION for a video driver, as SDL
// names it ("x11", "wayland"): "0" for the driver's own window surface where
// it has one, since that costs least; a renderer behind the surface where
// the driver has no surface of its own.
const char* framebuffer_acceleration(const char* video_driver);

// "WHAT (REASON)" into out (always terminated, cut to size); SDL leaves its
// error text empty for some failures, and then the reason says so.
void describe_failure(char* out, size_t size, const char* what, const char* sdl_error);

}  // namespace sdl_detail

// The state of the one SDL window, shared by the driver's operations (program
// thread) and the presentation thread. Fields are grouped by who may touch
// them and when.
namespace sdl_detail {

struct MouseState {
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheel = 0;
    int32_t buttons = 0;  // 1 left, 2 right, 4 middle
    // Buttons pressed since the program last read the mouse: a click or a
    // tap shorter than a frame still counts once.
    int32_t pressed = 0;
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
    const PresentSource* source = nullptr;
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
    bool pass_pending = false;  // a wake event is on its way to the thread
    // When the program's drawing woke the thread (0: it did not); read
    // without the lock to wait for the rest of the frame's drawing.
    std::atomic<Uint64> woken_at{0};
    uint32_t palette[256] = {};  // 0x00BBGGRR, as the display was last given it
    bool palette_changed = false;
    bool focused = false;
    MouseState mouse;
    bool finger_down = false;  // a finger on a touch screen acts as the left button
    SDL_FingerID finger = 0;
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
    SDL_Rect view{};         // the part of the surface the window really shows
    SDL_Rect shown{};        // where the picture lies in the window
    ScaleMap scale;          // picture to shown, while they differ in size
    ShownPicture on_screen;  // what the window shows, to find what changed
    PixelConverter converter = nullptr;
    int32_t client_w = 0;  // the client area as the display has it; 0 while unknown
    int32_t client_h = 0;
    bool fullscreen = false;
    WindowSizeState size_state;  // the size full screen returns to, and what is awaited
    bool repaint = true;
    // SDL sends a key's text right after its key down, without saying
    // whether an auto-repeat typed it; the key down does.
    bool text_from_repeat = false;
    // Centring the client area waits for the frame's size, which the window
    // manager tells after the window is shown: until this tick, 0 when done.
    Uint64 centre_until = 0;
    bool placed = false;  // the window manager's first placement was seen
    int32_t placed_x = 0;
    int32_t placed_y = 0;

    std::thread thread;
};

SdlWindow& sdl_window();

// The routines init was handed; empty ones before that.
inline const PresentSource& window_source() {
    static constexpr PresentSource none{};
    const PresentSource* source = sdl_window().source;
    return source != nullptr ? *source : none;
}

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

// The window rectangles a pass changed, uploaded after the lock is released.
struct UploadRects {
    SDL_Rect rects[MAX_CHANGED_RECTS];
    int32_t count = 0;
};

// Handles every waiting window event (lock held); frame is nullptr while no
// screen exists.
void handle_window_events(PresentFrame* frame);

// Carries out what the program asked of the window (lock held).
void carry_out_requests();

// Converts what changed into the window surface (lock held).
void present_frame(PresentFrame& frame, UploadRects& upload);

// Switches between the window and desktop full screen; the previous form
// stays when the switch fails.
void set_fullscreen(bool on);

// The window manager maximised the window: full screen instead, returning
// to the size from before.
void maximise_to_fullscreen(SdlWindow& w);

// Reads the client area's real size into the window record and, while the
// window is neither full screen nor maximised, keeps it as the size to
// return to.
void note_client_size(SdlWindow& w);

// The client area's size as the X server has it; false off X11.
bool x11_client_size(SDL_Window* window, int32_t* width, int32_t* height);

// True on an X display where no window manager runs, so that nobody carries
// out a full-screen request.
bool x11_without_window_manager(SDL_Window* window);

// True while the window manager has the window maximised in either
// direction, or full screen.
bool x11_maximised(SDL_Window* window);

// Asks the window manager to take back both maximised states, whatever SDL
// believes of them: SDL skips its own request while it has not yet heard of
// the maximise, and a window manager that keeps the state gives it back on
// leaving full screen. Nothing off X11.
void x11_unmaximise(SDL_Window* window);

// Sets the X window's title from UTF-8 whatever the locale; false off X11.
bool x11_set_title(SDL_Window* window, const char* utf8);

// Moves and sizes the X window directly, as only a bare server lets one.
void x11_place_window(SDL_Window* window, const SDL_Rect& rect);

// A window surface's pixel format as a converter's display depth and order;
// false for a format no converter writes.
bool display_format(const SDL_PixelFormat& format, int32_t* depth, bool* red_low);

}  // namespace sdl_detail
