#include <gtest/gtest.h>

#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim_fixture.h"

namespace {

using StartValues = SimulationTest;

TEST_F(StartValues, ModelHasItsInitialValues) {
    EXPECT_EQ(model.axis_y, 248);
    EXPECT_EQ(model.barrier_x, 25);
    EXPECT_EQ(model.detector_x, 560);
    EXPECT_EQ(model.detector_distance, 535);
    EXPECT_EQ(model.slit_count, 2);
    EXPECT_EQ(model.slit_spacing, 20);
    EXPECT_EQ(model.detector_offset, 30);
    EXPECT_EQ(model.background_colour, 15);
    EXPECT_EQ(model.total_amplitude, 80.0f);
    EXPECT_EQ(model.slit_amplitude, 40.0f);
    EXPECT_EQ(model.wavelength, 5.0f);
    EXPECT_EQ(model.phase, 0.0f);
    EXPECT_EQ(model.last_frame_time, 0.0f);
    EXPECT_FALSE(model.intensity_shown);
    EXPECT_FALSE(model.menu_shown);
    EXPECT_FALSE(model.stepping);
}

TEST_F(StartValues, ConstantsAreDecimalsRoundedToSingle) {
    // 6.28318 and 0.1 as single-precision values; the wave number is their
    // quotient formed in double and rounded once.
    EXPECT_EQ(model.two_pi, 6.2831802f);
    EXPECT_EQ(model.phase_step, 0.100000001f);
    EXPECT_EQ(model.wave_number, static_cast<float>(6.2831802001953125 / 5.0));
    EXPECT_NEAR(model.wave_number, 1.256636, 1e-6);
}

TEST_F(StartValues, TwoSlitsLieAtTheirPlaces) {
    EXPECT_EQ(model.slit_y[1], 238);
    EXPECT_EQ(model.slit_y[2], 258);
    EXPECT_EQ(detector_y(), 218);
}

TEST_F(StartValues, PathLengthsAreReadyBeforeTheFirstFrame) {
    EXPECT_NEAR(model.path_length[1], 535.374, 1e-3);
    EXPECT_NEAR(model.path_length[2], 536.493, 1e-3);
}

TEST_F(StartValues, SceneHasBarrierRaysAxisButNoDetectorLine) {
    EXPECT_EQ(pixel(25, 100), 6);
    EXPECT_EQ(pixel(300, 248), 7);
    EXPECT_TRUE(column_has(300, 226, 230, 10));
    EXPECT_EQ(pixel(560, 100), 15);  // the frame draws the detector line
}

using FirstFrame = SimulationTest;

TEST_F(FirstFrame, PhasorsSumAndIntensity) {
    model.intensity_shown = true;
    run_frame();
    EXPECT_NEAR(model.phasor_x[1], 35.68, 0.01);
    EXPECT_NEAR(model.phasor_y[1], 18.08, 0.01);
    EXPECT_NEAR(model.phasor_x[2], -12.02, 0.01);
    EXPECT_NEAR(model.phasor_y[2], 38.15, 0.01);
    EXPECT_NEAR(model.sum_x, 23.66, 0.01);
    EXPECT_NEAR(model.sum_y, 56.24, 0.01);
    EXPECT_NEAR(model.intensity, 37.22, 0.01);
}

TEST_F(FirstFrame, SumIsStoredSumOfStoredPhasors) {
    run_frame();
    EXPECT_EQ(model.sum_x, static_cast<float>(static_cast<double>(model.phasor_x[1]) +
                                              static_cast<double>(model.phasor_x[2])));
    EXPECT_EQ(model.sum_y, static_cast<float>(static_cast<double>(model.phasor_y[1]) +
                                              static_cast<double>(model.phasor_y[2])));
}

TEST_F(FirstFrame, RemembersWhatItDrew) {
    run_frame();
    EXPECT_EQ(model.drawn_sum_x, model.sum_x);
    EXPECT_EQ(model.drawn_sum_y, model.sum_y);
    EXPECT_EQ(model.chain_start_x, 560.0f);
    EXPECT_EQ(model.chain_start_y, 218.0f);
    EXPECT_EQ(model.chain_end_x, static_cast<float>(560.0 + model.phasor_x[1]));
    EXPECT_EQ(model.chain_end_y, static_cast<float>(218.0 + model.phasor_y[1]));
}

TEST_F(FirstFrame, PhaseAdvancesByTheStepWithoutReduction) {
    run_frame();
    EXPECT_EQ(model.phase, 0.100000001f);
    float expected = model.phase;
    for (int frame = 0; frame < 200; ++frame) {
        run_frame();
        expected = static_cast<float>(static_cast<double>(model.phase_step) + expected);
    }
    EXPECT_EQ(model.phase, expected);
    EXPECT_GT(model.phase, 6.3f);  // never wrapped at 2 pi
}

TEST_F(FirstFrame, ErasingTheUnsetChainTouchesTheTopLeftPixel) {
    // Nothing else of the scene lies at (0, 0): only the erase of the chain
    // remembered as all zero can paint it back.
    set_pixel(0, 0, 0);
    run_frame();
    EXPECT_EQ(pixel(0, 0), 15);
}

TEST_F(FirstFrame, DetectorLineInRed) {
    run_frame();
    EXPECT_EQ(pixel(560, 20), 4);
    EXPECT_EQ(pixel(560, 100), 4);
    EXPECT_EQ(pixel(560, 465), 4);
    EXPECT_EQ(pixel(560, 19), 15);
    EXPECT_EQ(pixel(560, 466), 15);
}

TEST_F(FirstFrame, RaysAxisAndBarrierColours) {
    run_frame();
    // Ray of slit 1 from (25, 238) and of slit 2 from (25, 258) to (560, 218).
    EXPECT_TRUE(column_has(300, 226, 230, 10));
    EXPECT_FALSE(column_has(300, 226, 230, 1));
    EXPECT_TRUE(column_has(300, 235, 240, 1));
    EXPECT_EQ(pixel(300, 248), 7);
    EXPECT_EQ(pixel(559, 248), 7);
    EXPECT_EQ(pixel(24, 100), 6);
    EXPECT_EQ(pixel(26, 400), 6);
    EXPECT_EQ(pixel(23, 100), 15);
    EXPECT_EQ(pixel(27, 100), 15);
}

TEST_F(FirstFrame, OpeningsStayOpen) {
    run_frame();
    for (int32_t slit_y : {238, 258}) {
        EXPECT_EQ(pixel(24, slit_y - 3), 6);
        for (int32_t y = slit_y - 2; y <= slit_y + 2; ++y)
            EXPECT_EQ(pixel(24, y), 15) << y;
        EXPECT_EQ(pixel(24, slit_y + 3), 6);
    }
}

TEST_F(FirstFrame, SlitArrowPointsRightAtPhaseZeroAndIsErasedNext) {
    run_frame();
    // At phase 0 the arrow runs from (25, 238) to (65, 238); the ray of slit 1
    // has left row 238 by x 45.
    for (int32_t x = 45; x <= 65; ++x)
        EXPECT_EQ(pixel(x, 238), 1) << x;
    EXPECT_EQ(pixel(66, 238), 15);
    run_frame();
    // The next frame erases it and draws it turned by 0.1 rad, ending near (65, 234).
    EXPECT_EQ(pixel(65, 238), 15);
    EXPECT_TRUE(column_has(64, 233, 235, 1));
}

TEST_F(FirstFrame, ChainAndResultantColours) {
    run_frame();
    // First phasor (light green) from (560, 218) to about (595.7, 236.1).
    EXPECT_TRUE(column_has(578, 225, 229, 10));
    // Second phasor (blue) on to about (583.7, 274.2).
    EXPECT_TRUE(row_has(255, 587, 592, 1));
    // Resultant (light red) from (560, 218) to about (583.7, 274.2).
    EXPECT_TRUE(row_has(246, 570, 574, 12));
}

TEST_F(FirstFrame, NextFrameErasesThePreviousChainAndResultant) {
    run_frame();
    ASSERT_TRUE(row_has(246, 570, 574, 12));
    // Move the detector point far below as a move command does: the resultant
    // is erased at the detector point it was drawn at, the chain wherever it
    // was remembered.
    erase_resultant();
    model.detector_offset = -100;
    run_frame();
    // Right of the detector line, the old chain and resultant filled rows
    // 218 to 275; the new ones start at row 348 and reach up at most 80 rows.
    for (int32_t y = 200; y <= 265; ++y) {
        for (int32_t x = 561; x <= 639; ++x)
            ASSERT_EQ(pixel(x, y), 15) << x << "," << y;
    }
}

}  // namespace
