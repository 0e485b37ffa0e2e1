#include <gtest/gtest.h>

#include <string>

#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/present/sound.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/scene.h"
#include "tests/support/allocation_count.h"

namespace {

using FrameCost = LessonTest;

TEST_F(FrameCost, ReadoutsCostNothingWhileNothingTheyShowChanges) {
    key_push('r');
    handle_key();  // prints them, which allocates
    run_frame();
    const long before = allocations_so_far();
    for (int frame = 0; frame < 20; ++frame) {
        run_frame();
        handle_key();
    }
    EXPECT_EQ(allocations_so_far(), before);
}

TEST_F(FrameCost, KeptLabelsAndACurveOfFringeMeansCostNothingAFrame) {
    // Spacing 100 at 0.5: every sample a mean over a fringe; the near
    // field's label and the readouts kept over the rays.
    constexpr int32_t PAGE_UP = 0x49 << 8 | 0xFF;
    for (int i = 0; i < 7; ++i) {
        key_push(PAGE_UP);
        handle_key();
    }
    for (const char key : std::string("---------ri")) {
        key_push(key);
        handle_key();
    }
    ASSERT_TRUE(lessons.near_field_label);
    run_frame();
    handle_key();
    const long before = allocations_so_far();
    for (int frame = 0; frame < 20; ++frame) {
        run_frame();
        handle_key();
    }
    EXPECT_EQ(allocations_so_far(), before);
}

TEST_F(FrameCost, TheToneWithTicksCostsNothingAFrameWhileTheDetectorMoves) {
    static const SoundDriver silent = {
        .name = "silent",
        .open = [] { return static_cast<const char*>(nullptr); },
        .frame = [](float, bool) {},
        .playing = [] { return true; },
        .close = [] {},
    };
    gfx_use_sound_driver(&silent);
    for (const char key : std::string("ll")) {
        key_push(key);
        handle_key();
    }
    ASSERT_EQ(lessons.tone.mode, ToneMode::ticks);
    run_frame();
    const long before = allocations_so_far();
    for (int frame = 0; frame < 20; ++frame) {
        key_push(frame < 10 ? '8' : '2');
        handle_key();
        run_frame();
    }
    EXPECT_EQ(allocations_so_far(), before);
    gfx_use_sound_driver(nullptr);
}

TEST_F(FrameCost, FramesWithKeptCurvesAllocateNothing) {
    // Four kept curves, and the detector over their legend, which every frame
    // puts back.
    model.intensity_shown = true;
    model.detector_x = 480;
    model.detector_distance = model.detector_x - model.barrier_x;
    toggle_kept_curves(lessons);
    for (int32_t count = 2; count <= 6; ++count) {
        run_frame();
        --model.detector_offset;  // a curve of two rows at least
        run_frame();
        use_slits(count, 20);
        redraw_scene();
    }
    // The detector point in the legend's rows, the rays through it.
    model.detector_offset = AXIS_Y - 340;
    run_frame();
    const long before = allocations_so_far();
    for (int frame = 0; frame < 20; ++frame)
        run_frame();
    EXPECT_EQ(allocations_so_far(), before);
    EXPECT_EQ(lessons.kept.count, 4);
}

TEST_F(FrameCost, FramesWithTheHelpLinesOverTheFiguresAllocateNothing) {
    key_push('h');
    handle_key();  // prints them, which allocates
    run_frame();
    const long before = allocations_so_far();
    for (int frame = 0; frame < 20; ++frame) {
        --model.detector_offset;  // the rays through the lines
        run_frame();
        handle_key();
    }
    EXPECT_EQ(allocations_so_far(), before);
    EXPECT_GT(lessons.help.lines, 0);
}

}  // namespace
