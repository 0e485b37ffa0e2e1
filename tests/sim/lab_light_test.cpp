#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "optics/lab_light.h"
#include "optics/optics.h"

// The light of a lab setting against textbook facts and an independent
// integral: every source of every opening summed at its own distance in
// long double, with no rule of the program's.

namespace {

using Complex = std::complex<long double>;

// The intensity at the place from `points` point sources across each
// opening (one where the slits are points).
double brute_intensity(const LabSetting& lab, double place_mm, int32_t points) {
    const long double k = 2.0L * 3.14159265358979323846L / (lab.wavelength_nm * 1e-6L);
    const long double distance = lab.wall_m * 1000.0L;
    const int32_t n = lab.width_mm > 0 ? points : 1;
    Complex sum = 0;
    for (int32_t i = 1; i <= lab.slit_count; ++i) {
        const long double middle = (i - (lab.slit_count + 1) / 2.0L) * lab.spacing_mm;
        for (int32_t j = 0; j < n; ++j) {
            const long double u = middle + lab.width_mm * ((j + 0.5L) / n - 0.5L);
            const long double r = std::sqrt(distance * distance + (place_mm - u) * (place_mm - u));
            sum += std::polar(80.0L / (lab.slit_count * n), -k * r);
        }
    }
    return static_cast<double>(std::norm(sum) / 100.0L);
}

// The place of the brightest row within `rows` rows of scale mm around x.
double brightest_near(const LabSetting& lab, double x, double scale, int32_t rows) {
    double best = x, most = -1;
    for (int32_t r = -rows; r <= rows; ++r) {
        const double place = x + r * scale;
        const double intensity = lab_light(lab, place, 0.0).intensity;
        if (intensity > most) {
            most = intensity;
            best = place;
        }
    }
    return best;
}

TEST(LabLight, AgreesWithTheSumOverEverySource) {
    struct Case {
        LabSetting lab;
        double place_mm;
    };
    const Case cases[] = {
        {{.slit_count = 2, .wavelength_nm = 532, .spacing_mm = 0.2}, 1.3},
        {{.slit_count = 2, .wavelength_nm = 650, .spacing_mm = 0.5, .width_mm = 0.1}, 2.1},
        {{.slit_count = 1, .wavelength_nm = 405, .spacing_mm = 0.2, .width_mm = 0.1, .wall_m = 0.5},
         1.7},
        // Near the slits: a Fresnel number above one.
        {{.slit_count = 3,
          .wavelength_nm = 532,
          .spacing_mm = 0.5,
          .width_mm = 0.08,
          .wall_m = 0.5},
         0.4},
        {{.slit_count = 50, .wavelength_nm = 589, .spacing_mm = 1.0 / 600}, 200.0},
        {{.slit_count = 8, .wavelength_nm = 450, .spacing_mm = 0.1, .wall_m = 5}, -31.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lab.slit_count << " slits, " << c.lab.wavelength_nm
                                        << " nm, at " << c.place_mm << " mm");
        const double exact = brute_intensity(c.lab, c.place_mm, 4000);
        EXPECT_NEAR(lab_light(c.lab, c.place_mm, 0.3).intensity, exact, 1e-3 * 64);
    }
}

TEST(LabLight, OrdersLieWhereTheGratingEquationPutsThemOnAFlatWall) {
    // 600 lines per mm at 1 m: x = L tan(asin(m lambda / d)), worked by hand.
    struct Case {
        double wavelength_nm;
        double first_order_mm;
    };
    for (const Case c : {Case{400, 247.226}, Case{532, 336.820}, Case{700, 462.798}}) {
        const LabSetting grating{
            .slit_count = 50, .wavelength_nm = c.wavelength_nm, .spacing_mm = 1.0 / 600};
        EXPECT_NEAR(order_place_mm(grating, 1), c.first_order_mm, 1e-3);
        EXPECT_NEAR(order_place_mm(grating, -1), -c.first_order_mm, 1e-3);
        // The exact light's brightest row at 0.1 mm a row is the order's.
        EXPECT_NEAR(brightest_near(grating, c.first_order_mm, 0.1, 20), c.first_order_mm, 0.1);
        EXPECT_NEAR(lab_light(grating, order_place_mm(grating, 1), 0).intensity, 64.0, 0.5);
    }
    // 650 nm: the third order would lie beyond 90 degrees.
    const LabSetting red{.slit_count = 50, .wavelength_nm = 650, .spacing_mm = 1.0 / 600};
    EXPECT_FALSE(std::isnan(order_place_mm(red, 2)));
    EXPECT_TRUE(std::isnan(order_place_mm(red, 3)));
}

TEST(LabLight, ADoubleSlitMissesTheOrderItsSlitsDarken) {
    // d = 2 b: the single slit's first minimum falls on the second order,
    // and the first order carries sinc^2(pi / 2) of the light.
    const LabSetting lab{.slit_count = 2, .wavelength_nm = 532, .spacing_mm = 0.2, .width_mm = 0.1};
    EXPECT_NEAR(order_place_mm(lab, 1), 2.66001, 1e-4);
    EXPECT_LT(lab_light(lab, order_place_mm(lab, 2), 0).intensity, 0.05);
    EXPECT_NEAR(lab_light(lab, order_place_mm(lab, 1), 0).intensity, 25.94, 0.1);
    // On the axis all but the openings' own curvature at 1 m (0.08 of 64).
    EXPECT_NEAR(lab_light(lab, 0.0, 0).intensity, 64.0, 0.1);
}

TEST(LabLight, ReadoutsOfPathAndFresnelNumber) {
    const LabSetting lab{.slit_count = 2, .wavelength_nm = 532, .spacing_mm = 0.2};
    // One wavelength at the first order, half of one at the first minimum.
    EXPECT_NEAR(lab_path_difference_nm(lab, order_place_mm(lab, 1)), 532.0, 0.01);
    EXPECT_NEAR(lab_path_difference_nm(lab, -order_place_mm(lab, 1)), -532.0, 0.01);
    EXPECT_NEAR(lab_path_difference_nm(lab, 0.0), 0.0, 1e-12);
    // a = 0.1 mm: 0.01 mm^2 / (532e-6 mm x 1000 mm).
    EXPECT_NEAR(lab_fresnel_number(lab), 0.018797, 1e-6);
    // One slit: between its opening's edges, b sin(angle) at the first minimum.
    const LabSetting one{.slit_count = 1, .wavelength_nm = 532, .spacing_mm = 0.2, .width_mm = 0.1};
    const double minimum = 1000.0 * std::tan(std::asin(532e-6 / 0.1));
    EXPECT_NEAR(lab_path_difference_nm(one, minimum), 532.0, 0.01);
    EXPECT_NEAR(lab_light(one, minimum, 0).intensity, 0.0, 0.01);
    EXPECT_NEAR(lab_angle(one, 1000.0), std::numbers::pi / 4, 1e-15);
    // Fringes L lambda / d apart on the axis, 1 / cos^3 wider at 45 degrees.
    EXPECT_NEAR(lab_fringe_period_mm(lab, 0.0), 2.66, 1e-9);
    EXPECT_NEAR(lab_fringe_period_mm(lab, 1000.0), 2.66 * std::pow(2.0, 1.5), 1e-9);
    EXPECT_NEAR(lab_fringe_period_mm(one, 0.0), 5.32, 1e-9);
    EXPECT_TRUE(std::isinf(lab_fringe_period_mm(LabSetting{.slit_count = 1}, 0.0)));
}

// Where fringes are finer than the rows, a row shows their period's mean:
// the brute-force intensity averaged over one period (64 places) agrees
// with it, for point slits (64 / N) and for wide ones.
TEST(LabLight, APeriodsMeanIsTheAverageOverItsFringes) {
    const LabSetting cases[] = {
        {.slit_count = 8, .spacing_mm = 0.5},
        {.slit_count = 8, .spacing_mm = 0.5, .width_mm = 0.1},
        {.slit_count = 50, .wavelength_nm = 405, .spacing_mm = 0.3, .width_mm = 0.08},
    };
    for (const LabSetting& lab : cases) {
        for (const double place : {0.0, 7.3, 41.0}) {
            const double period = lab_fringe_period_mm(lab, place);
            double mean = 0;
            for (int32_t n = 0; n < 64; ++n)
                mean += brute_intensity(lab, place + period * ((n + 0.5) / 64 - 0.5), 100) / 64;
            EXPECT_NEAR(lab_period_mean(lab, place), mean, 0.02 * 64 / lab.slit_count)
                << lab.slit_count << " slits " << lab.width_mm << " mm wide at " << place;
        }
    }
}

// All wavelengths at once: point slits exactly as one at a time; wide slits
// (each opening's middle, slope and bend) within 0.002 of the sum over 400
// points of every opening, as one at a time is.
TEST(LabLight, ManyWavelengthsAtOnceAgreeWithOneAtATime) {
    double bands[31];
    for (int32_t j = 0; j < 31; ++j)
        bands[j] = 400.0 + 10.0 * j;
    const LabSetting cases[] = {
        {.slit_count = 50, .spacing_mm = 1.0 / 600},
        {.slit_count = 8, .spacing_mm = 0.5, .wall_m = 0.5},  // far from an even step
        {.slit_count = 25, .spacing_mm = 0.01, .wall_m = 5},
        // Slits spread 24.5 mm: their paths bend, a cubic follows them.
        {.slit_count = 50, .spacing_mm = 0.5, .wall_m = 0.5},
        {.slit_count = 40, .spacing_mm = 0.3},
        {.slit_count = 1, .width_mm = 0.1, .wall_m = 0.5},
        {.slit_count = 2, .spacing_mm = 0.2, .width_mm = 0.05},
        {.slit_count = 3, .spacing_mm = 0.1, .width_mm = 0.05},
        {.slit_count = 50, .spacing_mm = 0.5, .width_mm = 0.1, .wall_m = 0.5},
    };
    for (const LabSetting& lab : cases) {
        for (const double place : {0.0, 3.7, -250.0, 1500.0}) {
            double together[31];
            lab_intensities(lab, place, bands, 31, together);
            for (int32_t j = 0; j<31; j += lab.width_mm> 0 ? 5 : 1) {
                LabSetting one = lab;
                one.wavelength_nm = bands[j];
                const double alone = lab_light(one, place, 0).intensity;
                if (lab.width_mm > 0) {
                    ASSERT_NEAR(together[j], brute_intensity(one, place, 400), 0.002)
                        << lab.slit_count << " slits at " << place << " mm, " << bands[j] << " nm";
                    ASSERT_NEAR(alone, brute_intensity(one, place, 400), 0.002);
                } else {
                    ASSERT_NEAR(together[j], alone, 1e-6)
                        << lab.slit_count << " slits at " << place << " mm, " << bands[j] << " nm";
                }
            }
        }
    }
}

}  // namespace

