#include <gtest/gtest.h>

#include <vector>

#include "runtime/runtime.h"
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

TEST_F(Pacing, SleepsTheRestOfThePeriodInOnePause) {
    // 12.5 ms of the period have gone into drawing: the rest, rounded up to
    // whole milliseconds, is one pause.
    model.last_frame_time = 8.0f;
    RecordedTime::now = 8.0125;
    RecordedTime::pauses_advance_clock = true;
    pace_frame();
    EXPECT_EQ(pauses(), std::vector<int32_t>{38});
    EXPECT_EQ(model.last_frame_time, 8.0505f);
}

TEST_F(Pacing, ReadingExactlyOnePeriodLaterIsNotEnough) {
    model.last_frame_time = 2.0f;
    RecordedTime::now = 2.0;
    // The first pause ends exactly at the period's end, the next just after.
    RecordedTime::on_pause = [](size_t count) { RecordedTime::now = 2.05 + (count - 1) * 0.001; };
    pace_frame();
    EXPECT_EQ(pauses(), (std::vector<int32_t>{50, 1}));
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
