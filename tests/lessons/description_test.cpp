#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "gfx/present/present.h"
#include "lessons/lessons.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

// A headless window that carries the picture's words, as the page does.
std::vector<std::string> said;
const WindowDriver DESCRIBING = [] {
    WindowDriver driver = null_driver;
    driver.describe = [](const char* text) { said.emplace_back(text); };
    return driver;
}();

class DescriptionTest : public LessonTest {
protected:
    void SetUp() override {
        LessonTest::SetUp();
        said.clear();
        active_screen()->driver = &DESCRIBING;
    }
    void TearDown() override {
        active_screen()->driver = &null_driver;
        LessonTest::TearDown();
    }
    static void frames(int32_t count) {
        for (int32_t i = 0; i < count; ++i)
            run_frame();
    }
};

// The detector at a row offset where the double slit (spacing 20, wavelength
// 5, line 535 columns away) has its path difference d sin(theta) = q
// wavelengths: y = D q lambda / sqrt(d^2 - (q lambda)^2).
int32_t offset_for(double wavelengths, double spacing = 20) {
    const double path = wavelengths * 5.0;
    return static_cast<int32_t>(
        std::lround(535.0 * path / std::sqrt(spacing * spacing - path * path)));
}

TEST_F(DescriptionTest, SaysWhereOnTheCurveTheDetectorStands) {
    struct Case {
        const char* name;
        const char* keys;
        int32_t offset;
        const char* expected;  // a part of the words
    };
    // The first minimum of one opening b wide lies where b sin(theta) = lambda.
    const int32_t single_minimum =
        static_cast<int32_t>(std::lround(535.0 * std::tan(std::asin(5.0 / 20.0))));
    const Case cases[] = {
        {"double slit on the axis", "", 0, "nahe dem Maximum 0. Ordnung."},
        {"double slit, first minimum", "", offset_for(0.5), "nahe einem Minimum."},
        {"double slit below, first order", "", -offset_for(1.0), "nahe dem Maximum 1. Ordnung."},
        {"double slit at the start", "", 30, "zwischen Maximum und Minimum."},
        {"three slits, half a wavelength", "g", offset_for(0.5), "nahe einem Nebenmaximum."},
        {"one point slit", "k", 40, "überall gleich hell."},
        {"one wide slit, far field, first minimum", "kbbbbbbbbbbbt", single_minimum,
         "nahe einem Minimum."},
        {"one wide slit, far field, on the axis", "kbbbbbbbbbbbt", 0,
         "nahe dem Maximum 0. Ordnung."},
    };
    for (const Case& c : cases) {
        simulation_start();
        press_each(c.keys);
        model.detector_offset = c.offset;
        const std::string words = picture_description();
        EXPECT_NE(words.find(c.expected), std::string::npos) << c.name << ": " << words;
    }
}

TEST_F(DescriptionTest, NamesTheSettingThePlaceAndTheIntensityOfTheLongest) {
    press_each("kbbbbbbbbbbbt");  // one slit 20 wide, far field
    model.detector_offset = -12;
    EXPECT_TRUE(picture_description().starts_with(
        "Ein Spalt, Wellenlänge 5 Pix, Spaltbreite 20 Pix, Fernfeld. Detektor im Abstand 535 Pix, "
        "12 Pix unter der Achse. Intensität "))
        << picture_description();

    // At the start, 30 rows up, the double slit's light is cos^2 of half its
    // phase difference of the largest: I / I_max = 0.763^2.
    simulation_start();
    const std::string words = picture_description();
    EXPECT_TRUE(
        words.starts_with("2 Spalte im Abstand 20 Pix, Wellenlänge 5 Pix, Nahfeld. Detektor "
                          "im Abstand 535 Pix, 30 Pix über der Achse. "))
        << words;
    double light = 0, most = 0;
    ASSERT_EQ(std::sscanf(words.c_str() + words.find("Intensität "), "Intensität %lf von %lf",
                          &light, &most),
              2)
        << words;
    EXPECT_NEAR(light / most, 0.763 * 0.763, 0.01);
}

TEST_F(DescriptionTest, WordsComeOnceWhatTheyTellHasStoodStill) {
    struct Case {
        const char* name;
        std::vector<int32_t> changes;  // frames at which the detector moves one row
        bool stepping;
        int32_t due_at;  // the frame the words are owed at, -1 never
    };
    const Case cases[] = {
        {"a change, then quiet", {0}, false, DESCRIPTION_SETTLE_FRAMES},
        {"moving every frame", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, false, -1},
        {"a pause too short", {0, 5}, false, 5 + DESCRIPTION_SETTLE_FRAMES},
        {"single steps", {3}, true, 3},
    };
    for (const Case& c : cases) {
        DescriptionState state;
        ReadoutSetting now;
        description_due(state, now, c.stepping);
        state.pending = false;  // the start's words said
        std::vector<int32_t> due;
        for (int32_t frame = 0; frame < 16; ++frame) {
            for (const int32_t change : c.changes)
                now.detector_offset += change == frame ? 1 : 0;
            if (description_due(state, now, c.stepping)) due.push_back(frame);
        }
        EXPECT_EQ(due, c.due_at < 0 ? std::vector<int32_t>{} : std::vector<int32_t>{c.due_at})
            << c.name;
    }
}

TEST_F(DescriptionTest, TheWindowHearsTheWordsAfterAChangeAndNotEveryFrame) {
    frames(DESCRIPTION_SETTLE_FRAMES + 1);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], picture_description());
    frames(20);
    EXPECT_EQ(said.size(), 1u) << "nothing changed";
    // A key that changes nothing that the words tell says nothing new.
    press_each("m");
    frames(20);
    EXPECT_EQ(said.size(), 1u);
    press_each("g");
    frames(DESCRIPTION_SETTLE_FRAMES + 1);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_TRUE(said[1].starts_with("3 Spalte ")) << said[1];
    // Without such a window nothing is composed.
    active_screen()->driver = &null_driver;
    EXPECT_FALSE(gfx_describes());
    press_each("g");
    frames(20);
    EXPECT_EQ(said.size(), 2u);
}

}  // namespace