// A wide slit's arc in the chain: its chords add up to the slit's phasor
// (within the segment rule's 0.002 rad of its amplitude) and turn, from the
// first to the last, by k b sin(theta) of the slit's own angle (all but one
// chord's share of it).
TEST(LabLight, AWideSlitsChordsTraceItsArc) {
    SlitSetting setting;
    setting.lab = true;
    setting.lab_setting = LabSetting{.slit_count = 2, .width_mm = 0.1};
    setting.lab_scale_mm = 0.1;
    setting.axis_y = 240;
    setting.detector_offset = 27;  // 2.7 mm above the axis
    ArcChords chords;
    const PhasorSet set = light_of(setting, 0.4f, &chords);
    const double k = 2.0 * std::acos(-1.0) / 532e-6;
    for (int32_t i = 1; i <= 2; ++i) {
        const int32_t n = chords.count[i];
        ASSERT_GE(n, 8) << i;  // an amplitude of 40: eight chords at least
        std::complex<double> sum = 0;
        for (int32_t j = 0; j < n; ++j)
            sum += std::complex<double>(chords.dx[i][j], chords.dy[i][j]);
        EXPECT_NEAR(sum.real(), set.phasor_x[i], 40 * 0.002) << i;
        EXPECT_NEAR(sum.imag(), set.phasor_y[i], 40 * 0.002) << i;
        const double across = 2.7 - (i == 1 ? -0.1 : 0.1);  // the wall's place less the slit's
        const double turn = k * 0.1 * across / std::hypot(1000.0, across);
        const std::complex<double> first(chords.dx[i][0], chords.dy[i][0]);
        const std::complex<double> last(chords.dx[i][n - 1], chords.dy[i][n - 1]);
        EXPECT_NEAR(std::abs(std::arg(last / first)), turn * (n - 1) / n, 2e-3) << i;
    }
    EXPECT_EQ(chords.count[3], 0);
}
