#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "runtime/program_args.h"
#include "runtime/timing.h"

// Everything the runtime keeps for the whole process, in one record: the
// clock's choice and origin, the seams through which tests play out time,
// the sleep routine a screen installs, the argument vector and the error
// number. The runtime's operations (timing.h, program_args.h, last_error.h)
// are thin functions over it; runtime_reset() puts it back as a fresh process
// has it.
struct RuntimeState {
    // The clock, chosen once on its first reading. The window thread may read
    // it beside the main thread, so the choice is published through source
    // after period and origin are set.
    std::atomic<int32_t> clock_source{0};  // 0 not yet chosen, 1 ticks, 2 counter
    double counter_period = 0.0;           // seconds per counter unit
    int64_t clock_origin = 0;              // first reading, in counter units or ticks
    std::mutex clock_choice_lock;

    // Seams: nullptr stands for the system's own routine.
    std::atomic<ClockRoutine> clock_routine{nullptr};
    std::atomic<PauseRoutine> pause_routine{nullptr};
    std::atomic<SleepRoutine> sleep_routine{nullptr};
    // Set by a console that sees a key arrive; read and cleared by the text sleep.
    std::atomic<bool> text_key_arrived{false};

    ProgramArgs args;
    int32_t text_mode = 0;
    int32_t last_error = 0;
};

extern RuntimeState runtime_state;

// Back to a fresh process: clock not yet chosen, no seams, no sleep routine,
// no key arrived, no arguments, text mode 0, no error. For test fixtures.
void runtime_reset();
