#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <vector>

#include "gfx/input/input.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "lessons/wave_field.h"
#include "optics/optics.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/texts.h"
#include "tests/support/allocation_count.h"

namespace {

constexpr int32_t UP = 0x48 << 8 | 0xFF;
constexpr int32_t DOWN = 0x50 << 8 | 0xFF;
constexpr int32_t LEFT = 0x4B << 8 | 0xFF;
constexpr int32_t RIGHT = 0x4D << 8 | 0xFF;
constexpr uint8_t SHADE_ENTRIES[] = {2, 11, 13, 14};

bool is_shade(uint8_t colour) {
    return std::find(std::begin(SHADE_ENTRIES), std::end(SHADE_ENTRIES), colour) !=
           std::end(SHADE_ENTRIES);
}

class WavePicture : public LessonTest {
protected:
    static void frame(int32_t key = 0) {
        run_frame();
        if (key != 0) key_push(key);
        handle_key();
    }
    // Frames until the field of the setting is built.
    static void settle() {
        for (int32_t i = 0; i < 100 && field_columns_built() < FIELD_COLUMNS; ++i)
            frame();
        ASSERT_EQ(field_columns_built(), FIELD_COLUMNS);
        frame();
    }
    static void set_wavelength(float wavelength) {
        model.wavelength = wavelength;
        model.wave_number = static_cast<float>(static_cast<double>(model.two_pi) / wavelength);
        redraw_scene();
    }
    // Inside a text that stands. The boxes of texts erased since stay
    // listed, and the picture covers them; the picture's own lines stand
    // clear of every label, so a box other than theirs that they overlap
    // is an erased one.
    bool in_text(int32_t x, int32_t y) const {
        for (const TextPlace& t : text_places()) {
            if (x >= t.x && x < t.x + t.width && y >= t.y && y < t.y + LABEL_HEIGHT &&
                !under_own_line(t) && stands(t)) {
                return true;
            }
        }
        return std::abs(x - MARK_X) <= MARK_RADIUS && std::abs(y - MARK_Y) <= MARK_RADIUS;
    }
    bool under_own_line(const TextPlace& t) const {
        for (const ViewLine& line : {lessons.wave.note, lessons.wave.key}) {
            if (line.x < 0 || (line.x == t.x && line.y == t.y)) continue;
            const auto width = static_cast<int32_t>(screen_text(line.text).size()) * GLYPH_WIDTH;
            if (t.x < line.x + width && line.x < t.x + t.width && t.y < line.y + LABEL_HEIGHT &&
                line.y < t.y + LABEL_HEIGHT) {
                return true;
            }
        }
        return false;
    }
    static bool stands(const TextPlace& t) {
        for (int32_t y = t.y; y < t.y + LABEL_HEIGHT; ++y)
            for (int32_t x = std::max(t.x, 0); x < std::min(t.x + t.width, LAST_COLUMN + 1); ++x)
                if (pixel(x, y) == COLOUR_BLACK) return true;
        return false;
    }
    // The region's pixels outside texts and marks: each the picture's or a
    // figure's, none the background; and no shade anywhere else.
    void expect_region_covered() const {
        // Columns not built yet (a setting just changed) show the background.
        const int32_t right =
            std::min({model.detector_x - 1, FIELD_RIGHT, FIELD_LEFT + field_columns_built() - 1});
        const bool shown = lessons.wave.view != WaveView::OFF;
        for (int32_t y = 0; y <= LAST_ROW; ++y) {
            for (int32_t x = 0; x <= LAST_COLUMN; ++x) {
                const bool inside =
                    shown && x >= FIELD_LEFT && x <= right && y >= FIELD_TOP && y <= FIELD_BOTTOM;
                const uint8_t c = pixel(x, y);
                if (!inside || in_text(x, y)) {
                    ASSERT_FALSE(is_shade(c)) << "shade outside the region at " << x << "," << y;
                } else {
                    ASSERT_NE(c, COLOUR_WHITE) << "background left at " << x << "," << y;
                }
            }
        }
    }
    // The share of the region's shaded pixels in each shade, over a box of it.
    static std::array<double, 4> shade_shares(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        std::array<int32_t, 4> counts{};
        int32_t all = 0;
        for (int32_t y = y0; y <= y1; ++y) {
            for (int32_t x = x0; x <= x1; ++x) {
                const uint8_t* at =
                    std::find(std::begin(SHADE_ENTRIES), std::end(SHADE_ENTRIES), pixel(x, y));
                if (at == std::end(SHADE_ENTRIES)) continue;
                ++counts[static_cast<size_t>(at - std::begin(SHADE_ENTRIES))];
                ++all;
            }
        }
        std::array<double, 4> shares{};
        for (size_t i = 0; i < 4; ++i)
            shares[i] = all > 0 ? counts[i] / static_cast<double>(all) : 0.0;
        return shares;
    }
    // The field the picture computes at a pixel at the phase of the frame
    // on the screen.
    double field_value(int32_t x, int32_t y) const {
        const double p = lessons.wave.phase;
        return field_re(x, y) * std::cos(p) - field_im(x, y) * std::sin(p);
    }
};

TEST_F(WavePicture, CoversTheRegionAfterEveryFrameAndKeepsOffTextsMarksAndCurve) {
    press_each('r');  // readouts too
    press_each('f');
    settle();
    // Moves erase the detector line and the rays; "i" moves the line left
    // and shows the curve; "m" and "h" print over the region.
    const int32_t keys[] = {UP, UP, DOWN, LEFT, LEFT, 'i', RIGHT, 'm', 'h', DOWN, 'f', UP};
    for (const int32_t key : keys) {
        frame(key);
        expect_region_covered();
        frame();
        expect_region_covered();
    }
    EXPECT_TRUE(text_at(LABEL_X, SPACING_LABEL_Y, "Spaltabstand = 20 Pix"));
    EXPECT_TRUE(
        text_at(MENU_X, MENU_TOP, "[Pfeiltasten]  ->  Detektor bewegen. (num. Tastenblock)"));
}

TEST_F(WavePicture, FieldAtTheDetectorHasTheSignOfTheResultantsX) {
    struct Setting {
        int32_t slits, spacing, width;
        float wavelength;
    };
    const Setting settings[] = {
        {2, 20, 0, 5.0f}, {5, 30, 0, 6.0f}, {3, 20, 10, 8.0f}, {1, 20, 20, 5.0f}};
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.slits * 1000 + s.width);
        simulation_start();
        model.slit_count = s.slits;
        model.slit_spacing = s.spacing;
        model.slit_amplitude = model.total_amplitude / static_cast<float>(s.slits);
        optics_model.slit_width = s.width;
        set_wavelength(s.wavelength);
        press_each('f');
        settle();
        int32_t compared = 0;
        for (int32_t i = 0; i < 200; ++i) {
            frame(i % 20 == 0 ? UP : 0);
            const int32_t y = model.axis_y - model.detector_offset;
            if (std::abs(model.sum_x) < 1.0f) continue;
            ++compared;
            ASSERT_EQ(field_value(model.detector_x, y) > 0, model.sum_x > 0) << "frame " << i;
        }
        EXPECT_GT(compared, 150);
    }
}

