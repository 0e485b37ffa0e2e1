#include "optics/lab_light.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "optics/optics_internal.h"
#include "optics/segment_rule.h"

// Lengths in millimetres. A source u millimetres above the axis lies
// r(u) = sqrt(L^2 + (x - u)^2) from the place x on the wall; its path less
// the middle's, r(u) - r(0), is taken as (u^2 - 2 x u) / (r(u) + r(0)),
// which keeps every digit where the two distances agree to nine of them.

namespace {

constexpr double TWO_PI = 2.0 * std::numbers::pi;
constexpr double TOTAL_AMPLITUDE = 80.0;
constexpr int32_t MOST_SEGMENTS = 256;

struct Wall {
    double distance;  // L
    double place;     // x
    double middle;    // r(0)
};

Wall wall_of(const LabSetting& lab, double place_mm) {
    const double distance = lab.wall_m * 1000.0;
    return Wall{distance, place_mm, std::hypot(distance, place_mm)};
}

double path_beyond_middle(const Wall& wall, double u) {
    const double r = std::hypot(wall.distance, wall.place - u);
    return (u * u - 2.0 * wall.place * u) / (r + wall.middle);
}

double wave_number_per_mm(const LabSetting& lab) {
    return TWO_PI / (lab.wavelength_nm * 1e-6);
}

double slit_height_mm(const LabSetting& lab, int32_t slit) {
    return (static_cast<double>(slit) - (lab.slit_count + 1) / 2.0) * lab.spacing_mm;
}

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

// With parts, the opening is cut into that many equal parts and each part's
// share of the mean is given too: the chords of the slit's arc, which add up
// to it.
struct OpeningParts {
    int32_t count = 1;
    double* re = nullptr;
    double* im = nullptr;
};

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

// The mean of e^{-i k (r(u) - r(0))} over the opening around u0; a point
// slit's is its own term.
void opening_mean(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im,
                  OpeningParts parts = {}) {
    const double k = wave_number_per_mm(lab);
    if (lab.width_mm <= 0.0) {
        const double angle = std::remainder(k * path_beyond_middle(wall, u0), TWO_PI);
        re = std::cos(angle);
        im = -std::sin(angle);
        return;
    }
    // A whole number of segments to each part.
    const int32_t per_part = (segments_needed(lab, wall, u0) + parts.count - 1) / parts.count;
    OpeningPaths paths;
    opening_paths(lab, wall, u0, per_part * parts.count, paths);
    opening_sum(paths, k, re, im, parts);
}

// How far an opening's arc turns: k times how much the paths across it vary.
double opening_turn(const LabSetting& lab, const Wall& wall, double u0) {
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

// Up to 32 wavelengths side by side: each one's wave number, where the sum
// along the slits stands (z, from the first slit's phase), how it turns from
// one slit to the next (w), how that turn changes (v) and how that changes
// (q, constant), and the sum so far. Paths that step evenly leave v and q at
// one.
constexpr int32_t LANE_COUNT = 32;
struct Lanes {
    double k[LANE_COUNT];
    double z_re[LANE_COUNT], z_im[LANE_COUNT];
    double w_re[LANE_COUNT], w_im[LANE_COUNT];
    double v_re[LANE_COUNT], v_im[LANE_COUNT];
    double q_re[LANE_COUNT], q_im[LANE_COUNT];
    double sum_re[LANE_COUNT] = {}, sum_im[LANE_COUNT] = {};
};

// (a_re + i a_im) times (b_re + i b_im), into a.
[[gnu::always_inline]] inline void turn_by(double& a_re, double& a_im, double b_re, double b_im) {
    const double re = a_re * b_re - a_im * b_im;
    a_im = a_re * b_im + a_im * b_re;
    a_re = re;
}

// Adds slits 1..slits: z e^{-i k departure[i]} each, the last factor as its
// series (to the third power where SHORT, else to the fifth), then z turns by
// w (and where CUBIC w by v, v by q).
template <bool SHORT, bool CUBIC>
[[gnu::always_inline]] inline void step_lanes(Lanes& l, const double* departure, int32_t slits) {
    for (int32_t i = 1; i <= slits; ++i) {
        const double d = departure[i];
        for (int32_t j = 0; j < LANE_COUNT; ++j) {
            const double t = l.k[j] * d;
            const double t2 = t * t;
            const double c = SHORT ? 1.0 - t2 / 2.0 : 1.0 - t2 / 2.0 * (1.0 - t2 / 12.0);
            const double s =
                SHORT ? -t * (1.0 - t2 / 6.0) : -t * (1.0 - t2 / 6.0 * (1.0 - t2 / 20.0));
            l.sum_re[j] += l.z_re[j] * c - l.z_im[j] * s;
            l.sum_im[j] += l.z_re[j] * s + l.z_im[j] * c;
            turn_by(l.z_re[j], l.z_im[j], l.w_re[j], l.w_im[j]);
            if (CUBIC) {
                turn_by(l.w_re[j], l.w_im[j], l.v_re[j], l.v_im[j]);
                turn_by(l.v_re[j], l.v_im[j], l.q_re[j], l.q_im[j]);
            }
        }
    }
}

[[gnu::always_inline]] inline void step_lanes_by(Lanes& l, const double* departure, int32_t slits,
                                                 bool short_series, bool cubic) {
    if (cubic) {
        short_series ? step_lanes<true, true>(l, departure, slits)
                     : step_lanes<false, true>(l, departure, slits);
    } else {
        short_series ? step_lanes<true, false>(l, departure, slits)
                     : step_lanes<false, false>(l, departure, slits);
    }
}

// The lanes are the wall's whole cost: on a processor with four doubles to
// a register (every x86-64 has two) they run in those, the processor asked
// once.
#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target("avx2,fma")]] void step_wide_lanes(Lanes& l, const double* departure, int32_t slits,
                                                 bool short_series, bool cubic) {
    step_lanes_by(l, departure, slits, short_series, cubic);
}

bool wide_registers() {
    static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return wide;
}
#else
void step_wide_lanes(Lanes&, const double*, int32_t, bool, bool) {}
bool wide_registers() {
    return false;
}
#endif

void step_all_lanes(Lanes& l, const double* departure, int32_t slits, bool short_series,
                    bool cubic) {
    if (wide_registers()) {
        step_wide_lanes(l, departure, slits, short_series, cubic);
    } else {
        step_lanes_by(l, departure, slits, short_series, cubic);
    }
}

// The slits' paths as a polynomial in the slit's number, by its value and
// forward differences at the first slit: a line through the outer slits'
// paths, or (where the slits spread so far that the paths bend) a cubic
// through four slits spread along them.
struct PathModel {
    double start = 0, d1 = 0, d2 = 0, d3 = 0;
};

double model_at(const PathModel& m, int32_t slit) {
    const double n = slit - 1;
    return m.start + n * m.d1 + n * (n - 1) / 2.0 * m.d2 + n * (n - 1) * (n - 2) / 6.0 * m.d3;
}

PathModel line_through(const double* path, int32_t slits) {
    return PathModel{.start = path[1], .d1 = (path[slits] - path[1]) / (slits - 1)};
}

PathModel cubic_through(const double* path, int32_t slits) {
    const int32_t nodes[4] = {1, 1 + (slits - 1) / 3, 1 + 2 * (slits - 1) / 3, slits};
    double at[4];  // the cubic at slits 1 to 4, by Lagrange's formula
    for (int32_t t = 0; t < 4; ++t) {
        at[t] = 0.0;
        for (int32_t a = 0; a < 4; ++a) {
            double weight = 1.0;
            for (int32_t b = 0; b < 4; ++b) {
                if (b != a) weight *= static_cast<double>(t + 1 - nodes[b]) / (nodes[a] - nodes[b]);
            }
            at[t] += weight * path[nodes[a]];
        }
    }
    return PathModel{.start = at[0],
                     .d1 = at[1] - at[0],
                     .d2 = at[2] - 2.0 * at[1] + at[0],
                     .d3 = at[3] - 3.0 * at[2] + 3.0 * at[1] - at[0]};
}

// What each path departs from the model; the largest departure.
double departures(const PathModel& m, const double* path, int32_t slits, double* departure) {
    double most = 0.0;
    for (int32_t i = 1; i <= slits; ++i) {
        departure[i] = path[i] - model_at(m, i);
        most = std::max(most, std::abs(departure[i]));
    }
    return most;
}

// e^{-i k length}, its phase reduced before it is taken.
void unit_turn(double k, double length, double& re, double& im) {
    const double angle = std::remainder(k * length, TWO_PI);
    re = std::cos(angle);
    im = -std::sin(angle);
}

}  // namespace

