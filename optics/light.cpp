#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "optics/optics.h"
#include "optics/optics_internal.h"
#include "optics/segment_rule.h"

// Openings that have a width, and point slits in the far field. Reals are
// stored in single precision and each computed in double, as for point
// slits; the sums over an opening stay in double until the phasor or chord
// is stored.
//
// An opening is integrated by the segment rule (segment_rule.h). In the near
// field phi'' = k r'' = k D^2 / r^3, largest at the point of the opening
// nearest the detector row, and the segments are no longer than that allows
// for PHASE_TOLERANCE. Every slit's phasor is then within eps of its
// amplitude, the sum within eps times the total amplitude (80), and the
// intensity |sum|^2 / 100 within 2 * 80 * 80 eps / 100 = 0.26 pixels of the
// exact integral: inside the half pixel the curve must keep, at any width,
// wavelength and spacing. The detector line 455 pixels away at lambda 0.5
// asks for segments of half a pixel: 30 over an opening of 15. Only a
// detector within a few pixels of the barrier would ask for more than the
// cap of segments an opening gets; there the curve is no longer held to the
// bound, but stays finite.

namespace {

constexpr int32_t MAX_SEGMENTS = 1024;

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
        const double weight = secant_weight(k, r_start, r_end);
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
    const double bending = near_field_bending(geometry.wave_number, geometry.distance, r_min);
    const double segments = std::ceil(width / longest_segment(bending, PHASE_TOLERANCE));
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

OpeningPlan plan_of(const SlitSetting& setting, const Geometry& geometry, int32_t slit) {
    OpeningPlan plan;
    plan.width = wide(setting.slit_width);
    plan.top = wide(slit_row(setting, slit)) - plan.width / 2.0;
    plan.parts = arc_chord_count(arc_turn(geometry, plan.top, plan.width),
                                 std::abs(wide(setting.slit_amplitude)), MAX_SLIT_CHORDS);
    plan.segments = segments_for(geometry, plan.top, plan.width);
    return plan;
}

int32_t segments_per_part(const OpeningPlan& plan, int32_t parts) {
    return std::max(1, (plan.segments + parts - 1) / parts);
}

// The mean over the whole opening, as the sum of its parts' means; with
// dx and dy, each part's share of the amplitude as a chord, so that the
// chords add up to the phasor.
Mean opening_mean(const Geometry& geometry, double phase, const OpeningPlan& plan, double amplitude,
                  float* dx, float* dy) {
    const int32_t segments = segments_per_part(plan, plan.parts);
    const double part = plan.width / plan.parts;
    const double share = amplitude / plan.parts;
    Mean sum;
    for (int32_t j = 0; j < plan.parts; ++j) {
        const Mean mean = mean_over(geometry, phase, plan.top + j * part, part, segments);
        sum.re += mean.re;
        sum.im += mean.im;
        if (dx != nullptr) {
            dx[j] = static_cast<float>(mean.re * share);
            dy[j] = static_cast<float>(-share * mean.im);
        }
    }
    return {sum.re / plan.parts, sum.im / plan.parts};
}

// A point slit as the near field's rule computes it (its path rounded to
// single precision before the phase is taken), or in the far field.
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

// Each slit's phasor as its one chord.
void point_chords(const SlitSetting& setting, const PhasorSet& set, ArcChords& chords) {
    for (int32_t i = 1; i <= SLIT_CAPACITY; ++i) {
        chords.count[i] = i <= setting.slit_count ? 1 : 0;
        chords.dx[i][0] = set.phasor_x[i];
        chords.dy[i][0] = set.phasor_y[i];
    }
}

// The light at the detector point the geometry places.
PhasorSet phasors_at(const SlitSetting& setting, const Geometry& geometry, float phase,
                     ArcChords* chords) {
    const bool points = point_slits(setting);
    const double amplitude = wide(setting.slit_amplitude);
    PhasorSet set;
    for (int32_t i = 1; i <= setting.slit_count && i <= SLIT_CAPACITY; ++i) {
        Mean mean;
        if (points) {
            mean = point_phasor(setting, geometry, wide(phase), i, set.path_length[i]);
        } else {
            const OpeningPlan plan = plan_of(setting, geometry, i);
            mean = opening_mean(geometry, wide(phase), plan, amplitude,
                                chords != nullptr ? chords->dx[i] : nullptr,
                                chords != nullptr ? chords->dy[i] : nullptr);
            if (chords != nullptr) chords->count[i] = plan.parts;
            // From the opening's centre, as the readouts measure it.
            set.path_length[i] = static_cast<float>(path(geometry, plan.top + plan.width / 2.0));
        }
        set.phasor_x[i] = static_cast<float>(mean.re * amplitude);
        set.phasor_y[i] = static_cast<float>(-amplitude * mean.im);
        set.sum_x = static_cast<float>(wide(set.phasor_x[i]) + wide(set.sum_x));
        set.sum_y = static_cast<float>(wide(set.phasor_y[i]) + wide(set.sum_y));
    }
    if (chords != nullptr) {
        if (points) point_chords(setting, set, *chords);
        for (int32_t i = std::max(setting.slit_count + 1, 1); i <= SLIT_CAPACITY; ++i)
            chords->count[i] = 0;
    }
    return set;
}

}  // namespace

PhasorSet light_of(const SlitSetting& setting, float phase, ArcChords* chords) {
    if (setting.lab) {
        return lab_phasor_set(setting, phase, wide(setting.axis_y - setting.detector_offset),
                              chords);
    }
    if (point_slits(setting) && !setting.far_field) {
        const PhasorSet set = point_slit_phasors(setting, phase);
        if (chords != nullptr) point_chords(setting, set, *chords);
        return set;
    }
    return phasors_at(setting, geometry_of(setting), phase, chords);
}

PhasorSet light_at_row(const SlitSetting& setting, float phase, double row) {
    if (setting.lab) return lab_phasor_set(setting, phase, row, nullptr);
    return phasors_at(setting, geometry_at(setting, row), phase, nullptr);
}
