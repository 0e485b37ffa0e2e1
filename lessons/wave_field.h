#pragma once

// The light of the slits at every pixel between the barrier and the
// furthest place of the detector line, for the wave picture ("f"). Per pixel
// the complex amplitude A, the sum over the openings of the slit's amplitude
// times the mean over the opening of the wavelets sqrt(R / r) e^{-ikr}, r a
// pixel's distance from a source element and R = FALLOFF_DISTANCE. And the
// intensity: |A|^2 averaged over the pixel's area, from as many samples as
// the finest fringes there need.
//
// The falloff is the amplitude of a cylindrical wave, as a source element of
// a slit (a line across the plane of the picture) sends it: without it just
// behind a wide opening the mean of many phases would be dark, where in
// truth the light is about as bright as the incoming wave over the opening's
// width and spreads only after about b^2 / lambda. It is 1 at R from an
// element, so that on the detector line at its home place A is about the
// sum the chain draws there (the chain, the curve and the readouts keep the
// model without it: every element the same amplitude). At phase p,
// Re(e^{ip} A) has the sign of that sum's x component wherever the factors
// of the slits differ by less than the component's share of the sum's
// length. Its limits: it is the far form of the wavelet (good from a few
// wavelengths on; nearer than that the picture saturates anyway), with no
// inclination factor, in two dimensions, and it stops at the barrier.
//
// It is built column by column from the barrier outwards, a budget of work
// at a time, so that a frame never waits for all of it; a new setting starts
// it again. Its storage is fixed, so building and reading allocate nothing.
//
//   start_field(field_sources_of(setting_of(model)));
//   while (!advance_field(FIELD_BUDGET)) {}
//   const float value = field_re(x, y) * std::cos(phase) - field_im(x, y) * std::sin(phase);

#include <complex>
#include <cstdint>

#include "optics/optics.h"
#include "sim/layout.h"

// The curve reaches at most 64 pixels in from the right edge (the squared
// total amplitude over 100); the field stops short of it.
constexpr int32_t FIELD_LEFT = BARRIER_X + 1;
constexpr int32_t FIELD_RIGHT = CURVE_ORIGIN_X - 64 - 1;
constexpr int32_t FIELD_TOP = BARRIER_TOP;
constexpr int32_t FIELD_BOTTOM = BARRIER_BOTTOM;
constexpr int32_t FIELD_COLUMNS = FIELD_RIGHT - FIELD_LEFT + 1;
constexpr int32_t FIELD_ROWS = FIELD_BOTTOM - FIELD_TOP + 1;

// The distance at which a wavelet has its element's amplitude: the detector
// line's at its home place.
constexpr double FALLOFF_DISTANCE = DETECTOR_HOME_X - BARRIER_X;

// The most samples a pixel's intensity is averaged from along each axis.
constexpr int32_t MAX_PIXEL_SAMPLES = 5;

// Work a frame may spend on the field: about 45 ms on this machine, most of
// a frame's period.
constexpr int64_t FIELD_BUDGET = 36'000'000;

// What the field depends on: the sources, not the detector.
struct FieldSources {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    int32_t axis_y = 0;
    float wave_number = 0;
    float slit_amplitude = 0;
    float slit_width = 0;  // 0: point slits
    bool operator==(const FieldSources&) const = default;
};

FieldSources field_sources_of(const SlitSetting& setting);

// The wavelength the stored wave number stands for.
double field_wavelength(const FieldSources& sources);

// How many samples along each axis the pixels at a distance from the
// barrier are averaged from: enough for the finest fringes there (two
// sources seen at an angle a apart make fringes of 2 pi / (k a) pixels),
// 1 where a single sample shows them.
int32_t samples_per_pixel(const FieldSources& sources, int32_t distance);

// The mean of the wavelets sqrt(R / r) e^{-ikr} over a slit's opening (the
// source itself for point slits) seen from a point distance pixels from the barrier and height rows
// below the slit's row.
std::complex<double> opening_mean(const FieldSources& sources, double distance, double height);

// Starts the field of new sources; the columns built so far are forgotten.
void start_field(const FieldSources& sources);
// Builds columns until budget units of work are spent (one unit is about a
// multiply-add, a trigonometric sample a few); true once every column is
// built. Building nothing before start_field.
bool advance_field(int64_t budget);
const FieldSources& field_sources();
// Columns FIELD_LEFT .. FIELD_LEFT + n - 1 are built.
int32_t field_columns_built();
// Column x is built (in the row of built ones or on its own).
bool field_column_ready(int32_t x);
// Builds column x now, ahead of its turn, unless it is built or outside the
// field: a single column, so that the picture has its reference at once.
void build_field_column(int32_t x);

// The built field at a pixel of a built column (inside the field's box).
float field_re(int32_t x, int32_t y);
float field_im(int32_t x, int32_t y);
float field_intensity(int32_t x, int32_t y);
// Rows of the field: FIELD_COLUMNS values from FIELD_LEFT.
const float* field_re_row(int32_t y);
const float* field_im_row(int32_t y);
const float* field_intensity_row(int32_t y);
// The largest |A| and intensity in a built column.
float column_amplitude_max(int32_t x);
float column_intensity_max(int32_t x);
