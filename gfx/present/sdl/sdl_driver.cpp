#include "gfx/present/sdl/sdl.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "gfx/present/present.h"
#include "gfx/present/sdl/sdl_internal.h"

// The driver's operations run on the program's thread. Everything that
// touches the window itself is left to the presentation thread, which the
// operations wake with an SDL user event.

namespace sdl_detail {

SdlWindow& sdl_window() {
    static SdlWindow* const window = new SdlWindow();  // outlives exit handlers
    return *window;
}

void wake_window_thread() {
    SdlWindow& w = sdl_window();
    if (w.pass_pending) return;
    w.pass_pending = true;
    w.woken_at.store(SDL_GetTicks64(), std::memory_order_relaxed);
    SDL_Event event{};
    event.type = w.wake_event;
    SDL_PushEvent(&event);
}

}  // namespace sdl_detail

namespace {

using sdl_detail::sdl_window;
using sdl_detail::SdlWindow;

// Runs fn under the driver lock, which the program may already hold.
template <typename Fn>
auto with_lock(Fn fn) {
    SdlWindow& w = sdl_window();
    if (w.held_by_program) return fn(w);
    std::lock_guard<std::mutex> guard(w.lock);
    return fn(w);
}

int32_t sdl_init(const PresentSource* source, const char* title, int32_t width, int32_t height,
                 int32_t depth, int32_t, int32_t flags) {
    SdlWindow& w = sdl_window();
    if (w.thread.joinable()) {
        note_window_failure("a window is already open");
        return -1;
    }
    if ((flags & WINDOW_OPENGL) != 0) {
        note_window_failure("OpenGL presentation is not available");
        return -1;
    }
    w.source = source;
    w.title = title != nullptr ? title : "";
    w.width = width;
    w.height = height;
    w.depth = depth;
    w.flags = flags;
    w.start_result = 1;
    w.thread = std::thread(sdl_detail::window_thread);
    std::unique_lock<std::mutex> start(w.start_lock);
    w.started.wait(start, [&w] { return w.start_result != 1; });
    const int32_t result = w.start_result;
    start.unlock();
    if (result != 0) w.thread.join();
    return result;
}

void sdl_exit() {
    SdlWindow& w = sdl_window();
    if (!w.thread.joinable()) return;
    // A program that still holds the lock (a gfx_lock span) gives it up here.
    if (!w.held_by_program) w.lock.lock();
    w.running = false;
    w.pass_pending = false;
    sdl_detail::wake_window_thread();
    w.held_by_program = false;
    w.lock.unlock();
    w.thread.join();
}

void sdl_lock() {
    SdlWindow& w = sdl_window();
    w.lock.lock();
    w.held_by_program = true;
}

// Wakes the presentation thread when the program left something to show; a
// pass already on its way will see it anyway.
void sdl_unlock(bool rows_marked) {
    SdlWindow& w = sdl_window();
    if (!w.pass_pending && (rows_marked || w.palette_changed)) sdl_detail::wake_window_thread();
    w.held_by_program = false;
    w.lock.unlock();
}

// Called with the screen lock held; the next pass repaints.
void sdl_set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
    SdlWindow& w = sdl_window();
    w.palette[index & 255] = static_cast<uint32_t>(red & 255) |
                             static_cast<uint32_t>(green & 255) << 8 |
                             static_cast<uint32_t>(blue & 255) << 16;
    w.palette_changed = true;
}

void sdl_wait_vsync() {
    const int32_t rate = with_lock([](SdlWindow& w) { return w.refresh_rate; });
    std::this_thread::sleep_for(std::chrono::milliseconds(rate > 0 ? 1000 / rate : 16));
}

int32_t sdl_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* confined) {
    return with_lock([&](SdlWindow& w) {
        const bool known = w.focused && w.mouse.inside;
        const sdl_detail::MouseState& m = w.mouse;
        if (x != nullptr) *x = known ? m.x : -1;
        if (y != nullptr) *y = known ? m.y : -1;
        if (wheel != nullptr) *wheel = known ? m.wheel : -1;
        if (buttons != nullptr) *buttons = known ? m.buttons | m.pressed : -1;
        if (known) w.mouse.pressed = 0;
        if (confined != nullptr) *confined = known ? (m.confined ? 1 : 0) : -1;
        return known ? 0 : 1;
    });
}

void sdl_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t confinement) {
    with_lock([&](SdlWindow& w) {
        if (x >= 0) {
            w.requests.warp = true;
            w.requests.warp_x = std::min(x, w.width - 1);
            w.requests.warp_y = std::clamp(y, 0, w.height - 1);
        }
        if (visibility >= 0) w.requests.visibility = visibility;
        if (confinement >= 0) w.requests.confinement = confinement;
        sdl_detail::wake_window_thread();
        return 0;
    });
}

void sdl_set_title(const char* title) {
    with_lock([&](SdlWindow& w) {
        w.requests.title = true;
        w.requests.title_text = title != nullptr ? title : "";
        sdl_detail::wake_window_thread();
        return 0;
    });
}

// Answers the previous position as x << 16 | y (16 bits each).
int32_t sdl_set_position(int32_t x, int32_t y) {
    return with_lock([&](SdlWindow& w) {
        const int32_t old = static_cast<int32_t>(static_cast<uint32_t>(w.window_x & 0xFFFF) << 16 |
                                                 static_cast<uint32_t>(w.window_y & 0xFFFF));
        w.requests.move = true;
        w.requests.move_x = x;
        w.requests.move_y = y;
        sdl_detail::wake_window_thread();
        return old;
    });
}

}  // namespace

const WindowDriver sdl_driver = {
    .name = "SDL",
    .init = sdl_init,
    .exit = sdl_exit,
    .lock = sdl_lock,
    .unlock = sdl_unlock,
    .set_palette = sdl_set_palette,
    .wait_vsync = sdl_wait_vsync,
    .get_mouse = sdl_get_mouse,
    .set_mouse = sdl_set_mouse,
    .set_title = sdl_set_title,
    .set_position = sdl_set_position,
    .list_modes = nullptr,
    .flip = nullptr,
    .poll = nullptr,
};
