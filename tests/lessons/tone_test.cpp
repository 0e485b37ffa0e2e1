#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "gfx/present/sound.h"
#include "lessons/lessons.h"
#include "sim/layout.h"
#include "sim/texts.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

// A sound device the test controls: whether it opens, when it is lost, and
// what it was handed.
struct FakeDevice {
    bool opens = true;
    int32_t lost_after = -1;  // frames handed over before it is lost; -1 never
    int32_t opened = 0;
    int32_t closed = 0;
    std::vector<float> amplitudes;
    std::vector<bool> ticks;
};
FakeDevice device;

const SoundDriver FAKE = {
    .name = "fake",
    .open = [] { return device.opens ? (++device.opened, nullptr) : "no such device"; },
    .frame =
        [](float amplitude, bool tick) {
            device.amplitudes.push_back(amplitude);
            device.ticks.push_back(tick);
        },
    .playing =
        [] {
            return device.lost_after < 0 ||
                   static_cast<int32_t>(device.amplitudes.size()) < device.lost_after;
        },
    .close = [] { ++device.closed; },
};

class ToneTest : public LessonTest {
protected:
    void SetUp() override {
        LessonTest::SetUp();
        device = FakeDevice{};
        gfx_use_sound_driver(&FAKE);
    }
    void TearDown() override {
        gfx_use_sound_driver(nullptr);
        LessonTest::TearDown();
    }
    static std::vector<uint8_t> foot() {
        std::vector<uint8_t> row;
        for (int32_t y = HINT_Y; y < HINT_Y + LABEL_HEIGHT; ++y) {
            for (int32_t x = 0; x < SCREEN_WIDTH; ++x)
                row.push_back(pixel(x, y));
        }
        return row;
    }
    bool says(const char* german) const {
        const FootLine& line = lessons.foot;
        return line.text == screen_text(german) &&
               text_at(line.x, HINT_Y, std::string(screen_text(german)));
    }
};

TEST_F(ToneTest, LStepsThroughToneTicksAndOffOpeningTheDeviceOnce) {
    const ToneMode expected[] = {ToneMode::tone, ToneMode::ticks, ToneMode::off};
    for (const ToneMode mode : expected) {
        press_each("l");
        run_frame();
        EXPECT_EQ(lessons.tone.mode, mode);
    }
    EXPECT_EQ(device.opened, 1);
    EXPECT_EQ(device.closed, 1);
    // At the start the detector stands 30 rows above the axis of the double
    // slit: cos(pi * path difference / wavelength) of the longest.
    EXPECT_NEAR(device.amplitudes.back(), 0.76, 0.01);
}

TEST_F(ToneTest, WithoutADeviceOneLineSaysSoForFortyFramesAndOneOnStandardError) {
    struct Case {
        const char* name;
        bool opens;
        int32_t lost_after;
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"none opens", false, -1, "Kein Ton: kein Audiogerät",
         "mehrfachspalt: no sound: no such device\n"},
        {"lost while playing", true, 3, "Kein Ton: Audiogerät verloren",
         "mehrfachspalt: no sound: the audio device was lost\n"},
    };
    for (const Case& c : cases) {
        simulation_start();
        device = FakeDevice{};
        device.opens = c.opens;
        device.lost_after = c.lost_after;
        run_frame();
        const std::vector<uint8_t> before = foot();
        testing::internal::CaptureStderr();
        press_each("l");
        int32_t frames = 0;
        while (!says(c.line) && frames < 10) {
            run_frame();
            ++frames;
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.error) << c.name;
        EXPECT_TRUE(says(c.line)) << c.name;
        EXPECT_EQ(lessons.tone.mode, ToneMode::off) << c.name;
        for (int32_t f = 1; f < 40; ++f)
            run_frame();
        EXPECT_TRUE(says(c.line)) << c.name << ": still there at frame 39";
        run_frame();
        EXPECT_TRUE(lessons.foot.text.empty()) << c.name;
        EXPECT_EQ(foot(), before) << c.name << ": the foot as it was";
    }
}

TEST_F(ToneTest, InSingleStepsTheLineStandsUntilTheNextKey) {
    // In single steps the key after the one that starts a call acts.
    device.opens = false;
    const auto step = [](char acting) {
        key_push('x');
        key_push(acting);
        handle_key();
    };
    key_push('s');
    key_push('x');
    handle_key();
    run_frame();
    const std::vector<uint8_t> before = foot();
    testing::internal::CaptureStderr();
    step('l');
    testing::internal::GetCapturedStderr();
    run_frame();
    EXPECT_TRUE(says("Kein Ton: kein Audiogerät"));
    step('x');
    EXPECT_TRUE(lessons.foot.text.empty());
    EXPECT_EQ(foot(), before);
}

TEST_F(ToneTest, TicksOnlyWhereTheDetectorPassesATurnOfTheLight) {
    press_each("ll");  // tone with ticks
    // Down through the central maximum of the double slit, one row a frame.
    std::vector<int32_t> ticked;
    for (int32_t offset = 6; offset >= -6; --offset) {
        model.detector_offset = offset;
        device.ticks.clear();
        run_frame();
        if (!device.ticks.empty() && device.ticks.back()) ticked.push_back(offset);
    }
    EXPECT_EQ(ticked, std::vector<int32_t>{0});
    // Standing still, or with ticks off, never a tick.
    device.ticks.clear();
    run_frame();
    press_each("l");
    press_each("l");  // on again, without ticks
    model.detector_offset = 10;
    run_frame();
    model.detector_offset = -10;
    run_frame();
    for (const bool tick : device.ticks)
        EXPECT_FALSE(tick);
}

}  // namespace
