#include "gfx/input/input.h"
#include "runtime/runtime.h"

// Long waits look at the keyboard every 50 ms so that a key press ends them;
// short pauses (the frame pacing's) are a single uninterrupted sleep.
void screen_sleep(int32_t n) {
    interruptible_pause(n, take_key_seen, false);
}
