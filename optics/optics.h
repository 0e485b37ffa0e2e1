#pragma once

// The light at the detector as a pure function of one value, the setting:
// the openings of the barrier, the wave number, the field model and the
// detector point. For each opening the path to the detector, the phasor it
// brings and the chords of its arc (a wide opening's phasor curls into an
// arc), and their sum. No drawing and no state: the simulation draws from
// it, the readouts, the curve, the tone and the exports ask it, none of them
// by changing anything.
//
// Usage:
//   const SlitSetting setting = {.slit_count = 2, .slit_spacing = 20, .axis_y = 248,
//                                .detector_distance = 535, .detector_offset = 30,
//                                .wave_number = 1.2566f, .slit_amplitude = 40.0f};
//   static ArcChords chords;  // large: a frame keeps one
//   const PhasorSet light = light_of(setting, 0.0f, &chords);
//   const float intensity = intensity_of(light.sum_x, light.sum_y);

#include <cstdint>

// The most slits "g" gives. Arrays of slits are sized by the capacity,
// which has room for the gratings of up to 50 slits.
constexpr int32_t MAX_SLITS = 8;
constexpr int32_t SLIT_CAPACITY = 50;

// An experiment as a class sets it up, in its own units (lab_light.h): equal
// slits spread symmetrically about the axis, spacing_mm apart from middle to
// middle, each width_mm wide (0: a point), together sending an amplitude of
// 80; the wall stands wall_m from the barrier.
struct LabSetting {
    int32_t slit_count = 2;
    double wavelength_nm = 532.0;
    double spacing_mm = 0.2;
    double width_mm = 0.0;
    double wall_m = 1.0;
};

// Everything the light depends on. The openings are slit_count equal slits,
// slit_spacing rows apart and spread symmetrically about the axis, each
// slit_width rows wide (0: a point) and sending slit_amplitude; opening_of
// says so for each. The wave number is the one stored: "a" scales it with
// the spacing, so it is not always 2 pi over the wavelength. The detector
// point lies detector_distance columns from the barrier and detector_offset
// rows above the axis; in the far field the screen is at infinity, in the
// direction of that point.
struct SlitSetting {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    int32_t axis_y = 0;
    int32_t detector_distance = 0;  // from the barrier, in pixels
    int32_t detector_offset = 0;    // above the axis
    float wave_number = 0;
    float slit_amplitude = 0;
    float slit_width = 0;  // 0: point slits
    bool far_field = false;
    // The lab view: the light is lab_setting's, at the place on its wall a
    // row stands for (lab_scale_mm a row above the axis); the openings above
    // are its sketch. A wide opening's arc is cut into chords as the pixel
    // view's are.
    bool lab = false;
    LabSetting lab_setting = {};
    double lab_scale_mm = 0;
};

// One opening: its middle row, its width in rows (0: a point), the
// amplitude it sends.
struct Opening {
    int32_t row = 0;
    float width = 0;
    float amplitude = 0;
};
Opening opening_of(const SlitSetting& setting, int32_t slit);

// The row of slit i: the slits are spread symmetrically about the axis.
int32_t slit_row(const SlitSetting& setting, int32_t slit);

// Arrays are indexed by slit number 1..slit_count (index 0 is unused).
struct PhasorSet {
    float path_length[SLIT_CAPACITY + 1] = {};
    float phasor_x[SLIT_CAPACITY + 1] = {};
    float phasor_y[SLIT_CAPACITY + 1] = {};
    float sum_x = 0;
    float sum_y = 0;
};

// The arc of each slit's phasor as a polyline, in the picture's y-down
// convention: the opening split into equal parts from its top row down,
// chord j the exact contribution of part j, so that a slit's chords end
// where its phasor ends. At least eight while the slit's amplitude is above
// eight pixels, more as the arc turns further, none shorter than a pixel's
// worth of amplitude, at most MAX_SLIT_CHORDS; one for a point slit.
constexpr int32_t MAX_SLIT_CHORDS = 64;
struct ArcChords {
    int32_t count[SLIT_CAPACITY + 1] = {};
    float dx[SLIT_CAPACITY + 1][MAX_SLIT_CHORDS] = {};
    float dy[SLIT_CAPACITY + 1][MAX_SLIT_CHORDS] = {};
};

// The light at the detector point, and with chords each slit's arc, from
// the same integration (each opening is integrated once). Reals are stored in
// single precision, each computed in double and rounded once. Point slits in
// the near field are summed as the picture has always been drawn: the path
// lengths exactly, the phasors at the phase, in slit order. A wide opening's
// phasor is its amplitude times the mean of e^{i(phase - k r)} over it, so
// that openings all in phase still sum to the total amplitude; its path is
// measured from its middle.
PhasorSet light_of(const SlitSetting& setting, float phase, ArcChords* chords = nullptr);

// The same light at a detector point on any row, a fraction of a row
// included (the setting's detector_offset is not used); at a whole row it is
// light_of's.
PhasorSet light_at_row(const SlitSetting& setting, float phase, double row);

// Only the paths from the slits' rows (they do not depend on the phase).
void slit_path_lengths(const SlitSetting& setting, float (&path_length)[SLIT_CAPACITY + 1]);

// The intensity the curve shows: the squared length of the sum over 100.
float intensity_of(float sum_x, float sum_y);
