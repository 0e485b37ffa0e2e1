#include "optics/lab_light.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
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

bool mean_by_moments(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im);

// The mean of e^{-i k (r(u) - r(0))} over the opening around u0; a point
// slit's is its own term. A whole opening by its slope and bend where they
// hold (see WideOpenings), its parts by the segment rule.
void opening_mean(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im,
                  OpeningParts parts = {}) {
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
    if (slits < 2) return PathModel{.start = path[1]};
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
// (The phase less its whole turns, in one rounding: the lab's phases stay
// below a million radians, where that keeps them to 1e-10.)
void unit_turn(double k, double length, double& re, double& im) {
    const double phase = k * length;
    const double angle = std::fma(-std::rint(phase / TWO_PI), TWO_PI, phase);
    re = std::cos(angle);
    im = -std::sin(angle);
}

// A model of a sequence along the slits for the lanes: a line, or a cubic
// where a line leaves more than a tenth of a radian at the largest wave
// number; what each departs from it; and whether the lanes can follow it.
struct Fitted {
    PathModel model;
    bool cubic = false;
    double most = 0.0;  // the largest departure
};
Fitted fit_lanes(const double* values, int32_t slits, double largest_k, double* departure) {
    Fitted fit;
    fit.model = line_through(values, slits);
    fit.most = departures(fit.model, values, slits, departure);
    if (largest_k * fit.most > 0.1 && slits >= 4) {
        fit.cubic = true;
        fit.model = cubic_through(values, slits);
        fit.most = departures(fit.model, values, slits, departure);
    }
    return fit;
}

// The lanes of the first count wave numbers where the model starts; the
// others stand still at one.
void start_lanes(Lanes& l, const PathModel& m, bool cubic, int32_t count) {
    for (int32_t j = 0; j < LANE_COUNT; ++j) {
        if (j >= count) {
            l.z_re[j] = l.w_re[j] = l.v_re[j] = l.q_re[j] = 1.0;
            l.z_im[j] = l.w_im[j] = l.v_im[j] = l.q_im[j] = 0.0;
            continue;
        }
        unit_turn(l.k[j], m.start, l.z_re[j], l.z_im[j]);
        unit_turn(l.k[j], m.d1, l.w_re[j], l.w_im[j]);
        if (cubic) {
            unit_turn(l.k[j], m.d2, l.v_re[j], l.v_im[j]);
            unit_turn(l.k[j], m.d3, l.q_re[j], l.q_im[j]);
        } else {
            l.v_re[j] = l.q_re[j] = 1.0;
            l.v_im[j] = l.q_im[j] = 0.0;
        }
    }
}

// One lane at a time, or (where the compiler offers vectors) four side by
// side, with the same code.
template <typename V>
struct Pack;
template <>
struct Pack<double> {
    static constexpr int32_t WIDTH = 1;
    static double load(const double* p) { return *p; }
    static void store(double* p, double v) { *p = v; }
    static double all(double x) { return x; }
};
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// Every routine that takes Four is inlined into the one that runs with four
// doubles to a register, so no call passes one: the warning about how a
// call would pass it does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"
using Four = double __attribute__((vector_size(32)));
template <>
struct Pack<Four> {
    static constexpr int32_t WIDTH = 4;
    [[gnu::always_inline]] static Four load(const double* p) {
        Four v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    [[gnu::always_inline]] static void store(double* p, Four v) { std::memcpy(p, &v, sizeof v); }
    [[gnu::always_inline]] static Four all(double x) { return Four{x, x, x, x}; }
};
#endif

// The means over s from 0 to 1 of s^n cos(t s), n = 0, 2 and 4, given
// cos t and sin t: closed forms, or below t = 1 (where those cancel) their
// series to t^12 (the next term under 1e-10). Both are worked out and the
// one that holds is chosen, so that lanes side by side take one path; the
// series at most at 1, so that it stays finite.
constexpr int32_t MOMENT_TERMS = 7;
constexpr double moment_coefficient(int32_t n, int32_t m) {
    double factorial = 1.0;
    for (int32_t i = 2; i <= 2 * m; ++i)
        factorial *= i;
    return (m % 2 == 0 ? 1.0 : -1.0) / (factorial * (n + 2 * m + 1));
}
template <int32_t N>
constexpr std::array<double, MOMENT_TERMS> moment_series() {
    std::array<double, MOMENT_TERMS> c{};
    for (int32_t m = 0; m < MOMENT_TERMS; ++m)
        c[m] = moment_coefficient(N, m);
    return c;
}
constexpr auto SERIES_0 = moment_series<0>();
constexpr auto SERIES_2 = moment_series<2>();
constexpr auto SERIES_4 = moment_series<4>();

template <typename V>
[[gnu::always_inline]] inline V horner(const std::array<double, MOMENT_TERMS>& c, V x) {
    V sum = Pack<V>::all(c[MOMENT_TERMS - 1]);
#pragma GCC unroll 8
    for (int32_t m = MOMENT_TERMS - 2; m >= 0; --m)
        sum = sum * x + c[m];
    return sum;
}

template <typename V>
struct EvenMoments {
    V f0, f2, f4;
};
template <typename V>
[[gnu::always_inline]] inline EvenMoments<V> even_moments(V t, V c, V s) {
    const V one = Pack<V>::all(1.0);
    const V t2 = t * t;
    // Even in t: at |t| and sin |t|.
    const V at = t < 0.0 ? -t : t;
    const V as = t < 0.0 ? -s : s;
    const V inv = one / (at < 1.0 ? one : at), inv2 = inv * inv;
    const V c0 = as * inv;
    const V c2 = (t2 * as + 2.0 * at * c - 2.0 * as) * inv * inv2;
    const V c4 = (t2 * t2 * as + 4.0 * t2 * at * c - 12.0 * t2 * as - 24.0 * at * c + 24.0 * as) *
                 inv * inv2 * inv2;
    const V near = t2 < 1.0 ? t2 : one;
    return {at < 1.0 ? horner(SERIES_0, near) : c0, at < 1.0 ? horner(SERIES_2, near) : c2,
            at < 1.0 ? horner(SERIES_4, near) : c4};
}

// Wide openings, all wavelengths at once. Across an opening of half width h
// around its middle u the path runs r(u + v) = r(u) + a v + b v^2 + (terms
// that turn no wavelength by 1e-10 rad), a the slope and b half the
// curvature of the path there. The mean of e^{-i k (a v + b v^2)} over the
// opening is, with t = k a h and e = k b h^2 (at most 0.2 here),
// F0(t) - e^2 / 2 F4(t) - i e F2(t) (e^{-i e s^2} to its e^2 term, which
// errs by e^3 / 6), Fn the even moments above. The middles' phases, and
// e^{-i t} from slit to slit, come from lanes that follow each as a line or
// a cubic in the slit's number.
struct WideOpenings {
    double path[SLIT_CAPACITY + 1];
    double slope_h[SLIT_CAPACITY + 1];  // a h
    double bend_h2[SLIT_CAPACITY + 1];  // b h^2
    double path_departure[SLIT_CAPACITY + 1];
    double slope_departure[SLIT_CAPACITY + 1];
};

template <typename V>
[[gnu::always_inline]] inline void turn_pack(double* a_re, double* a_im, const double* b_re,
                                             const double* b_im) {
    const V ar = Pack<V>::load(a_re), ai = Pack<V>::load(a_im);
    const V br = Pack<V>::load(b_re), bi = Pack<V>::load(b_im);
    Pack<V>::store(a_re, ar * br - ai * bi);
    Pack<V>::store(a_im, ar * bi + ai * br);
}

// z e^{-i k departure}, the last factor as its series to the fifth power.
template <typename V>
[[gnu::always_inline]] inline void pack_value(const Lanes& l, int32_t j, double departure, V& re,
                                              V& im) {
    const V t = Pack<V>::load(l.k + j) * departure;
    const V t2 = t * t;
    const V c = 1.0 - t2 / 2.0 * (1.0 - t2 / 12.0);
    const V s = -t * (1.0 - t2 / 6.0 * (1.0 - t2 / 20.0));
    const V zr = Pack<V>::load(l.z_re + j), zi = Pack<V>::load(l.z_im + j);
    re = zr * c - zi * s;
    im = zr * s + zi * c;
}

template <typename V>
[[gnu::always_inline]] inline void advance_pack(Lanes& l, int32_t j, bool cubic) {
    turn_pack<V>(l.z_re + j, l.z_im + j, l.w_re + j, l.w_im + j);
    if (!cubic) return;
    turn_pack<V>(l.w_re + j, l.w_im + j, l.v_re + j, l.v_im + j);
    turn_pack<V>(l.v_re + j, l.v_im + j, l.q_re + j, l.q_im + j);
}

template <typename V, bool CUBIC>
[[gnu::always_inline]] inline void step_openings(Lanes& middles, Lanes& slopes,
                                                 const WideOpenings& w, int32_t slits) {
    for (int32_t i = 1; i <= slits; ++i) {
        for (int32_t j = 0; j < LANE_COUNT; j += Pack<V>::WIDTH) {
            V zr, zi, gr, gi;
            pack_value(middles, j, w.path_departure[i], zr, zi);
            pack_value(slopes, j, w.slope_departure[i], gr, gi);
            const V k = Pack<V>::load(middles.k + j);
            const V e = k * w.bend_h2[i];
            const EvenMoments<V> m = even_moments<V>(k * w.slope_h[i], gr, -gi);
            const V mean_re = m.f0 - e * e / 2.0 * m.f4;
            const V mean_im = -e * m.f2;
            Pack<V>::store(middles.sum_re + j,
                           Pack<V>::load(middles.sum_re + j) + zr * mean_re - zi * mean_im);
            Pack<V>::store(middles.sum_im + j,
                           Pack<V>::load(middles.sum_im + j) + zr * mean_im + zi * mean_re);
            advance_pack<V>(middles, j, CUBIC);
            advance_pack<V>(slopes, j, CUBIC);
        }
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("avx2,fma")]] void step_wide_openings(Lanes& middles, Lanes& slopes,
                                                    const WideOpenings& w, int32_t slits,
                                                    bool cubic) {
    cubic ? step_openings<Four, true>(middles, slopes, w, slits)
          : step_openings<Four, false>(middles, slopes, w, slits);
}
constexpr bool FOUR_AT_ONCE = true;
#else
void step_wide_openings(Lanes&, Lanes&, const WideOpenings&, int32_t, bool) {}
constexpr bool FOUR_AT_ONCE = false;
#endif

// One wide opening's mean by its slope and bend, as the lanes take it;
// false where it bends too much for that.
bool mean_by_moments(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im) {
    const double k = wave_number_per_mm(lab);
    const double h = lab.width_mm / 2.0;
    const double across = wall.place - u0;
    const double r = std::hypot(wall.distance, across);
    const double e = k * wall.distance * wall.distance / (2.0 * r * r * r) * h * h;
    if (e > 0.2) return false;
    const double t = -k * across / r * h;
    const EvenMoments<double> m = even_moments<double>(t, std::cos(t), std::sin(t));
    const double mean_re = m.f0 - e * e / 2.0 * m.f4;
    const double mean_im = -e * m.f2;
    const double angle = std::remainder(k * path_beyond_middle(wall, u0), TWO_PI);
    const double zr = std::cos(angle), zi = -std::sin(angle);
    re = zr * mean_re - zi * mean_im;
    im = zr * mean_im + zi * mean_re;
    return true;
}

// False where the lanes cannot follow the openings (the caller then
// integrates each opening by the segment rule).
bool wide_lanes(const LabSetting& lab, const Wall& wall, const double* wavelengths_nm,
                int32_t count, double* intensities) {
    const int32_t slits = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (slits == 0 || count > LANE_COUNT) return false;
    double largest_k = 0.0;
    for (int32_t j = 0; j < count; ++j)
        largest_k = std::max(largest_k, TWO_PI / (wavelengths_nm[j] * 1e-6));
    const double h = lab.width_mm / 2.0;
    WideOpenings w;
    double most_bend = 0.0;
    for (int32_t i = 1; i <= slits; ++i) {
        const double u = slit_height_mm(lab, i);
        const double across = wall.place - u;
        const double r = std::hypot(wall.distance, across);
        w.path[i] = path_beyond_middle(wall, u);
        w.slope_h[i] = -across / r * h;
        w.bend_h2[i] = wall.distance * wall.distance / (2.0 * r * r * r) * h * h;
        most_bend = std::max(most_bend, w.bend_h2[i]);
    }
    const Fitted middles_fit = fit_lanes(w.path, slits, largest_k, w.path_departure);
    const Fitted slopes_fit = fit_lanes(w.slope_h, slits, largest_k, w.slope_departure);
    if (largest_k * std::max(middles_fit.most, slopes_fit.most) > 0.1 ||
        largest_k * most_bend > 0.2) {
        return false;
    }
    // One loop steps both: a line is a cubic without its higher terms.
    const bool cubic = middles_fit.cubic || slopes_fit.cubic;
    Lanes middles, slopes;
    for (int32_t j = 0; j < LANE_COUNT; ++j)
        middles.k[j] = slopes.k[j] = j < count ? TWO_PI / (wavelengths_nm[j] * 1e-6) : 0.0;
    start_lanes(middles, middles_fit.model, cubic, count);
    start_lanes(slopes, slopes_fit.model, cubic, count);
    if (FOUR_AT_ONCE && wide_registers()) {
        step_wide_openings(middles, slopes, w, slits, cubic);
    } else if (cubic) {
        step_openings<double, true>(middles, slopes, w, slits);
    } else {
        step_openings<double, false>(middles, slopes, w, slits);
    }
    const double amplitude = TOTAL_AMPLITUDE / slits;
    for (int32_t j = 0; j < count; ++j) {
        intensities[j] =
            amplitude * amplitude *
            (middles.sum_re[j] * middles.sum_re[j] + middles.sum_im[j] * middles.sum_im[j]) / 100.0;
    }
    return true;
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
        if (!wide_lanes(lab, wall_of(lab, place_mm), wavelengths_nm, count, intensities))
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
    for (int32_t j = 0; j < LANE_COUNT; ++j)
        lanes.k[j] = j < count ? TWO_PI / (wavelengths_nm[j] * 1e-6) : 0.0;
    start_lanes(lanes, model, cubic, count);
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
