#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "gfx/input/input.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/sim.h"

namespace {

constexpr int32_t PAGE_UP = 0x49 << 8 | 0xFF;
constexpr int32_t PAGE_DOWN = 0x51 << 8 | 0xFF;
constexpr int32_t DOWN = 0x50 << 8 | 0xFF;

class LessonValues : public LessonTest {
protected:
    // The curve over the rows 0..247, one sample a frame from the top row
    // down, as a sweep draws it.
    static void sweep_upper_half() {
        press_each("9");
        for (int32_t row = 0; row < AXIS_Y; ++row) {
            run_frame();
            press_each(DOWN);
        }
    }

    // The row of the longest (or shortest) sample in the rows from..to.
    static int32_t extreme_row(int32_t from, int32_t to, bool longest) {
        const auto shorter = [](const CurveSample& a, const CurveSample& b) {
            return a.intensity < b.intensity;
        };
        const CurveSample* first = curve_samples + from;
        const CurveSample* end = curve_samples + to + 1;
        return static_cast<int32_t>((longest ? std::max_element(first, end, shorter)
                                             : std::min_element(first, end, shorter)) -
                                    curve_samples);
    }

    // The row where d sin(theta) = path, seen from the barrier's middle;
    // row 0 for one above the screen.
    static double row_of(double path) {
        const double sine = path / model.slit_spacing;
        if (sine >= 1.0) return 0;
        return std::max(0.0, AXIS_Y - model.detector_distance * std::tan(std::asin(sine)));
    }
};

TEST_F(LessonValues, KeysStepAlongTheListsAndDoNothingAtTheirEnds) {
    struct Case {
        float wavelength;
        int32_t spacing;
        int32_t key;
        float new_wavelength;
        int32_t new_spacing;
    };
    const Case cases[] = {
        {5, 20, '+', 5.5f, 20},  {5, 20, '-', 4.5f, 20},    {10, 20, '+', 12.5f, 20},
        {25, 20, '+', 25, 20},   {0.5f, 20, '-', 0.5f, 20}, {30, 100, '-', 25, 100},
        {30, 100, '+', 30, 100}, {0.6f, 2, '-', 0.5f, 2},   {0.6f, 2, '+', 1, 2},
        {5, 20, PAGE_UP, 5, 25}, {5, 20, PAGE_DOWN, 5, 15}, {5, 100, PAGE_UP, 5, 100},
        {5, 2, PAGE_DOWN, 5, 2}, {5, 7, PAGE_UP, 5, 8},     {5, 7, PAGE_DOWN, 5, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.wavelength << "/" << c.spacing << " key " << c.key);
        model.wavelength = c.wavelength;
        model.wave_number = 1.0f;
        model.slit_spacing = c.spacing;
        set_pixel(300, 300, COLOUR_BLUE);  // gone only if the scene is redrawn
        press_each(c.key);
        EXPECT_EQ(model.wavelength, c.new_wavelength);
        EXPECT_EQ(model.slit_spacing, c.new_spacing);
        const bool changed = c.new_wavelength != c.wavelength || c.new_spacing != c.spacing;
        EXPECT_EQ(pixel(300, 300), changed ? COLOUR_WHITE : COLOUR_BLUE);
        if (c.new_wavelength != c.wavelength) {
            EXPECT_EQ(model.wave_number,
                      static_cast<float>(static_cast<double>(model.two_pi) / c.new_wavelength));
        }
    }
}

// A grating's count: G and K along the list, only as far as the slits fit on
// the barrier's rows (20 to 470) about the axis; "g" still stops at eight.
TEST_F(LessonValues, GratingCountsStepAlongTheirListAsFarAsTheSlitsFit) {
    struct Case {
        int32_t count, spacing;
        char key;
        int32_t new_count;
    };
    const Case cases[] = {
        {2, 20, 'G', 3},  {8, 20, 'G', 10},  {16, 20, 'G', 20}, {20, 20, 'G', 20}, {40, 8, 'G', 50},
        {50, 8, 'G', 50}, {49, 8, 'G', 50},  {10, 20, 'K', 8},  {1, 20, 'K', 1},   {50, 2, 'K', 40},
        {50, 2, 'k', 49}, {10, 20, 'g', 10}, {8, 100, 'G', 8},  {4, 100, 'G', 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.count << " slits " << c.spacing << " apart, " << c.key);
        use_slits(c.count, c.spacing);
        press_each(std::string(1, c.key));
        EXPECT_EQ(model.slit_count, c.new_count);
        EXPECT_EQ(model.slit_amplitude, static_cast<float>(80.0 / c.new_count));
        EXPECT_GE(model.slit_y[1], c.new_count > 8 ? 20 : -10000);
        EXPECT_LE(model.slit_y[model.slit_count], c.new_count > 8 ? 470 : 10000);
    }
}

// A spacing made larger spreads a grating: it keeps as many slits as fit,
// never fewer than eight.
TEST_F(LessonValues, AWiderSpacingKeepsTheSlitsThatFit) {
    const struct {
        int32_t count, spacing;
        int32_t key;
        int32_t new_count, new_spacing;
    } cases[] = {
        {50, 8, PAGE_UP, 45, 10},
        {50, 8, 'a', 23, 20},
        {20, 20, 'a', 8, 100},
        {10, 40, PAGE_UP, 9, 50},
    };
    for (const auto& c : cases) {
        use_slits(c.count, c.spacing);
        press_each(c.key);
        EXPECT_EQ(model.slit_spacing, c.new_spacing);
        EXPECT_EQ(model.slit_count, c.new_count) << c.count << " " << c.spacing;
        EXPECT_GE(model.slit_y[1], c.new_count > 8 ? 20 : -10000);
    }
}

// The slit width: b and B along the list, below the spacing while there is
// more than one slit; what leaves it no room takes it to the widest that fits.
TEST_F(LessonValues, SlitWidthsStepAlongTheirListBelowTheSpacing) {
    const struct {
        int32_t count, spacing, width;
        const char* keys;
        int32_t new_width, new_count, new_spacing;
    } cases[] = {
        {2, 20, 0, "b", 1, 2, 20},   {2, 20, 12, "b", 15, 2, 20},  {2, 20, 15, "b", 15, 2, 20},
        {1, 20, 50, "b", 60, 1, 20}, {1, 20, 60, "b", 60, 1, 20},  {2, 20, 0, "B", 0, 2, 20},
        {2, 20, 7, "B", 6, 2, 20},   {1, 20, 60, "g", 15, 2, 20},  {2, 20, 15, "a", 15, 2, 100},
        {2, 100, 60, "a", 1, 2, 2},  {8, 20, 15, "G", 15, 10, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.count << " slits " << c.spacing << " apart, width "
                                          << c.width << ", " << c.keys);
        use_slits(c.count, c.spacing);
        optics_model.slit_width = c.width;
        press_each(c.keys);
        EXPECT_EQ(optics_model.slit_width, c.new_width);
        EXPECT_EQ(model.slit_count, c.new_count);
        EXPECT_EQ(model.slit_spacing, c.new_spacing);
    }
    press_each(PAGE_DOWN);  // 15 apart: the width of 15 becomes 12
    EXPECT_EQ(optics_model.slit_width, 12);
}

// A width shows as a third label, the readouts move under it, and each
// opening is as tall as the width; B back to 0 is the start picture's.
TEST_F(LessonValues, AWidthHasItsLabelAndItsOpenings) {
    press_each("bbbbbbbbbb");  // 15
    EXPECT_TRUE(text_at(35, 60, "Spaltbreite  = 15 Pix"));
    for (int32_t slit = 1; slit <= 2; ++slit) {
        const int32_t y = model.slit_y[slit];
        EXPECT_FALSE(column_has(25, y - 8, y + 8, COLOUR_BROWN)) << slit;
        EXPECT_EQ(pixel(25, y - 9), COLOUR_BROWN);
        EXPECT_EQ(pixel(25, y + 9), COLOUR_BROWN);
    }
    press_each("r");
    EXPECT_TRUE(text_at(35, 80, "Gangunterschied zum Nachbarspalt = "));
    press_each("rBBBBBBBBBB");
    EXPECT_EQ(optics_model.slit_width, 0);
    EXPECT_FALSE(row_has(67, 35, 220, COLOUR_BLACK));
    EXPECT_EQ(pixel(25, model.slit_y[1] - 3), COLOUR_BROWN);
}

// One slit 20 wide at lambda 5, seen from x 480: the curve's first minimum
// lies where the paths from the opening's edges differ by a wavelength.
TEST_F(LessonValues, AWideSlitsCurveHasItsMinimumWhereItsEdgesDifferByAWavelength) {
    press_each("kbbbbbbbbbbbi");  // one slit, width 20, curve on
    sweep_upper_half();
    double offset = 0;  // bisection for hypot(455, o + 10) - hypot(455, o - 10) = 5
    for (double low = 0, high = 240; high - low > 1e-6; offset = (low + high) / 2) {
        const double o = (low + high) / 2;
        (std::hypot(455.0, o + 10) - std::hypot(455.0, o - 10) < 5 ? low : high) = o;
    }
    const auto row = static_cast<int32_t>(std::lround(AXIS_Y - offset));
    EXPECT_NEAR(extreme_row(row - 20, row + 20, false), row, 1);
    EXPECT_LT(curve_samples[row].intensity, 0.15f);
}

// "t": the far field, labelled, its rays parallel at the detector's angle;
// there the width's envelope takes away the second order of two slits 20
// apart and 10 wide at lambda 2.5 (d sin(theta) = 2 lambda, 117 rows up).
TEST_F(LessonValues, TheFarFieldHasParallelRaysAndItsMissingOrder) {
    run_frame();
    EXPECT_TRUE(column_has(300, 227, 229, COLOUR_LIGHT_GREEN));  // to the point (560, 218)
    press_each("t");
    run_frame();
    EXPECT_TRUE(text_at(35, 60, "Fernfeld"));
    EXPECT_TRUE(column_has(300, 222, 224, COLOUR_LIGHT_GREEN));   // to (560, 208), as slit 2's
    EXPECT_FALSE(column_has(300, 227, 229, COLOUR_LIGHT_GREEN));  // falls to (560, 228)
    press_each("-----bbbbbbbbi");
    sweep_upper_half();
    EXPECT_LT(curve_samples[AXIS_Y - 117].intensity, 0.05f);
    // The first order stands under the envelope 64 [sin(beta) / beta]^2,
    // beta = pi b sin(theta) / lambda = pi / 2 there.
    EXPECT_NEAR(curve_samples[AXIS_Y - 57].intensity, 64 * 4 / (M_PI * M_PI), 1.0);
    press_each("t");
    EXPECT_TRUE(text_at(35, 60, "Spaltbreite  = 10 Pix"));
    EXPECT_FALSE(row_has(87, 35, 120, COLOUR_BLACK));  // "Fernfeld" under it is gone
}

// The new keys at their limits, in single steps too, with the detector on
// the barrier, at the top and bottom rows and far off: every frame's light
// stays finite (the sanitizers' builds watch the drawing). The keys come one
// a frame, and the single-step wait takes the next one as the window's
// would.
std::string pending_keys;
bool type_pending_key() {
    if (pending_keys.empty()) return false;
    key_push(static_cast<uint8_t>(pending_keys[0]));
    pending_keys.erase(0, 1);
    return true;
}

TEST_F(LessonValues, WidthsFieldsAndGratingsAtTheirLimitsRunSafely) {
    const char* const sequences[] = {
        "kbbbbbbbbbbbbbbbbbb----------t7i9", "kbbbbbbbbbbbbbbbbbbi3t1626",
        "GGGGGGGGGGGGGGGGGGbbbbbbi9tKKKKK",  "gggggggbbbbbbbbbbaaaGGGt3",
        "sbbbbtGGGGwBBBBBBBKKKKK5",          "ibbbbbbbbtcbbbbtc9BBBBBBBBBBB",
    };
    for (const char* keys : sequences) {
        simulation_start();
        set_step_feed(type_pending_key);
        pending_keys = keys;
        while (type_pending_key()) {
            run_frame();
            handle_key();
            EXPECT_TRUE(std::isfinite(model.sum_x) && std::isfinite(model.sum_y)) << keys;
        }
    }
    simulation_start();
    press_each("bbbbbt");
    model.detector_x = 100000;  // far off to the right
    model.detector_distance = model.detector_x - model.barrier_x;
    run_frame();
    EXPECT_TRUE(std::isfinite(model.sum_x) && std::isfinite(model.sum_y));
}

TEST_F(LessonValues, AFromASteppedSpacingGoesBackToTheStart) {
    const float wave_number = model.wave_number;
    press_each("++a");  // 20/6 is on the cycle: 100/30
    EXPECT_EQ(model.slit_spacing, 100);
    EXPECT_EQ(model.wavelength, 30.0f);
    press_each(PAGE_DOWN);
    press_each("a");
    EXPECT_EQ(model.slit_spacing, 20);
    EXPECT_EQ(model.wavelength, 5.0f);
    EXPECT_EQ(model.wave_number, wave_number);
}

TEST_F(LessonValues, TheFirstMaximumLiesWhereTheSpacingTimesTheSineIsTheWavelength) {
    press_each("++i");  // wavelength 6, spacing 20, detector line at x 480
    EXPECT_TRUE(text_at(35, 40, "Wellenl\x84nge  = 6 Pix"));
    sweep_upper_half();
    const double lambda = model.wavelength;
    EXPECT_NEAR(row_of(lambda), 105, 1);
    const int32_t longest = extreme_row(std::lround(row_of(1.5 * lambda)), 247, true);
    const int32_t near_axis = std::lround(row_of(0.25 * lambda));
    EXPECT_NEAR(longest, row_of(lambda), 1.5);
    EXPECT_NEAR(extreme_row(longest, near_axis, false), row_of(0.5 * lambda), 1.5);
}

TEST_F(LessonValues, ANarrowerSpacingMovesTheFirstMaximumOutward) {
    press_each("i");
    // Nearer the barrier, so that the first maximum at spacing 10 (30
    // degrees) stays on the screen.
    model.detector_x = 325;
    model.detector_distance = 300;
    double previous = AXIS_Y;
    for (const int32_t spacing : {20, 15, 12, 10}) {
        SCOPED_TRACE(spacing);
        if (spacing != 20) press_each(PAGE_DOWN);
        ASSERT_EQ(model.slit_spacing, spacing);
        sweep_upper_half();
        const double expected = row_of(model.wavelength);
        const int32_t from = std::lround(row_of(1.5 * model.wavelength));
        const int32_t to = std::lround(row_of(0.5 * model.wavelength));
        EXPECT_NEAR(extreme_row(from, to, true), expected, 1.5);
        EXPECT_LT(expected, previous);
        previous = expected;
    }
}

}  // namespace
