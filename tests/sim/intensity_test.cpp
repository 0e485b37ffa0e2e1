#include <gtest/gtest.h>

#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim_fixture.h"

namespace {

using Intensity = SimulationTest;

// Asserts that row y is light red exactly from first to 639.
void expect_sample(int32_t y, int32_t first) {
    for (int32_t x = first; x <= 639; ++x)
        ASSERT_EQ(SimulationTest::pixel(x, y), 12) << x;
    EXPECT_NE(SimulationTest::pixel(first - 1, y), 12);
}

TEST_F(Intensity, NoSampleWhileSwitchedOff) {
    run_frame();
    EXPECT_EQ(model.intensity, 0.0f);
    EXPECT_FALSE(row_has(218, 600, 639, 12));
}

TEST_F(Intensity, SampleAfterTheIntensityCommand) {
    // The state the "i" command leaves from the start: detector 80 pixels left.
    model.detector_x = 480;
    model.detector_distance = 455;
    model.intensity_shown = true;
    redraw_scene();
    run_frame();
    EXPECT_NEAR(model.intensity, 29.37, 0.01);
    expect_sample(218, 611);
}

TEST_F(Intensity, SampleBarelyDependsOnThePhase) {
    model.detector_x = 480;
    model.detector_distance = 455;
    model.intensity_shown = true;
    run_frame();
    const float first = model.intensity;
    for (int frame = 0; frame < 30; ++frame)
        run_frame();
    EXPECT_NEAR(model.intensity, first, 1e-3);
}

TEST_F(Intensity, OneSlitGivesTheLongestSample) {
    use_slits(1, 20);
    model.intensity_shown = true;
    redraw_scene();
    run_frame();
    EXPECT_NEAR(model.intensity, 64.0, 1e-3);
    expect_sample(218, 576);
    // Wherever the detector is.
    model.detector_offset = -150;
    run_frame();
    EXPECT_NEAR(model.intensity, 64.0, 1e-3);
    expect_sample(398, 576);
}

TEST_F(Intensity, OneSlitChainLiesOnTheResultant) {
    use_slits(1, 20);
    redraw_scene();
    run_frame();
    EXPECT_EQ(model.sum_x, model.phasor_x[1]);
    EXPECT_EQ(model.sum_y, model.phasor_y[1]);
}

TEST_F(Intensity, DetectorOnTheAxisSeesAlignedPhasors) {
    model.detector_offset = 0;
    model.intensity_shown = true;
    redraw_scene();
    run_frame();
    EXPECT_EQ(model.path_length[1], model.path_length[2]);
    EXPECT_EQ(model.phasor_x[1], model.phasor_x[2]);
    EXPECT_EQ(model.phasor_y[1], model.phasor_y[2]);
    EXPECT_NEAR(model.intensity, 64.0, 1e-3);
    expect_sample(248, 576);
}

TEST_F(Intensity, SamplesAreNeverErasedByFrames) {
    model.intensity_shown = true;
    run_frame();
    model.detector_offset = 100;  // detector point at row 148
    run_frame();
    run_frame();
    expect_sample(218, 603);
    EXPECT_EQ(pixel(639, 148), 12);
}

TEST_F(Intensity, TinyIntensityShowsNothing) {
    // Below half a pixel the line rounds to one that lies wholly at x 640.
    model.intensity_shown = true;
    model.slit_amplitude = 0.05f;
    run_frame();
    EXPECT_LT(model.intensity, 0.5f);
    EXPECT_NE(pixel(639, 218), 12);
}

}  // namespace
