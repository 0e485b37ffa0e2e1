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

// The mean of e^{-i k (r(u) - r(0))} over the opening around u0, by the
// program's one segment rule; a point slit's is its own term. With parts,
// the opening is cut into that many equal parts and each part's share of
// the mean is given too: the chords of the slit's arc, which add up to it.
struct OpeningParts {
    int32_t count = 1;
    double* re = nullptr;
    double* im = nullptr;
};
void opening_mean(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im,
                  OpeningParts parts = {}) {
    const double k = wave_number_per_mm(lab);
    if (lab.width_mm <= 0.0) {
        const double angle = std::remainder(k * path_beyond_middle(wall, u0), TWO_PI);
        re = std::cos(angle);
        im = -std::sin(angle);
        return;
    }
    const double half = lab.width_mm / 2.0;
    const double nearest =
        std::hypot(wall.distance, std::max(0.0, std::abs(wall.place - u0) - half));
    const double most =
        longest_segment(near_field_bending(k, wall.distance, nearest), PHASE_TOLERANCE);
    const auto needed = static_cast<int32_t>(
        std::clamp(std::ceil(lab.width_mm / most), 1.0, static_cast<double>(MOST_SEGMENTS)));
    // A whole number of segments to each part.
    const int32_t per_part = (needed + parts.count - 1) / parts.count;
    const int32_t segments = per_part * parts.count;
    const double h = lab.width_mm / segments;
    re = 0.0;
    im = 0.0;
    double part_re = 0.0, part_im = 0.0;
    for (int32_t j = 0; j < segments; ++j) {
        const double start = u0 - half + j * h;
        const double path_start = path_beyond_middle(wall, start);
        const double path_end = path_beyond_middle(wall, start + h);
        const double path_middle = path_beyond_middle(wall, start + h / 2.0);
        const double weight = secant_weight(k, path_start, path_end) / segments;
        const double angle = std::remainder(k * path_middle, TWO_PI);
        re += weight * std::cos(angle);
        im -= weight * std::sin(angle);
        part_re += weight * std::cos(angle);
        part_im -= weight * std::sin(angle);
        if (parts.re != nullptr && (j + 1) % per_part == 0) {
            parts.re[j / per_part] = part_re;
            parts.im[j / per_part] = part_im;
            part_re = 0.0;
            part_im = 0.0;
        }
    }
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
// along the slits stands (z, from the first slit's phase) and turns by (w, an
// even step), and the sum so far.
constexpr int32_t LANE_COUNT = 32;
struct Lanes {
    double k[LANE_COUNT];
    double z_re[LANE_COUNT], z_im[LANE_COUNT];
    double w_re[LANE_COUNT], w_im[LANE_COUNT];
    double sum_re[LANE_COUNT] = {}, sum_im[LANE_COUNT] = {};
};

// Adds slits 1..slits: z e^{-i k departure[i]} each, the last factor as its
// series (to the third power where SHORT, else to the fifth), then z turns.
template <bool SHORT>
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
            const double next = l.z_re[j] * l.w_re[j] - l.z_im[j] * l.w_im[j];
            l.z_im[j] = l.z_re[j] * l.w_im[j] + l.z_im[j] * l.w_re[j];
            l.z_re[j] = next;
        }
    }
}

// The lanes are the wall's whole cost: on a processor with four doubles to
// a register (every x86-64 has two) they run in those, the processor asked
// once.
#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target("avx2,fma")]] void step_wide_lanes(Lanes& l, const double* departure, int32_t slits,
                                                 bool short_series) {
    if (short_series) {
        step_lanes<true>(l, departure, slits);
    } else {
        step_lanes<false>(l, departure, slits);
    }
}

bool wide_registers() {
    static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return wide;
}
#else
void step_wide_lanes(Lanes&, const double*, int32_t, bool) {}
bool wide_registers() {
    return false;
}
#endif

void step_all_lanes(Lanes& l, const double* departure, int32_t slits, bool short_series) {
    if (wide_registers()) {
        step_wide_lanes(l, departure, slits, short_series);
    } else if (short_series) {
        step_lanes<true>(l, departure, slits);
    } else {
        step_lanes<false>(l, departure, slits);
    }
}

}  // namespace

namespace {

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
    if (lab.width_mm > 0.0 || slits < 3) {
        each_exactly(lab, place_mm, wavelengths_nm, count, intensities);
        return;
    }
    // Each slit's path beyond the middle, once for every wavelength: an even
    // step from the first slit's to the last's, and what each departs from it.
    const Wall wall = wall_of(lab, place_mm);
    double departure[SLIT_CAPACITY + 1];
    const double first = path_beyond_middle(wall, slit_height_mm(lab, 1));
    const double last = path_beyond_middle(wall, slit_height_mm(lab, slits));
    const double step = (last - first) / (slits - 1);
    double most = 0.0;
    for (int32_t i = 1; i <= slits; ++i) {
        departure[i] = path_beyond_middle(wall, slit_height_mm(lab, i)) - (first + (i - 1) * step);
        most = std::max(most, std::abs(departure[i]));
    }
    const double amplitude = TOTAL_AMPLITUDE / slits;
    // All wavelengths step along the slits together, in lanes of their own
    // (padded to a whole number of them, which a compiler can pair).
    Lanes lanes;
    double largest_k = 0.0;
    for (int32_t j = 0; j < LANE_COUNT; ++j) {
        if (j >= count) {
            lanes.k[j] = 0.0;
            lanes.z_re[j] = lanes.w_re[j] = 1.0;
            lanes.z_im[j] = lanes.w_im[j] = 0.0;
            continue;
        }
        const double k = TWO_PI / (wavelengths_nm[j] * 1e-6);
        largest_k = std::max(largest_k, k);
        const double start = std::remainder(k * first, TWO_PI);
        const double turn = std::remainder(k * step, TWO_PI);
        lanes.k[j] = k;
        lanes.z_re[j] = std::cos(start);
        lanes.z_im[j] = -std::sin(start);
        lanes.w_re[j] = std::cos(turn);
        lanes.w_im[j] = -std::sin(turn);
    }
    // The series to the fifth power errs by at most 0.1^6 / 720; below 0.01
    // the terms to the third power by at most 0.01^4 / 24. Beyond, or with
    // more wavelengths than lanes, each wavelength by itself, exactly.
    if (largest_k * most > 0.1 || count > LANE_COUNT) {
        each_exactly(lab, place_mm, wavelengths_nm, count, intensities);
        return;
    }
    step_all_lanes(lanes, departure, slits, largest_k * most <= 0.01);
    for (int32_t j = 0; j < count; ++j) {
        intensities[j] = amplitude * amplitude *
                         (lanes.sum_re[j] * lanes.sum_re[j] + lanes.sum_im[j] * lanes.sum_im[j]) /
                         100.0;
    }
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
