#include "gfx/input/key_buffer.h"
#include "runtime/timing.h"

// Long waits look at the keyboard every 50 ms so that a key press ends them;
// short pauses (the frame pacing's 1 ms) are a single uninterrupted sleep.
void screen_sleep(int32_t n) {
    if (n == -1) {
        while (!take_key_seen())
            os_pause(50);
        return;
    }
    if (n >= 100) {
        while (n > 50) {
            if (take_key_seen()) return;
            os_pause(50);
            n -= 50;
        }
    }
    if (n > 0) os_pause(n);
}
