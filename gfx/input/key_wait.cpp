#include "gfx/input/input.h"

#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"

namespace {

// The single-step wait's poll before it blocked, kept for tests that play
// the wait out through a pause seam.
constexpr int32_t KEY_WAIT_STEP_MS = 1;

bool key_waiting() {
    return key_hit() != 0;
}

// A page shows the screen only while the program pauses, and a wait for a key
// is a pause of its own: what was drawn before it must be on view while it
// waits. A window with a presentation thread has nothing to do here.
void present_pending_rows() {
    const ScreenContext* screen = active_screen();
    if (screen != nullptr && screen->driver != nullptr && screen->driver->poll != nullptr) {
        screen->driver->poll();
    }
}

}  // namespace

bool key_wait(int32_t ms) {
    present_pending_rows();
    return wait_for_key(ms, key_waiting, KEY_WAIT_STEP_MS);
}
