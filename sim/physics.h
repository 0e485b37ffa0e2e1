#pragma once

// The light at the detector as a pure function of a setting and a phase:
// the path from every slit, the phasor each brings and their sum. The frame
// loop, the readouts, a drag's samples and the exports all ask it, none of
// them by changing the model.
//
//   const SlitSetting setting = setting_of(model);
//   const PhasorSet light = slit_phasors(setting, model.phase);
//   const float intensity = intensity_of(light.sum_x, light.sum_y);

#include <cstdint>

// The most slits "g" gives. Arrays of slits are sized by the capacity,
// which has room for the gratings the layer above builds (up to 50 slits).
constexpr int32_t MAX_SLITS = 8;
constexpr int32_t SLIT_CAPACITY = 50;

// What the phases at the detector depend on. The wave number is the one
// stored: "a" scales it with the spacing, so it is not always 2 pi over the
// wavelength.
struct SlitSetting {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    int32_t axis_y = 0;
    int32_t detector_distance = 0;  // from the barrier, in pixels
    int32_t detector_offset = 0;    // above the axis
    float wave_number = 0;
    float slit_amplitude = 0;
    // Beyond point slits, for the layer above's physics; slit_phasors
    // ignores both. 0: point slits.
    float slit_width = 0;
    // The screen at infinity (the textbooks' model) instead of the exact
    // distances.
    bool far_field = false;
};

// Arrays are indexed by slit number 1..slit_count (index 0 is unused).
struct PhasorSet {
    float path_length[SLIT_CAPACITY + 1] = {};
    float phasor_x[SLIT_CAPACITY + 1] = {};
    float phasor_y[SLIT_CAPACITY + 1] = {};
    float sum_x = 0;
    float sum_y = 0;
};

// The row of slit i: the slits are spread symmetrically about the axis.
int32_t slit_row(const SlitSetting& setting, int32_t slit);

// Reals are stored in single precision, each computed in double and rounded
// once, as the picture has always been drawn: the path lengths exactly, the
// phasors at the phase, summed in slit order.
PhasorSet slit_phasors(const SlitSetting& setting, float phase);

// Only the path lengths (they do not depend on the phase).
void slit_path_lengths(const SlitSetting& setting, float (&path_length)[SLIT_CAPACITY + 1]);

// The intensity the curve shows: the squared length of the sum over 100.
float intensity_of(float sum_x, float sum_y);
