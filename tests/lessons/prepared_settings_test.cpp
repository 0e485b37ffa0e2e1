#include "lessons/prepared_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lessons/setting_text.h"
#include "sim/layout.h"
#include "sim/texts.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

class PreparedSettings : public LessonTest {
protected:
    void TearDown() override {
        use_own_settings(lessons, {});
        LessonTest::TearDown();
    }
    // The foot line shows the text, black on the background, where it stands.
    bool foot_says(const std::string& text) const {
        return lessons.foot.text == text && text_at(lessons.foot.x, HINT_Y, text);
    }
};

TEST_F(PreparedSettings, VStepsThroughTheExperimentsNamingEachAndForgettingTheKeptCurves) {
    const auto experiments = lesson_experiments();
    ASSERT_EQ(experiments.size(), 7u);
    press_each("cgi");  // a kept curve of three slits
    for (size_t round = 0; round < 2; ++round) {
        for (const Experiment& experiment : experiments) {
            const ParsedSetting read = parse_setting(experiment.text);
            ASSERT_EQ(read.error, "") << experiment.text;
            press_each("v");
            run_frame();
            Setting now = setting_now(lessons);
            now.phase = read.setting.phase;  // the frame has turned it on
            EXPECT_EQ(now, read.setting) << experiment.text;
            EXPECT_TRUE(foot_says(std::string(screen_text(experiment.name)))) << experiment.name;
            EXPECT_LE(lessons.kept.count, 0) << "the curves of the settings passed are forgotten";
        }
    }
    // The line goes after forty frames, as the keys' lines do.
    for (int32_t frame = 0; frame < 40; ++frame)
        run_frame();
    EXPECT_TRUE(lessons.foot.text.empty());
}

TEST_F(PreparedSettings, ATeachersListIsSteppedThroughInstead) {
    const SettingList list = read_setting_list("v1,slits=3\r\n\n# the grating\nv1,slits=8\n");
    ASSERT_EQ(list.error, "");
    use_own_settings(lessons, list.settings);
    simulation_start();  // a new run keeps the list
    for (const int32_t slits : {3, 8, 3}) {
        press_each("v");
        EXPECT_EQ(model.slit_count, slits);
    }
    EXPECT_TRUE(foot_says(fill_in(screen_text("Einstellung %s von %s"), {"1", "2"})));
}

TEST_F(PreparedSettings, AListRefusesItsFirstBadLineByNumber) {
    struct Case {
        const char* contents;
        const char* error;  // its start; "" when read
    };
    const std::string long_line = "v1," + std::string(2000, 'x');
    const Case cases[] = {
        {"v1\n\n   \n#v1,width=7\nv1,slits=3", ""},
        {"", "no setting in it"},
        {"# nothing but a comment\n\n", "no setting in it"},
        {"v1,slits=3\nv1,width=7\n", "line 2: setting: width=7"},
        {"v1\nv1\n\nbogus", "line 4: setting:"},
        {long_line.c_str(), "line 1: longer than"},
        {"v1,slits=3\n\x01\x02", "line 2: setting:"},
    };
    for (const Case& c : cases) {
        const SettingList list = read_setting_list(c.contents);
        EXPECT_TRUE(list.error.starts_with(c.error)) << c.contents << ": " << list.error;
        EXPECT_EQ(list.settings.empty(), *c.error != '\0') << c.contents;
    }
}

}  // namespace
