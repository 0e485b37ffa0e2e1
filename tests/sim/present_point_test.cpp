#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "sim/layout.h"
#include "sim/sim.h"
#include "sim_fixture.h"

// The frame's end is where the window's picture is taken: what a key erases
// is shown only once the next frame has drawn it again, and a single step's
// wait shows the frame just drawn.

namespace {

class FramePresent : public SimulationTest {
protected:
    void TearDown() override {
        set_step_feed(nullptr);
        SimulationTest::TearDown();
    }

    static std::vector<uint8_t> shown() {
        const ScreenContext& s = *active_screen();
        const uint8_t* p = s.presented->pixels.get();
        return {p, p + static_cast<size_t>(s.height) * s.pitch};
    }
    static std::vector<uint8_t> drawn() {
        const ScreenContext& s = *active_screen();
        return {s.framebuffer, s.framebuffer + static_cast<size_t>(s.height) * s.pitch};
    }
    // The axis from the barrier to the detector line, in the shown picture
    // (the rays cross it).
    static bool axis_shown() {
        const std::vector<uint8_t> picture = shown();
        const uint8_t* row = picture.data() + static_cast<size_t>(AXIS_Y) * 640;
        int32_t grey = 0;
        for (int32_t x = BARRIER_X + 1; x < model.detector_x; ++x)
            grey += row[x] == COLOUR_LIGHT_GREY ? 1 : 0;
        return grey >= (model.detector_x - BARRIER_X) * 9 / 10;
    }

    // Single steps: at each wait, whether the window showed what was drawn.
    static inline std::vector<bool> waits_showing_the_frame;
    static bool step_left() {
        waits_showing_the_frame.push_back(shown() == drawn() && axis_shown());
        if (waits_showing_the_frame.size() > 3) return false;
        key_push(0x4BFF);  // the left cursor key
        return true;
    }
};

TEST_F(FramePresent, AKeysErasureIsNotShownBeforeTheNextFrame) {
    for (int32_t key : {0x4BFF, static_cast<int32_t>('a'), static_cast<int32_t>('g')}) {
        run_frame();
        ASSERT_TRUE(shown() == drawn());
        const std::vector<uint8_t> frame = drawn();
        key_push(key);
        handle_key();
        EXPECT_TRUE(drawn() != frame) << key << ": the key drew";
        EXPECT_TRUE(shown() == frame) << key;
        run_frame();
        EXPECT_TRUE(shown() == drawn()) << key;
        EXPECT_TRUE(axis_shown()) << key;
    }
}

TEST_F(FramePresent, EachSingleStepsWaitShowsTheFrame) {
    waits_showing_the_frame.clear();
    set_step_feed(step_left);
    key_push('s');
    for (int32_t frame = 0; frame < 4; ++frame) {
        run_frame();
        handle_key();
    }
    EXPECT_EQ(waits_showing_the_frame, (std::vector<bool>(4, true)));
    EXPECT_EQ(model.detector_x, DETECTOR_HOME_X - 3);
}

}  // namespace
