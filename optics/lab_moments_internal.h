#pragma once

// The mean over a wide opening by its slope and bend needs the moments of
// s^n cos(t s) over s from 0 to 1: here, for one lane or four side by side.

#include <array>
#include <cstdint>
#include <cstring>

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
// call would pass it does not apply, in the files that include this header.
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
    [[gnu::always_inline]] static void store(double* p, const Four& v) {
        std::memcpy(p, &v, sizeof v);
    }
    [[gnu::always_inline]] static Four all(double x) { return Four{x, x, x, x}; }
};
#endif

// The means over s from 0 to 1 of s^n cos(t s), n = 0, 2 and 4, given
// cos t and sin t: closed forms, or below t = 1 (where those cancel) their
// series to t^12 (the next term under 1e-10). Both are worked out and the
// one that holds is chosen, so that lanes side by side take one path; the
// series at most at 1, so that it stays finite.
inline constexpr int32_t MOMENT_TERMS = 7;
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
inline constexpr auto SERIES_0 = moment_series<0>();
inline constexpr auto SERIES_2 = moment_series<2>();
inline constexpr auto SERIES_4 = moment_series<4>();

template <typename V>
[[gnu::always_inline]] inline V horner(const std::array<double, MOMENT_TERMS>& c, const V& x) {
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
[[gnu::always_inline]] inline EvenMoments<V> even_moments(const V& t, const V& c, const V& s) {
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
