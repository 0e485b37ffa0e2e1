#pragma once

#include <cstdint>

// The intensity curve as numbers: for every screen row, the last sample the
// frame loop drew there since the screen was last cleared, before and after
// rounding to pixels. The picture keeps only the pixels; exports need the
// values too. Recording changes nothing on the screen.

constexpr int32_t CURVE_ROWS = 480;

struct CurveSample {
    bool taken = false;
    float intensity = 0;  // as the model stored it
    int32_t length = 0;   // pixels lit at the right edge, 0 to 64
};

extern CurveSample curve_samples[CURVE_ROWS];

// Forgets every sample; the screen was cleared.
void clear_curve_samples();

// Notes the sample just drawn at row y; rows off the screen hold none.
void record_curve_sample(int32_t y, float intensity);

// The pixels a sample line from x 640 leftwards by the intensity lights:
// its end is rounded half away from zero, as every line's points are.
int32_t curve_sample_length(float intensity);
