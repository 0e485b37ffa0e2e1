#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "optics/optics.h"

namespace {

// The light of every setting against the geometry worked out on its own:
// slits spread evenly about the axis, each path by Pythagoras, the field the
// sum of equal waves e^{i(phase - k r)}, in long double throughout.
TEST(Physics, PathsAndSumAreThoseOfTheGeometry) {
    struct Case {
        int32_t slits, spacing, distance, offset;
        float wave_number, phase;
    };
    const Case cases[] = {
        {1, 20, 535, 30, 1.256636f, 0.0f},    {2, 20, 535, 30, 1.256636f, 0.7f},
        {3, 100, 455, -200, 0.251327f, 3.1f}, {8, 2, 535, 248, 12.56636f, 10.0f},
        {8, 20, 0, -231, 1.256636f, -2.5f},   {5, 60, 100000, 7, 2.0f, 1.0f},
    };
    for (const Case& c : cases) {
        const SlitSetting setting{.slit_count = c.slits,
                                  .slit_spacing = c.spacing,
                                  .axis_y = 248,
                                  .detector_distance = c.distance,
                                  .detector_offset = c.offset,
                                  .wave_number = c.wave_number,
                                  .slit_amplitude = 80.0f / static_cast<float>(c.slits)};
        const PhasorSet light = light_of(setting, c.phase);
        std::complex<long double> field = 0;
        for (int32_t i = 1; i <= c.slits; ++i) {
            const long double y = 248.0L - (c.slits - 1) * c.spacing / 2.0L + (i - 1) * c.spacing;
            const long double r =
                std::hypot(static_cast<long double>(c.distance), (248.0L - c.offset) - y);
            EXPECT_NEAR(light.path_length[i], r, r * 1e-7L) << c.slits << " slits, slit " << i;
            field += std::polar(80.0L / c.slits, c.phase - c.wave_number * r);
        }
        // The picture's y runs down: its phasors are the field's conjugate.
        EXPECT_NEAR(light.sum_x, field.real(), 0.02L * c.slits);
        EXPECT_NEAR(light.sum_y, -field.imag(), 0.02L * c.slits);
        EXPECT_NEAR(intensity_of(light.sum_x, light.sum_y), std::norm(field) / 100.0L, 0.05L);
    }
}

}  // namespace
