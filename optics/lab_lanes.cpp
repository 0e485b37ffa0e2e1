#include <algorithm>
#include <cmath>

#include "optics/lab_internal.h"
#include "optics/lab_light.h"
#include "optics/lab_moments_internal.h"

// All wavelengths of a place at once: the wall's whole cost. The sum along
// the slits turns from slit to slit by the same rotation in each wavelength's
// lane, with each slit's small departure from it taken as a series.

namespace {

// Up to 32 wavelengths side by side: each one's wave number, where the sum
// along the slits stands (z, from the first slit's phase), how it turns from
// one slit to the next (w), how that turn changes (v) and how that changes
// (q, constant), and the sum so far. Paths that step evenly leave v and q at
// one.
constexpr int32_t LANE_COUNT = LAB_LANES;
struct Lanes {
    double k[LANE_COUNT];
    double z_re[LANE_COUNT], z_im[LANE_COUNT];
    double w_re[LANE_COUNT], w_im[LANE_COUNT];
    double v_re[LANE_COUNT], v_im[LANE_COUNT];
    double q_re[LANE_COUNT], q_im[LANE_COUNT];
    double sum_re[LANE_COUNT] = {}, sum_im[LANE_COUNT] = {};
};

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

// z e^{-i k departure}, the last factor as its series (to the third power
// where SHORT, else to the fifth).
template <typename V, bool SHORT = false>
[[gnu::always_inline]] inline void pack_value(const Lanes& l, int32_t j, double departure, V& re,
                                              V& im) {
    const V t = Pack<V>::load(l.k + j) * departure;
    const V t2 = t * t;
    const V c = SHORT ? 1.0 - t2 / 2.0 : 1.0 - t2 / 2.0 * (1.0 - t2 / 12.0);
    const V s = SHORT ? -t * (1.0 - t2 / 6.0) : -t * (1.0 - t2 / 6.0 * (1.0 - t2 / 20.0));
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

// Adds re + i im to the lanes' sums from lane j on.
template <typename V>
[[gnu::always_inline]] inline void add_pack(Lanes& l, int32_t j, const V& re, const V& im) {
    Pack<V>::store(l.sum_re + j, Pack<V>::load(l.sum_re + j) + re);
    Pack<V>::store(l.sum_im + j, Pack<V>::load(l.sum_im + j) + im);
}

// Point slits: adds slits 1..slits, z e^{-i k departure[i]} each, then z
// turns by w (and where CUBIC w by v, v by q).
template <typename V, bool SHORT, bool CUBIC>
[[gnu::always_inline]] inline void step_points(Lanes& l, const double* departure, int32_t slits) {
    for (int32_t i = 1; i <= slits; ++i) {
        for (int32_t j = 0; j < LANE_COUNT; j += Pack<V>::WIDTH) {
            V re, im;
            pack_value<V, SHORT>(l, j, departure[i], re, im);
            add_pack<V>(l, j, re, im);
            advance_pack<V>(l, j, CUBIC);
        }
    }
}

template <typename V>
[[gnu::always_inline]] inline void step_points_by(Lanes& l, const double* departure, int32_t slits,
                                                  bool short_series, bool cubic) {
    if (cubic) {
        short_series ? step_points<V, true, true>(l, departure, slits)
                     : step_points<V, false, true>(l, departure, slits);
    } else {
        short_series ? step_points<V, true, false>(l, departure, slits)
                     : step_points<V, false, false>(l, departure, slits);
    }
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
            add_pack<V>(middles, j, zr * mean_re - zi * mean_im, zr * mean_im + zi * mean_re);
            advance_pack<V>(middles, j, CUBIC);
            advance_pack<V>(slopes, j, CUBIC);
        }
    }
}

