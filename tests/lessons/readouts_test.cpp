#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "lesson_fixture.h"
#include "lessons/extra_keys_lines.h"
#include "lessons/lessons.h"
#include "sim/labels.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

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
    expect_lines({"Gangunterschied zum Nachbarspalt = 0.22 Wellenl\x84ngen",
                  "Phasendifferenz zum Nachbarspalt = 80.6\xF8", "Winkel = 3.2\xF8",
                  "Intensit\x84t = 37.2 von 64"});
    run_frame();
    press_each(UP);
    expect_lines({"Gangunterschied zum Nachbarspalt = 0.23 Wellenl\x84ngen",
                  "Phasendifferenz zum Nachbarspalt = 83.3\xF8", "Winkel = 3.3\xF8",
                  "Intensit\x84t = 35.7 von 64"});
    press_each("r");
    expect_lines({"", "", "", ""});
}

TEST_F(Readouts, KeptOverWhatCrossesThemAndPrintedAgainWhenTheyChange) {
    press_each("r");
    set_pixel(36, 101, COLOUR_BLUE);  // inside "Winkel"'s block, as a ray would cross it
    run_frame();
    EXPECT_EQ(pixel(36, 101), COLOUR_WHITE);
    handle_key();
    press_each(DOWN);
    EXPECT_TRUE(text_at(35, 100, "Winkel = 3.1\xF8"));
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

TEST_F(Readouts, OneSlitHasTheDifferenceOfItsEdgesAndTheBarrierIsAtNinetyDegrees) {
    press_each("rk");
    expect_lines({"Gangunterschied der Spaltr\x84nder = 0.00 Wellenl\x84ngen",
                  "Phasendifferenz der Spaltr\x84nder = 0.0\xF8", "Winkel = 3.2\xF8",
                  "Intensit\x84t = 64.0 von 64"});
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

// The readouts' new lines and the near field's label, against textbook
// formulas: b sin theta over lambda, N_F = a^2 / (lambda D) with
// a = ((N - 1) d + b) / 2.
class ReadoutLines : public Readouts {
protected:
    // The number after "= " in a readout line.
    static double number_in(const std::string& line) {
        const size_t at = line.find("= ");
        return at == std::string::npos ? NAN : std::atof(line.c_str() + at + 2);
    }
    static std::string line(int32_t i) {
        std::string lines[READOUT_LINES];
        readout_texts(lines);
        return lines[i];
    }
    static void press_keys(const std::vector<int32_t>& keys) {
        for (const int32_t key : keys)
            press_each(key);
    }
};

TEST_F(ReadoutLines, DistanceHeightAndTheEdgesOfOneOpening) {
    press_each("rk");
    for (int i = 0; i < 11; ++i)
        press_each("b");  // width 20
    ASSERT_EQ(optics_model.slit_width, 20);
    // Under the width's label.
    EXPECT_TRUE(text_at(35, 160, "Abstand D = 535 Pix   H\x94he y = 30 Pix"));
    const double sin_theta = 30.0 / std::hypot(30.0, 535.0);
    EXPECT_NEAR(number_in(line(0)), 20.0 * sin_theta / 5.0, 0.006);
    EXPECT_NEAR(number_in(line(1)), 360.0 * 20.0 * sin_theta / 5.0, 0.06);
    EXPECT_TRUE(text_at(35, 80, "Gangunterschied der Spaltr\x84nder = 0.22 Wellenl\x84ngen"));
}

TEST_F(ReadoutLines, TheFresnelNumberAndTheNearFieldsLabel) {
    struct Case {
        const char* what;
        std::vector<int32_t> keys;
        double n, d, b, lambda;
        bool label;
    };
    const auto G = static_cast<int32_t>('G');
    const std::vector<int32_t> ten_slits_2_apart = {'a', 'a', 'g', 'g', 'g', 'g', 'g', 'g', G};
    std::vector<int32_t> wide_slit = {'k', '+', '+', '+', '+', '+', '+'};
    for (int i = 0; i < 16; ++i)
        wide_slit.push_back('b');
    const Case cases[] = {
        {"the double slit as it starts", {}, 2, 20, 0, 5, false},
        {"eight slits by the program's own keys",
         {'g', 'g', 'g', 'g', 'g', 'g'},
         8,
         20,
         0,
         5,
         false},
        {"eight slits at a wavelength of its own",
         {'g', 'g', 'g', 'g', 'g', 'g', '+'},
         8,
         20,
         0,
         5.5,
         true},
        {"ten slits 2 apart at 0.5", ten_slits_2_apart, 10, 2, 0, 0.5, true},
        {"one slit 60 wide at 10", wide_slit, 1, 20, 60, 10, false},
        {"the double slit at 4.5", {'-'}, 2, 20, 0, 4.5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simulation_start();
        press_each("r");
        press_keys(c.keys);
        const double a = ((c.n - 1) * c.d + c.b) / 2.0;
        EXPECT_NEAR(number_in(line(5)), a * a / (c.lambda * 535.0), 0.006) << line(5);
        const int32_t label_y = c.b > 0 ? 80 : 60;
        EXPECT_EQ(text_at(35, label_y, "Nahfeld ([t]: Schirm im Unendlichen)"), c.label);
        // The readouts start under it.
        const int32_t labels = (c.b > 0 ? 1 : 0) + (c.label ? 1 : 0);
        EXPECT_TRUE(text_at(35, 60 + 20 * labels + 100, line(5)));
    }
    // The far field has its own label instead.
    press_each("t");
    EXPECT_TRUE(text_at(35, 60, "Fernfeld"));
    EXPECT_FALSE(text_at(35, 60, "Nahfeld ([t]: Schirm im Unendlichen)"));
}

TEST_F(ReadoutLines, TheDetectorLineMovedBeyondTheNearFieldTakesItsLabelAway) {
    press_each("raaggggggG");  // N_F = 81 / (0.5 D): 0.303 at D 535
    ASSERT_TRUE(text_at(35, 60, "Nahfeld ([t]: Schirm im Unendlichen)"));
    for (int i = 0; i < 6; ++i) {
        run_frame();
        press_each("6");
    }
    // D 541: 0.299. The readouts move up, and nothing stays where they were.
    EXPECT_TRUE(text_at(35, 60, line(0)));
    EXPECT_TRUE(text_at(35, 160, line(5)));
    EXPECT_FALSE(row_has(180 + 5, 35, 35 + 30 * 8, COLOUR_BLACK));
    press_each("44");  // D 539: 0.301
    EXPECT_TRUE(text_at(35, 60, "Nahfeld ([t]: Schirm im Unendlichen)"));
    EXPECT_TRUE(text_at(35, 80, line(0)));
}

// Whatever the figures cross, the labels and readouts read glyph by glyph.
TEST_F(ReadoutLines, ReadableThroughTheRaysOfEightAndFiftySlits) {
    std::vector<int32_t> fifty = {PAGE_DOWN, PAGE_DOWN, PAGE_DOWN, PAGE_DOWN};
    for (const char key : std::string("ggggggGGGGGGGG"))
        fifty.push_back(key);
    for (const auto& keys : {std::vector<int32_t>{'g', 'g', 'g', 'g', 'g', 'g'}, fifty}) {
        simulation_start();
        press_keys(keys);
        press_each("r");
        SCOPED_TRACE(model.slit_count);
        for (int frame = 0; frame < 12; ++frame) {
            run_frame();
            press_each(frame % 3 == 0 ? int32_t{'4'} : UP);
        }
        run_frame();
        EXPECT_TRUE(text_at(
            35, 20, pixel_label(screen_text("Spaltabstand = "), int_to_text(model.slit_spacing))));
        EXPECT_TRUE(text_at(35, 40, "Wellenl\x84nge  = 5 Pix"));
        const int32_t top = model.slit_count > 8 ? 80 : 60;  // under the near field's label
        if (model.slit_count > 8) {
            EXPECT_TRUE(text_at(35, 60, "Nahfeld ([t]: Schirm im Unendlichen)"));
        }
        std::string lines[READOUT_LINES];
        readout_texts(lines);
        for (int32_t i = 0; i < READOUT_LINES; ++i) {
            if (!lines[i].empty()) {
                EXPECT_TRUE(text_at(35, top + 20 * i, lines[i])) << lines[i];
            }
        }
    }
}

// The fullest block (width, field and fine fringes) closes up above the
// extra keys' help lines, and both read glyph by glyph.
TEST_F(ReadoutLines, TheFullestBlockStaysAboveTheHelpLines) {
    std::vector<int32_t> keys = {'g', 'b', 'b', 't'};
    keys.insert(keys.end(), 7, PAGE_UP);
    keys.insert(keys.end(), 9, '-');
    press_keys(keys);
    press_each("rh");
    for (int frame = 0; frame < 10; ++frame)
        run_frame();
    std::string lines[READOUT_LINES];
    readout_texts(lines);
    ASSERT_FALSE(lines[READOUT_LINES - 1].empty());  // the fringes' line shows
    for (int32_t i = 0; i < READOUT_LINES; ++i)
        EXPECT_TRUE(text_at(35, 100 + LINE_STEP * i, lines[i])) << lines[i];
    EXPECT_TRUE(text_at(MENU_X, EXTRA_KEYS_TOP, std::string(screen_text(EXTRA_KEYS_LINES[0]))));
}

// The four lines there always were keep their values, against the point
// slits' geometry: the paths to the detector point (in single precision,
// as the picture has them), their difference between slits 1 and 2 in
// wavelengths, its phase within a turn, the angle from the barrier's middle
// and the squared sum of the phasors over 100.
TEST_F(ReadoutLines, TheLinesThereWereKeepTheirValuesAcrossTheLists) {
    const std::vector<int32_t> settings[] = {
        {},
        {'+', '+', '+', UP, UP},
        {'-', '-', '-', '-', DOWN},
        {PAGE_UP, PAGE_UP, '4', '4', '4'},
        {PAGE_DOWN, PAGE_DOWN, PAGE_DOWN, UP, UP, UP, UP},
        {'g', 'g', 'g', '+', '+'},
        {'g', 'g', 'g', 'g', 'g', 'g', 'G', 'G', PAGE_DOWN},
        {'a', PAGE_DOWN, '-', '9'},
        {'a', 'a', '+', '+', '+', '+', 'i', DOWN},
        {'k', 'g', 'g', 'g', 'g', '-', '-', '-', '-', '-', '3'},
    };
    for (const auto& keys : settings) {
        simulation_start();
        press_each("r");
        press_keys(keys);
        SCOPED_TRACE(::testing::Message()
                     << model.slit_count << " slits " << model.slit_spacing << "/"
                     << model.wavelength << " offset " << model.detector_offset);
        const double distance = model.detector_distance;
        double path[3] = {};
        double re = 0, im = 0;
        for (int32_t i = 1; i <= model.slit_count; ++i) {
            const double dy = model.axis_y - model.detector_offset - model.slit_y[i];
            const auto r = static_cast<double>(static_cast<float>(std::hypot(dy, distance)));
            if (i <= 2) path[i] = r;
            const double angle = model.phase - r * model.wave_number;
            re += model.slit_amplitude * std::cos(angle);
            im += model.slit_amplitude * std::sin(angle);
        }
        const double ratio = (path[2] - path[1]) / model.wavelength;
        EXPECT_NEAR(number_in(line(0)), ratio, 0.0051) << line(0);
        const double turn = 360.0 * (ratio - std::floor(ratio));
        const double shown = number_in(line(1));
        EXPECT_NEAR(std::remainder(shown - turn, 360.0), 0.0, 0.051) << line(1);
        EXPECT_NEAR(number_in(line(2)), std::atan2(model.detector_offset, distance) * 180 / M_PI,
                    0.051)
            << line(2);
        EXPECT_NEAR(number_in(line(3)), (re * re + im * im) / 100.0, 0.051) << line(3);
        EXPECT_TRUE(line(3).ends_with(" von 64"));
    }
}
