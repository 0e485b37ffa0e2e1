#include <algorithm>
#include <cstring>

#include "gfx/present/present.h"
#include "gfx/present/sdl/sdl_internal.h"

// The window's events, handled on the presentation thread with the driver
// lock held, so that the key path may push into the key buffer directly.

namespace sdl_detail {
namespace {

void deliver_close() {
    if (window_source().close_request != nullptr) window_source().close_request();
}

void on_key_down(SdlWindow& w, const SDL_KeyboardEvent& event) {
    const SdlKey key = sdl_key(event.keysym);
    w.text_from_repeat = event.repeat != 0;
    if (window_source().key_down == nullptr) return;
    const KeyRoute route =
        window_source().key_down(key.scan, key.key_char, key.modifiers, event.repeat != 0);
    if (route == KeyRoute::window_fullscreen && event.repeat == 0 &&
        (w.flags & WINDOW_NO_MAXIMISE) == 0) {
        set_fullscreen(!w.fullscreen);
    }
}

// Window coordinates to picture coordinates; false outside the picture.
bool to_picture(const SdlWindow& w, int32_t x, int32_t y, MouseState& mouse) {
    if (w.shown.w <= 0 || w.shown.h <= 0) return false;
    const int64_t px = (int64_t{x} - w.shown.x) * w.width / w.shown.w;
    const int64_t py = (int64_t{y} - w.shown.y) * w.height / w.shown.h;
    if (x < w.shown.x || y < w.shown.y || px >= w.width || py >= w.height) return false;
    mouse.x = static_cast<int32_t>(px);
    mouse.y = static_cast<int32_t>(py);
    return true;
}

// A finger on a touch screen is the left button at the finger's place; only
// the first finger down counts, until it is lifted.
void on_finger(SdlWindow& w, const SDL_TouchFingerEvent& finger) {
    if (finger.type == SDL_FINGERDOWN && !w.finger_down) {
        w.finger_down = true;
        w.finger = finger.fingerId;
    } else if (!w.finger_down || finger.fingerId != w.finger) {
        return;
    }
    // SDL gives the place as a fraction of the window's size.
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(w.window, &width, &height);
    const auto x =
        static_cast<int32_t>(std::clamp(finger.x, 0.0f, 1.0f) * static_cast<float>(width));
    const auto y =
        static_cast<int32_t>(std::clamp(finger.y, 0.0f, 1.0f) * static_cast<float>(height));
    w.mouse.inside = to_picture(w, std::min(x, width - 1), std::min(y, height - 1), w.mouse);
    if (finger.type == SDL_FINGERUP) {
        w.finger_down = false;
        w.mouse.buttons &= ~1;
    } else {
        w.mouse.buttons |= 1;
        if (finger.type == SDL_FINGERDOWN) w.mouse.pressed |= 1;
    }
}

int32_t button_bit(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        default:
            return 0;
    }
}

int32_t held_buttons() {
    const Uint32 held = SDL_GetMouseState(nullptr, nullptr);
    return ((held & SDL_BUTTON_LMASK) != 0 ? 1 : 0) | ((held & SDL_BUTTON_RMASK) != 0 ? 2 : 0) |
           ((held & SDL_BUTTON_MMASK) != 0 ? 4 : 0);
}

// Whether a move put the client where the frame's decoration puts it from
// the first placement.
bool moved_by_decoration(const SdlWindow& w, int32_t x, int32_t y) {
    int top = 0;
    int left = 0;
    if (SDL_GetWindowBordersSize(w.window, &top, &left, nullptr, nullptr) != 0) return false;
    return x == w.placed_x + left && y == w.placed_y + top;
}

void on_window_event(SdlWindow& w, const SDL_WindowEvent& event, PresentFrame* frame,
                     bool& closed) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            note_client_size(w);
            w.repaint = true;
            break;
        case SDL_WINDOWEVENT_MOVED:
            w.window_x = event.data1;
            w.window_y = event.data2;
            // After the window manager's first placement, a move is someone's
            // wish, which centring must not undo; but some window managers
            // move the client down by the frame once they have decorated it,
            // and that move is still theirs.
            if (w.placed && (w.placed_x != event.data1 || w.placed_y != event.data2) &&
                !moved_by_decoration(w, event.data1, event.data2)) {
                w.centre_until = 0;
            }
            if (!w.placed) {
                w.placed_x = event.data1;
                w.placed_y = event.data2;
                w.placed = true;
            }
            note_client_size(w);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Keys and buttons released while another window had the focus
            // must not stay held here. SDL may report the focus a little
            // after a click that gave it, so the buttons start from what is
            // held now rather than from nothing.
            w.focused = event.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            if (frame != nullptr) std::memset(frame->key_states, 0, 128);
            w.mouse.buttons = w.focused ? held_buttons() : 0;
            w.mouse.pressed = 0;
            w.repaint = true;
            break;
        case SDL_WINDOWEVENT_LEAVE:
            w.mouse.inside = false;
            w.mouse.pressed = 0;
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            // The maximise request switches to full screen, as Alt+Enter does.
            if ((w.flags & WINDOW_NO_MAXIMISE) != 0 || w.fullscreen) {
                SDL_RestoreWindow(w.window);
            } else {
                maximise_to_fullscreen(w);
            }
            break;
        case SDL_WINDOWEVENT_CLOSE:
            // The window stays open; the program decides.
            deliver_close();
            closed = true;
            break;
        default:
            break;
    }
}

}  // namespace