// The lanes are the wall's whole cost: on a processor with four doubles to
// a register (every x86-64 has two) they run four at once, the processor
// asked once; elsewhere one at a time, which a compiler may pair.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("avx2,fma")]] void step_points_four(Lanes& l, const double* departure, int32_t slits,
                                                  bool short_series, bool cubic) {
    step_points_by<Four>(l, departure, slits, short_series, cubic);
}
[[gnu::target("avx2,fma")]] void step_openings_four(Lanes& middles, Lanes& slopes,
                                                    const WideOpenings& w, int32_t slits,
                                                    bool cubic) {
    cubic ? step_openings<Four, true>(middles, slopes, w, slits)
          : step_openings<Four, false>(middles, slopes, w, slits);
}
bool four_at_once() {
    static const bool four = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return four;
}
#else
void step_points_four(Lanes&, const double*, int32_t, bool, bool) {}
void step_openings_four(Lanes&, Lanes&, const WideOpenings&, int32_t, bool) {}
bool four_at_once() {
    return false;
}
#endif

void step_all_points(Lanes& l, const double* departure, int32_t slits, bool short_series,
                     bool cubic) {
    if (four_at_once()) {
        step_points_four(l, departure, slits, short_series, cubic);
    } else {
        step_points_by<double>(l, departure, slits, short_series, cubic);
    }
}

void step_all_openings(Lanes& middles, Lanes& slopes, const WideOpenings& w, int32_t slits,
                       bool cubic) {
    if (four_at_once()) {
        step_openings_four(middles, slopes, w, slits, cubic);
    } else if (cubic) {
        step_openings<double, true>(middles, slopes, w, slits);
    } else {
        step_openings<double, false>(middles, slopes, w, slits);
    }
}

// Each wavelength's intensity (of 64) from its lane's sum.
void lane_intensities(const Lanes& l, int32_t slits, int32_t count, double* intensities) {
    const double amplitude = TOTAL_AMPLITUDE / slits;
    for (int32_t j = 0; j < count; ++j) {
        intensities[j] =
            amplitude * amplitude * (l.sum_re[j] * l.sum_re[j] + l.sum_im[j] * l.sum_im[j]) / 100.0;
    }
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
        const OpeningBend bend = opening_bend(wall, u, h);
        w.path[i] = path_beyond_middle(wall, u);
        w.slope_h[i] = bend.slope_h;
        w.bend_h2[i] = bend.bend_h2;
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
    step_all_openings(middles, slopes, w, slits, cubic);
    lane_intensities(middles, slits, count, intensities);
    return true;
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

void lab_intensities(const LabSetting& lab, double place_mm, const double* wavelengths_nm,
                     int32_t count, double* intensities) {
    const int32_t slits = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (lab.width_mm > 0.0 && count <= LANE_COUNT) {
        if (!wide_lanes(lab, wall_of(lab, place_mm), wavelengths_nm, count, intensities))
            lab_openings_by_segments(lab, place_mm, wavelengths_nm, count, intensities);
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
    const Fitted fit = fit_lanes(path, slits, largest_k, departure);
    // The series to the fifth power errs by at most 0.1^6 / 720; below 0.01
    // the terms to the third power by at most 0.01^4 / 24. Beyond, or with
    // more wavelengths than lanes, each wavelength by itself, exactly.
    if (largest_k * fit.most > 0.1 || count > LANE_COUNT) {
        each_exactly(lab, place_mm, wavelengths_nm, count, intensities);
        return;
    }
    // All wavelengths step along the slits together, in lanes of their own
    // (padded to a whole number of them, which a compiler can pair).
    Lanes lanes;
    for (int32_t j = 0; j < LANE_COUNT; ++j)
        lanes.k[j] = j < count ? TWO_PI / (wavelengths_nm[j] * 1e-6) : 0.0;
    start_lanes(lanes, fit.model, fit.cubic, count);
    step_all_points(lanes, departure, slits, largest_k * fit.most <= 0.01, fit.cubic);
    lane_intensities(lanes, slits, count, intensities);
}
