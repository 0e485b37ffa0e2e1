#pragma once

// How a stretch of sources is integrated, wherever the program sums light
// over a width: the chain's arcs (light.cpp) and the wave picture's field.
//
// The phase along the stretch, phi(u) = phase - k r(u), is split into
// segments; over each, phi is replaced by the straight line through its value
// at the segment's middle with the slope of its chord (the secant), and
// e^{i phi} of that line is integrated in closed form: the segment's length
// times e^{i phi(middle)} sinc(k (r(end) - r(start)) / 2). A linear phase is
// thus integrated exactly however fast it turns (the far field, where r is
// linear in u, needs one segment); only the bending of r counts. By Taylor,
// a segment of length h where |phi''| <= c departs from its line by at most
// c h^2 / 4, and |e^{i a} - e^{i b}| <= |a - b|, so its mean is off by at most
// that much: segments no longer than 2 sqrt(eps / c) keep it within eps.
//
//   const double weight = secant_weight(k, r_start, r_end);     // times the length
//   const double most = longest_segment(near_field_bending(k, d, r_min), PHASE_TOLERANCE);

#include <cmath>
#include <cstdint>
#include <numbers>

// Radians a segment may depart from its line where one sample shows the
// light (the chain, and the picture where it agrees with the chain).
inline constexpr double PHASE_TOLERANCE = 0.002;

inline double sinc(double x) {
    // Below 1e-4 the series' next term is under 1e-17 of one.
    return std::abs(x) < 1e-4 ? 1.0 - x * x / 6.0 : std::sin(x) / x;
}

// The mean of e^{i phi} over a segment whose path runs from r_start to
// r_end, relative to e^{i phi(middle)}.
inline double secant_weight(double wave_number, double r_start, double r_end) {
    return sinc(wave_number * (r_end - r_start) / 2.0);
}

// |phi''| = k D^2 / r^3 of sources seen from distance D across the barrier,
// at r from the nearest of them.
inline double near_field_bending(double wave_number, double distance, double r_min) {
    return std::abs(wave_number) * distance * distance / (r_min * r_min * r_min);
}

// The longest segment that departs from its line by at most tolerance where
// the phase bends by bending.
inline double longest_segment(double bending, double tolerance) {
    return 2.0 * std::sqrt(tolerance / bending);
}

// How many chords draw a slit's arc that turns by `turn` radians, at most
// `most`: sixteen to a full turn draw it as a round curve, none shorter
// than a pixel's worth of the slit's amplitude, and an arc brighter than 8
// in eight at least.
inline int32_t arc_chord_count(double turn, double amplitude, int32_t most) {
    double parts = most;
    const double by_turn = std::ceil(turn / (std::numbers::pi / 8.0));
    const double by_length = std::floor(amplitude);
    if (by_turn < parts) parts = by_turn;
    if (by_length < parts) parts = by_length;
    if (amplitude > 8.0 && parts < 8) parts = 8;
    return parts >= 1 ? static_cast<int32_t>(parts) : 1;
}
