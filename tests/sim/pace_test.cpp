#include <gtest/gtest.h>

#include <vector>

#include "runtime/timing.h"
#include "sim_fixture.h"

namespace {

// The frame pacing on a screen as the program has it, with a clock that
// moves only when read and pauses that are recorded instead of slept.
using Pacing = SimulationTest;
using test_support::RecordedTime;

TEST_F(Pacing, FirstCallEndsAfterOneMillisecondSleep) {
    RecordedTime::now = 100.0;
    RecordedTime::step = 0.0;
    pace_frame();
    EXPECT_EQ(pauses(), (std::vector<int32_t>{1}));
    EXPECT_EQ(model.last_frame_time, 100.0f);
}

TEST_F(Pacing, WaitsInMillisecondSleepsUntilThePeriodHasPassed) {
    // Binary fractions keep every sum exact.
    RecordedTime::now = 8.0;
    RecordedTime::step = 1.0 / 64;
    pace_frame();
    ASSERT_EQ(pauses().size(), 1u);
    // The end time is a second, fresh reading.
    EXPECT_EQ(model.last_frame_time, 8.015625f);
    RecordedTime::pauses.clear();
    // Readings 8.03125, 8.046875 and 8.0625 are not beyond 8.065625; 8.078125 is.
    pace_frame();
    EXPECT_EQ(pauses(), (std::vector<int32_t>(4, 1)));
    EXPECT_EQ(model.last_frame_time, 8.09375f);
}

TEST_F(Pacing, ReadingExactlyOnePeriodLaterIsNotEnough) {
    RecordedTime::now = 2.0;
    RecordedTime::step = 0.0;
    pace_frame();  // last_frame_time = 2
    RecordedTime::pauses.clear();
    RecordedTime::now = 2.0 + 0.05;  // equal to the limit, which must be exceeded
    RecordedTime::step = 0.25;
    pace_frame();
    EXPECT_EQ(pauses().size(), 2u);
}

TEST_F(Pacing, SlowFrameIsFollowedAfterASingleSleep) {
    RecordedTime::now = 4.0;
    RecordedTime::step = 0.0;
    pace_frame();
    RecordedTime::pauses.clear();
    RecordedTime::now = 5.0;  // the frame took a whole second
    pace_frame();
    EXPECT_EQ(pauses(), (std::vector<int32_t>{1}));
}

}  // namespace