TEST_F(WavePicture, CrestsOfOneSlitAreAWavelengthApart) {
    model.slit_count = 1;
    model.slit_amplitude = model.total_amplitude;
    set_wavelength(20.0f);
    press_each('f');
    settle();
    // Along a row beside the axis, the crest shade's runs: their middles.
    std::vector<double> middles;
    // (Clear of the ray and the chain.)
    int32_t x = FIELD_LEFT + 40;
    while (pixel(x, AXIS_Y - 1) == 14)
        ++x;
    while (x < 400) {
        if (pixel(x, AXIS_Y - 1) != 14) {
            ++x;
            continue;
        }
        const int32_t start = x;
        while (pixel(x, AXIS_Y - 1) == 14)
            ++x;
        if (x < 400) middles.push_back((start + x - 1) / 2.0);
    }
    ASSERT_GE(middles.size(), 10u);
    for (size_t i = 1; i < middles.size(); ++i)
        EXPECT_NEAR(middles[i] - middles[i - 1], 20.0, 1.0);
}

TEST_F(WavePicture, IntensityIsBrightestWhereTheOrdersGo) {
    press_each('f');
    press_each('f');
    settle();
    // Two slits 20 apart, wavelength 5: order m leaves at sin theta = m / 4.
    // Order 0 is looked at a little below the axis line.
    const int32_t x = BARRIER_X + 300;
    for (const double m : {0.0, 1.0, 2.0, 0.5, 1.5}) {
        const double theta = std::asin(m * 5.0 / 20.0);
        const auto y =
            static_cast<int32_t>(std::lround(AXIS_Y - 300 * std::tan(theta))) + (m == 0 ? 4 : 0);
        const bool bright = m == std::floor(m);
        EXPECT_EQ(pixel(x, y), bright ? 14 : 2) << "order " << m;
    }
}

