#include "gfx/screen/console_hooks.h"

#include "runtime/timing.h"

ConsoleHooks console_hooks{};

void fill_console_hooks() {
    console_hooks = screen_console_hooks;
    set_sleep_routine(console_hooks.pause);
}

void empty_console_hooks() {
    console_hooks = ConsoleHooks{};
    set_sleep_routine(nullptr);
}
