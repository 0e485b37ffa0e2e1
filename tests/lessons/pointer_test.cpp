#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/input/input.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/sim.h"

namespace {

// A pointer the test holds: where it is, its buttons, and whether the mouse
// service sees it at all (over the picture, window active).
struct FakePointer {
    int32_t x = 0;
    int32_t y = 0;
    int32_t buttons = 0;
    bool seen = true;
};
FakePointer pointer;

int32_t fake_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                       int32_t* confined) {
    const bool seen = pointer.seen;
    for (auto [out, value] : {std::pair{x, pointer.x}, std::pair{y, pointer.y}, std::pair{wheel, 0},
                              std::pair{buttons, pointer.buttons}, std::pair{confined, 0}}) {
        if (out != nullptr) *out = seen ? value : -1;
    }
    return seen ? 0 : 1;
}

// The simulation reads the pointer through the console's mouse slot.
class Pointer : public LessonTest {
protected:
    void SetUp() override {
        LessonTest::SetUp();
        pointer = FakePointer{};
        console_hooks.get_mouse = fake_get_mouse;
        run_frame();
    }
    static void frame_with_pointer(int32_t x, int32_t y, int32_t buttons = 1, bool seen = true) {
        pointer = FakePointer{x, y, buttons, seen};
        handle_key();
        run_frame();
    }
    static std::vector<uint8_t> picture() {
        const ScreenContext& s = *active_screen();
        return {s.framebuffer, s.framebuffer + static_cast<size_t>(s.pitch) * s.height};
    }
};

TEST_F(Pointer, TheDetectorGoesWhereTheButtonIsDownWithinItsLimits) {
    struct Case {
        int32_t x, y, buttons;
        bool seen;
        int32_t column, row;  // where the detector line and point end up
    };
    const Case cases[] = {
        {300, 100, 1, true, 300, 100},   // the press
        {350, 150, 1, true, 350, 150},   // and its drag
        {5, -20, 1, true, 25, 0},        // left of the barrier, above the picture
        {900, 700, 1, true, 639, 479},   // beyond the picture's right and bottom
        {300, 100, 0, true, 560, 218},   // no button: the detector stays
        {300, 100, 2, true, 560, 218},   // the right button only
        {300, 100, 1, false, 560, 218},  // outside the picture (a bar, another window)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y << " buttons " << c.buttons);
        model.detector_x = DETECTOR_HOME_X;
        model.detector_distance = model.detector_x - model.barrier_x;
        model.detector_offset = 30;
        frame_with_pointer(c.x, c.y, c.buttons, c.seen);
        EXPECT_EQ(model.detector_x, c.column);
        EXPECT_EQ(detector_y(), c.row);
        EXPECT_EQ(model.detector_distance, c.column - model.barrier_x);
        if (c.column > 26) {  // not on the barrier
            EXPECT_EQ(pixel(c.column, DETECTOR_TOP), COLOUR_RED);
        }
    }
}

// A pointer move of one row or column leaves the picture the cursor key of
// that move leaves, the phase included; a press that does not move is no
// command at all.
TEST_F(Pointer, AMoveIsTheCursorKeysMove) {
    struct Case {
        int32_t key;  // extended second code << 8 | 0xFF
        int32_t dx, dy;
    };
    for (const Case& c : {Case{0x48FF, 0, -1}, Case{0x50FF, 0, 1}, Case{0x4DFF, 1, 0},
                          Case{0x4BFF, -1, 0}, Case{0, 0, 0}}) {
        SCOPED_TRACE(c.key);
        pointer = FakePointer{};
        simulation_start();
        run_frame();
        const int32_t x = model.detector_x + c.dx, y = detector_y() + c.dy;
        if (c.key != 0) key_push(c.key);
        handle_key();
        run_frame();
        const std::vector<uint8_t> by_key = picture();
        const float phase = model.phase;

        simulation_start();
        run_frame();
        frame_with_pointer(x, y);
        EXPECT_EQ(picture(), by_key);
        EXPECT_EQ(model.phase, phase);
    }
}

// With the curve on, a drag of many rows in one frame samples every row it
// passed, each as the detector standing there would.
TEST_F(Pointer, ADragSamplesEveryRowPassed) {
    key_push('i');
    handle_key();
    run_frame();
    frame_with_pointer(480, 100);
    frame_with_pointer(480, 300);
    std::vector<float> by_drag;
    for (int32_t row = 100; row <= 300; ++row) {
        ASSERT_TRUE(curve_samples[row].taken) << row;
        by_drag.push_back(curve_samples[row].intensity);
    }
    // The same rows, one frame each.
    clear_curve_samples();
    for (int32_t row = 100; row <= 300; ++row) {
        frame_with_pointer(480, row);
        EXPECT_NEAR(curve_samples[row].intensity, by_drag[static_cast<size_t>(row - 100)],
                    1e-5f * (1.0f + by_drag[static_cast<size_t>(row - 100)]))
            << row;
    }
}

}  // namespace
