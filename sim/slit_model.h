#pragma once

#include <cstdint>

constexpr int32_t MAX_SLITS = 8;

// The simulation's whole state. Reals are stored in single precision; every
// expression producing one is evaluated in double and rounded once on storing.
// Arrays are indexed by slit number 1..8 (index 0 is unused).
struct SlitModel {
    bool menu_shown = false;
    bool intensity_shown = false;
    bool stepping = false;
    int32_t background_colour = 0;
    int32_t axis_y = 0;
    int32_t barrier_x = 0;
    int32_t detector_x = 0;
    int32_t detector_distance = 0;
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    int32_t detector_offset = 0;
    float wavelength = 0;
    float wave_number = 0;
    float phase = 0;
    float phase_step = 0;
    float last_frame_time = 0;
    float total_amplitude = 0;
    float slit_amplitude = 0;
    float intensity = 0;
    float two_pi = 0;
    int32_t slit_y[MAX_SLITS + 1] = {};
    float path_length[MAX_SLITS + 1] = {};
    float phasor_x[MAX_SLITS + 1] = {};
    float phasor_y[MAX_SLITS + 1] = {};
    float chain_start_x = 0;
    float chain_start_y = 0;
    float chain_end_x = 0;
    float chain_end_y = 0;
    float sum_x = 0;
    float sum_y = 0;
    float drawn_sum_x = 0;
    float drawn_sum_y = 0;
};

extern SlitModel model;

// Fixed places of the scene: the axis row, where the detector line starts and
// returns to, and the rows it spans.
constexpr int32_t AXIS_Y = 248;
constexpr int32_t DETECTOR_HOME_X = 560;
constexpr int32_t DETECTOR_TOP = 20;
constexpr int32_t DETECTOR_BOTTOM = 465;

inline int32_t detector_y() {
    return model.axis_y - model.detector_offset;
}

// Colours of the default 16-colour palette that the scene uses.
constexpr uint32_t COLOUR_BLACK = 0;
constexpr uint32_t COLOUR_BLUE = 1;
constexpr uint32_t COLOUR_RED = 4;
constexpr uint32_t COLOUR_BROWN = 6;
constexpr uint32_t COLOUR_LIGHT_GREY = 7;
constexpr uint32_t COLOUR_LIGHT_GREEN = 10;
constexpr uint32_t COLOUR_LIGHT_RED = 12;
constexpr uint32_t COLOUR_WHITE = 15;
