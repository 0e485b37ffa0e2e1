#pragma once

// The light on the lab view's wall, row by row: the colour of each
// wavelength, and which colours a row of the wall strip shows, dithered on
// a dark wall. A row shows a share of lit pixels that grows as the square
// root of its intensity (the eye's brightness, not the light's power), split
// among the lines in proportion to each one's intensity, so that
// overlapping orders show both colours; white light is split among six hues
// and is white where every band is within a quarter of the bands' mean (the
// zero order).
//
// Usage:
//   const WallRow row = wall_row(values, place_mm);
//   const int32_t slot = wall_slot_at(row, x, y);   // -1: dark
//   if (slot >= 0) colour = wall_colours(values).colour[slot];

#include <cstdint>

#include "lessons/lab_values.h"

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The sRGB colour of light of the wavelength (380 to 780 nm; black beyond).
Rgb spectral_colour(double nanometres);

// The colours the wall needs: one per line, or for white light six hues and
// white.
constexpr int32_t WALL_SLOTS = 7;
struct WallColours {
    int32_t count = 0;
    Rgb colour[WALL_SLOTS];
};
WallColours wall_colours(const LabValues& values);

// A row's mix: each slot's share of the row's pixels (the rest dark), and
// the intensity of the light there, of 64 (the lines' mean).
struct WallRow {
    double share[WALL_SLOTS] = {};
    double intensity = 0;
    double followed = 0;  // of the line the chain follows, of 64
};
// Where the fringes are finer than the wall's rows can show, the mean over
// one of them, span_mm: of several slits their period's mean, of one slit
// the mean over `samples` places spread evenly across the span.
WallRow wall_row(const LabValues& values, double place_mm, double span_mm = 0.0,
                 int32_t samples = 1);

// The slot of the pixel at column x of row y in the dither, or -1 for dark:
// over any 4 x 4 pixels the slots show in their shares to a sixteenth.
int32_t wall_slot_at(const WallRow& row, int32_t x, int32_t y);
