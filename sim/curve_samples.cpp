#include "sim/sim.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "sim/hooks.h"

CurveSample curve_samples[CURVE_ROWS];

void clear_curve_samples() {
    std::fill(std::begin(curve_samples), std::end(curve_samples), CurveSample{});
}

float curve_intensity(int32_t y, float intensity) {
    if (const auto shown = sim_hooks().curve_intensity)
        return shown(sim_hooks().context, y, intensity);
    return intensity;
}

int32_t curve_sample_length(float intensity) {
    // The line's end is formed in single precision, as the relative end point
    // of the drawing service is; lround halves away from zero.
    constexpr auto origin = static_cast<float>(CURVE_ORIGIN_X);
    const float end = origin + -intensity;
    if (!std::isfinite(end) || end >= origin) return 0;
    if (end <= 0.0f) return CURVE_ORIGIN_X;
    return static_cast<int32_t>(CURVE_ORIGIN_X - std::lround(end));
}

void record_curve_sample(int32_t y, float intensity) {
    if (y < 0 || y >= CURVE_ROWS) return;
    curve_samples[y] = CurveSample{true, intensity, curve_sample_length(intensity)};
}
