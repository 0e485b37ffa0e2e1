#include <algorithm>
#include <cmath>

#include "gfx/present/web/web.h"

// The page's pointer as the program's mouse. The page has one thread and its
// pointer events run while the program pauses, so the state needs no lock of
// its own; the program reads it once a frame, which may be after several
// events or none.

namespace {

struct WebPointer {
    int32_t picture_w = 0;
    int32_t picture_h = 0;
    bool inside = false;
    int32_t x = 0;
    int32_t y = 0;
    bool pressed = false;
    // A press the program has not read yet, and where it was let go (or is
    // now): a tap quicker than a frame still reaches the program.
    bool press_unread = false;
    int32_t pressed_x = 0;
    int32_t pressed_y = 0;
};

WebPointer g_pointer;

// The picture pixel under CSS position `at` of a canvas `size` CSS pixels
// long that shows `pixels` picture pixels; positions beyond the canvas give
// its edge pixels.
int32_t to_pixel(double at, double size, int32_t pixels) {
    const double scaled = std::floor(at * pixels / size);
    if (!(scaled > 0)) return 0;  // NaN too
    return scaled >= pixels - 1 ? pixels - 1 : static_cast<int32_t>(scaled);
}

}  // namespace

void web_pointer_picture(int32_t width, int32_t height) {
    g_pointer = WebPointer{};
    g_pointer.picture_w = std::max(width, 0);
    g_pointer.picture_h = std::max(height, 0);
}

void web_pointer(double x, double y, double width, double height, int32_t buttons, int32_t inside) {
    WebPointer& p = g_pointer;
    // A canvas of no size (hidden, or not laid out yet) or a position that is
    // no number says nothing about where the pointer is.
    const bool readable = std::isfinite(x) && std::isfinite(y) && std::isfinite(width) &&
                          std::isfinite(height) && width > 0 && height > 0;
    const bool known = inside != 0 && readable && p.picture_w > 0 && p.picture_h > 0;
    p.inside = known;
    if (known) {
        p.x = to_pixel(x, width, p.picture_w);
        p.y = to_pixel(y, height, p.picture_h);
    }
    const bool was_pressed = p.pressed;
    p.pressed = known && (buttons & 1) != 0;
    if (p.pressed) p.press_unread = true;
    if (p.pressed || (was_pressed && known)) {
        p.pressed_x = p.x;
        p.pressed_y = p.y;
    }
}

int32_t web_read_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                       int32_t* confined) {
    WebPointer& p = g_pointer;
    const bool known = p.inside || p.press_unread;
    // A press released since the last read shows where it was let go.
    const bool from_press = p.press_unread && !p.pressed;
    if (x != nullptr) *x = !known ? -1 : from_press ? p.pressed_x : p.x;
    if (y != nullptr) *y = !known ? -1 : from_press ? p.pressed_y : p.y;
    if (wheel != nullptr) *wheel = known ? 0 : -1;
    if (buttons != nullptr) *buttons = !known ? -1 : p.pressed || p.press_unread ? 1 : 0;
    if (confined != nullptr) *confined = known ? 0 : -1;
    p.press_unread = false;
    return known ? 0 : 1;
}
