#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "lessons/setting_text.h"
#include "lessons/value_lists.h"
#include "random_setting.h"
#include "sim/sim.h"

namespace {

// The state a setting leaves, beyond the setting itself: what the model and
// the lesson tools derive from it and what the screen shows of it.
struct Outcome {
    std::string text;
    uint32_t phase_bits = 0;
    float slit_amplitude = 0;
    int32_t detector_distance = 0;
    std::vector<int32_t> slit_rows;
    bool near_field_label = false;
    int32_t help_lines = 0;
    int32_t kept_curves = 0;
    std::vector<uint8_t> screen;
};

class OpenSetting : public LessonTest {
protected:
    // As the fixture starts: a fresh screen, a fresh run.
    static void start_again() {
        test_support::reset_gfx_state();
        ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        simulation_start();
    }

    static void press(std::string_view key, int32_t times = 1) {
        for (int32_t i = 0; i < times; ++i) {
            if (key.size() == 2 && key[0] == '\xFF') {
                press_each(static_cast<uint8_t>(key[1]) << 8 | 0xFF);
            } else {
                press_each(static_cast<uint8_t>(key[0]));
            }
        }
    }

    // The keys that reach the setting (but its phase) from the start.
    void type_keys_to(const Setting& s) const {
        for (const std::string_view key :
             keys_to_values({s.slit_spacing, s.wavelength, s.wave_number}))
            press(key);
        while (model.slit_count != s.slit_count)
            press(model.slit_count < s.slit_count ? "G" : "K");
        while (optics_model.slit_width != s.slit_width)
            press("b");
        if (s.curve) press("i");
        const bool from_barrier = s.detector_x - BARRIER_X < DETECTOR_HOME_X - s.detector_x;
        press(from_barrier ? "7" : "1");
        while (model.detector_x != s.detector_x)
            press(model.detector_x < s.detector_x ? KEY_RIGHT : KEY_LEFT);
        while (model.detector_offset != s.detector_offset)
            press(model.detector_offset < s.detector_offset ? KEY_UP : KEY_DOWN);
        // The field's key redraws the scene: what the moves erased of the
        // labels is history, which a setting does not hold.
        press("t", s.far_field ? 1 : 2);
        if (s.projector) press("p");
        if (s.menu) press("m");
        if (s.help) press("h");
        if (s.readouts) press("r");
        while (lessons.wave.view != s.view)
            press("f");
    }

    Outcome outcome() const {
        // The frames draw the figures that the keys erased and left.
        for (int32_t frame = 0; frame < 2; ++frame) {
            run_frame();
            handle_key();
        }
        Outcome o;
        o.text = setting_text(setting_now(lessons));
        o.phase_bits = std::bit_cast<uint32_t>(model.phase);
        o.slit_amplitude = model.slit_amplitude;
        o.detector_distance = model.detector_distance;
        o.slit_rows.assign(model.slit_y + 1, model.slit_y + 1 + model.slit_count);
        o.near_field_label = lessons.near_field_label;
        o.help_lines = lessons.help.lines;
        o.kept_curves = lessons.kept.count;
        const ScreenContext& screen = *active_screen();
        o.screen.assign(screen.framebuffer,
                        screen.framebuffer + static_cast<size_t>(screen.height) * screen.pitch);
        return o;
    }
};

TEST_F(OpenSetting, TheProgramStartsInTheStartSetting) {
    const Setting now = setting_now(lessons);
    EXPECT_EQ(now, start_setting());
    EXPECT_EQ(std::bit_cast<uint32_t>(now.wave_number),
              std::bit_cast<uint32_t>(start_setting().wave_number));
    EXPECT_EQ(setting_text(now), "v1");
    EXPECT_EQ(model.two_pi, STORED_TWO_PI);
}

TEST_F(OpenSetting, TheWidthListIsTheOneTheKeysStepAlong) {
    press("k");  // one slit: every width fits
    std::vector<int32_t> widths = {optics_model.slit_width};
    for (int32_t before = -1; optics_model.slit_width != before;) {
        before = optics_model.slit_width;
        press("b");
        if (optics_model.slit_width != before) widths.push_back(optics_model.slit_width);
    }
    const auto list = slit_width_list();
    EXPECT_EQ(widths, std::vector<int32_t>(list.begin(), list.end()));
}

TEST_F(OpenSetting, OpeningLeavesWhatTheKeysThatReachItLeave) {
    std::mt19937 random(1337);
    for (int32_t i = 0; i < 20; ++i) {
        Setting want = random_setting(random);
        SCOPED_TRACE(setting_text(want));
        start_again();
        type_keys_to(want);
        want.phase = model.phase;  // the detector's keys hold it back
        ASSERT_EQ(setting_text(setting_now(lessons)), setting_text(want));
        const Outcome typed = outcome();

        start_again();
        open_setting(lessons, want);
        const Outcome opened = outcome();
        EXPECT_EQ(opened.text, typed.text);
        EXPECT_EQ(opened.phase_bits, typed.phase_bits);
        EXPECT_EQ(opened.slit_amplitude, typed.slit_amplitude);
        EXPECT_EQ(opened.detector_distance, typed.detector_distance);
        EXPECT_EQ(opened.slit_rows, typed.slit_rows);
        EXPECT_EQ(opened.near_field_label, typed.near_field_label);
        EXPECT_EQ(opened.help_lines, typed.help_lines);
        EXPECT_EQ(opened.kept_curves, typed.kept_curves);
        // The keys reach the intensity in space only through the waves,
        // whose key line, erased, may leave its box behind: history.
        if (want.view != WaveView::INTENSITY) {
            EXPECT_TRUE(opened.screen == typed.screen);
        }
    }
}

TEST_F(OpenSetting, OpeningForgetsTheKeptCurvesOfEarlierSettings) {
    press("i");
    press("c");
    for (int32_t frame = 0; frame < 5; ++frame) {
        run_frame();
        press(KEY_DOWN);
    }
    press("g");  // the three frames of two slits are kept
    ASSERT_EQ(lessons.kept.count, 1);
    Setting s = setting_now(lessons);
    s.slit_count = 4;
    open_setting(lessons, s);
    EXPECT_TRUE(lessons.curves_kept);
    EXPECT_EQ(lessons.kept.count, 0);
    EXPECT_EQ(setting_text(setting_now(lessons)), setting_text(s));
}

TEST_F(OpenSetting, XPrintsTheTextOnlyOfASettingThatReadsBack) {
    struct Case {
        const char* keys;
        float wave_number;  // 0: as the keys left it
        bool printed;
    };
    const Case cases[] = {
        {"", 0, true},
        {"g+a", 0, true},
        // A wave number no text names, as many presses of "a" between
        // spacings of their own make.
        {"", 1.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        start_again();
        for (const char* k = c.keys; *k != '\0'; ++k)
            press(std::string_view(k, 1));
        if (c.wave_number != 0) model.wave_number = c.wave_number;
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        press("x");
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::string err = ::testing::internal::GetCapturedStderr();
        if (c.printed) {
            EXPECT_EQ(out, setting_text(setting_now(lessons)) + "\n");
            EXPECT_EQ(err, "");
        } else {
            EXPECT_EQ(out, "");
            EXPECT_TRUE(err.starts_with("mehrfachspalt: no text names this setting (setting: k=1 "))
                << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
        }
    }
}

}  // namespace
