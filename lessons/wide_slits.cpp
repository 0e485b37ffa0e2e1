#include "lessons/wide_slits.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

// Reals are stored in single precision and each computed in double, as the
// core's physics does; the sums over an opening stay in double until the
// phasor or chord is stored.
//
// How an opening is integrated. The phase across an opening, phi(u) =
// phase - k r(u), is split into segments; over each, phi is replaced by the
// straight line through its value at the segment's middle with the slope of
// its chord (the secant), and e^{i phi} of that line is integrated in closed
// form: e^{i phi(middle)} sinc(k (r(end) - r(start)) / 2). A linear phase is
// thus integrated exactly however fast it turns (the far field, where r is
// linear in u, needs one segment per part); only the bending of r counts.
// By Taylor, a segment of length h where |phi''| <= c departs from its line
// by at most c h^2 / 4, and |e^{i a} - e^{i b}| <= |a - b|, so its mean is
// off by at most that much. In the near field phi'' = k r'' = k D^2 / r^3,
// largest at the point of the opening nearest the detector row, so the rule
// is: segments no longer than 2 sqrt(eps / c), with eps = 0.002 rad.
// Every slit's phasor is then within eps of its amplitude, the sum within
// eps times the total amplitude (80), and the intensity |sum|^2 / 100 within
// 2 * 80 * 80 eps / 100 = 0.26 pixels of the exact integral: inside the half
// pixel the curve must keep, at any width, wavelength and spacing. The
// detector line 455 pixels away at lambda 0.5 asks for segments of half a
// pixel: 30 over an opening of 15. Only a detector within a few pixels of the
// barrier would ask for more than the cap of segments an opening gets; there
// the curve is no longer held to the bound, but stays finite.

