#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/input/input.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/labels.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"

namespace {

constexpr int32_t DOWN = 0x50 << 8 | 0xFF;

// The curve on ("i"), kept curves on ("c"), one frame at a time as the
// program runs them: frame, then the key.
class KeptCurvesTest : public LessonTest {
protected:
    void SetUp() override {
        LessonTest::SetUp();
        key('i');
        key('c');
    }
    static void key(int32_t code) {
        key_push(code);
        handle_key();
        run_frame();
    }
    // Samples on the detector's row and the next rows downwards.
    static void sweep(int32_t rows) {
        run_frame();
        for (int32_t i = 0; i < rows; ++i)
            key(DOWN);
    }
    static std::vector<int32_t> lengths() {
        std::vector<int32_t> result;
        for (const CurveSample& s : curve_samples)
            result.push_back(s.taken ? s.length : -1);
        return result;
    }
    // The legend as a class reads it: line by line from its top, the swatch
    // in the curve's colour and the text glyph by glyph, every other pixel
    // of its box white.
    struct LegendLine {
        uint32_t colour;
        std::string text;
    };
    bool legend_shows(const std::vector<LegendLine>& lines) const {
        const PixelBox box = lessons.legend.box;
        if (box.y1 - box.y0 + 1 != static_cast<int32_t>(lines.size()) * 15) return false;
        std::vector<bool> inked(static_cast<size_t>((box.x1 - box.x0 + 1) * (box.y1 - box.y0 + 1)));
        const auto ink = [&](int32_t x, int32_t y) {
            inked[static_cast<size_t>((y - box.y0) * (box.x1 - box.x0 + 1) + x - box.x0)] = true;
        };
        for (size_t i = 0; i < lines.size(); ++i) {
            const int32_t y = box.y0 + static_cast<int32_t>(i) * 15;
            for (int32_t row = y + 6; row <= y + 8; ++row) {
                for (int32_t x = box.x0; x < box.x0 + 10; ++x) {
                    if (pixel(x, row) != lines[i].colour) return false;
                    ink(x, row);
                }
            }
            const int32_t text_x = box.x0 + 14;
            if (!text_at(text_x, y, lines[i].text)) return false;
            for (int32_t row = y; row < y + 15; ++row) {
                for (int32_t x = text_x;
                     x < text_x + static_cast<int32_t>(lines[i].text.size()) * 8; ++x)
                    ink(x, row);
            }
        }
        for (int32_t y = box.y0; y <= box.y1; ++y) {
            for (int32_t x = box.x0; x <= box.x1; ++x) {
                const bool white = pixel(x, y) == COLOUR_WHITE;
                if (!white &&
                    !inked[static_cast<size_t>((y - box.y0) * (box.x1 - box.x0 + 1) + x - box.x0)])
                    return false;
            }
        }
        return true;
    }
    // Row y shows the sample of the given length in the colour: from the
    // right edge leftwards, and not beyond.
    static bool shows(int32_t y, int32_t length, uint8_t colour) {
        for (int32_t x = 640 - length; x < 640; ++x) {
            if (pixel(x, y) != colour) return false;
        }
        return true;
    }
};

TEST_F(KeptCurvesTest, EarlierSamplesKeepTheirPixelsInTheirColourAfterG) {
    sweep(40);
    const std::vector<int32_t> before = lengths();
    key('g');
    ASSERT_EQ(lessons.kept.count, 1);
    EXPECT_EQ(kept_curve_label(lessons.kept.curves[0].setting),
              "2 Spalte Abstand 20 Wellenl\x84nge 5");
    const auto colour = static_cast<uint8_t>(KEPT_CURVE_COLOURS[0]);
    int32_t rows = 0;
    for (int32_t y = 0; y < CURVE_ROWS; ++y) {
        if (before[y] <= 0 || y == detector_y()) continue;
        ++rows;
        EXPECT_TRUE(shows(y, before[y], colour)) << "row " << y;
        EXPECT_FALSE(row_has(y, 576, 639, COLOUR_LIGHT_RED)) << "row " << y;
    }
    EXPECT_GT(rows, 30);
    // The legend: the kept curve, then the current one.
    EXPECT_TRUE(legend_shows({{colour, "2 Spalte Abstand 20 Wellenl\x84nge 5"},
                              {COLOUR_LIGHT_RED, "3 Spalte Abstand 20 Wellenl\x84nge 5"}}));
}

TEST_F(KeptCurvesTest, LabelsNameTheSettingAndStayShort) {
    struct Case {
        CurveSetting setting;
        const char* label;
    };
    const Case cases[] = {
        {{3, 20, 5.0f, 480}, "3 Spalte Abstand 20 Wellenl\x84nge 5"},
        // One slit: its spacing changes nothing.
        {{1, 20, 5.0f, 480}, "1 Spalt Wellenl\x84nge 5"},
        {{1, 20, 10.0f, 480, 60}, "1 Spalt Breite 60 Wellenl\x84nge 10"},
        {{2, 2, 0.5f, 480}, "2 Spalte Abstand 2 Wellenl\x84nge 0.5"},
        // Near and far field of one setting.
        {{8, 20, 5.0f, 480}, "8 Spalte Abstand 20 Wellenl\x84nge 5"},
        {{8, 20, 5.0f, 480, 0, true}, "8 Spalte Abstand 20 Wellenl\x84nge 5 fern"},
        {{50, 8, 0.5f, 480, 4, true}, "50 Spalte Breite 4 Abstand 8 Wellenl\x84nge 0.5 fern"},
        {{2, 20, 5.0f, 470}, "2 Spalte Abstand 20 Wellenl\x84nge 5 x=470"},
        // No room for the detector line: left out, not cut.
        {{8, 100, 12.5f, -1000, 60, true},
         "8 Spalte Breite 60 Abstand 100 Wellenl\x84nge 12.5 fern"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kept_curve_label(c.setting), c.label);
}

TEST_F(KeptCurvesTest, ManySettingsKeepTheFourNewestEachInItsColourWithItsTip) {
    // Ten settings: slit counts 2..8, two spacings of "a", one slit fewer.
    const char keys[] = {'g', 'g', 'g', 'g', 'g', 'g', 'a', 'a', 'k'};
    for (const char k : keys) {
        sweep(12);
        key(k);
    }
    ASSERT_EQ(lessons.kept.count, MAX_KEPT_CURVES);
    const char* const labels[] = {
        "7 Spalte Abstand 20 Wellenl\x84nge 5", "8 Spalte Abstand 20 Wellenl\x84nge 5",
        "8 Spalte Abstand 100 Wellenl\x84nge 25", "8 Spalte Abstand 2 Wellenl\x84nge 0.5"};
    for (int32_t i = 0; i < MAX_KEPT_CURVES; ++i)
        EXPECT_EQ(kept_curve_label(lessons.kept.curves[i].setting), labels[i]);
    for (int32_t i = 0; i < MAX_KEPT_CURVES; ++i) {
        for (int32_t j = i + 1; j < MAX_KEPT_CURVES; ++j)
            EXPECT_NE(lessons.kept.curves[i].colour, lessons.kept.curves[j].colour);
    }
    // Each curve's tip shows in its colour wherever no other curve is as long.
    for (int32_t i = 0; i < lessons.kept.count; ++i) {
        const KeptCurve& curve = lessons.kept.curves[i];
        for (int32_t y = 0; y < CURVE_ROWS; ++y) {
            const CurveSample& s = curve.samples[y];
            if (!s.taken || s.length <= 0 || y == detector_y()) continue;
            bool alone = true;
            for (int32_t j = 0; j < lessons.kept.count; ++j) {
                const CurveSample& o = lessons.kept.curves[j].samples[y];
                if (j != i && o.taken && o.length == s.length) alone = false;
            }
            if (alone) {
                EXPECT_EQ(pixel(640 - s.length, y), curve.colour) << i << " row " << y;
            }
        }
    }
    // Five lines, the last the current curve's, ending above the menu's
    // place (row 375) and left of the detector line (x 480).
    const PixelBox legend = lessons.legend.box;
    EXPECT_EQ(legend.x1, 472);
    EXPECT_EQ(legend.y0, 375 - 5 * 15);
    EXPECT_EQ(legend.y1, 374);
    EXPECT_TRUE(row_has(legend.y1 - 7, legend.x0, legend.x0 + 9, COLOUR_LIGHT_RED));
}

// The rays, the chain and the detector line pass through the legend's rows
// when the detector point is low or the line moved left: none of their
// pixels stays in its box, and they run on outside it.
TEST_F(KeptCurvesTest, NoFigureLiesInTheLegendWhateverCrossesItsRows) {
    sweep(20);
    key('t');  // the same setting in the far field
    sweep(20);
    const auto far_colour = KEPT_CURVE_COLOURS[0];
    const std::string near = "2 Spalte Abstand 20 Wellenl\x84nge 5";
    ASSERT_TRUE(legend_shows({{far_colour, near}, {COLOUR_LIGHT_RED, near + " fern"}}));
    // Down through its rows (the point from row 238 to 358).
    for (int32_t i = 0; i < 100; ++i)
        key(DOWN);
    EXPECT_TRUE(legend_shows({{far_colour, near}, {COLOUR_LIGHT_RED, near + " fern"}}));
    EXPECT_TRUE(row_has(lessons.legend.box.y0, 0, lessons.legend.box.x0 - 1, COLOUR_BLUE) ||
                row_has(lessons.legend.box.y0 - 1, 0, 479, COLOUR_BLUE));
    // The detector line to the legend's leftmost column, then onto the
    // barrier ("7"), the leftmost place a key puts it.
    const int32_t left = lessons.legend.box.x0;
    while (model.detector_x > left)
        key('4');
    run_frame();
    const std::string here = near + " fern x=" + std::to_string(left);
    EXPECT_TRUE(legend_shows({{far_colour, near}, {COLOUR_LIGHT_RED, here}}));
    EXPECT_TRUE(column_has(left, DETECTOR_TOP, lessons.legend.box.y0 - 1, COLOUR_RED));
    EXPECT_TRUE(column_has(left, lessons.legend.box.y1 + 1, DETECTOR_BOTTOM, COLOUR_RED));
    key('7');
    run_frame();
    EXPECT_TRUE(legend_shows({{far_colour, near}, {COLOUR_LIGHT_RED, near + " fern x=25"}}));
}

// The extra keys' help shares the legend's rows: the legend gives way while
// the help stands and comes back with the scene.
TEST_F(KeptCurvesTest, TheLegendGivesWayToTheHelpLines) {
    sweep(10);
    key('g');
    const PixelBox legend = lessons.legend.box;
    ASSERT_LT(legend.x0, legend.x1);
    key('h');
    EXPECT_GT(lessons.legend.box.x0, lessons.legend.box.x1);
    // Its lines no longer stand (the wave picture would keep them white).
    for (const TextPlace& place : text_places())
        EXPECT_FALSE(place.x == legend.x0 + 14 && place.y >= legend.y0) << place.y;
    for (int32_t y = 300; y < 375; ++y)
        EXPECT_FALSE(row_has(y, 455, 479, COLOUR_BLACK)) << "row " << y;
    key('h');
    EXPECT_TRUE(legend_shows({{KEPT_CURVE_COLOURS[0], "2 Spalte Abstand 20 Wellenl\x84nge 5"},
                              {COLOUR_LIGHT_RED, "3 Spalte Abstand 20 Wellenl\x84nge 5"}}));
}

TEST_F(KeptCurvesTest, SettingsOnlyPassedThroughAreNotKept) {
    // 2, 3, 5 and 8 slits side by side: the counts between are passed through
    // with the detector standing still, one row of samples each.
    for (const char* keys : {"g", "gg", "ggg"}) {
        sweep(10);
        for (const char* k = keys; *k != 0; ++k)
            key(*k);
    }
    sweep(10);
    ASSERT_EQ(lessons.kept.count, 3);
    const int32_t counts[] = {2, 3, 5};
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(lessons.kept.curves[i].setting.slit_count, counts[i]);
}

TEST_F(KeptCurvesTest, ASettingMetAgainIsTheCurrentOneAgain) {
    sweep(20);
    const std::vector<int32_t> two = lengths();
    key('g');
    sweep(5);
    key('k');
    ASSERT_EQ(lessons.kept.count, 1);
    EXPECT_EQ(lessons.kept.curves[0].setting.slit_count, 3);
    for (int32_t y = 0; y < CURVE_ROWS; ++y) {
        if (two[y] < 0) continue;
        EXPECT_TRUE(curve_samples[y].taken) << "row " << y;
        EXPECT_EQ(pixel(639, y), lessons.kept.current[y].length >= curve_samples[y].length
                                     ? pixel(639, y)
                                     : COLOUR_LIGHT_RED);
    }
    EXPECT_TRUE(row_has(230, 576, 639, COLOUR_LIGHT_RED));
}

TEST_F(KeptCurvesTest, RedrawsOfTheSameSettingKeepEveryCurve) {
    for (const char k : {'g', 'g', 'g', 'g'}) {
        sweep(6);
        key(k);
    }
    sweep(6);
    const std::vector<int32_t> current = lengths();
    for (const char k : {'5', 'm', 'm', 'i', 'i'}) {
        key(k);
        EXPECT_EQ(lessons.kept.count, MAX_KEPT_CURVES) << k;
    }
    EXPECT_TRUE(model.intensity_shown);
    for (int32_t y = 0; y < CURVE_ROWS; ++y) {
        if (current[y] < 0) continue;
        EXPECT_EQ(curve_samples[y].length, current[y]) << "row " << y;
    }
}

TEST_F(KeptCurvesTest, FiguresPassingOverTheLegendAndCurvesLeaveThemWhole) {
    sweep(30);
    key('g');
    run_frame();
    const PixelBox legend = lessons.legend.box;
    ASSERT_LT(legend.x0, legend.x1);
    std::vector<uint8_t> right;
    const auto keep_right = [&right]() {
        right.clear();
        // Below the legend the credit, which the figures erase as they always did.
        for (int32_t y = 0; y < 464; ++y) {
            for (int32_t x = 408; x < 640; ++x)
                right.push_back(pixel(x, y));
        }
    };
    keep_right();
    const std::vector<uint8_t> before = right;
    // Down to the legend's rows, the detector line through the curves, and
    // back where they were.
    for (int32_t i = 0; i < 200; ++i)
        key(DOWN);
    for (int32_t i = 0; i < 120; ++i)
        key('6');
    for (int32_t i = 0; i < 120; ++i)
        key('4');
    for (int32_t i = 0; i < 200; ++i)
        key(0x48 << 8 | 0xFF);  // up
    keep_right();
    size_t differing = 0;
    for (size_t i = 0; i < right.size(); ++i) {
        // The current curve took samples on the way: light red is new.
        if (right[i] != before[i] && right[i] != COLOUR_LIGHT_RED) ++differing;
    }
    EXPECT_EQ(differing, 0u);
}

TEST_F(KeptCurvesTest, COffForgetsThemAndRedraws) {
    sweep(10);
    key('g');
    key('c');
    EXPECT_FALSE(lessons.curves_kept);
    EXPECT_EQ(lessons.kept.count, 0);
    for (int32_t y = 0; y < 480; ++y)
        EXPECT_FALSE(row_has(y, 400, 639, KEPT_CURVE_COLOURS[0])) << "row " << y;
}

TEST_F(KeptCurvesTest, KeysActInSingleStepMode) {
    // In single steps the key after the one that starts a call acts.
    for (const char* keys : {"sc", "xp", "xc", "xp"}) {
        key_push(keys[0]);
        key_push(keys[1]);
        handle_key();
    }
    EXPECT_TRUE(model.stepping);
    EXPECT_TRUE(lessons.curves_kept);
    EXPECT_FALSE(lessons.projector_colours);
}

}  // namespace
