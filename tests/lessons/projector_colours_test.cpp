#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/sim.h"

namespace {

using Rgb = std::array<double, 3>;  // linear components 0..1

// The screen's palette entry as the display shows it (0x00BBGGRR).
Rgb linear_colour(uint32_t entry) {
    const uint32_t c = active_screen()->palette[entry];
    Rgb rgb{};
    for (int i = 0; i < 3; ++i) {
        const double v = ((c >> (8 * i)) & 0xFF) / 255.0;
        rgb[i] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    }
    return rgb;
}

// WCAG 2: relative luminance, and the contrast ratio of two colours.
double luminance(const Rgb& c) {
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
}
double contrast(const Rgb& a, const Rgb& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
double contrast_to_white(const Rgb& c) {
    return contrast(c, {1.0, 1.0, 1.0});
}

// CIE L*a*b* (D65) of a linear colour.
Rgb lab(const Rgb& c) {
    const double x = (0.4124 * c[0] + 0.3576 * c[1] + 0.1805 * c[2]) / 0.95047;
    const double y = 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
    const double z = (0.0193 * c[0] + 0.1192 * c[1] + 0.9505 * c[2]) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// The colour as a dichromat sees it (the full-severity matrices of Machado,
// Oliveira and Fernandes, 2009, on linear components).
using Matrix = std::array<Rgb, 3>;
constexpr Matrix DEUTERANOPIA{{{0.367322, 0.860646, -0.227968},
                               {0.280085, 0.672501, 0.047413},
                               {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix PROTANOPIA{{{0.152286, 1.052583, -0.204868},
                             {0.114503, 0.786281, 0.099216},
                             {-0.003882, -0.048116, 1.051998}}};

Rgb seen(const Matrix& m, const Rgb& c) {
    Rgb out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2], 0.0, 1.0);
    return out;
}

double distance(const Rgb& a, const Rgb& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

class ProjectorColours : public LessonTest {
protected:
    static void key(int32_t code) {
        key_push(code);
        handle_key();
        run_frame();
    }
    static std::vector<uint8_t> frame_pixels() {
        const ScreenContext& s = *active_screen();
        return {s.framebuffer, s.framebuffer + static_cast<size_t>(s.height) * s.pitch};
    }
    static std::vector<uint32_t> palette() {
        const ScreenContext& s = *active_screen();
        return {s.palette.get(), s.palette.get() + 256};
    }
};

TEST_F(ProjectorColours, EveryColourOnTheScreenHasThreeToOneAgainstWhiteAndPAgainRestores) {
    // Every figure: seven slits, the curve, four kept curves and their legend.
    key('i');
    key('c');
    for (const char k : {'g', 'g', 'g', 'g', 'g'}) {
        for (int i = 0; i < 15; ++i)
            key(0x50 << 8 | 0xFF);
        key(k);
    }
    run_frame();
    const std::vector<uint32_t> defaults = palette();
    const std::vector<uint8_t> picture = frame_pixels();
    key_push('p');
    handle_key();
    EXPECT_EQ(frame_pixels(), picture) << "p redraws nothing";
    const std::set<uint8_t> used(picture.begin(), picture.end());
    for (const uint32_t figure : {COLOUR_BLUE, COLOUR_RED, COLOUR_BROWN, COLOUR_LIGHT_GREY,
                                  COLOUR_LIGHT_GREEN, COLOUR_LIGHT_RED, COLOUR_BLACK})
        EXPECT_TRUE(used.count(static_cast<uint8_t>(figure))) << figure;
    for (const uint32_t kept : KEPT_CURVE_COLOURS)
        EXPECT_TRUE(used.count(static_cast<uint8_t>(kept))) << kept;
    for (const uint8_t colour : used) {
        if (colour == COLOUR_WHITE) continue;
        EXPECT_GE(contrast_to_white(linear_colour(colour)), 3.0) << int{colour};
    }
    key_push('p');
    handle_key();
    EXPECT_EQ(palette(), defaults);
    EXPECT_FALSE(lessons.projector_colours);
}

TEST_F(ProjectorColours, SlitOneStaysApartFromResultantAndChainUnderRedGreenBlindness) {
    key_push('p');
    handle_key();
    const Rgb slit_one = linear_colour(COLOUR_LIGHT_GREEN);
    for (const Matrix* m : {&DEUTERANOPIA, &PROTANOPIA}) {
        const Rgb first = lab(seen(*m, slit_one));
        EXPECT_GE(distance(first, lab(seen(*m, linear_colour(COLOUR_LIGHT_RED)))), 30.0);
        EXPECT_GE(distance(first, lab(seen(*m, linear_colour(COLOUR_BLUE)))), 30.0);
    }
    // The curves too stay apart from each other for everyone.
    std::vector<uint32_t> curves(std::begin(KEPT_CURVE_COLOURS), std::end(KEPT_CURVE_COLOURS));
    curves.push_back(COLOUR_LIGHT_RED);
    for (const Matrix* m : {&DEUTERANOPIA, &PROTANOPIA}) {
        for (size_t i = 0; i < curves.size(); ++i) {
            for (size_t j = i + 1; j < curves.size(); ++j) {
                EXPECT_GE(distance(lab(seen(*m, linear_colour(curves[i]))),
                                   lab(seen(*m, linear_colour(curves[j])))),
                          15.0)
                    << curves[i] << " " << curves[j];
            }
        }
    }
}

// The wave picture with projector colours: its stronger shades show on a
// washed-out projector, and every figure and text stays clear of them.
TEST_F(ProjectorColours, WavePictureShadesAndFiguresKeepTheirContrast) {
    key('f');
    key('p');
    const std::vector<uint32_t> shades = {2, 11, 13, 14};  // trough (dark) .. crest (bright)
    const std::vector<uint32_t> figures = {
        COLOUR_BLUE,      COLOUR_RED,  COLOUR_BROWN,   COLOUR_LIGHT_GREY, COLOUR_LIGHT_GREEN,
        COLOUR_LIGHT_RED, COLOUR_CYAN, COLOUR_MAGENTA, COLOUR_DARK_GREY,  COLOUR_LIGHT_BLUE};
    struct Row {
        const char* what;
        std::vector<uint32_t> colours;
        std::vector<uint32_t> against;
        double least;
    };
    const Row rows[] = {
        {"trough and crest against white", {2, 14}, {COLOUR_WHITE}, 1.6},
        {"figures against every shade", figures, shades, 2.0},
        {"figures against white", figures, {COLOUR_WHITE}, 3.0},
        {"texts (black) against every shade", {COLOUR_BLACK}, shades, 7.0},
    };
    for (const Row& row : rows) {
        for (const uint32_t a : row.colours) {
            for (const uint32_t b : row.against) {
                EXPECT_GE(contrast(linear_colour(a), linear_colour(b)), row.least)
                    << row.what << ": " << a << " against " << b;
            }
        }
    }
    // Without projector colours the pale shades again.
    key('p');
    EXPECT_LT(contrast_to_white(linear_colour(2)), 1.25);
}

}  // namespace
