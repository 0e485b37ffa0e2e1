#include <algorithm>
#include <cmath>

#include "optics/lab_internal.h"
#include "optics/lab_moments_internal.h"
#include "optics/segment_rule.h"

// One opening's mean: by the program's one segment rule, or for a whole
// opening by the slope and bend of its paths.

namespace {

constexpr int32_t MOST_SEGMENTS = 256;

// An opening's paths by the program's one segment rule: its segments'
// edges and middles. The segments are those the shortest wavelength the lab
// shows (400 nm) needs, so that every wavelength takes the same ones and
// the paths serve them all.
constexpr double SHORTEST_NM = 400.0;
constexpr int32_t MOST_PATHS = MOST_SEGMENTS + MAX_SLIT_CHORDS;
struct OpeningPaths {
    int32_t segments = 1;
    double edge[MOST_PATHS + 1];
    double middle[MOST_PATHS];
};

int32_t segments_needed(const LabSetting& lab, const Wall& wall, double u0) {
    const double k = TWO_PI / (std::min(lab.wavelength_nm, SHORTEST_NM) * 1e-6);
    const double half = lab.width_mm / 2.0;
    const double nearest =
        std::hypot(wall.distance, std::max(0.0, std::abs(wall.place - u0) - half));
    const double most =
        longest_segment(near_field_bending(k, wall.distance, nearest), PHASE_TOLERANCE);
    return static_cast<int32_t>(
        std::clamp(std::ceil(lab.width_mm / most), 1.0, static_cast<double>(MOST_SEGMENTS)));
}

void opening_paths(const LabSetting& lab, const Wall& wall, double u0, int32_t segments,
                   OpeningPaths& paths) {
    const double top = u0 - lab.width_mm / 2.0;
    const double h = lab.width_mm / segments;
    paths.segments = segments;
    for (int32_t j = 0; j <= segments; ++j)
        paths.edge[j] = path_beyond_middle(wall, top + j * h);
    for (int32_t j = 0; j < segments; ++j)
        paths.middle[j] = path_beyond_middle(wall, top + j * h + h / 2.0);
}

// The mean of e^{-i k (r(u) - r(0))} over the opening, from its paths.
void opening_sum(const OpeningPaths& paths, double k, double& re, double& im,
                 OpeningParts parts = {}) {
    const int32_t segments = paths.segments;
    const int32_t per_part = segments / parts.count;
    re = 0.0;
    im = 0.0;
    double part_re = 0.0, part_im = 0.0;
    for (int32_t j = 0; j < segments; ++j) {
        const double weight = secant_weight(k, paths.edge[j], paths.edge[j + 1]) / segments;
        const double angle = std::remainder(k * paths.middle[j], TWO_PI);
        const double add_re = weight * std::cos(angle);
        const double add_im = -weight * std::sin(angle);
        re += add_re;
        im += add_im;
        part_re += add_re;
        part_im += add_im;
        if (parts.re != nullptr && (j + 1) % per_part == 0) {
            parts.re[j / per_part] = part_re;
            parts.im[j / per_part] = part_im;
            part_re = 0.0;
            part_im = 0.0;
        }
    }
}

// One wide opening's mean by its slope and bend, as the lanes take it;
// false where it bends too much for that.
bool mean_by_moments(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im) {
    const double k = wave_number_per_mm(lab);
    const OpeningBend bend = opening_bend(wall, u0, lab.width_mm / 2.0);
    const double e = k * bend.bend_h2;
    if (e > 0.2) return false;
    const double t = k * bend.slope_h;
    const EvenMoments<double> m = even_moments<double>(t, std::cos(t), std::sin(t));
    const double mean_re = m.f0 - e * e / 2.0 * m.f4;
    const double mean_im = -e * m.f2;
    const double angle = std::remainder(k * path_beyond_middle(wall, u0), TWO_PI);
    const double zr = std::cos(angle), zi = -std::sin(angle);
    re = zr * mean_re - zi * mean_im;
    im = zr * mean_im + zi * mean_re;
    return true;
}

}  // namespace

void lab_opening_mean(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im,
                      OpeningParts parts) {
    const double k = wave_number_per_mm(lab);
    if (lab.width_mm <= 0.0) {
        const double angle = std::remainder(k * path_beyond_middle(wall, u0), TWO_PI);
        re = std::cos(angle);
        im = -std::sin(angle);
        return;
    }
    if (parts.re == nullptr && mean_by_moments(lab, wall, u0, re, im)) return;
    // A whole number of segments to each part.
    const int32_t per_part = (segments_needed(lab, wall, u0) + parts.count - 1) / parts.count;
    OpeningPaths paths;
    opening_paths(lab, wall, u0, per_part * parts.count, paths);
    opening_sum(paths, k, re, im, parts);
}

double lab_opening_turn(const LabSetting& lab, const Wall& wall, double u0) {
    const double half = lab.width_mm / 2.0;
    const double top = path_beyond_middle(wall, u0 - half);
    const double bottom = path_beyond_middle(wall, u0 + half);
    double variation = std::abs(top - bottom);
    // Nearest within the opening: the paths fall, then rise again.
    if (std::abs(wall.place - u0) < half) {
        const double nearest = path_beyond_middle(wall, wall.place);
        variation = (top - nearest) + (bottom - nearest);
    }
    return wave_number_per_mm(lab) * variation;
}

void lab_openings_by_segments(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                              int32_t count, double* intensities) {
    const int32_t slits = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    const Wall wall = wall_of(lab, place_mm);
    double sum_re[LAB_LANES] = {}, sum_im[LAB_LANES] = {};
    OpeningPaths paths;
    for (int32_t i = 1; i <= slits; ++i) {
        const double u0 = slit_height_mm(lab, i);
        opening_paths(lab, wall, u0, segments_needed(lab, wall, u0), paths);
        for (int32_t j = 0; j < count; ++j) {
            double re = 0.0, im = 0.0;
            opening_sum(paths, TWO_PI / (wavelengths_nm[j] * 1e-6), re, im);
            sum_re[j] += re;
            sum_im[j] += im;
        }
    }
    const double amplitude = TOTAL_AMPLITUDE / std::max(slits, 1);
    for (int32_t j = 0; j < count; ++j) {
        intensities[j] =
            amplitude * amplitude * (sum_re[j] * sum_re[j] + sum_im[j] * sum_im[j]) / 100.0;
    }
}
