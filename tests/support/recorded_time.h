#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "runtime/runtime.h"

namespace test_support {

// Pauses are recorded instead of slept; the clock moves only by `step` per
// reading, so the number of readings decides how long a wait would have been.
// A test may act during a pause through on_pause (given the pause count).
struct RecordedTime {
    static inline std::vector<int32_t> pauses;
    static inline double now = 0.0;
    static inline double step = 0.0;
    static inline void (*on_pause)(size_t count) = nullptr;
    static inline bool pauses_advance_clock = false;

    static void pause(int32_t ms) {
        pauses.push_back(ms);
        if (pauses_advance_clock && ms > 0) now += ms / 1000.0;
        if (on_pause != nullptr) on_pause(pauses.size());
    }
    static double clock() {
        const double reading = now;
        now += step;
        return reading;
    }
};

// Starts every test from a fresh process's runtime state (clock, seams,
// arguments, error number) with recorded time, and leaves that state behind
// again.
class RecordedTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime_reset();
        RecordedTime::pauses.clear();
        RecordedTime::now = 0.0;
        RecordedTime::step = 0.0;
        RecordedTime::on_pause = nullptr;
        RecordedTime::pauses_advance_clock = false;
        set_time_seam({RecordedTime::clock, RecordedTime::pause});
    }
    void TearDown() override { runtime_reset(); }
    static const std::vector<int32_t>& pauses() { return RecordedTime::pauses; }
};

}  // namespace test_support
