#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/curve_csv.h"
#include "app/typed_frames.h"
#include "lessons/lessons.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

class SweepCurve : public LessonTest {
protected:
    void TearDown() override {
        type_keys({});
        set_step_feed(nullptr);
        std::remove(path_.c_str());
        LessonTest::TearDown();
    }

    // The snapshot tool's sweep: its keys, and one frame more than keys.
    static void sweep() {
        const std::vector<std::string> keys = sweep_keys();
        type_keys(keys);
        for (size_t frame = 0; frame <= keys.size(); ++frame)
            run_typed_frame();
    }

    // The sum of the phasors at row y, as the scene tests form it: path
    // lengths rounded to single, then the phase that does not cancel in the
    // squared length.
    static double physics(int32_t y) {
        std::complex<double> sum = 0;
        for (int i = 1; i <= model.slit_count; ++i) {
            const double dy = y - model.slit_y[i];
            const double distance = model.detector_distance;
            const float path = static_cast<float>(std::sqrt(dy * dy + distance * distance));
            sum += std::polar(static_cast<double>(model.slit_amplitude),
                              -static_cast<double>(path) * model.wave_number);
        }
        return std::norm(sum) / 100.0;
    }

    // Lit pixels of the sample at row y, counted from the right edge.
    static int32_t lit(int32_t y) {
        int32_t x = 639;
        while (x >= 0 && pixel(x, y) == COLOUR_LIGHT_RED)
            --x;
        return 639 - x;
    }

    std::string path_ = "sweep_curve_test." + std::to_string(getpid()) + ".csv";
};

TEST_F(SweepCurve, EveryRowHoldsThePhasorSumAsDrawn) {
    sweep();
    ASSERT_EQ(model.detector_x, 480);
    ASSERT_EQ(write_curve_csv(path_, model.axis_y), "");

    std::ifstream csv(path_);
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "row,offset,length,intensity");
    int32_t rows = 0;
    for (; std::getline(csv, line); ++rows) {
        int row = 0, offset = 0, length = 0;
        double intensity = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%d,%lf", &row, &offset, &length, &intensity), 4)
            << line;
        ASSERT_EQ(row, rows) << "one line per row, top to bottom";
        EXPECT_EQ(offset, 248 - row);
        EXPECT_NEAR(intensity, physics(row), 1e-3) << line;
        EXPECT_EQ(length, lit(row)) << line;
        if (offset == 30) {
            EXPECT_NEAR(intensity, 29.37, 0.005);
        }
    }
    EXPECT_EQ(rows, 480);
}

TEST_F(SweepCurve, StartsFromSingleStepsAndAShownCurve) {
    // The sweep leaves single steps and does not switch a shown curve off.
    for (const char* key : {"i", "s"}) {
        type_keys({key});
        run_typed_frame();
    }
    ASSERT_TRUE(model.stepping);
    sweep();
    EXPECT_FALSE(model.stepping);
    EXPECT_TRUE(model.intensity_shown);
    for (int32_t y = 0; y < CURVE_ROWS; ++y)
        ASSERT_TRUE(curve_samples[y].taken) << y;
}

TEST_F(SweepCurve, ClearingTheScreenForgetsTheSamples) {
    model.intensity_shown = true;
    run_frame();
    ASSERT_TRUE(curve_samples[218].taken);
    EXPECT_EQ(curve_samples[218].length, lit(218));
    redraw_scene();
    EXPECT_FALSE(curve_samples[218].taken);
}

