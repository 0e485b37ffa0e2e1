#include <gtest/gtest.h>

#include <vector>

#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim_fixture.h"

namespace {

using Barrier = SimulationTest;

// The barrier alone on a white screen, so that rays and arrows at the
// openings cannot hide what the boxes cover.
void draw_barrier_alone(int32_t count, int32_t spacing) {
    SimulationTest::paint_screen(15);
    model.slit_count = count;
    model.slit_spacing = spacing;
    place_slits();
    draw_barrier();
}

TEST_F(Barrier, OpeningsAreFiveRowsAroundEachSlit) {
    draw_barrier_alone(2, 20);
    for (int32_t x = 24; x <= 26; ++x) {
        for (int32_t y = 0; y < 480; ++y) {
            const bool open = (y >= 236 && y <= 240) || (y >= 256 && y <= 260);
            const uint8_t expected = (y >= 20 && y <= 470 && !open) ? 6 : 15;
            ASSERT_EQ(pixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(pixel(23, 100), 15);
    EXPECT_EQ(pixel(27, 100), 15);
}

TEST_F(Barrier, SpacingTwoLeavesOnlyTheOuterRowsOpen) {
    draw_barrier_alone(2, 2);
    EXPECT_EQ(model.slit_y[1], 247);
    EXPECT_EQ(model.slit_y[2], 249);
    for (int32_t x = 24; x <= 26; ++x) {
        for (int32_t y = 20; y <= 470; ++y) {
            const uint8_t expected = (y == 245 || y == 251) ? 15 : 6;
            ASSERT_EQ(pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(Barrier, SpacingTwoWithEightSlitsStillLeavesTwoRows) {
    draw_barrier_alone(8, 2);
    EXPECT_EQ(model.slit_y[1], 241);
    EXPECT_EQ(model.slit_y[8], 255);
    for (int32_t y = 20; y <= 470; ++y) {
        const uint8_t expected = (y == 239 || y == 257) ? 15 : 6;
        ASSERT_EQ(pixel(25, y), expected) << y;
    }
}

TEST_F(Barrier, EightSlitsAtSpacingHundredReachBeyondTheScreen) {
    draw_barrier_alone(8, 100);
    const std::vector<int32_t> expected_slits{-102, -2, 98, 198, 298, 398, 498, 598};
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(model.slit_y[i], expected_slits[i - 1]) << i;
    // The end boxes run from the fixed ends 20 and 470 outward to the screen
    // edges (covering the opening of slit 2 at rows -4 to 0); only the
    // openings of slits 3 to 6 are on the screen.
    for (int32_t y = 0; y < 480; ++y) {
        bool open = false;
        for (int32_t slit_y : expected_slits) {
            open = open || (y >= slit_y - 2 && y <= slit_y + 2);
        }
        open = open && y > 20 && y < 470;
        ASSERT_EQ(pixel(25, y), open ? 15 : 6) << y;
    }
    EXPECT_EQ(pixel(25, 0), 6);
    EXPECT_EQ(pixel(25, 479), 6);
}

using Scene = SimulationTest;

TEST_F(Scene, RedrawClearsTheWholeScreen) {
    paint_screen(3);
    redraw_scene();
    EXPECT_EQ(pixel(0, 0), 0);  // the heading's first cell
    EXPECT_EQ(pixel(639, 479), 15);
    EXPECT_EQ(pixel(639, 0), 15);
    EXPECT_EQ(pixel(0, 479), 15);
    EXPECT_EQ(pixel(400, 100), 15);
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x)
            ASSERT_NE(pixel(x, y), 3) << x << "," << y;
    }
}

TEST_F(Scene, RedrawUsesTheCurrentGeometry) {
    use_slits(3, 100);
    redraw_scene();
    EXPECT_EQ(model.slit_y[1], 148);
    EXPECT_EQ(model.slit_y[2], 248);
    EXPECT_EQ(model.slit_y[3], 348);
    EXPECT_EQ(pixel(25, 146), 15);  // opening of slit 1 (a ray starts at its centre)
    EXPECT_EQ(pixel(24, 150), 15);
    EXPECT_EQ(pixel(24, 151), 6);
    EXPECT_EQ(pixel(24, 350), 15);
    EXPECT_EQ(pixel(24, 351), 6);
}

TEST_F(Scene, OffScreenSlitsSendRaysInFromTheEdges) {
    use_slits(8, 100);
    redraw_scene();
    // Slit 1 at y -102: its ray to (560, 218) enters at the top near x 195.5.
    EXPECT_TRUE(row_has(0, 193, 198, 10));
    // Slit 8 at y 598 enters at the bottom near x 192.5.
    EXPECT_TRUE(row_has(479, 190, 195, 1));
    run_frame();  // the moving figures of such a scene draw without harm
    EXPECT_EQ(pixel(560, 100), 4);
}

TEST_F(Scene, AxisLineEndsAtTheDetectorLine) {
    EXPECT_EQ(pixel(25, 248), 7);
    EXPECT_EQ(pixel(560, 248), 7);
    EXPECT_EQ(pixel(561, 248), 15);
}

TEST_F(Scene, EraseRaysCleansOpeningsAndRaysButNotTheAxis) {
    run_frame();
    erase_rays();
    EXPECT_FALSE(column_has(300, 226, 230, 10));
    EXPECT_FALSE(column_has(300, 235, 240, 1));
    EXPECT_EQ(pixel(300, 248), 7);
    // The box also takes the first barrier row below each opening...
    EXPECT_EQ(pixel(24, 241), 15);
    EXPECT_EQ(pixel(26, 261), 15);
    EXPECT_EQ(pixel(24, 242), 6);
    // ...which the next frame's barrier restores.
    run_frame();
    EXPECT_EQ(pixel(24, 241), 6);
    EXPECT_EQ(pixel(26, 261), 6);
}

TEST_F(Scene, DetectorOnTheBarrierHasPathsOfVerticalDistance) {
    model.detector_x = model.barrier_x;
    model.detector_distance = 0;
    compute_path_lengths();
    EXPECT_EQ(model.path_length[1], 20.0f);  // from 238 up to 218
    EXPECT_EQ(model.path_length[2], 40.0f);
}

TEST_F(Scene, FarDetectorDoesNotOverflowThePathLength) {
    model.detector_x = 100000;
    model.detector_distance = model.detector_x - model.barrier_x;
    compute_path_lengths();
    EXPECT_NEAR(model.path_length[1], 99975.0, 0.01);
}

}  // namespace
