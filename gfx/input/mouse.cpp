#include "gfx/input/input.h"

#include "gfx/present/present.h"
#include "gfx/screen/screen.h"

// The driver keeps the mouse state on its presentation thread; reading it
// under the screen lock gives one consistent snapshot.

int32_t screen_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined) {
    int32_t* const out[] = {x, y, wheel, buttons, confined};
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->driver == nullptr || screen->driver->get_mouse == nullptr) {
        for (int32_t* value : out) {
            if (value != nullptr) *value = -1;
        }
        return 1;
    }
    screen_lock(*screen);
    const int32_t result = screen->driver->get_mouse(x, y, wheel, buttons, confined);
    screen_unlock(*screen);
    return result;
}

int32_t gfx_getmouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* confined) {
    if (console_hooks.get_mouse != nullptr) {
        return console_hooks.get_mouse(x, y, wheel, buttons, confined);
    }
    for (int32_t* value : {x, y, wheel, buttons, confined}) {
        if (value != nullptr) *value = -1;
    }
    return 1;
}

int32_t screen_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t confinement) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->driver == nullptr || screen->driver->set_mouse == nullptr) {
        return 1;
    }
    screen_lock(*screen);
    screen->driver->set_mouse(x, y, visibility, confinement);
    screen_unlock(*screen);
    return 0;
}