TEST_F(WavePicture, OffAgainLeavesThePictureAndColoursAsWithout) {
    const auto run = [](bool with_view) {
        simulation_start();
        for (int32_t i = 0; i < 60; ++i) {
            const bool press = with_view && (i == 5 || i == 25 || i == 45);
            frame(press ? 'f' : i == 30 ? UP : i == 35 ? LEFT : 0);
        }
        const ScreenContext& screen = *active_screen();
        std::vector<uint8_t> picture(screen.framebuffer,
                                     screen.framebuffer + static_cast<size_t>(screen.pitch) * 480);
        picture.insert(picture.end(), reinterpret_cast<const uint8_t*>(screen.palette.get()),
                       reinterpret_cast<const uint8_t*>(screen.palette.get() + 16));
        return picture;
    };
    const std::vector<uint8_t> without = run(false);
    EXPECT_TRUE(run(true) == without);
}

TEST_F(WavePicture, ShadesArePaleWithoutProjectorColours) {
    const auto luminance = [](uint32_t colour) {
        const auto linear = [](uint32_t c) {
            const double v = (c & 0xFF) / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) +
               0.0722 * linear(colour >> 16);
    };
    press_each('f');
    // On, and off again: the pale shades are back.
    for (const char* keys : {"", "pp"}) {
        press_each(keys);
        for (const uint8_t entry : SHADE_ENTRIES)
            EXPECT_GE(luminance(active_screen()->palette[entry]), 0.8) << int{entry} << keys;
    }
}

TEST_F(WavePicture, ShortWavesShowTheIntensityAndSaySo) {
    set_wavelength(2.0f);
    press_each('f');
    settle();
    // At the region's top right, half a glyph from the detector line.
    const int32_t note_x = lessons.wave.note.x;
    EXPECT_EQ(lessons.wave.note.y, FIELD_TOP);
    EXPECT_EQ(note_x + 26 * GLYPH_WIDTH, model.detector_x - GLYPH_WIDTH / 2);
    EXPECT_TRUE(text_at(note_x, FIELD_TOP, "Wellen zu fein: Intensit\x84t"));
    // The intensity: still, from frame to frame.
    std::vector<uint8_t> row(FIELD_COLUMNS);
    for (int32_t x = 0; x < 100; ++x)
        row[x] = pixel(FIELD_LEFT + 100 + x, 300);
    frame();
    for (int32_t x = 0; x < 100; ++x)
        EXPECT_EQ(pixel(FIELD_LEFT + 100 + x, 300), row[x]);
    press_each('f');
    EXPECT_FALSE(text_at(note_x, FIELD_TOP, "Wellen zu fein: Intensit\x84t"));
}

