#include "gfx/present/window_size.h"

// Window managers answer late and in steps: a maximise may show its steps
// before its state, and leaving full screen may bring back the size from
// before the maximise or a little more. Sizes seen while the window is
// maximised or full screen are never ones to return to; the steps of a
// maximise are taken back once its state arrives; and for a while after
// leaving full screen a size the window had on the way, or one a frame's
// width off the size to return to, is corrected. Any other size is the
// user's, and wins at once.

namespace {

bool same_size(const PresentRect& a, const PresentRect& b) {
    return a.w == b.w && a.h == b.h;
}

void hold(WindowSizeState& s, const PresentRect& rect) {
    if (rect.w <= 0 || rect.h <= 0) return;
    for (int32_t i = 0; i < s.held_count; ++i) {
        if (same_size(s.held[i], rect)) return;
    }
    if (s.held_count == WINDOW_HELD_SIZES) {
        for (int32_t i = 1; i < WINDOW_HELD_SIZES; ++i)
            s.held[i - 1] = s.held[i];
        --s.held_count;
    }
    s.held[s.held_count++] = rect;
}

bool near(int32_t a, int32_t b) {
    return a - b >= -WINDOW_FRAME_SLACK && a - b <= WINDOW_FRAME_SLACK;
}

bool late_answer(const WindowSizeState& s, const PresentRect& rect) {
    for (int32_t i = 0; i < s.held_count; ++i) {
        if (same_size(s.held[i], rect)) return true;
    }
    return near(rect.w, s.remembered.w) && near(rect.h, s.remembered.h);
}

void remember(WindowSizeState& s, const PresentRect& rect, uint64_t now) {
    if (s.remembered.w > 0 && same_size(rect, s.remembered)) {
        // Moved only: the place is kept, no new size.
        s.remembered = rect;
        if (s.history_count > 0) s.history[s.history_count - 1] = rect;
        return;
    }
    if (s.history_count == WINDOW_SIZE_HISTORY) {
        for (int32_t i = 1; i < WINDOW_SIZE_HISTORY; ++i) {
            s.history[i - 1] = s.history[i];
            s.history_at[i - 1] = s.history_at[i];
        }
        --s.history_count;
    }
    s.history[s.history_count] = rect;
    s.history_at[s.history_count] = now;
    ++s.history_count;
    s.remembered = rect;
}

// A step of a maximise grows the window to fill the screen in one direction
// at least (within a frame's width: fluxbox's state may come a title bar's
// height off its step), shortly before the state arrives; the size before
// the first step is the one to return to.
void take_back_maximise_steps(WindowSizeState& s, const PresentRect& maximised, uint64_t now) {
    while (s.history_count > 1) {
        const PresentRect& last = s.history[s.history_count - 1];
        const PresentRect& before = s.history[s.history_count - 2];
        const bool recent = s.history_at[s.history_count - 1] + WINDOW_MAXIMISE_LEAD_MS >= now;
        const bool grown = last.w >= before.w && last.h >= before.h;
        const bool fills = near(last.w, maximised.w) || near(last.h, maximised.h);
        if (!recent || !grown || !fills) break;
        hold(s, last);
        --s.history_count;
    }
    if (s.history_count > 0) s.remembered = s.history[s.history_count - 1];
}

void end_restore(WindowSizeState& s) {
    s.restore_until = 0;
    s.places_itself = false;
    s.held_count = 0;
}

void on_client_size(WindowSizeStep& step, const WindowSizeEvent& e) {
    WindowSizeState& s = step.state;
    if (s.restore_until != 0 && e.now > s.restore_limit) end_restore(s);
    if (e.rect.w <= 0 || e.rect.h <= 0) return;
    if (s.fullscreen || s.maximised) {
        hold(s, e.rect);
        return;
    }
    if (s.restore_until != 0 &&
        (e.now > s.restore_until || s.restore_attempts >= WINDOW_RESTORE_ATTEMPTS ||
         !late_answer(s, e.rect))) {
        end_restore(s);
    }
    if (s.restore_until != 0) {
        if (!same_size(e.rect, s.remembered)) {
            // A late answer to leaving full screen, or to the last
            // correction: corrected, and the wait begins anew.
            ++s.restore_attempts;
            s.restore_until = e.now + WINDOW_RESTORE_PATIENCE_MS;
            step.decision = WindowSizeDecision{
                .request_size = true, .request_place = s.places_itself, .rect = s.remembered};
        }
        return;
    }
    remember(s, e.rect, e.now);
}

}  // namespace

WindowSizeStep window_size_step(const WindowSizeState& state, const WindowSizeEvent& event) {
    WindowSizeStep step{.state = state, .decision = {}};
    WindowSizeState& s = step.state;
    switch (event.kind) {
        case WindowSizeEventKind::client_size:
            on_client_size(step, event);
            break;
        case WindowSizeEventKind::maximised:
            if (s.maximised) break;
            s.maximised = true;
            hold(s, event.rect);
            if (!s.fullscreen) take_back_maximise_steps(s, event.rect, event.now);
            break;
        case WindowSizeEventKind::unmaximised:
            s.maximised = false;
            // Sizes were not heeded while the window manager held the
            // window; its late answers count from its letting go.
            if (s.restore_until != 0) s.restore_until = event.now + WINDOW_RESTORE_PATIENCE_MS;
            break;
        case WindowSizeEventKind::fullscreen_on:
            if (s.fullscreen) break;
            // The place it leaves from is the one to return to.
            if (!s.maximised && s.remembered.w > 0 && same_size(event.rect, s.remembered)) {
                remember(s, event.rect, event.now);
            }
            s.fullscreen = true;
            s.places_itself = event.places_itself;
            s.restore_until = 0;
            break;
        case WindowSizeEventKind::fullscreen_off:
            if (!s.fullscreen) break;
            s.fullscreen = false;
            hold(s, event.rect);
            if (s.remembered.w <= 0) break;
            s.restore_until = event.now + WINDOW_RESTORE_PATIENCE_MS;
            s.restore_limit = event.now + WINDOW_RESTORE_LIMIT_MS;
            s.restore_attempts = 0;
            step.decision = WindowSizeDecision{
                .request_size = true, .request_place = s.places_itself, .rect = s.remembered};
            break;
    }
    return step;
}
