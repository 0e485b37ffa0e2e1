#pragma once

#include <cstdint>

// Seconds from an arbitrary fixed origin (the clock's first reading in this
// process); only differences are meaningful.
double timer_seconds();

// Pauses n milliseconds; n = -1 waits until a key arrives. While a graphics
// screen exists its own variant runs, which a key press can cut short.
void sleep_ms(int32_t n);

// The routine sleep_ms hands over to; nullptr selects the text variant.
using SleepRoutine = void (*)(int32_t n);
void set_sleep_routine(SleepRoutine routine);

// One uninterrupted operating-system pause.
void os_pause(int32_t ms);

// The pause both variants of sleep_ms share: n = -1 waits in 50 ms steps until
// key_seen() answers true; n >= 100 is cut into 50 ms steps, each after a look
// at key_seen(); the rest is one uninterrupted pause, taken for n = 0 too when
// pause_zero is set. key_seen reads and clears its flag.
void interruptible_pause(int32_t n, bool (*key_seen)(), bool pause_zero);

// The clock and the pause as one seam, so that tests can play out waits and
// the frame pacing without waiting. A nullptr member stands for the system's
// own routine. Returns the seam in place before.
using ClockRoutine = double (*)();
using PauseRoutine = void (*)(int32_t ms);
struct TimeSeam {
    ClockRoutine clock;
    PauseRoutine pause;
};
TimeSeam set_time_seam(TimeSeam seam);

// (The state behind these is runtime_state; runtime_reset() puts it back as a
// fresh process has it.)

// Raises the text console's key-arrived flag, which the text variant of
// sleep_ms reads and clears (nothing raises it while the program has no console).
void text_console_key_arrived();

// Clock source of timer_seconds: 0 not yet chosen, 1 millisecond ticks, 2 counter.
int32_t timer_source();
// Forces the millisecond tick source, as when no fine counter is available.
void timer_force_ticks();