namespace {

// Wide openings: each one's paths once, every wavelength's mean over them.
void wide_intensities(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                      int32_t count, double* intensities) {
    const int32_t slits = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    const Wall wall = wall_of(lab, place_mm);
    double sum_re[LANE_COUNT] = {}, sum_im[LANE_COUNT] = {};
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

// Each wavelength's intensity by itself, every source at its distance.
void each_exactly(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                  int32_t count, double* intensities) {
    LabSetting one = lab;
    for (int32_t j = 0; j < count; ++j) {
        one.wavelength_nm = wavelengths_nm[j];
        intensities[j] = lab_light(one, place_mm, 0.0).intensity;
    }
}

}  // namespace

LabLight lab_light(const LabSetting& lab, double place_mm, double phase) {
    LabLight light;
    const int32_t count = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (count == 0) return light;
    const Wall wall = wall_of(lab, place_mm);
    const double amplitude = TOTAL_AMPLITUDE / count;
    const double turn = std::remainder(phase, TWO_PI);
    const double c = std::cos(turn), s = std::sin(turn);
    for (int32_t i = 1; i <= count; ++i) {
        double re = 0.0, im = 0.0;
        opening_mean(lab, wall, slit_height_mm(lab, i), re, im);
        // e^{i phase} times the mean, drawn y-down.
        const double x = amplitude * (c * re - s * im);
        const double y = amplitude * (s * re + c * im);
        light.phasor_x[i] = x;
        light.phasor_y[i] = -y;
        light.sum_x += x;
        light.sum_y -= y;
    }
    light.intensity = (light.sum_x * light.sum_x + light.sum_y * light.sum_y) / 100.0;
    return light;
}

void lab_intensities(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                     int32_t count, double* intensities) {
    const int32_t slits = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (lab.width_mm > 0.0 && count <= LANE_COUNT) {
        wide_intensities(lab, place_mm, wavelengths_nm, count, intensities);
        return;
    }
    if (lab.width_mm > 0.0 || slits < 3) {
        each_exactly(lab, place_mm, wavelengths_nm, count, intensities);
        return;
    }
    // Each slit's path beyond the middle, once for every wavelength, as a
    // line or a cubic in the slit's number, and what each departs from it.
    const Wall wall = wall_of(lab, place_mm);
    double path[SLIT_CAPACITY + 1];
    for (int32_t i = 1; i <= slits; ++i)
        path[i] = path_beyond_middle(wall, slit_height_mm(lab, i));
    double largest_k = 0.0;
    for (int32_t j = 0; j < count; ++j)
        largest_k = std::max(largest_k, TWO_PI / (wavelengths_nm[j] * 1e-6));
    double departure[SLIT_CAPACITY + 1];
    PathModel model = line_through(path, slits);
    double most = departures(model, path, slits, departure);
    const bool cubic = largest_k * most > 0.1 && slits >= 4;
    if (cubic) {
        model = cubic_through(path, slits);
        most = departures(model, path, slits, departure);
    }
    // The series to the fifth power errs by at most 0.1^6 / 720; below 0.01
    // the terms to the third power by at most 0.01^4 / 24. Beyond, or with
    // more wavelengths than lanes, each wavelength by itself, exactly.
    if (largest_k * most > 0.1 || count > LANE_COUNT) {
        each_exactly(lab, place_mm, wavelengths_nm, count, intensities);
        return;
    }
    // All wavelengths step along the slits together, in lanes of their own
    // (padded to a whole number of them, which a compiler can pair).
    Lanes lanes;
    for (int32_t j = 0; j < LANE_COUNT; ++j) {
        lanes.k[j] = j < count ? TWO_PI / (wavelengths_nm[j] * 1e-6) : 0.0;
        unit_turn(lanes.k[j], model.start, lanes.z_re[j], lanes.z_im[j]);
        unit_turn(lanes.k[j], model.d1, lanes.w_re[j], lanes.w_im[j]);
        if (cubic) {
            unit_turn(lanes.k[j], model.d2, lanes.v_re[j], lanes.v_im[j]);
            unit_turn(lanes.k[j], model.d3, lanes.q_re[j], lanes.q_im[j]);
        }
    }
    step_all_lanes(lanes, departure, slits, largest_k * most <= 0.01, cubic);
    const double amplitude = TOTAL_AMPLITUDE / slits;
    for (int32_t j = 0; j < count; ++j) {
        intensities[j] = amplitude * amplitude *
                         (lanes.sum_re[j] * lanes.sum_re[j] + lanes.sum_im[j] * lanes.sum_im[j]) /
                         100.0;
    }
}

double lab_period_mean(const LabSetting& lab, double place_mm) {
    const int32_t count = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (count == 0) return 0.0;
    const double amplitude = TOTAL_AMPLITUDE / count;
    if (lab.width_mm <= 0.0) return count * amplitude * amplitude / 100.0;
    const Wall wall = wall_of(lab, place_mm);
    double sum = 0.0;
    for (int32_t i = 1; i <= count; ++i) {
        double re = 0.0, im = 0.0;
        opening_mean(lab, wall, slit_height_mm(lab, i), re, im);
        sum += re * re + im * im;
    }
    return amplitude * amplitude * sum / 100.0;
}

double lab_angle(const LabSetting& lab, double place_mm) {
    return std::atan2(place_mm, lab.wall_m * 1000.0);
}

double order_place_mm(const LabSetting& lab, int32_t order) {
    const double sine = order * lab.wavelength_nm * 1e-6 / lab.spacing_mm;
    if (!(std::abs(sine) < 1.0)) return std::nan("");
    return lab.wall_m * 1000.0 * std::tan(std::asin(sine));
}

double lab_path_difference_nm(const LabSetting& lab, double place_mm) {
    const Wall wall = wall_of(lab, place_mm);
    double upper = lab.width_mm / 2.0, lower = -upper;
    if (lab.slit_count > 1) {
        const int32_t middle = (lab.slit_count + 1) / 2;
        lower = slit_height_mm(lab, middle);
        upper = lower + lab.spacing_mm;
    }
    return (path_beyond_middle(wall, lower) - path_beyond_middle(wall, upper)) * 1e6;
}

double lab_fringe_period_mm(const LabSetting& lab, double place_mm) {
    const double across = lab.slit_count > 1 ? lab.spacing_mm : lab.width_mm;
    if (!(across > 0.0)) return std::numeric_limits<double>::infinity();
    const double c = std::cos(lab_angle(lab, place_mm));
    return lab.wavelength_nm * 1e-6 * lab.wall_m * 1000.0 / (across * c * c * c);
}

double lab_fresnel_number(const LabSetting& lab) {
    const double a = ((lab.slit_count - 1) * lab.spacing_mm + lab.width_mm) / 2.0;
    return a * a / (lab.wavelength_nm * 1e-6 * lab.wall_m * 1000.0);
}

PhasorSet lab_phasor_set(const SlitSetting& setting, float phase, double detector_y,
                         ArcChords* chords) {
    const double place = (setting.axis_y - detector_y) * setting.lab_scale_mm;
    const LabLight light = lab_light(setting.lab_setting, place, phase);
    PhasorSet set;
    slit_path_lengths(setting, set.path_length);  // the sketch's
    const LabSetting& lab = setting.lab_setting;
    const int32_t count = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    for (int32_t i = 1; i <= count; ++i) {
        set.phasor_x[i] = static_cast<float>(light.phasor_x[i]);
        set.phasor_y[i] = static_cast<float>(light.phasor_y[i]);
        if (chords == nullptr) continue;
        if (lab.width_mm <= 0.0) {
            chords->count[i] = 1;
            chords->dx[i][0] = set.phasor_x[i];
            chords->dy[i][0] = set.phasor_y[i];
            continue;
        }
        // A wide opening's arc: its parts' shares, turned to the phase
        // as the phasor is, y down.
        const Wall wall = wall_of(lab, place);
        const double amplitude = TOTAL_AMPLITUDE / count;
        const double u0 = slit_height_mm(lab, i);
        double part_re[MAX_SLIT_CHORDS], part_im[MAX_SLIT_CHORDS];
        const int32_t parts =
            arc_chord_count(opening_turn(lab, wall, u0), amplitude, MAX_SLIT_CHORDS);
        double re = 0.0, im = 0.0;
        opening_mean(lab, wall, u0, re, im, OpeningParts{parts, part_re, part_im});
        const double turn = std::remainder(static_cast<double>(phase), TWO_PI);
        const double c = std::cos(turn), s = std::sin(turn);
        chords->count[i] = parts;
        for (int32_t j = 0; j < parts; ++j) {
            chords->dx[i][j] = static_cast<float>(amplitude * (c * part_re[j] - s * part_im[j]));
            chords->dy[i][j] = static_cast<float>(-amplitude * (s * part_re[j] + c * part_im[j]));
        }
    }
    if (chords != nullptr) {
        for (int32_t i = count + 1; i <= SLIT_CAPACITY; ++i)
            chords->count[i] = 0;
    }
    set.sum_x = static_cast<float>(light.sum_x);
    set.sum_y = static_cast<float>(light.sum_y);
    return set;
}
