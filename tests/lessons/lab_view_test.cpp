#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "lessons/setting_text.h"
#include "sim/sim.h"

// The lab view ("u") as the program draws it, against the geometry of the
// experiment: where the grating equation puts an order on the wall, the
// order a double slit misses, the labels a class reads.

namespace {

constexpr int32_t PAGE_DOWN = 0x51 << 8 | 0xFF;
constexpr int32_t DOWN = 0x50 << 8 | 0xFF;
constexpr int32_t WALL_X = 556;     // a column of the wall strip
constexpr int32_t CURVE_TIP = 576;  // a sample of 64 reaches this column

class LabViewTest : public LessonTest {
protected:
    static void frames(int32_t n) {
        for (int32_t i = 0; i < n; ++i)
            run_frame();
    }
    // The row whose curve sample is the brightest within rows from..to.
    static int32_t brightest_row(int32_t from, int32_t to) {
        int32_t best = from;
        for (int32_t y = from; y <= to; ++y) {
            if (curve_samples[y].intensity > curve_samples[best].intensity) best = y;
        }
        return best;
    }
    static std::array<uint32_t, 16> palette() {
        std::array<uint32_t, 16> colours{};
        std::memcpy(colours.data(), active_screen()->palette.get(), sizeof colours);
        return colours;
    }
};

TEST_F(LabViewTest, ShowsTheDoubleSlitInItsOwnUnits) {
    press_each("u");
    frames(2);
    EXPECT_TRUE(text_at(35, 20, "Wellenl\x84nge = 532 nm"));
    EXPECT_TRUE(text_at(35, 40, "Spaltabstand = 0.20 mm"));
    EXPECT_TRUE(text_at(35, 60, "Schirm = 1 m, 1 Pix = 0.1 mm"));
    EXPECT_TRUE(text_at(35, 445,
                        "Skizze nicht ma\xE1st\x84"
                        "blich"));
    EXPECT_TRUE(text_at(490, AXIS_Y - 50 - 7, "5"));  // 5 mm, 50 rows up
    // On the axis every wall pixel is lit in the line's colour; the curve
    // reaches 64. The palette entry holds 532 nm's colour.
    EXPECT_TRUE(row_has(AXIS_Y, WALL_X, WALL_X, 2));
    EXPECT_EQ(pixel(CURVE_TIP, AXIS_Y), COLOUR_LIGHT_RED);
    const uint32_t green = active_screen()->palette[2];  // 0x00BBGGRR
    EXPECT_GE(green >> 8 & 0xFF, 0xF0u);
    EXPECT_LT(green & 0xFF, 0x80u);
    EXPECT_EQ(green >> 16, 0u);
    // The first dark fringe: d sin(angle) = lambda / 2 at 1.33 mm, row 13.3
    // above the axis; the curve's first bright fringe at 2.66 mm.
    EXPECT_LT(curve_samples[AXIS_Y - 13].intensity, 1.0f);
    EXPECT_EQ(brightest_row(AXIS_Y - 40, AXIS_Y - 15), AXIS_Y - 27);
}

TEST_F(LabViewTest, PutsAGratingsOrdersWhereTheGratingEquationDoes) {
    // 600 lines per mm, 50 lines, 2 mm a row: x = L tan(asin(m lambda / d)).
    press_each("u");
    for (int32_t i = 0; i < 5; ++i)
        press_each(PAGE_DOWN);
    press_each("GGGGGGGGGGGGGGZZZZ");
    ASSERT_EQ(model.slit_count, 50);
    frames(20);  // the wall is complete within 20 frames
    EXPECT_TRUE(text_at(35, 40, "Gitter = 600 Linien/mm"));
    EXPECT_TRUE(text_at(35, 60, "Schirm = 1 m, 1 Pix = 2 mm"));
    const double first = 1000.0 * std::tan(std::asin(532e-6 * 600)) / 2.0;  // 168.4 rows
    EXPECT_NEAR(brightest_row(AXIS_Y - 200, AXIS_Y - 100), AXIS_Y - first, 1.0);
    EXPECT_NEAR(brightest_row(AXIS_Y + 100, AXIS_Y + 200), AXIS_Y + first, 1.0);
    EXPECT_NEAR(curve_samples[AXIS_Y].intensity, 64.0f, 0.1f);
}

TEST_F(LabViewTest, ADoubleSlitMissesItsSecondOrder) {
    press_each("ubbbb");  // 0.10 mm wide, 0.20 mm apart
    frames(2);
    EXPECT_TRUE(text_at(35, 60, "Spaltbreite = 0.10 mm"));
    // Order 2 at 5.32 mm (row 53.2) is dark. Row 27 stands at 2.7 mm, by
    // the textbook's far field 64 cos^2(pi d x / lambda L) sinc^2(pi b x / lambda L).
    EXPECT_LT(curve_samples[AXIS_Y - 53].intensity, 0.5f);
    const double u = std::numbers::pi * 2.7 / (532e-6 * 1000);
    const double far =
        64 * std::pow(std::cos(0.2 * u), 2) * std::pow(std::sin(0.1 * u) / (0.1 * u), 2);
    EXPECT_NEAR(curve_samples[AXIS_Y - 27].intensity, far, 0.1);
}

// The readouts at 2.7 mm on the wall of the double slit, to their last
// printed digit, from the geometry: the path difference d x / sqrt(L^2 + x^2)
// = 539.998 nm = 1.015 wavelengths, its phase 5.4 degrees, atan(2.7 / 1000)
// = 0.1547 degrees, 64 cos^2(pi 1.015) = 63.86 near order 1 (at 2.66 mm),
// and the Fresnel number 0.1^2 / (532e-6 1000) = 0.0188.
TEST_F(LabViewTest, ReadsOutTheDoubleSlitsNumbersAsATextbookGivesThem) {
    press_each("u");
    for (int32_t i = 0; i < 27; ++i)
        press_each("8");
    press_each("r");
    frames(1);
    const char* lines[] = {"Gangunterschied = 1.02 Wellenl\x84ngen = 540.0 nm",
                           "Phasendifferenz = 5.4\xF8",
                           "Winkel = 0.1547\xF8",
                           "Ort = 2.70 mm",
                           "Intensit\x84t = 63.9 von 64, Ordnung 1",
                           "Fresnel-Zahl N_F = 0.0188"};
    for (int32_t i = 0; i < 6; ++i)
        EXPECT_TRUE(text_at(35, 80 + 20 * i, lines[i])) << lines[i];
}

// Three laser lines through 600 lines per mm, 1 m away: each first order
// lies on the wall where L tan(asin(lambda / d)) puts it (247.2, 336.8 and
// 462.8 mm, 2 mm a row), lit in that line's colour alone.
TEST_F(LabViewTest, ShowsAGratingsFirstOrdersInThreeColours) {
    open_setting(lessons,
                 parse_setting("v1,lab=on,grating=600,labslits=50,light=three,scale=2").setting);
    frames(20);
    const struct {
        double nm;
        int32_t entry;  // the wall's palette entry of the line
    } lines[] = {{405, 2}, {532, 11}, {650, 13}};
    for (const auto& line : lines) {
        const double place = 1000.0 * std::tan(std::asin(line.nm * 1e-6 * 600));
        const auto y = static_cast<int32_t>(std::lround(AXIS_Y - place / 2.0));
        int32_t own = 0, others = 0;
        for (int32_t x = WALL_X - 16; x <= WALL_X + 16; ++x) {
            const uint32_t colour = pixel(x, y);
            own += colour == static_cast<uint32_t>(line.entry);
            others += colour == 2u || colour == 11u || colour == 13u;
        }
        EXPECT_GE(own, 8) << line.nm;
        EXPECT_EQ(others, own) << line.nm;
    }
}

TEST_F(LabViewTest, ItsWordsNameTheLabValuesAndTheOrderAtTheDetector) {
    press_each("u");
    for (int32_t i = 0; i < 27; ++i)
        press_each("8");  // 2.7 mm, the first order at 2.66
    const double u = std::numbers::pi * 0.2 * 2.7 / 0.532;
    char intensity[16];
    std::snprintf(intensity, sizeof intensity, "%.1f", 64 * std::cos(u) * std::cos(u));
    EXPECT_EQ(lab_picture_description(lessons),
              "Laborbild: 532 nm, 2 Spalte im Abstand 0.20 mm, Schirm 1 m entfernt. Ort 2.70 mm "
              "über der Achse. Intensität " +
                  std::string(intensity) + " von 64, nahe dem Maximum 1. Ordnung.");
}

TEST_F(LabViewTest, FringesFinerThanTheRowsShowTheirMean) {
    // 8 slits 0.5 mm apart at 10 mm a row: fringes 1.06 mm apart. The mean
    // of |sum|^2 over a fringe is N (80 / N)^2 / 100 = 64 / 8.
    open_setting(lessons, parse_setting("v1,lab=on,mm=0.5,labslits=8,scale=10").setting);
    frames(20);
    EXPECT_TRUE(text_at(35, 415, "Streifen zu fein: [z] zeigt sie"));
    for (const int32_t y : {AXIS_Y - 150, AXIS_Y - 31, AXIS_Y + 77})
        EXPECT_NEAR(curve_samples[y].intensity, 8.0f, 0.2f) << y;
}

// The sketch shows at most eight openings; beyond that three dots stand
// beyond each outer one, while the chain keeps one arrow a slit.
TEST_F(LabViewTest, ItsSketchShowsAtMostEightOpenings) {
    for (const int32_t slits : {2, 8, 50}) {
        open_setting(lessons,
                     parse_setting("v1,lab=on,mm=0.5,labslits=" + std::to_string(slits)).setting);
        frames(2);
        int32_t openings = 0, dots = 0;
        for (int32_t y = BARRIER_TOP + 1; y < BARRIER_BOTTOM; ++y) {
            const int32_t x = model.barrier_x - 1;
            openings += pixel(x, y) != COLOUR_BROWN && pixel(x, y - 1) == COLOUR_BROWN;
            dots += pixel(model.barrier_x - 6, y) == COLOUR_BROWN;
        }
        EXPECT_EQ(openings, std::min(slits, 8)) << slits;
        EXPECT_EQ(dots, slits > 8 ? 12 : 0) << slits;
        EXPECT_EQ(model.slit_count, slits);
    }
}

TEST_F(LabViewTest, ItsKeysTakeOverAndOthersSaySoWhileItShows) {
    const SlitModel before = model;
    press_each("q");  // outside the lab view: nothing
    EXPECT_EQ(model.slit_count, before.slit_count);
    EXPECT_FALSE(lessons.lab.on);

    press_each("ug");
    EXPECT_EQ(model.slit_count, 3);
    EXPECT_EQ(lessons.lab.values.slit_count, 2);
    press_each("i");
    EXPECT_EQ(lessons.foot.text, "[i] wirkt im Laborbild nicht");
    EXPECT_TRUE(model.intensity_shown);

    press_each("u");
    EXPECT_EQ(model.slit_count, before.slit_count);
    EXPECT_EQ(model.slit_spacing, before.slit_spacing);
    EXPECT_EQ(model.detector_x, before.detector_x);
    EXPECT_EQ(model.intensity_shown, before.intensity_shown);
    EXPECT_FALSE(optics_model.lab);
    press_each("u");  // back to the lab values last used
    EXPECT_EQ(model.slit_count, 3);
    press_each("h");  // the lab's keys above the menu's place
    EXPECT_TRUE(text_at(30, MENU_TOP - 5 * LINE_STEP,
                        "[u] -> Laborbild aus, [q] -> Linien / Wei\xE1licht"));
    EXPECT_TRUE(
        text_at(30, MENU_TOP - LINE_STEP, "[Pfeiltasten] -> Detektor, Schirm n\x84her / weiter"));
}

// "c" keeps the lab view's curves, named in its units, apart from the pixel
// view's; white light, whose wall takes their colours, parks them.
TEST_F(LabViewTest, KeepsItsOwnCurvesAndParksThemInWhiteLight) {
    press_each("ic");  // the pixel view keeps a curve of three rows
    for (int32_t i = 0; i < 3; ++i) {
        frames(1);
        press_each(DOWN);
    }
    press_each("g");
    press_each("uc");
    frames(20);
    press_each("+");
    ASSERT_TRUE(lessons.curves_kept);
    ASSERT_EQ(lessons.kept.count, 1);
    EXPECT_EQ(kept_curve_label(lessons.kept.curves[0].setting),
              "2 Spalte Abstand 0.20 mm 532 nm 1 m");
    press_each("qqq");  // white light
    EXPECT_FALSE(lessons.curves_kept);
    press_each("c");
    EXPECT_EQ(lessons.foot.text, "Kurven ruhen bei Wei\xE1licht");
    EXPECT_FALSE(lessons.curves_kept);
    press_each("q");  // one line again: the curves come back
    EXPECT_TRUE(lessons.curves_kept);
    EXPECT_EQ(lessons.kept.count, 1);
    press_each("u");  // the pixel view's own
    EXPECT_TRUE(lessons.curves_kept);
    EXPECT_EQ(lessons.kept.count, 1);
    EXPECT_FALSE(lessons.kept.current_setting.lab);
    // A grating's and a width's words.
    LabValues grating;
    grating.spacing = 0;
    grating.slit_count = 15;  // 50 slits
    LabValues wide;
    wide.width = 2;  // 0.05 mm
    EXPECT_EQ(kept_curve_label(CurveSetting{.lab = true, .lab_values = grating}),
              "50 Spalte Gitter 600/mm 532 nm 1 m");
    EXPECT_EQ(kept_curve_label(CurveSetting{.lab = true, .lab_values = wide}),
              "2 Spalte Abstand 0.20 mm Breite 0.05 mm 532 nm 1 m");
}

// Every end of every list, in every combination the keys reach (a width
// only without a grating), with each kind of light and the detector at its
// ends: the light on the curve stays a number between 0 and 64, and the
// labels stand.
TEST_F(LabViewTest, EveryListEndInEveryCombinationStaysInItsBounds) {
    const char* lights[] = {"one", "two", "three", "white"};
    for (int32_t ends = 0; ends < 64; ++ends) {
        const auto at = [ends](int32_t bit, const char* low, const char* high) {
            return std::string(ends >> bit & 1 ? high : low);
        };
        const std::string spacing = at(1, "grating=600", "mm=0.50");
        if (spacing == "grating=600" && (ends & 4) != 0) continue;  // no width
        for (int32_t l = 0; l < 4; ++l) {
            const std::string text =
                "v1,lab=on," + at(0, "nm=405", "nm=650") + "," + spacing +
                ",slitmm=" + at(2, "0", "0.1") + ",labslits=" + at(3, "1", "50") +
                ",wall=" + at(4, "0.5", "5") + ",scale=" + at(5, "0.01", "10") +
                ",light=" + lights[l] + ",labdetector=" + (l % 2 == 0 ? "-231" : "248");
            const ParsedSetting parsed = parse_setting(text);
            ASSERT_TRUE(parsed.error.empty()) << text << ": " << parsed.error;
            open_setting(lessons, parsed.setting);
            frames(3);
            for (const CurveSample& s : curve_samples) {
                if (!s.taken) continue;
                ASSERT_TRUE(s.intensity >= 0.0f && s.intensity <= 64.01f) << text;
            }
            ASSERT_TRUE(text_at(35, 445,
                                "Skizze nicht ma\xE1st\x84"
                                "blich"))
                << text;
        }
    }
}

// After any sequence of up to four of "u", "p", "f" and "c", the palette is
// the one the states it left give when set from the start.
TEST_F(LabViewTest, LeavesNothingStaleInThePalette) {
    const std::string keys = "upfc";
    for (int32_t length = 1; length <= 4; ++length) {
        int32_t count = 1;
        for (int32_t i = 0; i < length; ++i)
            count *= 4;
        for (int32_t n = 0; n < count; ++n) {
            std::string sequence;
            for (int32_t i = 0, m = n; i < length; ++i, m /= 4)
                sequence += keys[m % 4];
            SCOPED_TRACE(sequence);
            gfx_palette(-1, -1, -1, -1);
            simulation_start();
            bool lab = false, projector = false, kept = false;
            int32_t waves = 0;
            for (const char key : sequence) {
                if (key == 'u') lab = !lab;
                if (key == 'p') projector = !projector;
                if (key == 'f' && !lab) waves = (waves + 1) % 3;
                if (key == 'c' && !lab) kept = !kept;
            }
            press_each(sequence);
            const std::array<uint32_t, 16> after = palette();

            gfx_palette(-1, -1, -1, -1);
            simulation_start();
            std::string direct = projector ? "p" : "";
            direct += std::string(static_cast<size_t>(waves), 'f');
            if (kept) direct += "c";
            if (lab) direct += "u";
            press_each(direct);
            EXPECT_EQ(after, palette()) << "set directly: " << direct;
        }
    }
}

TEST_F(LabViewTest, ASettingCarriesTheLabViewAndOpensAsItsKeysLeftIt) {
    // The keys, then the text their setting writes, opened from the start:
    // the same setting, and after the same frames the same picture.
    for (const std::string keys : {"u", "ubb{pgup}gZ99r", "uqq+z88", "uGGGGqqq{pgdn}", "gu8u"}) {
        SCOPED_TRACE(keys);
        gfx_palette(-1, -1, -1, -1);
        simulation_start();
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys.compare(i, 6, "{pgup}") == 0) {
                press_each(0x49 << 8 | 0xFF);
                i += 5;
            } else if (keys.compare(i, 6, "{pgdn}") == 0) {
                press_each(PAGE_DOWN);
                i += 5;
            } else {
                press_each(std::string(1, keys[i]));
            }
        }
        const std::string text = setting_text(setting_now(lessons));
        frames(20);
        const std::vector<uint8_t> by_keys(active_screen()->framebuffer,
                                           active_screen()->framebuffer + 640 * 480);
        const float phase = model.phase;

