#include <gtest/gtest.h>

#include <string>

#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"

namespace {

constexpr int32_t UP = 0x48 << 8 | 0xFF;
constexpr int32_t DOWN = 0x50 << 8 | 0xFF;
constexpr int32_t PAGE_UP = 0x49 << 8 | 0xFF;
constexpr int32_t PAGE_DOWN = 0x51 << 8 | 0xFF;
constexpr int32_t LEFT_BUTTON = 1;
constexpr int32_t READOUT_Y[] = {60, 80, 100, 120};

// A pointer held down at a place the test chooses.
int32_t pointer_x = 0, pointer_y = 0;
int32_t held_pointer(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* confined) {
    *x = pointer_x;
    *y = pointer_y;
    if (wheel != nullptr) *wheel = 0;
    *buttons = LEFT_BUTTON;
    if (confined != nullptr) *confined = 0;
    return 0;
}

class Readouts : public LessonTest {
protected:
    static void expect_lines(const std::string (&want)[4]) {
        for (int i = 0; i < 4; ++i) {
            if (want[i].empty()) {
                EXPECT_FALSE(row_has(READOUT_Y[i] + 5, 35, 340, COLOUR_BLACK)) << "line " << i;
            } else {
                EXPECT_TRUE(text_at(35, READOUT_Y[i], want[i])) << want[i];
            }
        }
    }
};

TEST_F(Readouts, StartValuesAndOneCursorKeyLater) {
    press_each("r");
    expect_lines({"Gangunterschied = 0.22 Wellenl\x84ngen", "Phasendifferenz = 80.6\xF8",
                  "Winkel = 3.2\xF8", "Intensit\x84t = 37.2 von 64"});
    run_frame();
    press_each(UP);
    expect_lines({"Gangunterschied = 0.23 Wellenl\x84ngen", "Phasendifferenz = 83.3\xF8",
                  "Winkel = 3.3\xF8", "Intensit\x84t = 35.7 von 64"});
    press_each("r");
    expect_lines({"", "", "", ""});
}

TEST_F(Readouts, PrintedWhenTheirValuesChangeNotEveryFrame) {
    press_each("r");
    set_pixel(36, 101, COLOUR_BLUE);  // inside "Winkel"'s block, no glyph there
    run_frame();
    handle_key();
    EXPECT_EQ(pixel(36, 101), COLOUR_BLUE);
    press_each(DOWN);
    EXPECT_EQ(pixel(36, 101), COLOUR_WHITE);
    // A drag is a change too.
    console_hooks.get_mouse = held_pointer;
    pointer_x = 300;
    pointer_y = 100;
    handle_key();
    EXPECT_TRUE(text_at(35, 100, "Winkel = 28.3\xF8"));  // atan(148 / 275)
}

TEST_F(Readouts, AShorterLineLeavesNothingOfTheLongerOne) {
    press_each("r5");
    press_each(DOWN);
    EXPECT_TRUE(text_at(35, 100, "Winkel = -0.1\xF8"));
    press_each(UP);
    EXPECT_TRUE(text_at(35, 100, "Winkel = 0.0\xF8"));
    EXPECT_FALSE(row_has(100 + 5, 35 + 13 * 8, 35 + 15 * 8, COLOUR_BLACK));
}

TEST_F(Readouts, OneSlitHasNoDifferencesAndTheBarrierIsAtNinetyDegrees) {
    press_each("rk");
    expect_lines({"", "", "Winkel = 3.2\xF8", "Intensit\x84t = 64.0 von 64"});
    press_each("7");
    EXPECT_TRUE(text_at(35, 100, "Winkel = 90.0\xF8"));
    press_each("3");
    EXPECT_TRUE(text_at(35, 100, "Winkel = -90.0\xF8"));
}

TEST_F(Readouts, EveryKeyAtEveryLimitDrawsWithinTheScreen) {
    // Eight slits at spacing 100, smallest and largest values, the detector
    // on the barrier, beyond the right edge and on the first and last row,
    // single steps: every key runs and every line fits on the screen.
    const std::string setups[] = {
        "ggggggaa", "----------------------", "++++++++++++++++++++++", "7", "9", "3"};
    const int32_t keys[] = {'+', '-', PAGE_UP, PAGE_DOWN, 'a', 'h', 'm',  'i', '8', '2', '9', '3',
                            '5', '4', '6',     '7',       '1', UP,  DOWN, 'g', 'k', 'r', 'r'};
    for (const std::string& setup : setups) {
        SCOPED_TRACE(setup);
        simulation_start();
        press_each("r" + setup);
        for (int i = 0; i < 20; ++i)
            press_each(PAGE_UP);
        if (setup == "7") {
            for (int i = 0; i < 700; ++i)
                press_each("6");  // then beyond the right edge
        }
        for (const int32_t key : keys) {
            run_frame();
            press_each(key);
            for (const int32_t width : lessons.readouts.width)
                EXPECT_LE(35 + width, 640);
        }
        // In single steps the wait takes the next key.
        for (const int32_t key : {PAGE_DOWN, int32_t{'+'}, int32_t{'h'}, int32_t{'w'}}) {
            key_push('s');
            press_each(key);
        }
        EXPECT_FALSE(model.stepping);
        EXPECT_TRUE(lessons.readouts.shown);
    }
}

}  // namespace
