#include "runtime/runtime.h"

#include <time.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

constexpr int32_t SOURCE_UNCHOSEN = 0;
constexpr int32_t SOURCE_TICKS = 1;
constexpr int32_t SOURCE_COUNTER = 2;

// The step in which the consoles' long pauses look at the keyboard.
constexpr int32_t LOOK_STEP_MS = 50;

// The clock is chosen once, on the first reading. Readings count from that
// first reading rather than from system start: the frame pacing stores times
// in single precision, which on a machine that has been up for days would
// otherwise no longer resolve the 0.05 s frame period. The state lives in
// runtime_state.
RuntimeState& rt = runtime_state;

void system_pause(int32_t ms) {
#ifdef __EMSCRIPTEN__
    // A page has one thread: the pause hands it back to the browser, which
    // paints, runs the page's key events and resumes the program afterwards.
    emscripten_sleep(static_cast<unsigned>(ms > 0 ? ms : 0));
#else
    // A zero pause still gives the processor away, as the text console's
    // sleep promises.
    if (ms <= 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

bool take_text_key_arrived() {
    return rt.text_key_arrived.exchange(false);
}

int64_t read_counter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Milliseconds of a steady clock, kept in 64 bits so the count never wraps.
int64_t read_ticks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// Runs under rt.clock_choice_lock.
void choose_source() {
    timespec resolution{};
    if (clock_getres(CLOCK_MONOTONIC, &resolution) != 0) {
        rt.clock_origin = read_ticks();
        rt.clock_source.store(SOURCE_TICKS, std::memory_order_release);
        return;
    }
    rt.counter_period = 1e-9;  // the counter counts nanoseconds
    rt.clock_origin = read_counter();
    rt.clock_source.store(SOURCE_COUNTER, std::memory_order_release);
}

int32_t chosen_source() {
    int32_t source = rt.clock_source.load(std::memory_order_acquire);
    if (source != SOURCE_UNCHOSEN) return source;
    const std::lock_guard<std::mutex> hold(rt.clock_choice_lock);
    if (rt.clock_source.load(std::memory_order_relaxed) == SOURCE_UNCHOSEN) choose_source();
    return rt.clock_source.load(std::memory_order_relaxed);
}

}  // namespace

double timer_seconds() {
    const ClockRoutine routine = rt.clock_routine.load();
    if (routine != nullptr) return routine();
    if (chosen_source() == SOURCE_TICKS) {
        return static_cast<double>(read_ticks() - rt.clock_origin) * 0.001;
    }
    return static_cast<double>(read_counter() - rt.clock_origin) * rt.counter_period;
}

TimeSeam set_time_seam(TimeSeam seam) {
    return TimeSeam{rt.clock_routine.exchange(seam.clock), rt.pause_routine.exchange(seam.pause)};
}

int32_t timer_source() {
    return rt.clock_source.load();
}

void timer_force_ticks() {
    const std::lock_guard<std::mutex> hold(rt.clock_choice_lock);
    rt.clock_origin = read_ticks();
    rt.clock_source.store(SOURCE_TICKS, std::memory_order_release);
}

void sleep_ms(int32_t n) {
    const SleepRoutine routine = rt.sleep_routine.load();
    if (routine != nullptr) {
        routine(n);
        return;
    }
    // The text console's own variant: a zero pause yields the processor.
    interruptible_pause(n, take_text_key_arrived, true);
}

void set_sleep_routine(SleepRoutine routine) {
    rt.sleep_routine.store(routine);
}

void os_pause(int32_t ms) {
    const PauseRoutine routine = rt.pause_routine.load();
    (routine != nullptr ? routine : system_pause)(ms);
}

void interruptible_pause(int32_t n, bool (*key_seen)(), bool pause_zero) {
    if (n == -1) {
        wait_for_key(-1, key_seen, LOOK_STEP_MS);
        return;
    }
    if (n >= 100) {
        // A key counts until the moment of the last look of a pause cut into
        // 50 ms steps, and ends the pause as it arrives; the last step and
        // the rest then run out as plain pauses, as they always did.
        const int32_t counted = LOOK_STEP_MS * ((n - 1) / LOOK_STEP_MS - 1);
        if (wait_for_key(counted, key_seen, LOOK_STEP_MS)) return;
        os_pause(LOOK_STEP_MS);
        n -= counted + LOOK_STEP_MS;
    }
    if (n > 0 || (n == 0 && pause_zero)) os_pause(n);
}

void text_console_key_arrived() {
    rt.text_key_arrived.store(true);
    key_wake_signal();
}
