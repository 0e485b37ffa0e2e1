#pragma once

#include <cstdint>

// Seconds from an arbitrary fixed origin (the clock's first reading in this
// process); only differences are meaningful.
double timer_seconds();

// Replaces the clock that timer_seconds reads, so that tests can play out the
// frame pacing without waiting; nullptr restores the system clock. Returns the
// previous routine.
using ClockRoutine = double (*)();
ClockRoutine set_clock_routine(ClockRoutine routine);

// Pauses n milliseconds; n = -1 waits until a key arrives. While a graphics
// screen exists its own variant runs, which a key press can cut short.
void sleep_ms(int32_t n);

// The routine sleep_ms hands over to; nullptr selects the text variant.
using SleepRoutine = void (*)(int32_t n);
void set_sleep_routine(SleepRoutine routine);

// One uninterrupted operating-system pause. Replaceable so that tests can
// record the pauses instead of waiting them out; nullptr restores the system
// pause. Returns the previous routine.
using PauseRoutine = void (*)(int32_t ms);
PauseRoutine set_pause_routine(PauseRoutine routine);
void os_pause(int32_t ms);

// Raises the text console's key-arrived flag, which the text variant of
// sleep_ms reads and clears (nothing raises it while the program has no console).
void text_console_key_arrived();

// Clock source of timer_seconds: 0 not yet chosen, 1 millisecond ticks, 2 counter.
int32_t timer_source();
// Forces the millisecond tick source, as when no fine counter is available.
void timer_force_ticks();
