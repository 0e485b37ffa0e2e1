#pragma once

// The light of the experiment a class sets up, in its own units: a laser's
// wavelength in nanometres, slits a fraction of a millimetre apart (or a
// grating's lines per millimetre), a wall a metre or so away, places on it
// in millimetres. Every source is taken at its exact distance from the place
// on the wall, in double precision; the phases are differences from the
// slits' middle, reduced before anything is stored, so that the light is
// right in the far field and near the slits alike. Pure: no drawing, no
// state.
//
// Usage:
//   const LabSetting lab = {.slit_count = 2, .wavelength_nm = 532, .spacing_mm = 0.2};
//   const double first = order_place_mm(lab, 1);       // 2.66 mm on a wall 1 m away
//   const LabLight light = lab_light(lab, first, 0.0);  // of 64: light.intensity

#include <cstdint>

#include "optics/optics.h"

// Each slit's phasor at the phase, in the picture's y-down convention as the
// chain draws it, their sum, and the intensity the curve shows (the squared
// length of the sum over 100: 64 where every slit is in phase).
struct LabLight {
    double phasor_x[SLIT_CAPACITY + 1] = {};
    double phasor_y[SLIT_CAPACITY + 1] = {};
    double sum_x = 0;
    double sum_y = 0;
    double intensity = 0;
};

// The light at place_mm on the wall, above the axis (the slits' middle).
LabLight lab_light(const LabSetting& lab, double place_mm, double phase);

// The intensity (of 64) at the place of each of count wavelengths, as
// lab_light gives it; point slits share their paths among the wavelengths
// and step along the slits by one rotation, with each slit's departure
// from an even step taken as a series where it is small.
void lab_intensities(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                     int32_t count, double* intensities);

// The mean of the intensity over one period of the fringes that neighbouring
// slits make around the place: each slit's own light, added without its
// phase, as every cross term of two slits turns a whole number of times
// across a period and averages out (point slits: 64 / slit count).
double lab_period_mean(const LabSetting& lab, double place_mm);

// The angle in radians at which the place is seen from the slits' middle.
double lab_angle(const LabSetting& lab, double place_mm);

// Where order m of the grating equation d sin(angle) = m wavelength meets the
// flat wall, in millimetres above the axis; not a number for an order at or
// beyond 90 degrees, which does not exist.
double order_place_mm(const LabSetting& lab, int32_t order);

// The path difference at the place, in nanometres, exactly: between the two
// middle neighbouring slits (the lower's path less the upper's), or with one
// slit between its opening's edges.
double lab_path_difference_nm(const LabSetting& lab, double place_mm);

// The distance on the wall between neighbouring principal maxima at the
// place, in millimetres, L wavelength / (d cos^3 angle); with one slit
// between the minima beside it (its width for d); infinite for one point.
double lab_fringe_period_mm(const LabSetting& lab, double place_mm);

// a^2 / (wavelength L), a half the height of all openings together.
double lab_fresnel_number(const LabSetting& lab);
