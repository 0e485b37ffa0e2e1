#include "runtime/runtime.h"

RuntimeState runtime_state;

void runtime_reset() {
    RuntimeState& s = runtime_state;
    s.clock_routine.store(nullptr);
    s.pause_routine.store(nullptr);
    s.sleep_routine.store(nullptr);
    s.text_key_arrived.store(false);
    {
        const std::lock_guard<std::mutex> hold(s.clock_choice_lock);
        s.clock_source.store(0);
    }
    s.args = ProgramArgs{};
    s.text_mode = 0;
    s.last_error = 0;
}
