#include "runtime/runtime.h"

#include <algorithm>
#include <chrono>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

// Waits for a key sleep until the key's push wakes them. The wake-up lives
// here, in the lowest layer, so that the key buffer above signals it and the
// pauses of both consoles (which live here too) can wait on it without a
// layer reaching upwards. A push counter tells a wait whether a push came
// after its last look: the wait reads the count before it asks ready(), and
// sleeps only while the count is unchanged, so a push between the answer and
// the sleep cannot be missed.

namespace {

RuntimeState& rt = runtime_state;

using Clock = std::chrono::steady_clock;

uint64_t pushes_so_far() {
    const std::lock_guard<std::mutex> hold(rt.wake_lock);
    return rt.key_pushes;
}

#ifdef __EMSCRIPTEN__
// A page has one thread: the wait hands it back to the browser until the
// page's key listener, on its way to the key buffer, resolves the promise
// (key_wake_signal below), or the timeout ends the wait.
// clang-format off
EM_ASYNC_JS(void, page_wait_for_key, (int ms), {
    await new Promise(function(resolve) {
        var timer = 0;
        function wake() {
            clearTimeout(timer);
            if (Module["keyWaiter"] === wake) Module["keyWaiter"] = null;
            resolve();
        }
        timer = setTimeout(wake, ms);
        Module["keyWaiter"] = wake;
    });
});

EM_JS(void, page_wake_key_waiter, (), {
    var waiter = Module["keyWaiter"];
    if (waiter) waiter();
});
// clang-format on

// The longest a page waits without a look of its own: should a key ever
// reach the buffer without a wake-up, the wait still sees it.
constexpr int32_t PAGE_WAIT_LIMIT_MS = 1000;

void sleep_until_pushed(uint64_t seen, const Clock::time_point* deadline) {
    if (pushes_so_far() != seen) return;
    int32_t ms = PAGE_WAIT_LIMIT_MS;
    if (deadline != nullptr) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
        ms = static_cast<int32_t>(std::clamp<int64_t>(left, 0, PAGE_WAIT_LIMIT_MS));
    }
    page_wait_for_key(ms);
}
#else
void sleep_until_pushed(uint64_t seen, const Clock::time_point* deadline) {
    std::unique_lock<std::mutex> hold(rt.wake_lock);
    const auto pushed = [seen] { return rt.key_pushes != seen; };
    if (deadline != nullptr) {
        rt.key_pushed.wait_until(hold, *deadline, pushed);
    } else {
        rt.key_pushed.wait(hold, pushed);
    }
}
#endif

// Under a pause seam nothing sleeps, so nothing could wake: the wait takes
// the steps of a poll instead.
bool played_out(int32_t ms, bool (*ready)(), int32_t step_ms) {
    int32_t left = ms;
    for (;;) {
        if (ready()) return true;
        if (left == 0) return false;
        const int32_t step = left < 0 ? step_ms : std::min(step_ms, left);
        os_pause(step);
        if (left > 0) left -= step;
    }
}

}  // namespace

bool wait_for_key(int32_t ms, bool (*ready)(), int32_t step_ms) {
    if (rt.pause_routine.load() != nullptr) return played_out(ms, ready, step_ms);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
    for (;;) {
        const uint64_t seen = pushes_so_far();
        if (ready()) return true;
        if (ms >= 0 && Clock::now() >= deadline) return false;
        sleep_until_pushed(seen, ms >= 0 ? &deadline : nullptr);
    }
}

void key_wake_signal() {
    {
        const std::lock_guard<std::mutex> hold(rt.wake_lock);
        ++rt.key_pushes;
    }
#ifdef __EMSCRIPTEN__
    page_wake_key_waiter();
#else
    rt.key_pushed.notify_all();
#endif
}
