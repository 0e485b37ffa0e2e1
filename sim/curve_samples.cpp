#include "sim/sim.h"

#include <algorithm>
#include <cmath>
#include <iterator>

CurveSample curve_samples[CURVE_ROWS];

void clear_curve_samples() {
    std::fill(std::begin(curve_samples), std::end(curve_samples), CurveSample{});
}

int32_t curve_sample_length(float intensity) {
    // The line's end is formed in single precision, as the relative end point
    // of the drawing service is; lround halves away from zero.
    const float end = 640.0f + -intensity;
    if (!std::isfinite(end) || end >= 640.0f) return 0;
    if (end <= 0.0f) return 640;
    return static_cast<int32_t>(640 - std::lround(end));
}

void record_curve_sample(int32_t y, float intensity) {
    if (y < 0 || y >= CURVE_ROWS) return;
    curve_samples[y] = CurveSample{true, intensity, curve_sample_length(intensity)};
}