// The intensity near the barrier at wavelength 0.5, two slits 2 apart,
// against each pixel's mean of 32 x 32 samples of the two waves.
TEST_F(WavePicture, ShortWaveIntensityIsThePixelsMeanNotASamplingPattern) {
    FieldSources sources{.slit_count = 2,
                         .slit_spacing = 2,
                         .axis_y = AXIS_Y,
                         .wave_number = static_cast<float>(2 * std::numbers::pi / 0.5),
                         .slit_amplitude = 1.0f};
    start_field(sources);
    while (!advance_field(FIELD_BUDGET)) {
    }
    const double k = sources.wave_number;
    double worst = 0;
    for (int32_t x = FIELD_LEFT; x < FIELD_LEFT + 24; ++x) {
        for (int32_t y = AXIS_Y - 60; y <= AXIS_Y + 60; ++y) {
            double sum = 0;
            for (int32_t i = 0; i < 32; ++i) {
                for (int32_t j = 0; j < 32; ++j) {
                    const double px = x - BARRIER_X + (i + 0.5) / 32 - 0.5;
                    const double py = y + (j + 0.5) / 32 - 0.5;
                    std::complex<double> a;
                    for (const int32_t row : {AXIS_Y - 1, AXIS_Y + 1}) {
                        const double r = std::hypot(px, py - row);
                        a += std::polar(std::sqrt(FALLOFF_DISTANCE / r), -k * r);
                    }
                    sum += std::norm(a);
                }
            }
            // Against the largest intensity at the pixel's distance, 4 R / r.
            const double largest = 4 * FALLOFF_DISTANCE / std::hypot(x - BARRIER_X, y - AXIS_Y);
            worst = std::max(worst, std::abs(field_intensity(x, y) - sum / 1024) / largest);
        }
    }
    EXPECT_LT(worst, 0.125);
}

TEST_F(WavePicture, WideOpeningsMatchAFineIntegral) {
    struct Case {
        float width, wavelength;
        double distance, height;
    };
    for (const Case& c : {Case{20, 5, 400, 30}, Case{20, 5, 3, 4}, Case{60, 0.5, 50, -20},
                          Case{6, 1.5, 200, 150}}) {
        const FieldSources sources{
            .slit_count = 1,
            .wave_number = static_cast<float>(2 * std::numbers::pi / c.wavelength),
            .slit_width = c.width};
        std::complex<double> mean;
        constexpr int32_t STEPS = 200000;
        for (int32_t i = 0; i < STEPS; ++i) {
            const double t = c.height - c.width / 2.0 + (i + 0.5) * c.width / STEPS;
            const double r = std::hypot(c.distance, t);
            // A wavelet's amplitude falls as 1 / sqrt(r), 1 at the detector line's home.
            mean +=
                std::polar(std::sqrt((DETECTOR_HOME_X - BARRIER_X) / r), -sources.wave_number * r) /
                double{STEPS};
        }
        EXPECT_LT(std::abs(opening_mean(sources, c.distance, c.height) - mean),
                  0.003 * std::abs(mean) + 0.003)
            << c.width;
    }
}

TEST_F(WavePicture, SurvivesEveryPlaceOfTheDetectorAndSingleSteps) {
    press_each('f');
    // The detector line onto the barrier and back beyond the right edge, the
    // picture cycling, single steps on the way.
    for (int32_t i = 0; i < 120; ++i) {
        frame(i < 60 ? LEFT : RIGHT);
        if (i % 40 == 0) {
            for (int32_t press = 0; press < 3; ++press)
                frame('f');
        }
        expect_region_covered();
    }
    // Single steps: each key a frame, "w" ends them.
    static const char* steps = nullptr;
    steps = "fffGbw";
    set_step_feed([] {
        if (*steps == 0) return false;
        key_push(static_cast<uint8_t>(*steps++));
        return true;
    });
    key_push('s');
    for (int32_t i = 0; i < 8 && (i == 0 || model.stepping); ++i) {
        run_frame();
        handle_key();
        expect_region_covered();
    }
    EXPECT_FALSE(model.stepping);
}

// A point source's cylindrical wave: its intensity falls as 1 / r, so that
// r times it stays the same along any direction.
TEST_F(WavePicture, OnePointSlitsIntensityFallsAsOneOverTheDistance) {
    const FieldSources sources{.slit_count = 1,
                               .slit_spacing = 20,
                               .axis_y = AXIS_Y,
                               .wave_number = static_cast<float>(2 * std::numbers::pi / 5.0),
                               .slit_amplitude = 1.0f};
    start_field(sources);
    while (!advance_field(FIELD_BUDGET)) {
    }
    for (const int32_t dy : {0, 100, -200}) {
        for (const int32_t dx : {20, 100, 300, 535}) {
            const double r = std::hypot(dx, dy);
            EXPECT_NEAR(field_intensity(BARRIER_X + dx, AXIS_Y + dy) * r, 535.0, 535.0 * 0.03)
                << dx << " " << dy;
        }
    }
}

