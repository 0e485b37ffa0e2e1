#include <gtest/gtest.h>

#include <string>

#include "gfx/input/input.h"
#include "sim/sim.h"
#include "sim_fixture.h"

namespace {

using test_support::RecordedTime;

// Keys pushed as the window would push them, then one handle_key.
class Commands : public SimulationTest {
protected:
    static void press(const std::string& keys) {
        for (const char c : keys)
            key_push(static_cast<uint8_t>(c));
        handle_key();
    }
    static void press_extended(uint8_t second) {
        key_push(second << 8 | 0xFF);
        handle_key();
    }
};

TEST_F(Commands, DetectorPointMovesWithLimitsOnlyForTheCursorKeys) {
    struct Case {
        int32_t offset;
        int32_t key;  // a character, or an extended second code << 8 | 0xFF
        int32_t expected;
    };
    const Case cases[] = {
        {0, '8', 1},    {0, 0x48FF, 1},  {248, 0x48FF, 248},   {248, '8', 249},
        {0, '2', -1},   {0, 0x50FF, -1}, {-231, 0x50FF, -231}, {-231, '2', -232},
        {17, '9', 248}, {17, '3', -231}, {17, '5', 0},
    };
    for (const Case& c : cases) {
        model.detector_offset = c.offset;
        key_push(c.key);
        handle_key();
        EXPECT_EQ(model.detector_offset, c.expected) << c.offset << " key " << c.key;
    }
}

TEST_F(Commands, EightOntoTheTopRowStepsThePhaseBackTwice) {
    model.detector_offset = 247;
    model.phase = 1.0f;
    press("8");
    EXPECT_EQ(model.detector_offset, 248);
    EXPECT_FLOAT_EQ(model.phase, 0.8f);
}

TEST_F(Commands, DetectorLineMovesSidewaysWithoutLimit) {
    press("4");
    EXPECT_EQ(model.detector_x, 559);
    press_extended(0x4D);
    press("6");
    EXPECT_EQ(model.detector_x, 561);
    press("7");
    EXPECT_EQ(model.detector_x, 25);
    EXPECT_EQ(model.detector_distance, 0);
    press_extended(0x4B);
    EXPECT_EQ(model.detector_x, 24);
    press("1");
    EXPECT_EQ(model.detector_x, 560);
    EXPECT_EQ(column_has(560, 20, 465, 4), true);
}

TEST_F(Commands, SlitCountStaysWithinOneToEight) {
    for (int i = 0; i < 7; ++i)
        press("g");
    EXPECT_EQ(model.slit_count, 8);
    EXPECT_FLOAT_EQ(model.slit_amplitude, 10.0f);
    for (int i = 0; i < 8; ++i)
        press("k");
    EXPECT_EQ(model.slit_count, 1);
    EXPECT_FLOAT_EQ(model.slit_amplitude, 80.0f);
}

TEST_F(Commands, SpacingAndWavelengthCycleTogether) {
    const float wave_number = model.wave_number;
    const std::pair<int32_t, float> cycle[] = {{100, 25.0f}, {2, 0.5f}, {20, 5.0f}};
    for (const auto& [spacing, wavelength] : cycle) {
        press("a");
        EXPECT_EQ(model.slit_spacing, spacing);
        EXPECT_EQ(model.wavelength, wavelength);
    }
    EXPECT_EQ(model.wave_number, wave_number);
}

TEST_F(Commands, IntensityMovesTheDetectorLineEightyPixels) {
    press("i");
    EXPECT_TRUE(model.intensity_shown);
    EXPECT_EQ(model.detector_x, 480);
    EXPECT_EQ(model.detector_distance, 455);
    press("1");
    EXPECT_EQ(model.detector_x, 560);
    EXPECT_TRUE(model.intensity_shown);
}

TEST_F(Commands, MenuTogglesAndARedrawRemovesIt) {
    press("m");
    EXPECT_TRUE(model.menu_shown);
    // "[e] -> Ende" at (30, 450): its first glyph's ink is black on white.
    EXPECT_TRUE(row_has(455, 30, 37, 0));
    press("g");
    EXPECT_TRUE(model.menu_shown);
    EXPECT_FALSE(row_has(455, 30, 110, 0));
    press("m");
    EXPECT_FALSE(model.menu_shown);
}

TEST_F(Commands, SingleStepWaitsForEachKeyWithoutSpinning) {
    // The key that ends the wait arrives during the third 1 ms pause.
    RecordedTime::on_pause = [](size_t count) {
        if (count == 3) key_push('2');
    };
    press("s");
    EXPECT_TRUE(model.stepping);
    EXPECT_EQ(pauses(), (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(model.detector_offset, 29);  // the key that ended the wait acts too
    key_push('x');                         // taken at the start of the next call and dropped
    key_push('w');
    handle_key();
    EXPECT_FALSE(model.stepping);
}

TEST_F(Commands, QuitKeysEndWithStatusZero) {
    EXPECT_EXIT(press("e"), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(press_extended(0x6B), ::testing::ExitedWithCode(0), "");
    // The close request also ends the single-step wait, and the program.
    EXPECT_EXIT(
        {
            key_push('s');
            key_push(CLOSE_KEY);
            handle_key();
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
