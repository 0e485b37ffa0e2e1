#pragma once

// The lab view's light, shared by its files: the geometry of a lab setting,
// and the mean over one opening. lab_light.cpp gives the light at a place,
// lab_opening.cpp integrates an opening, lab_lanes.cpp takes many
// wavelengths at once.
//
// Lengths in millimetres. A source u millimetres above the axis lies
// r(u) = sqrt(L^2 + (x - u)^2) from the place x on the wall; its path less
// the middle's, r(u) - r(0), is taken as (u^2 - 2 x u) / (r(u) + r(0)),
// which keeps every digit where the two distances agree to nine of them.

#include <cmath>
#include <cstdint>
#include <numbers>

#include "optics/optics.h"

inline constexpr double TWO_PI = 2.0 * std::numbers::pi;
// What all openings together send: an order of the far field reads 64.
inline constexpr double TOTAL_AMPLITUDE = 80.0;
// The most wavelengths one call takes at once (white light has 31).
inline constexpr int32_t LAB_LANES = 32;

struct Wall {
    double distance;  // L
    double place;     // x
    double middle;    // r(0)
};

inline Wall wall_of(const LabSetting& lab, double place_mm) {
    const double distance = lab.wall_m * 1000.0;
    return Wall{distance, place_mm, std::hypot(distance, place_mm)};
}

inline double path_beyond_middle(const Wall& wall, double u) {
    const double r = std::hypot(wall.distance, wall.place - u);
    return (u * u - 2.0 * wall.place * u) / (r + wall.middle);
}

inline double wave_number_per_mm(const LabSetting& lab) {
    return TWO_PI / (lab.wavelength_nm * 1e-6);
}

inline double slit_height_mm(const LabSetting& lab, int32_t slit) {
    return (static_cast<double>(slit) - (lab.slit_count + 1) / 2.0) * lab.spacing_mm;
}

// The path across an opening of half width h around u, r(u + v) = r(u) + a v
// + b v^2 + ...: its slope a and half its curvature b, as a h and b h^2.
struct OpeningBend {
    double slope_h;
    double bend_h2;
};
inline OpeningBend opening_bend(const Wall& wall, double u, double h) {
    const double across = wall.place - u;
    const double r = std::hypot(wall.distance, across);
    return OpeningBend{-across / r * h, wall.distance * wall.distance / (2.0 * r * r * r) * h * h};
}

// With parts, an opening is cut into that many equal parts and each part's
// share of the mean is given too: the chords of the slit's arc, which add up
// to it.
struct OpeningParts {
    int32_t count = 1;
    double* re = nullptr;
    double* im = nullptr;
};

// The mean of e^{-i k (r(u) - r(0))} over the opening around u0; a point
// slit's is its own term. A whole opening by its slope and bend where they
// hold (lab_opening.cpp), its parts by the program's one segment rule.
void lab_opening_mean(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im,
                      OpeningParts parts = {});

// How far an opening's arc turns: k times how much the paths across it vary.
double lab_opening_turn(const LabSetting& lab, const Wall& wall, double u0);

// The intensity of each wavelength at the place, every opening integrated
// by the segment rule: where the lanes cannot follow wide openings.
void lab_openings_by_segments(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                              int32_t count, double* intensities);
