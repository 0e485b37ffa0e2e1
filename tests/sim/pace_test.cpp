#include <gtest/gtest.h>

#include <vector>

#include "runtime/timing.h"
#include "sim_fixture.h"

namespace {

std::vector<int32_t> g_pauses;
double g_clock = 0.0;
double g_clock_step = 0.0;

void record_pause(int32_t ms) {
    g_pauses.push_back(ms);
}

// Every reading advances the clock by one step, so the number of readings
// decides how long the pacing would have waited.
double stepping_clock() {
    const double now = g_clock;
    g_clock += g_clock_step;
    return now;
}

// The frame pacing on a screen as the program has it, with a clock that
// moves only when read and pauses that are recorded instead of slept.
class Pacing : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        g_pauses.clear();
        previous_pause_ = set_pause_routine(record_pause);
        previous_clock_ = set_clock_routine(stepping_clock);
    }
    void TearDown() override {
        set_clock_routine(previous_clock_);
        set_pause_routine(previous_pause_);
    }

private:
    PauseRoutine previous_pause_ = nullptr;
    ClockRoutine previous_clock_ = nullptr;
};

TEST_F(Pacing, FirstCallEndsAfterOneMillisecondSleep) {
    g_clock = 100.0;
    g_clock_step = 0.0;
    pace_frame();
    EXPECT_EQ(g_pauses, (std::vector<int32_t>{1}));
    EXPECT_EQ(model.last_frame_time, 100.0f);
}

TEST_F(Pacing, WaitsInMillisecondSleepsUntilThePeriodHasPassed) {
    // Binary fractions keep every sum exact.
    g_clock = 8.0;
    g_clock_step = 1.0 / 64;
    pace_frame();
    ASSERT_EQ(g_pauses.size(), 1u);
    // The end time is a second, fresh reading.
    EXPECT_EQ(model.last_frame_time, 8.015625f);
    g_pauses.clear();
    // Readings 8.03125, 8.046875 and 8.0625 are not beyond 8.065625; 8.078125 is.
    pace_frame();
    EXPECT_EQ(g_pauses, (std::vector<int32_t>(4, 1)));
    EXPECT_EQ(model.last_frame_time, 8.09375f);
}

TEST_F(Pacing, ReadingExactlyOnePeriodLaterIsNotEnough) {
    g_clock = 2.0;
    g_clock_step = 0.0;
    pace_frame();  // last_frame_time = 2
    g_pauses.clear();
    g_clock = 2.0 + 0.05;  // equal to the limit, which must be exceeded
    g_clock_step = 0.25;
    pace_frame();
    EXPECT_EQ(g_pauses.size(), 2u);
}

TEST_F(Pacing, SlowFrameIsFollowedAfterASingleSleep) {
    g_clock = 4.0;
    g_clock_step = 0.0;
    pace_frame();
    g_pauses.clear();
    g_clock = 5.0;  // the frame took a whole second
    pace_frame();
    EXPECT_EQ(g_pauses, (std::vector<int32_t>{1}));
}

}  // namespace
