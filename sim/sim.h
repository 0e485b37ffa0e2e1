#pragma once

// The simulation: the slit model, the frame loop and the keyboard commands.
//
// Usage:
//   simulation_start();  // frame by frame, headless (the tests, the snapshot tool)
//   run_frame();
//   handle_key();
//   return simulation_main(argc, argv);  // or the whole program, window and all

#include <cstdint>

#include "optics/optics.h"
#include "sim/layout.h"

// The simulation's whole state. Reals are stored in single precision; every
// expression producing one is evaluated in double and rounded once on storing.
// Arrays are indexed by slit number 1..slit_count (index 0 is unused).
// What goes beyond the program as it has always been keeps its state in
// its own records (lessons/).
struct SlitModel {
    bool menu_shown = false;
    bool intensity_shown = false;
    bool stepping = false;
    bool stepping_shown = false;  // the window's title says so
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
    int32_t slit_y[SLIT_CAPACITY + 1] = {};
    float path_length[SLIT_CAPACITY + 1] = {};
    float phasor_x[SLIT_CAPACITY + 1] = {};
    float phasor_y[SLIT_CAPACITY + 1] = {};
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

// Beyond the point slits the program always had: the openings' width in
// rows ("b", "B"; 0: points) and the screen at infinity ("t"). With both at
// rest the picture is the one it always was. The core draws what they say:
// openings as tall as their widths, arcs in the chain, parallel rays in the
// far field.
struct OpticsModel {
    int32_t slit_width = 0;
    bool far_field = false;
    // The lab view's light (see SlitSetting), while it shows.
    bool lab = false;
    LabSetting lab_setting = {};
    double lab_scale_mm = 0;
    // A sketch of a grating: the barrier shows this many of the openings,
    // with their rays and arrows, while the chain has one arrow for each of
    // the slit_count slits (0: the barrier shows them all).
    int32_t sketch_slits = 0;
};
extern OpticsModel optics_model;

// The chain draws each slit as its arc: wide openings, in the pixel view or
// in the lab view's light.
inline bool chain_of_arcs() {
    return optics_model.slit_width > 0 ||
           (optics_model.lab && optics_model.lab_setting.width_mm > 0);
}

// The openings the barrier shows (see OpticsModel.sketch_slits).
inline int32_t barrier_slits() {
    const int32_t sketch = optics_model.sketch_slits;
    return sketch > 0 && sketch < model.slit_count ? sketch : model.slit_count;
}

inline int32_t detector_y() {
    return model.axis_y - model.detector_offset;
}

// Colours of the default 16-colour palette that the scene uses.
constexpr uint32_t COLOUR_BLACK = 0;
constexpr uint32_t COLOUR_BLUE = 1;
constexpr uint32_t COLOUR_CYAN = 3;
constexpr uint32_t COLOUR_RED = 4;
constexpr uint32_t COLOUR_MAGENTA = 5;
constexpr uint32_t COLOUR_BROWN = 6;
constexpr uint32_t COLOUR_LIGHT_GREY = 7;
constexpr uint32_t COLOUR_DARK_GREY = 8;
constexpr uint32_t COLOUR_LIGHT_BLUE = 9;
constexpr uint32_t COLOUR_LIGHT_GREEN = 10;
constexpr uint32_t COLOUR_LIGHT_RED = 12;
constexpr uint32_t COLOUR_WHITE = 15;

// Forgets everything of an earlier run, the core's state and that of the
// layer above it (its reset hook): the model's initial values, no curve
// samples, the window's pause as the single-step wait.
void reset_simulation();

// A fresh run and its first picture; needs the screen to exist.
void simulation_start();

// The setting the model is in, with its openings' width and field model, as
// the light takes it.
SlitSetting setting_of(const SlitModel& state, const OpticsModel& optics = optics_model);

// One frame without its keyboard command and without the wait: path lengths,
// slit arrows, chain and resultant, detector line, rays, intensity sample and
// the phase advance.
void run_frame();

// Waits until 0.05 s have passed since the previous frame.
void pace_frame();

// What simulation_main does once its first picture stands, before the
// first frame: the program opens a setting given at start there. Returns
// the action in place before; nullptr does nothing.
using StartAction = void (*)();
StartAction set_start_action(StartAction action);

// The program: opens the screen and runs the frame loop. Answers 1 when no
// window could be opened; otherwise it runs until the process is ended.
int simulation_main(int argc, char** argv);

// The keyboard commands: once per frame, at most one key (two in single-step
// mode) changes the model and repairs what it affects on the screen. "e" and
// the window's close button end the program with status 0.
void handle_key();
// Whether the last handle_key ran a key's command (which may have drawn).
bool key_command_ran();

// What the single-step wait does while no key waits. In the window the wait
// pauses until a key arrives. A program without a window (the snapshot tool)
// types its next key instead, and answers false when it has none left: the
// wait then ends without a key, and the program stays in single-step mode.
using StepFeed = bool (*)();
// Returns the feed in place before; nullptr is the window's pause.
StepFeed set_step_feed(StepFeed feed);

// The intensity curve as numbers: for every screen row, the last sample the
// frame loop drew there since the screen was last cleared, before and after
// rounding to pixels. The picture keeps only the pixels; exports need the
// values too. Recording changes nothing on the screen.

constexpr int32_t CURVE_ROWS = SCREEN_HEIGHT;

struct CurveSample {
    bool taken = false;
    float intensity = 0;  // as the model stored it
    int32_t length = 0;   // pixels lit at the right edge, 0 to 64
};

extern CurveSample curve_samples[CURVE_ROWS];

// Forgets every sample; the screen was cleared.
void clear_curve_samples();

// What the curve shows at row y for the detector point's intensity there:
// that intensity, unless the layer above says otherwise (its hook).
float curve_intensity(int32_t y, float intensity);

// Notes the sample just drawn at row y; rows off the screen hold none.
void record_curve_sample(int32_t y, float intensity);

// The pixels a sample line from x 640 leftwards by the intensity lights:
// its end is rounded half away from zero, as every line's points are.
int32_t curve_sample_length(float intensity);
