#include "gfx/present/present.h"
#include "gfx/screen/screen.h"

// Bit 0 says the screen is locked, bit 1 that the running operation took the
// lock and must give it back; so an operation inside a caller's gfx_lock span
// neither locks nor unlocks.

void screen_lock(ScreenContext& screen) {
    if ((screen.screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED)) != 0) return;
    if (screen.driver->lock != nullptr) screen.driver->lock();
    screen.screen_flags |= SCREEN_LOCKED | SCREEN_LOCK_OWNED;
}

void screen_unlock(ScreenContext& screen) {
    if ((screen.screen_flags & SCREEN_LOCK_OWNED) == 0) return;
    if (screen.driver->unlock != nullptr) screen.driver->unlock(take_news(screen));
    screen.screen_flags &= ~(SCREEN_LOCKED | SCREEN_LOCK_OWNED);
}

void gfx_lock() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || (screen->screen_flags & SCREEN_LOCKED) != 0) return;
    if (screen->driver->lock != nullptr) screen->driver->lock();
    screen->screen_flags |= SCREEN_LOCKED;
}

void gfx_unlock() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr) return;
    if ((screen->screen_flags & (SCREEN_LOCKED | SCREEN_LOCK_OWNED)) != SCREEN_LOCKED) return;
    if (screen->driver->unlock != nullptr) screen->driver->unlock(take_news(*screen));
    screen->screen_flags &= ~SCREEN_LOCKED;
}