void handle_window_events(PresentFrame* frame) {
    SdlWindow& w = sdl_window();
    bool closed = false;
    SDL_Event event;
    // One look at the display per pass: every SDL_PollEvent would ask the
    // X server again.
    SDL_PumpEvents();
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        switch (event.type) {
            case SDL_KEYDOWN:
                on_key_down(w, event.key);
                break;
            case SDL_TEXTINPUT:
                if (window_source().text_typed != nullptr) {
                    window_source().text_typed(event.text.text, sdl_modifiers(SDL_GetModState()),
                                               w.text_from_repeat);
                }
                w.text_from_repeat = false;
                break;
            case SDL_KEYUP:
                w.text_from_repeat = false;
                break;
            case SDL_WINDOWEVENT:
                on_window_event(w, event.window, frame, closed);
                break;
            case SDL_QUIT:
                end_if_display_lost(w.window);
                // A close click that SDL reports twice still counts once; a
                // quit of its own (SIGINT, SIGTERM) is a close request too.
                if (!closed) deliver_close();
                closed = true;
                break;
            case SDL_DISPLAYEVENT:
                w.repaint = true;
                break;
            case SDL_MOUSEMOTION:
                w.mouse.inside = to_picture(w, event.motion.x, event.motion.y, w.mouse);
                break;
            case SDL_MOUSEBUTTONDOWN:
                w.mouse.inside = to_picture(w, event.button.x, event.button.y, w.mouse);
                w.mouse.buttons |= button_bit(event.button.button);
                w.mouse.pressed |= button_bit(event.button.button);
                break;
            case SDL_MOUSEBUTTONUP:
                w.mouse.inside = to_picture(w, event.button.x, event.button.y, w.mouse);
                w.mouse.buttons &= ~button_bit(event.button.button);
                break;
            case SDL_FINGERDOWN:
            case SDL_FINGERMOTION:
            case SDL_FINGERUP:
                on_finger(w, event.tfinger);
                break;
            case SDL_MOUSEWHEEL:
                w.mouse.wheel += event.wheel.y;
                break;
            default:
                break;
        }
    }
}

void carry_out_requests() {
    SdlWindow& w = sdl_window();
    WindowRequests& r = w.requests;
    if (r.title) {
        if (!x11_set_title(w.window, r.title_text.c_str())) {
            SDL_SetWindowTitle(w.window, r.title_text.c_str());
        }
    }
    if (r.move && !w.fullscreen) {
        SDL_SetWindowPosition(w.window, r.move_x, r.move_y);
        w.centre_until = 0;
    }
    if (r.warp && w.width > 0 && w.height > 0) {
        SDL_WarpMouseInWindow(w.window, w.shown.x + r.warp_x * w.shown.w / w.width,
                              w.shown.y + r.warp_y * w.shown.h / w.height);
    }
    if (r.visibility >= 0) SDL_ShowCursor(r.visibility > 0 ? SDL_ENABLE : SDL_DISABLE);
    if (r.confinement >= 0) {
        SDL_SetWindowGrab(w.window, r.confinement > 0 ? SDL_TRUE : SDL_FALSE);
        w.mouse.confined = r.confinement > 0;
    }
    r.title = r.move = r.warp = false;
    r.visibility = r.confinement = -1;
}

}  // namespace sdl_detail
