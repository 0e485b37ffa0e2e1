#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "lessons/lab_wall.h"

// The wall's colours and each row's mix, against the colours of the
// spectrum and the places the grating equation gives.

namespace {

int32_t largest_share(const WallRow& row) {
    return static_cast<int32_t>(std::max_element(std::begin(row.share), std::end(row.share)) -
                                std::begin(row.share));
}

double place_of_order(double nanometres, double spacing_mm, int32_t order) {
    return 1000.0 * std::tan(std::asin(order * nanometres * 1e-6 / spacing_mm));
}

TEST(LabWall, ColoursFollowTheSpectrumAndTellNeighboursApart) {
    EXPECT_EQ(spectral_colour(650), (Rgb{255, 0, 0}));
    const Rgb green = spectral_colour(532);
    EXPECT_EQ(green.green, 255);
    EXPECT_LT(green.red, 128);
    EXPECT_EQ(spectral_colour(450).blue, 255);
    EXPECT_EQ(spectral_colour(300), Rgb{});
    EXPECT_EQ(spectral_colour(800), Rgb{});
    const double lines[] = {405, 450, 532, 589, 632.8, 650};
    for (size_t i = 0; i + 1 < std::size(lines); ++i) {
        const Rgb a = spectral_colour(lines[i]), b = spectral_colour(lines[i + 1]);
        const int32_t apart = std::max(
            {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
        EXPECT_GE(apart, 48) << lines[i] << " and " << lines[i + 1] << " nm";
    }
}

TEST(LabWall, ARowIsLitAsTheRootOfItsIntensityAndDithered) {
    const LabValues values;  // 532 nm through two slits 0.2 mm apart, 1 m
    WallRow row = wall_row(values, 0.0);
    EXPECT_NEAR(row.intensity, 64.0, 1e-9);
    EXPECT_NEAR(row.share[0], 1.0, 1e-9);
    // The first minimum, where the paths differ by half a wavelength.
    row = wall_row(values, place_of_order(532 / 2.0, 0.2, 1));
    EXPECT_LT(row.share[0], 1e-3);
    // A quarter of the light shows half the pixels: 8 of every 4 x 4.
    row = WallRow{.share = {0.5}, .intensity = 16};
    int32_t lit = 0;
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            lit += wall_slot_at(row, x + 40, y + 100) == 0 ? 1 : 0;
    EXPECT_EQ(lit, 8);
}

TEST(LabWall, LinesShareARowByTheirIntensities) {
    LabValues values;
    step_lab_lines(values);  // 532 and 650 nm
    ASSERT_EQ(wall_colours(values).count, 2);
    EXPECT_EQ(largest_share(wall_row(values, place_of_order(650, 0.2, 1))), 1);
    EXPECT_EQ(largest_share(wall_row(values, place_of_order(532, 0.2, 1))), 0);
}

TEST(LabWall, WhiteLightIsWhiteInTheZeroOrderAndFansOutVioletInsideRedOutside) {
    LabValues values{.spacing = 0};  // 600 lines per mm
    while (step_lab_value(values, LabList::slit_count, +1) == LabStep::moved) {
    }
    for (int32_t i = 0; i < 3; ++i)
        step_lab_lines(values);
    ASSERT_EQ(values.lines, LabLines::white);
    const WallColours colours = wall_colours(values);
    EXPECT_EQ(colours.colour[6], (Rgb{255, 255, 255}));
    EXPECT_EQ(largest_share(wall_row(values, 0.0)), 6);
    const double spacing = 1.0 / 600;
    const int32_t violet = largest_share(wall_row(values, place_of_order(400, spacing, 1)));
    const int32_t red = largest_share(wall_row(values, place_of_order(700, spacing, 1)));
    EXPECT_EQ(violet, 0);
    EXPECT_EQ(red, 5);
}

}  // namespace
