#pragma once

// The simulation: the slit model, the frame loop and the keyboard commands.
//
// Usage:
//   simulation_start();  // frame by frame, headless (the tests, the snapshot tool)
//   run_frame();
//   handle_key();
//   return simulation_main(argc, argv);  // or the whole program, window and all

#include <cstdint>
#include <string>

constexpr int32_t MAX_SLITS = 8;

// What the readouts at the detector show depends on: the setting and the
// detector's place.
struct ReadoutSetting {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    int32_t detector_x = 0;
    int32_t detector_offset = 0;
    float wavelength = 0;
    bool operator==(const ReadoutSetting&) const = default;
};

constexpr int32_t READOUT_LINES = 4;

// The simulation's whole state. Reals are stored in single precision; every
// expression producing one is evaluated in double and rounded once on storing.
// Arrays are indexed by slit number 1..8 (index 0 is unused).
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

    // Readouts ("r"): on or off; stale once the screen lost them; the setting
    // they were printed for; each line's printed width, erased before a
    // shorter line replaces it.
    bool readouts_shown = false;
    bool readouts_stale = false;
    ReadoutSetting readouts_setting = {};
    int32_t readout_width[READOUT_LINES] = {};

    // The extra keys' help lines ("h"), shown as the help menu is.
    bool extra_keys_shown = false;

    // Kept curves ("c"): the curves of earlier settings stay on the screen.
    bool curves_kept = false;

    // Projector colours ("p"): figure colours that a washed-out picture keeps.
    bool projector_colours = false;
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

// The model's initial values and the first picture; needs the screen to exist.
void simulation_start();

// One frame without its keyboard command and without the wait: path lengths,
// slit arrows, chain and resultant, detector line, rays, intensity sample and
// the phase advance.
void run_frame();

// Waits until 0.05 s have passed since the previous frame.
void pace_frame();

// The program: opens the screen and runs the frame loop. Answers 1 when no
// window could be opened; otherwise it runs until the process is ended.
int simulation_main(int argc, char** argv);

// The keyboard commands: once per frame, at most one key (two in single-step
// mode) changes the model and repairs what it affects on the screen. "e" and
// the window's close button end the program with status 0.
void handle_key();

// What the single-step wait does while no key waits. In the window the wait
// pauses until a key arrives. A program without a window (the snapshot tool)
// types its next key instead, and answers false when it has none left: the
// wait then ends without a key, and the program stays in single-step mode.
using StepFeed = bool (*)();
// Returns the feed in place before; nullptr is the window's pause.
StepFeed set_step_feed(StepFeed feed);

// The seven help lines over the bottom of the picture.
void show_help_menu();

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

// Kept curves ("c"): while on, the samples of each setting (slit count,
// spacing, wavelength, detector line) are remembered, and a command that
// clears the screen draws them again: the current one in light red, up to
// four earlier ones in colours of their own with a legend above the credit.
// A row's samples are drawn longest first, so that every curve's tip shows.

constexpr int32_t MAX_KEPT_CURVES = 4;
// Distinct from each other, from light red and from the figures; with the
// projector colours each has 3:1 against white too.
constexpr uint32_t KEPT_CURVE_COLOURS[MAX_KEPT_CURVES] = {COLOUR_CYAN, COLOUR_MAGENTA,
                                                          COLOUR_DARK_GREY, COLOUR_LIGHT_BLUE};

struct CurveSetting {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    float wavelength = 0;
    int32_t detector_x = 0;
    bool operator==(const CurveSetting&) const = default;
};

struct KeptCurve {
    CurveSetting setting;
    uint32_t colour = 0;
    CurveSample samples[CURVE_ROWS];
};

struct KeptCurves {
    int32_t count = 0;
    KeptCurve curves[MAX_KEPT_CURVES];  // oldest first
    // The samples of the setting in force, across every redraw that keeps it.
    CurveSetting current_setting;
    CurveSample current[CURVE_ROWS];
    int32_t longest = 0;  // pixels of the longest sample of any curve
};

// Kept apart from the model: a drag computes samples on a copy of the model
// and puts it back, and those samples must stay.
extern KeptCurves kept_curves;

// "c": on keeps the samples drawn so far; off forgets them all and redraws.
void toggle_kept_curves();

// A kept curve's legend text, e.g. "3 Spalte  20/5 Pix"; a detector line
// other than the one "i" places is added while the text stays short.
std::string kept_curve_label(const CurveSetting& setting);

// Projector colours ("p"): changes the palette entries of the figures to
// ones with at least 3:1 against white, whose slit-1 colour stays apart from
// the resultant's under red-green colour blindness; off loads the default
// palette again. Nothing is redrawn.
struct PaletteColour {
    uint32_t entry;
    int32_t red;
    int32_t green;
    int32_t blue;
};
constexpr PaletteColour PROJECTOR_COLOURS[] = {
    {COLOUR_CYAN, 68, 153, 186},
    {COLOUR_LIGHT_GREY, 145, 145, 145},
    {COLOUR_LIGHT_GREEN, 0, 157, 113},
    {COLOUR_LIGHT_RED, 255, 68, 16},
};

void toggle_projector_colours();