namespace {

constexpr double PHASE_TOLERANCE = 0.002;
constexpr int32_t MAX_SEGMENTS = 1024;
// Sixteen chords to a full turn of the arc draw it as a round curve.
constexpr double TURN_PER_CHORD = std::numbers::pi / 8.0;
// The arc of a slit brighter than this is drawn in eight chords at least.
constexpr double AMPLITUDE_FOR_EIGHT_CHORDS = 8.0;

double wide(float value) {
    return static_cast<double>(value);
}
double wide(int32_t value) {
    return static_cast<double>(value);
}

// The detector point and how far every source is from it. Rows grow
// downwards; heights and sin theta are positive upwards.
struct Geometry {
    bool far_field = false;
    double distance = 0;
    double detector_y = 0;
    double wave_number = 0;
    double middle = 0;     // the row halfway between the outer slits
    double r0 = 0;         // from there to the detector point
    double sin_theta = 0;  // of the detector point seen from there
};

// The detector point at a row of its own, which may lie between the
// screen's rows.
Geometry geometry_at(const SlitSetting& setting, double detector_y) {
    Geometry geometry;
    geometry.far_field = setting.far_field;
    geometry.distance = wide(setting.detector_distance);
    geometry.detector_y = detector_y;
    geometry.wave_number = wide(setting.wave_number);
    const int32_t last = std::clamp(setting.slit_count, 1, SLIT_CAPACITY);
    geometry.middle = (wide(slit_row(setting, 1)) + wide(slit_row(setting, last))) / 2.0;
    const double height = geometry.middle - geometry.detector_y;
    geometry.r0 = std::sqrt(height * height + geometry.distance * geometry.distance);
    // The detector on the barrier at the middle row has no direction: its
    // sources are all at distance 0, and the phase does not vary.
    geometry.sin_theta = geometry.r0 > 0 ? height / geometry.r0 : 0.0;
    return geometry;
}

Geometry geometry_of(const SlitSetting& setting) {
    return geometry_at(setting, wide(setting.axis_y - setting.detector_offset));
}

// The path from the source at row y to the detector point; in the far field
// the textbooks' r0 - height * sin theta.
double path(const Geometry& geometry, double y) {
    if (geometry.far_field) return geometry.r0 - (geometry.middle - y) * geometry.sin_theta;
    const double dy = geometry.detector_y - y;
    return std::sqrt(dy * dy + geometry.distance * geometry.distance);
}

double sinc(double x) {
    // Below 1e-4 the series' next term is under 1e-17 of one.
    return std::abs(x) < 1e-4 ? 1.0 - x * x / 6.0 : std::sin(x) / x;
}

struct Mean {
    double re = 0;
    double im = 0;
};

// The mean of e^{i(phase - k r)} over the rows from top to top + height, by
// the rule above in the given number of equal segments.
Mean mean_over(const Geometry& geometry, double phase, double top, double height,
               int32_t segments) {
    const double step = height / segments;
    const double k = geometry.wave_number;
    Mean sum;
    double r_start = path(geometry, top);
    for (int32_t j = 0; j < segments; ++j) {
        const double start = top + j * step;
        const double r_end = path(geometry, top + (j + 1) * step);
        const double r_middle = path(geometry, start + step / 2.0);
        const double weight = sinc(k * (r_end - r_start) / 2.0);
        const double angle = phase - k * r_middle;
        sum.re += std::cos(angle) * weight;
        sum.im += std::sin(angle) * weight;
        r_start = r_end;
    }
    return {sum.re / segments, sum.im / segments};
}

bool point_slits(const SlitSetting& setting) {
    return !(setting.slit_width > 0) || !std::isfinite(setting.slit_width);
}

// How one opening is cut: in parts (the chords of its arc), each in
// segments (the integration rule).
struct OpeningPlan {
    double top = 0;
    double width = 0;
    int32_t parts = 1;
    int32_t segments = 1;  // the whole opening's, before it is shared out
};

int32_t segments_for(const Geometry& geometry, double top, double width) {
    if (geometry.far_field) return 1;
    const double d2 = geometry.distance * geometry.distance;
    if (d2 == 0) return 1;  // on the barrier every path is straight: no bending
    const double gap =
        std::max(0.0, std::max(top - geometry.detector_y, geometry.detector_y - (top + width)));
    const double r_min = std::sqrt(d2 + gap * gap);
    const double bending = std::abs(geometry.wave_number) * d2 / (r_min * r_min * r_min);
    const double segments = std::ceil(width * std::sqrt(bending / PHASE_TOLERANCE) / 2.0);
    if (!(segments < MAX_SEGMENTS)) return MAX_SEGMENTS;
    return segments >= 1 ? static_cast<int32_t>(segments) : 1;
}

// How far the arc turns: k times the total variation of r over the opening.
double arc_turn(const Geometry& geometry, double top, double width) {
    const double k = std::abs(geometry.wave_number);
    if (geometry.far_field) return k * width * std::abs(geometry.sin_theta);
    const double r_top = path(geometry, top);
    const double r_bottom = path(geometry, top + width);
    if (geometry.detector_y > top && geometry.detector_y < top + width) {
        // Nearest at the detector row: r falls, then rises again.
        return k * (r_top + r_bottom - 2.0 * std::abs(geometry.distance));
    }
    return k * std::abs(r_top - r_bottom);
}

int32_t parts_for(double turn, double amplitude) {
    double parts = MAX_SLIT_CHORDS;
    const double by_turn = std::ceil(turn / TURN_PER_CHORD);
    // No chord shorter than a pixel's worth of amplitude.
    const double by_length = std::floor(amplitude);
    if (by_turn < parts) parts = by_turn;
    if (by_length < parts) parts = by_length;
    if (amplitude > AMPLITUDE_FOR_EIGHT_CHORDS && parts < 8) parts = 8;
    return parts >= 1 ? static_cast<int32_t>(parts) : 1;
}

OpeningPlan plan_of(const SlitSetting& setting, const Geometry& geometry, int32_t slit) {
    OpeningPlan plan;
    plan.width = wide(setting.slit_width);
    plan.top = wide(slit_row(setting, slit)) - plan.width / 2.0;
    plan.parts =
        parts_for(arc_turn(geometry, plan.top, plan.width), std::abs(wide(setting.slit_amplitude)));
    plan.segments = segments_for(geometry, plan.top, plan.width);
    return plan;
}

int32_t segments_per_part(const OpeningPlan& plan, int32_t parts) {
    return std::max(1, (plan.segments + parts - 1) / parts);
}

// The mean over the whole opening, as the sum of its parts' means, so that
// the chords add up to the phasor.
Mean opening_mean(const Geometry& geometry, double phase, const OpeningPlan& plan) {
    const int32_t segments = segments_per_part(plan, plan.parts);
    const double part = plan.width / plan.parts;
    Mean sum;
    for (int32_t j = 0; j < plan.parts; ++j) {
        const Mean mean = mean_over(geometry, phase, plan.top + j * part, part, segments);
        sum.re += mean.re;
        sum.im += mean.im;
    }
    return {sum.re / plan.parts, sum.im / plan.parts};
}

// A point slit as the core computes it (its path rounded to single
// precision before the phase is taken), or in the far field.
Mean point_phasor(const SlitSetting& setting, const Geometry& geometry, double phase, int32_t slit,
                  float& path_length) {
    const double y = wide(slit_row(setting, slit));
    if (geometry.far_field) {
        path_length = static_cast<float>(path(geometry, y));
        const double angle = phase - path(geometry, y) * geometry.wave_number;
        return {std::cos(angle), std::sin(angle)};
    }
    const double dy = geometry.detector_y - y;
    path_length =
        static_cast<float>(std::sqrt(std::pow(dy, 2.0) + geometry.distance * geometry.distance));
    const double angle = phase - wide(path_length) * geometry.wave_number;
    return {std::cos(angle), std::sin(angle)};
}

// The light at the detector point the geometry places; point slits in the
// near field as the core computes them.
PhasorSet phasors_at(const SlitSetting& setting, const Geometry& geometry, float phase) {
    const bool points = point_slits(setting);
    const double amplitude = wide(setting.slit_amplitude);
    PhasorSet set;
    for (int32_t i = 1; i <= setting.slit_count && i <= SLIT_CAPACITY; ++i) {
        Mean mean;
        if (points) {
            mean = point_phasor(setting, geometry, wide(phase), i, set.path_length[i]);
        } else {
            const OpeningPlan plan = plan_of(setting, geometry, i);
            mean = opening_mean(geometry, wide(phase), plan);
            // From the opening's centre, as the readouts measure it.
            set.path_length[i] = static_cast<float>(path(geometry, plan.top + plan.width / 2.0));
        }
        set.phasor_x[i] = static_cast<float>(mean.re * amplitude);
        set.phasor_y[i] = static_cast<float>(-amplitude * mean.im);
        set.sum_x = static_cast<float>(wide(set.phasor_x[i]) + wide(set.sum_x));
        set.sum_y = static_cast<float>(wide(set.phasor_y[i]) + wide(set.sum_y));
    }
    return set;
}

}  // namespace