        gfx_palette(-1, -1, -1, -1);
        simulation_start();
        const ParsedSetting read = parse_setting(text);
        ASSERT_EQ(read.error, "") << text;
        open_setting(lessons, read.setting);
        EXPECT_EQ(setting_text(setting_now(lessons)), text);
        frames(20);
        EXPECT_EQ(model.phase, phase);
        const uint8_t* opened = active_screen()->framebuffer;
        const auto differs = std::mismatch(by_keys.begin(), by_keys.end(), opened);
        EXPECT_TRUE(differs.first == by_keys.end())
            << text << ": first at x " << (differs.first - by_keys.begin()) % 640 << ", y "
            << (differs.first - by_keys.begin()) / 640;
    }
}

TEST_F(LabViewTest, ASettingsLabValuesAreThoseOfItsLists) {
    struct Case {
        const char* text;
        const char* error;  // empty: read, and written back the same
    };
    const Case cases[] = {
        {"v1,lab=on,nm=650,mm=0.50,slitmm=0.1,labslits=3,wall=2,scale=0.02,labdetector=40", ""},
        {"v1,lab=on,grating=600,labslits=50,light=three,follow=650", ""},
        {"v1,nm=632.8,light=white", ""},
        {"v1,mm=0.2,grating=600", "setting: give mm or grating, not both"},
        {"v1,nm=500", "setting: nm=500 is not one of 405, 450, 532, 589, 632.8, 650"},
        {"v1,slitmm=0.2", "setting: slitmm=0.2 is not one of 0, 0.02, 0.05, 0.08, 0.1"},
        {"v1,mm=0.1,slitmm=0.1",
         "setting: slitmm=0.1 is not one of a width below the spacing of 0.10 mm"},
        {"v1,grating=600,slitmm=0.02",
         "setting: slitmm=0.02 is not one of a width below the spacing of 600 lines per mm (a "
         "grating has none)"},
        {"v1,follow=650", "setting: follow=650 is not one of a line of light=two or three"},
        {"v1,light=three,follow=589",
         "setting: follow=589 is not one of a line of light=two or three"},
        {"v1,light=red", "setting: light=red is not one of one, two, three, white"},
        {"v1,labdetector=300", "setting: labdetector=300 is not one of -231 to 248"},
        {"v1,lab=yes", "setting: lab=yes is not one of on, off"},
    };
    for (const Case& c : cases) {
        const ParsedSetting read = parse_setting(c.text);
        EXPECT_EQ(read.error, c.error) << c.text;
        if (*c.error == '\0') {
            EXPECT_EQ(setting_text(read.setting), c.text);
        }
    }
}

}  // namespace