TEST(CurveSampleLength, RoundsTheLinesEndHalfAwayFromZero) {
    const struct {
        float intensity;
        int32_t length;
    } cases[] = {{0.0f, 0},    {0.5f, 0},   {0.51f, 1}, {29.37f, 29}, {29.5f, 29},
                 {29.51f, 30}, {64.0f, 64}, {-3.0f, 0}, {1e30f, 640}, {NAN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(curve_sample_length(c.intensity), c.length) << c.intensity;
}

// Settings beyond the program's own whose fringes on the detector line are
// closer than 4 rows show their mean over a fringe; the rest keep their
// point samples, aliasing or not.
class FineFringes : public SweepCurve {
protected:
    // The textbook's two point slits, amplitude 40 each, at the exact
    // distances: the intensity at a height anywhere on the detector line.
    static double textbook(double y, double lambda) {
        std::complex<double> sum = 0;
        for (const double slit : {model.slit_y[1], model.slit_y[2]}) {
            const double r = std::hypot(y - slit, static_cast<double>(model.detector_distance));
            sum += std::polar(40.0, -2.0 * M_PI / lambda * r);
        }
        return std::norm(sum) / 100.0;
    }
    // The mean over the fringe at row y: where the path difference grows by
    // a wavelength, by Simpson's rule.
    static double fringe_mean(double y, double lambda) {
        const double distance = model.detector_distance;
        const double rate =
            std::fabs((y - model.slit_y[1]) / std::hypot(y - model.slit_y[1], distance) -
                      (y - model.slit_y[2]) / std::hypot(y - model.slit_y[2], distance));
        const double period = lambda / rate;
        constexpr int STEPS = 400;
        const double h = period / STEPS;
        double sum = textbook(y - period / 2, lambda) + textbook(y + period / 2, lambda);
        for (int j = 1; j < STEPS; ++j)
            sum += (j % 2 == 1 ? 4 : 2) * textbook(y - period / 2 + j * h, lambda);
        return sum * h / 3 / period;
    }
    static void press(const std::vector<int32_t>& keys) {
        for (const int32_t key : keys) {
            key_push(key);
            handle_key();
        }
    }
};

constexpr int32_t PAGE_UP = 0x49 << 8 | 0xFF;
constexpr int32_t PAGE_DOWN = 0x51 << 8 | 0xFF;

TEST_F(FineFringes, SpacingHundredAtHalfAWavelengthShowsNoFalseBeat) {
    std::vector<int32_t> keys(7, PAGE_UP);
    keys.insert(keys.end(), 9, '-');
    press(keys);
    ASSERT_EQ(model.slit_spacing, 100);
    ASSERT_EQ(model.wavelength, 0.5f);
    sweep();
    ASSERT_EQ(model.detector_distance, 455);
    for (int32_t y = 0; y < CURVE_ROWS; ++y) {
        ASSERT_TRUE(curve_samples[y].taken);
        EXPECT_NEAR(curve_samples[y].intensity, fringe_mean(y, 0.5), 1.0) << y;
    }
    // And the readouts say so where the detector stands.
    std::string lines[READOUT_LINES];
    readout_texts(lines);
    EXPECT_TRUE(lines[6].starts_with("Streifenabstand = ")) << lines[6];
}

TEST_F(FineFringes, WiderFringesAndTheProgramsOwnSettingsKeepTheirPointSamples) {
    const struct {
        const char* what;
        std::vector<int32_t> keys;
    } cases[] = {
        {"a wavelength of its own", {'+'}},
        {"a spacing of its own", {PAGE_DOWN}},
        {"eight slits at a wavelength of its own", {'g', 'g', 'g', 'g', 'g', 'g', '-'}},
        {"the detector line on the barrier", {'i', '7'}},
        {"spacing 2 at 0.5", {'a', 'a'}},
        {"ten slits, a grating", {'g', 'g', 'g', 'g', 'g', 'g', 'G'}},
        {"three slits at a spacing of their own", {'g', PAGE_UP}},
        {"the longest wavelength", std::vector<int32_t>(20, '+')},
        {"five slits at wavelength 3", {'g', 'g', 'g', '-', '-', '-', '-'}},
        {"three slits, the detector line moved left", {'g', '4', '4', '4', '4', '4'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        simulation_start();
        press(c.keys);
        sweep();
        for (int32_t y = 0; y < CURVE_ROWS; ++y)
            ASSERT_NEAR(curve_samples[y].intensity, physics(y), 1e-3) << y;
        std::string lines[READOUT_LINES];
        readout_texts(lines);
        EXPECT_EQ(lines[6], "");
    }
}

}  // namespace