TEST_F(WavePicture, IntensityIsScaledAgainstTheDetectorLine) {
    // One opening 60 wide at wavelength 10: right behind it the light is
    // about as bright as the incoming wave over the opening's width.
    model.slit_count = 1;
    model.slit_amplitude = model.total_amplitude;
    optics_model.slit_width = 60;
    set_wavelength(10.0f);
    press_each("ff");
    settle();
    const int32_t half = 60 / 2 - 4;
    std::array<double, 4> near =
        shade_shares(BARRIER_X + 2, AXIS_Y - half, BARRIER_X + 30, AXIS_Y + half);
    EXPECT_GE(near[2] + near[3], 0.85);

    // The default double slit: most of it below the top shade, the dark
    // bands dark from the slits on (where the paths from the two slits
    // differ by half a wavelength and by one and a half: on hyperbolas).
    simulation_start();
    press_each("ff");
    settle();
    std::array<double, 4> all =
        shade_shares(FIELD_LEFT, FIELD_TOP, model.detector_x - 1, FIELD_BOTTOM);
    EXPECT_LT(all[3], 0.5);
    EXPECT_GT(all[0], 0.1);
    for (const int32_t distance : {80, 200, 450}) {
        for (const double m : {0.5, 1.5}) {
            const auto difference = [&](double y) {
                return std::hypot(distance, y - (AXIS_Y + 10)) -
                       std::hypot(distance, y - (AXIS_Y - 10)) - m * 5.0;
            };
            double low = AXIS_Y - 400;  // the difference above zero there
            double high = AXIS_Y;
            for (int32_t i = 0; i < 60; ++i)
                (difference((low + high) / 2) > 0 ? low : high) = (low + high) / 2;
            // (Near the slits the band is narrower than a row or two.)
            const auto y = static_cast<int32_t>(std::lround(low));
            const int32_t x = BARRIER_X + distance;
            EXPECT_TRUE(pixel(x, y) == 2 || pixel(x, y - 1) == 2 || pixel(x, y + 1) == 2)
                << distance << " " << m;
        }
    }
}

// Ten slits 2 apart at wavelength 0.5, the curve on: the first orders are
// bright bands from the grating to the detector line, where the curve's
// maxima are (the far field's sin theta = lambda / d, 118 rows off the axis).
TEST_F(WavePicture, AGratingsFirstOrdersAreBrightBandsToTheCurvesMaxima) {
    press_each("aaggggggGi");
    ASSERT_EQ(model.slit_count, 10);
    ASSERT_EQ(model.slit_spacing, 2);
    press_each("ff");
    settle();
    const double slope = std::tan(std::asin(0.5 / 2.0));
    const int32_t distance = model.detector_x - BARRIER_X;
    // The curve's maxima on the detector line near the orders.
    for (const int32_t sign : {1, -1}) {
        int32_t peak = 0;
        float best = -1;
        for (int32_t offset = 100; offset <= 136; ++offset) {
            SlitSetting setting = setting_of(model);
            setting.detector_offset = sign * offset;
            const PhasorSet light = light_of(setting, 0.0f);
            const float value = intensity_of(light.sum_x, light.sum_y);
            if (value > best) {
                best = value;
                peak = offset;
            }
        }
        EXPECT_NEAR(peak, distance * slope, 3.0);
        for (const int32_t back : {2, 100, 250}) {
            const int32_t x = model.detector_x - back;
            const auto y =
                static_cast<int32_t>(std::lround(AXIS_Y - sign * (x - BARRIER_X) * slope));
            int32_t bright = 0;
            for (int32_t dy = -1; dy <= 1; ++dy)
                bright += pixel(x, y + dy) == 13 || pixel(x, y + dy) == 14 ? 1 : 0;
            EXPECT_GE(bright, 2) << sign << " " << back;
        }
    }
}

TEST_F(WavePicture, FramesOfMovingWavesAllocateNothing) {
    press_each('f');
    settle();
    const long before = allocations_so_far();
    for (int32_t i = 0; i < 20; ++i)
        frame();
    EXPECT_EQ(allocations_so_far(), before);
}

}  // namespace
