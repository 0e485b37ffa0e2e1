#include "gfx/screen/screen.h"

#include "runtime/runtime.h"

ConsoleHooks console_hooks{};

void install_console_hooks(const ConsoleHooks& hooks) {
    console_hooks = hooks;
    set_sleep_routine(console_hooks.pause);
}

void empty_console_hooks() {
    console_hooks = ConsoleHooks{};
    set_sleep_routine(nullptr);
}
