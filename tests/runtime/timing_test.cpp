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

TEST_F(TextSleep, PausesWithoutAKeyLastTheirTimeAndAKeyCountsUntilTheLastStep) {
    // key_at: the pause during which the key arrives (0: none). Until the
    // last 50 ms step begins it ends the wait; later it waits for the next.
    struct Case {
        int32_t n;
        size_t key_at;
        std::vector<int32_t> pauses;
    };
    const Case cases[] = {
        {100, 0, {50, 50}},
        {149, 0, {50, 50, 49}},
        {275, 0, {50, 50, 50, 50, 50, 25}},
        {275, 4, {50, 50, 50, 50}},
        {275, 5, {50, 50, 50, 50, 50, 25}},
        {120, 1, {50}},
        {120, 2, {50, 50, 20}},
        {-1, 4, {50, 50, 50, 50}},
    };
    static size_t key_at;
    test_support::RecordedTime::on_pause = [](size_t count) {
        if (count == key_at) text_console_key_arrived();
    };
    for (const Case& c : cases) {
        test_support::RecordedTime::pauses.clear();
        key_at = c.key_at;
        sleep_ms(c.n);
        EXPECT_EQ(pauses(), c.pauses) << c.n << " " << c.key_at;
        // A key that came too late stays for the next wait, which it ends.
        const bool late = c.key_at != 0 && c.pauses.size() > c.key_at;
        key_at = 0;
        test_support::RecordedTime::pauses.clear();
        sleep_ms(100);
        EXPECT_EQ(pauses().empty(), late) << c.n << " " << c.key_at;
    }
}

// The wait for a key, with real sleeps where a seam is not in place.
using KeyWait = RecordedTimeTest;

size_t g_looks = 0;

// Answers false at its first look, as a key is pushed right after it.
bool pushed_after_the_first_look() {
    if (++g_looks > 1) return true;
    key_wake_signal();
    return false;
}

TEST_F(KeyWait, APushBetweenTheLookAndTheSleepIsNotMissed) {
    set_time_seam({});
    for (const int32_t ms : {-1, 3'600'000}) {
        g_looks = 0;
        EXPECT_TRUE(wait_for_key(ms, pushed_after_the_first_look, 50)) << ms;
        EXPECT_EQ(g_looks, 2u) << ms;
    }
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
