#include <algorithm>
#include <cstring>

#include "gfx/screen/screen.h"

// Bit 0 says the screen is locked, bit 1 that the running operation took the
// lock and must give it back; so an operation inside a caller's gfx_lock span
// neither locks nor unlocks.

void screen_lock(ScreenContext& screen) {
    if ((screen.screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED)) != 0) return;
    if (screen.driver_ops.lock != nullptr) screen.driver_ops.lock();
    screen.screen_flags |= SCREEN_LOCKED | SCREEN_LOCK_OWNED;
}

void screen_unlock(ScreenContext& screen) {
    if ((screen.screen_flags & SCREEN_LOCK_OWNED) == 0) return;
    if (screen.driver_ops.unlock != nullptr) screen.driver_ops.unlock();
    screen.screen_flags &= ~(SCREEN_LOCKED | SCREEN_LOCK_OWNED);
}

void gfx_lock() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || (screen->screen_flags & SCREEN_LOCKED) != 0) return;
    if (screen->driver_ops.lock != nullptr) screen->driver_ops.lock();
    screen->screen_flags |= SCREEN_LOCKED;
}

void gfx_unlock() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    if ((screen->screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED)) != SCREEN_LOCKED) return;
    if (screen->driver_ops.unlock != nullptr) screen->driver_ops.unlock();
    screen->screen_flags &= ~SCREEN_LOCKED;
}

void mark_rows(ScreenContext& screen, int64_t first, int64_t last) {
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, screen.height - 1);
    if (first > last) return;
    std::memset(screen.dirty_rows.get() + first, 1, static_cast<size_t>(last - first + 1));
}

bool is_presented_page(const ScreenContext& screen, const uint8_t* first_row) {
    return first_row != nullptr && first_row == screen.framebuffer;
}
