#include "optics/optics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>

#include "gfx/input/input.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "tests/support/allocation_count.h"

namespace {

constexpr int32_t AXIS = 248;
constexpr int32_t DISTANCE = 455;  // the detector line where "i" puts it
constexpr long double PI = std::numbers::pi_v<long double>;

SlitSetting setting_for(int32_t slits, int32_t spacing, float wavelength, float width,
                        int32_t offset, bool far_field) {
    // The wave number as the program stores it, from its own 2 pi.
    const float two_pi = static_cast<float>(6.28318);
    return SlitSetting{.slit_count = slits,
                       .slit_spacing = spacing,
                       .axis_y = AXIS,
                       .detector_distance = DISTANCE,
                       .detector_offset = offset,
                       .wave_number = static_cast<float>(static_cast<double>(two_pi) /
                                                         static_cast<double>(wavelength)),
                       .slit_amplitude = static_cast<float>(80.0 / slits),
                       .slit_width = width,
                       .far_field = far_field};
}

// The light worked out on its own, in long double: the slits spread evenly
// about the axis, each opening a continuum of sources whose waves
// e^{i(phase - k r)} are averaged by Simpson's rule in steps of at most a
// quarter radian of phase; and the path from each opening's centre.
struct Light {
    std::complex<long double> field;
    long double path[SLIT_CAPACITY + 1];
};

Light light_at(const SlitSetting& s, long double phase) {
    const long double k = s.wave_number;
    const long double b = s.slit_width;
    const long double distance = s.detector_distance;
    const long double height = s.detector_offset;  // above the middle of the slits
    const long double r0 = std::hypot(distance, height);
    const long double sin_theta = r0 > 0 ? height / r0 : 0;
    const auto path = [&](long double y) {  // y above the middle
        return s.far_field ? r0 - y * sin_theta : std::hypot(distance, height - y);
    };
    Light light{};
    for (int32_t i = 1; i <= s.slit_count; ++i) {
        const long double centre =
            (s.slit_count - 1) * s.slit_spacing / 2.0L - (i - 1) * s.slit_spacing;
        light.path[i] = path(centre);
        const int32_t steps = 2 * static_cast<int32_t>(std::ceil(2 * b * k)) + 2;
        std::complex<long double> sum = 0;
        for (int32_t j = 0; j <= steps; ++j) {
            const long double y = centre + b / 2 - b * j / steps;
            const int32_t weight = j == 0 || j == steps ? 1 : (j % 2 == 1 ? 4 : 2);
            sum += static_cast<long double>(weight) * std::polar(1.0L, phase - k * path(y));
        }
        light.field += (80.0L / s.slit_count) * sum / (3.0L * steps);
    }
    return light;
}

float intensity_at(const SlitSetting& setting) {
    const PhasorSet light = light_of(setting, 0.7f);
    return intensity_of(light.sum_x, light.sum_y);
}

// Every row's intensity within half a pixel, and with it the resultant (the
// picture's y runs down: it is the field's conjugate) and the paths from the
// openings' centres the readouts take.
// One setting a test, each in both fields, so that every test stays short
// also in the sanitizers' builds.
struct IntegralCase {
    int32_t slits, spacing;
    float wavelength, width;
};
constexpr IntegralCase INTEGRAL_CASES[] = {
    {2, 20, 5.0f, 4}, {2, 20, 5.0f, 15},  {1, 20, 25.0f, 60}, {8, 20, 0.5f, 15},
    {50, 8, 5.0f, 4}, {3, 30, 12.5f, 25}, {20, 20, 0.5f, 12}, {50, 2, 0.5f, 1},
};
class Integral : public testing::TestWithParam<IntegralCase> {};

TEST_P(Integral, EveryRowIsWithinHalfAPixel) {
    const IntegralCase c = GetParam();
    for (const bool far_field : {false, true}) {
        for (int32_t row = 0; row < 480; ++row) {
            const SlitSetting setting =
                setting_for(c.slits, c.spacing, c.wavelength, c.width, AXIS - row, far_field);
            const Light exact = light_at(setting, 0.7L);
            const PhasorSet light = light_of(setting, 0.7f);
            const auto where = [&] {
                return testing::Message() << c.slits << " slits " << c.spacing << " apart, lambda "
                                          << c.wavelength << ", width " << c.width
                                          << (far_field ? ", far" : ", near") << ", row " << row;
            };
            ASSERT_NEAR(intensity_of(light.sum_x, light.sum_y), std::norm(exact.field) / 100, 0.5L)
                << where();
            ASSERT_NEAR(light.sum_x, exact.field.real(), 0.05L) << where();
            ASSERT_NEAR(light.sum_y, -exact.field.imag(), 0.05L) << where();
            for (int32_t i = 1; i <= c.slits; ++i)
                ASSERT_NEAR(light.path_length[i], exact.path[i], 1e-4L) << where() << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WideSlits, Integral, testing::ValuesIn(INTEGRAL_CASES));

// One slit of width 20 at lambda 5 in the exact geometry: where the paths
// from the opening's edges differ by a wavelength, its sources cancel all but
// a little (the paths are not linear across the opening), and the curve has
// its first minimum.
TEST(WideSlits, NearFieldSingleSlitHasItsFirstMinimumWhereTheEdgesDifferByAWavelength) {
    const auto edge_difference = [](long double offset) {
        return std::hypot(455.0L, offset + 10) - std::hypot(455.0L, offset - 10);
    };
    long double low = 0, high = 240;
    for (int step = 0; step < 60; ++step) {
        const long double middle = (low + high) / 2;
        (edge_difference(middle) < 5 ? low : high) = middle;
    }
    int32_t minimum = 0;
    while (minimum < AXIS && intensity_at(setting_for(1, 20, 5.0f, 20, minimum + 1, false)) <
                                 intensity_at(setting_for(1, 20, 5.0f, 20, minimum, false)))
        ++minimum;
    EXPECT_NEAR(minimum, low, 1.0L);
    const PhasorSet light = light_of(setting_for(1, 20, 5.0f, 20, minimum, false), 0.0f);
    const double open = std::hypot(light.sum_x, light.sum_y);
    EXPECT_GT(open, 0.5);
    EXPECT_LT(open, 4.0);  // of 80
}

// The textbook's far field: the single slit's zero at b sin(theta) = lambda,
// a grating's principal maxima at d sin(theta) = m lambda under the single
// slit's envelope 64 [sin(beta) / beta]^2, and an order the envelope's zero
// takes away.
TEST(WideSlits, FarFieldHasTheTextbookMaximaAndMinima) {
    struct Case {
        int32_t slits, spacing;
        float wavelength, width;
        long double sin_theta;
        bool maximum;
    };
    const Case cases[] = {
        {1, 20, 5.0f, 20, 5.0L / 20, false},      // b sin = lambda
        {50, 8, 1.5f, 2, 1.5L / 8, true},         // first order
        {50, 8, 1.5f, 2, 2 * 1.5L / 8, true},     // second order
        {2, 20, 2.5f, 10, 2 * 2.5L / 20, false},  // second order, missing
    };
    for (const Case& c : cases) {
        const long double offset =
            DISTANCE * c.sin_theta / std::sqrt(1 - c.sin_theta * c.sin_theta);
        const int32_t row_offset = static_cast<int32_t>(std::lround(offset));
        const auto intensity = [&](int32_t o) {
            return intensity_at(setting_for(c.slits, c.spacing, c.wavelength, c.width, o, true));
        };
        if (c.maximum) {
            int32_t peak = row_offset - 1;
            for (int32_t o = row_offset - 1; o <= row_offset + 1; ++o) {
                if (intensity(o) > intensity(peak)) peak = o;
            }
            EXPECT_GT(intensity(peak), intensity(peak - 1)) << offset;
            EXPECT_GT(intensity(peak), intensity(peak + 1)) << offset;
            const long double beta = PI * c.width * c.sin_theta / c.wavelength;
            const long double envelope = 64 * std::pow(std::sin(beta) / beta, 2);
            EXPECT_NEAR(intensity(peak), envelope, 0.05L * envelope) << offset;
        } else {
            const PhasorSet light = light_of(
                setting_for(c.slits, c.spacing, c.wavelength, c.width, row_offset, true), 0.0f);
            EXPECT_LT(std::hypot(light.sum_x, light.sum_y), 0.5) << offset;
            EXPECT_LT(intensity(row_offset), 0.05f) << offset;
        }
    }
}

// The program itself, frame by frame: the keys make the setting, "i" puts
// the detector line at x 480, and a sweep from the top row down stores a
// sample a row; every stored intensity is within half a pixel of the
// integral, in the near and the far field.
struct SweptSetting {
    const char* keys;
    int32_t slits, spacing;
    float wavelength, width;
};
constexpr SweptSetting SWEPT[] = {
    {"bbbb", 2, 20, 5.0f, 4},
    {"bbbbbbbbbb", 2, 20, 5.0f, 15},
    {"kbbbbbbbbbbbbbbbb++++++++++", 1, 20, 25.0f, 60},
    {"ggggggbbbbbbbbbb---------", 8, 20, 0.5f, 15},
    {"\x51\x51\x51\x51GGGGGGGGGGGGGGbbbb", 50, 8, 5.0f, 4},
    {"g\x49\x49+++++++bbbbbbbbbbbb", 3, 30, 12.5f, 25},
    {"kkbbbbbbbbbbbbbbbb+++++++", 1, 20, 12.5f, 60},
};
class Swept : public LessonTest, public testing::WithParamInterface<SweptSetting> {};

TEST_P(Swept, EveryStoredRowIsWithinHalfAPixelOfTheIntegral) {
    const SweptSetting c = GetParam();
    // \x49 and \x51 stand for Page Up and Page Down, grey keys.
    for (const char* key = c.keys; *key != 0; ++key) {
        const int32_t code = *key == 0x49 || *key == 0x51 ? *key << 8 | 0xFF : *key;
        press_each(code);
    }
    ASSERT_EQ(model.slit_count, c.slits);
    ASSERT_EQ(model.slit_spacing, c.spacing);
    ASSERT_EQ(model.wavelength, c.wavelength);
    ASSERT_EQ(optics_model.slit_width, c.width);
    for (const bool far_field : {false, true}) {
        if (far_field) press_each("t");
        press_each("i9");
        for (int32_t row = 0; row < 480; ++row) {
            run_frame();
            press_each(0x50 << 8 | 0xFF);
        }
        for (int32_t row = 0; row < 480; ++row) {
            const SlitSetting setting =
                setting_for(c.slits, c.spacing, c.wavelength, c.width, AXIS - row, far_field);
            ASSERT_TRUE(curve_samples[row].taken) << row;
            EXPECT_NEAR(curve_samples[row].intensity, std::norm(light_at(setting, 0).field) / 100,
                        0.5L)
                << (far_field ? "far, row " : "near, row ") << row;
        }
        press_each("i");
    }
}

INSTANTIATE_TEST_SUITE_P(WideSlits, Swept, testing::ValuesIn(SWEPT));

TEST(WideSlits, PointSlitsInTheNearFieldAreTheCorePhysicsBitForBit) {
    const SlitSetting settings[] = {
        setting_for(2, 20, 5.0f, 0, 30, false), setting_for(8, 20, 0.5f, 0, -231, false),
        setting_for(8, 2, 25.0f, 0, 248, false), setting_for(50, 8, 1.5f, 0, 87, false)};
    for (const SlitSetting& setting : settings) {
        for (const float phase : {0.0f, 3.3f, 120.7f}) {
            ArcChords chords;
            // The near field's rule for point slits, worked out here as the
            // picture has always been drawn: each path rounded to single
            // precision before the phase is taken.
            const PhasorSet wide = light_of(setting, phase, &chords);
            float sum_x = 0, sum_y = 0;
            for (int32_t i = 1; i <= setting.slit_count; ++i) {
                const double dy = setting.axis_y - setting.detector_offset - slit_row(setting, i);
                const double d = setting.detector_distance;
                const auto path = static_cast<float>(std::sqrt(std::pow(dy, 2.0) + d * d));
                const double angle =
                    static_cast<double>(phase) - static_cast<double>(path) * setting.wave_number;
                const double amplitude = setting.slit_amplitude;
                const auto x = static_cast<float>(std::cos(angle) * amplitude);
                const auto y = static_cast<float>(-amplitude * std::sin(angle));
                EXPECT_EQ(wide.path_length[i], path);
                EXPECT_EQ(wide.phasor_x[i], x);
                EXPECT_EQ(wide.phasor_y[i], y);
                sum_x = static_cast<float>(static_cast<double>(x) + sum_x);
                sum_y = static_cast<float>(static_cast<double>(y) + sum_y);
                ASSERT_EQ(chords.count[i], 1);
                EXPECT_EQ(chords.dx[i][0], x);
                EXPECT_EQ(chords.dy[i][0], y);
            }
            EXPECT_EQ(wide.sum_x, sum_x);
            EXPECT_EQ(wide.sum_y, sum_y);
        }
    }
}

// The chords are the arc of the slit's phasor: they end where it ends, in
// eight chords at least while the slit is bright, and at a single slit's
// minimum they close into a circle: equal chords that turn a whole turn in
// all and end near where they began.
TEST(WideSlits, ChordsAddUpToThePhasorAndCloseAtAMinimum) {
    struct Case {
        SlitSetting setting;
        bool closes;
    };
    const Case cases[] = {
        {setting_for(1, 20, 5.0f, 20, 117, true), true},
        {setting_for(1, 20, 5.0f, 20, 118, false), true},
        {setting_for(2, 20, 5.0f, 15, 30, false), false},
        {setting_for(8, 20, 0.5f, 15, -200, false), false},
        {setting_for(3, 30, 12.5f, 25, 5, true), false},
        {setting_for(50, 2, 0.5f, 1, 100, false), false},
        {setting_for(1, 20, 0.5f, 60, 200, false), false},
    };
    for (const Case& c : cases) {
        ArcChords arcs;
        const PhasorSet light = light_of(c.setting, 1.0f, &arcs);
        for (int32_t i = 1; i <= c.setting.slit_count; ++i) {
            const float* dx = arcs.dx[i];
            const float* dy = arcs.dy[i];
            const int32_t chords = arcs.count[i];
            if (c.setting.slit_amplitude > 8) {
                EXPECT_GE(chords, 8);
            }
            double x = 0, y = 0, turn = 0;
            for (int32_t j = 0; j < chords; ++j) {
                x += dx[j];
                y += dy[j];
                if (j > 0) {
                    turn +=
                        std::remainder(std::atan2(dy[j], dx[j]) - std::atan2(dy[j - 1], dx[j - 1]),
                                       2 * std::numbers::pi);
                }
            }
            EXPECT_NEAR(x, light.phasor_x[i], 1e-4) << i;
            EXPECT_NEAR(y, light.phasor_y[i], 1e-4) << i;
            if (!c.closes) continue;
            const double length = std::hypot(dx[0], dy[0]);
            for (int32_t j = 1; j < chords; ++j)
                EXPECT_NEAR(std::hypot(dx[j], dy[j]), length, 0.02 * length) << j;
            // The turn between the last chord and the first closes the circle.
            turn += std::remainder(
                std::atan2(dy[0], dx[0]) - std::atan2(dy[chords - 1], dx[chords - 1]),
                2 * std::numbers::pi);
            EXPECT_NEAR(std::abs(turn), 2 * std::numbers::pi, 0.05);
            EXPECT_LT(std::hypot(x, y), 4.0);
        }
    }
}

TEST(WideSlits, BadSettingsGiveFiniteLight) {
    const float nan = std::nanf("");
    SlitSetting settings[] = {
        setting_for(2, 20, 5.0f, 15, 0, false),   setting_for(2, 20, 5.0f, 15, 10, true),
        setting_for(1, 20, 0.5f, 60, 248, false), setting_for(1, 20, 0.5f, 60, -231, true),
        setting_for(50, 100, 5.0f, 60, 0, false), setting_for(50, 100, 0.5f, 60, 0, true),
        setting_for(8, 20, 5.0f, 15, 0, false),   setting_for(8, 20, 5.0f, -3, 0, true),
        setting_for(8, 20, 5.0f, nan, 0, true),   setting_for(3, 20, 5.0f, 5, 20, false),
    };
    settings[0].detector_distance = 0;  // the detector on the barrier
    settings[1].detector_distance = 0;
    settings[6].detector_distance = 2147483647;  // far off to the right
    settings[7].detector_distance = 0;
    settings[9].detector_distance = 1;
    for (const SlitSetting& setting : settings) {
        ArcChords arcs;
        const PhasorSet light = light_of(setting, 2.0f, &arcs);
        EXPECT_TRUE(std::isfinite(light.sum_x) && std::isfinite(light.sum_y));
        for (int32_t i = 1; i <= setting.slit_count; ++i) {
            EXPECT_TRUE(std::isfinite(light.path_length[i]));
            const float* dx = arcs.dx[i];
            const float* dy = arcs.dy[i];
            const int32_t chords = arcs.count[i];
            for (int32_t j = 0; j < chords; ++j)
                ASSERT_TRUE(std::isfinite(dx[j]) && std::isfinite(dy[j])) << i << " " << j;
        }
    }
}

TEST(WideSlits, NothingAllocates) {
    const SlitSetting setting = setting_for(8, 20, 0.5f, 15, 100, false);
    static ArcChords arcs;
    const long before = allocations_so_far();
    const PhasorSet light = light_of(setting, 0.0f, &arcs);
    EXPECT_EQ(allocations_so_far(), before);
    EXPECT_TRUE(std::isfinite(light.sum_x));
    EXPECT_GT(arcs.count[8], 0);
}

}  // namespace