PhasorSet wide_slit_phasors(const SlitSetting& setting, float phase) {
    if (point_slits(setting) && !setting.far_field) return slit_phasors(setting, phase);
    return phasors_at(setting, geometry_of(setting), phase);
}

PhasorSet wide_slit_phasors_at(const SlitSetting& setting, float phase, double row) {
    return phasors_at(setting, geometry_at(setting, row), phase);
}

int32_t slit_chords(const SlitSetting& setting, float phase, int32_t slit, std::span<float> dx,
                    std::span<float> dy) {
    const size_t room = std::min(dx.size(), dy.size());
    if (slit < 1 || slit > setting.slit_count || slit > SLIT_CAPACITY || room == 0) return 0;
    const Geometry geometry = geometry_of(setting);
    const double amplitude = wide(setting.slit_amplitude);
    if (point_slits(setting)) {
        float path_length = 0;
        const Mean mean = point_phasor(setting, geometry, wide(phase), slit, path_length);
        dx[0] = static_cast<float>(mean.re * amplitude);
        dy[0] = static_cast<float>(-amplitude * mean.im);
        return 1;
    }
    const OpeningPlan plan = plan_of(setting, geometry, slit);
    const int32_t parts =
        room < static_cast<size_t>(plan.parts) ? static_cast<int32_t>(room) : plan.parts;
    const int32_t segments = segments_per_part(plan, parts);
    const double part = plan.width / parts;
    const double share = amplitude / parts;
    for (int32_t j = 0; j < parts; ++j) {
        const Mean mean = mean_over(geometry, wide(phase), plan.top + j * part, part, segments);
        dx[j] = static_cast<float>(mean.re * share);
        dy[j] = static_cast<float>(-share * mean.im);
    }
    return parts;
}
