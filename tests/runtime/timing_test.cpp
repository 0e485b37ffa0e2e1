#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/recorded_time.h"

namespace {

using test_support::RecordedTimeTest;

// The text console's sleep, with pauses recorded instead of slept.
using TextSleep = RecordedTimeTest;
// The clock from a fresh process's state.
using Clock = RecordedTimeTest;

TEST_F(TextSleep, PausesByLength) {
    // Long pauses go in 50 ms steps, short ones in one uninterrupted sleep
    // (even with a key waiting), a zero pause still yields the processor,
    // and a negative length other than -1 does nothing.
    struct Case {
        int32_t n;
        bool key_waiting;
        std::vector<int32_t> pauses;
    };
    const Case cases[] = {
        {120, false, {50, 50, 20}},
        {100, false, {50, 50}},
        {99, true, {99}},
        {0, false, {0}},
        {-5, false, {}},
    };
    for (const Case& c : cases) {
        test_support::RecordedTime::pauses.clear();
        if (c.key_waiting) text_console_key_arrived();
        sleep_ms(c.n);
        EXPECT_EQ(pauses(), c.pauses) << c.n;
    }
}

TEST_F(TextSleep, KeyArrivedCutsALongPauseShortAndIsConsumed) {
    text_console_key_arrived();
    sleep_ms(500);
    EXPECT_TRUE(pauses().empty());
    // The flag was cleared by that check, so the next long pause runs in full.
    sleep_ms(120);
    EXPECT_EQ(pauses(), (std::vector<int32_t>{50, 50, 20}));
}

TEST_F(TextSleep, WaitForKeyReturnsOnceTheFlagIsRaised) {
    text_console_key_arrived();
    sleep_ms(-1);
    EXPECT_TRUE(pauses().empty());
}

TEST_F(TextSleep, InstalledRoutineReplacesTheTextVariant) {
    static std::vector<int32_t> handed;
    handed.clear();
    set_sleep_routine([](int32_t n) { handed.push_back(n); });
    sleep_ms(120);
    set_sleep_routine(nullptr);
    EXPECT_EQ(handed, (std::vector<int32_t>{120}));
    EXPECT_TRUE(pauses().empty());
}

TEST_F(Clock, ChosenOnFirstReadingAndMonotonic) {
    set_time_seam({});
    EXPECT_EQ(timer_source(), 0);
    double previous = timer_seconds();
    EXPECT_EQ(timer_source(), 2);
    for (int i = 0; i < 10000; ++i) {
        const double now = timer_seconds();
        ASSERT_GE(now, previous);
        previous = now;
    }
    EXPECT_EQ(timer_source(), 2);
}

TEST_F(Clock, ReadingsAreSmallEnoughForSinglePrecisionFrameTimes) {
    // The frame pacing stores readings as floats; counted from the first
    // reading they keep sub-millisecond resolution for hours.
    set_time_seam({});
    const double now = timer_seconds();
    const double later = timer_seconds();
    EXPECT_LT(now, 3600.0);
    EXPECT_LT(later - now, 1.0);
}

TEST_F(Clock, TickFallbackHasMillisecondSteps) {
    set_time_seam({});
    timer_force_ticks();
    EXPECT_EQ(timer_source(), 1);
    double previous = timer_seconds();
    for (int i = 0; i < 10000; ++i) {
        const double now = timer_seconds();
        const double ms = now * 1000.0;
        ASSERT_NEAR(ms, std::round(ms), 1e-6);
        ASSERT_GE(now, previous);
        previous = now;
    }
}

TEST_F(Clock, SeamIsReadAndCanBeRemoved) {
    test_support::RecordedTime::now = 42.5;
    EXPECT_EQ(timer_seconds(), 42.5);
    set_time_seam({});
    EXPECT_LT(timer_seconds(), 3600.0);
}

}  // namespace
