#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "lessons/setting_text.h"
#include "lessons/value_lists.h"
#include "random_setting.h"

namespace {

bool same_bits(const Setting& a, const Setting& b) {
    return a == b && std::bit_cast<uint32_t>(a.phase) == std::bit_cast<uint32_t>(b.phase) &&
           std::bit_cast<uint32_t>(a.wave_number) == std::bit_cast<uint32_t>(b.wave_number);
}

TEST(SettingText, TheStartIsTheMarkAlone) {
    EXPECT_EQ(setting_text(start_setting()), "v1");
    const ParsedSetting read = parse_setting("v1");
    EXPECT_EQ(read.error, "");
    EXPECT_TRUE(same_bits(read.setting, start_setting()));
}

TEST(SettingText, FieldsReadInAnyOrderAndWriteInOne) {
    const ParsedSetting read =
        parse_setting("v1,readouts=on,width=4,slits=3,field=far,view=waves,detector=-12");
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.setting.slit_count, 3);
    EXPECT_EQ(read.setting.slit_width, 4);
    EXPECT_TRUE(read.setting.far_field);
    EXPECT_TRUE(read.setting.readouts);
    EXPECT_EQ(read.setting.view, WaveView::WAVES);
    EXPECT_EQ(read.setting.detector_offset, -12);
    EXPECT_EQ(setting_text(read.setting),
              "v1,slits=3,width=4,field=far,detector=-12,readouts=on,view=waves");
}

TEST(SettingText, AWaveNumberOtherThanTwoPiOverTheWavelengthIsWritten) {
    // "a" from the start: 100/25 with the wave number divided by 5.
    const WaveValues a =
        next_spacing_values({20, 5.0f, start_setting().wave_number}, STORED_TWO_PI);
    Setting s = start_setting();
    s.slit_spacing = a.spacing;
    s.wavelength = a.wavelength;
    s.wave_number = a.wave_number;
    const std::string text = setting_text(s);
    const bool own_number = a.wave_number != wave_number_of(a.wavelength, STORED_TWO_PI);
    EXPECT_EQ(text.find(",k=") != std::string::npos, own_number) << text;
    const ParsedSetting read = parse_setting(text);
    ASSERT_EQ(read.error, "");
    EXPECT_TRUE(same_bits(read.setting, s));
}

TEST(SettingText, BadTextIsRefusedWithOneLineNamingTheField) {
    struct Case {
        std::string text;
        std::string error;  // the line, or its start where it goes on listing
        bool whole = true;
    };
    const Case cases[] = {
        {"", "setting: the text starts with its version, v1, not \"\""},
        {"slits=3", "setting: the text starts with its version, v1, not \"slits=3\""},
        {"v2,slits=3", "setting: the text starts with its version, v1, not \"v2\""},
        {"v1,", "setting: field 2 is empty (name=value)"},
        {"v1,,slits=3", "setting: field 2 is empty (name=value)"},
        {"v1,colour=red", "setting: \"colour\" is not a field; the fields are slits, spacing,",
         false},
        {"v1,SLITS=3", "setting: \"SLITS\" is not a field", false},
        {"v1,slits=3,slits=4", "setting: slits is given twice"},
        {"v1,slits", "setting: slits has no value (slits=...)"},
        {"v1,width=7",
         "setting: width=7 is not one of 0, 1, 2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, "
         "60"},
        {"v1,slits=9", "setting: slits=9 is not one of 1, 2, 3, 4, 5, 6, 7, 8, 10, 12,", false},
        {"v1,slits=three", "setting: slits=three is not one of 1, 2,", false},
        {"v1,slits=3.0", "setting: slits=3.0 is not one of 1, 2,", false},
        {"v1,slits=", "setting: slits= is not one of 1, 2,", false},
        {"v1,slits=99999999999999999999", "setting: slits=99999999999999999999 is not one of",
         false},
        {"v1,spacing=7", "setting: spacing=7 is not one of 2, 3, 4, 5, 6, 8,", false},
        {"v1,wavelength=5.2", "setting: wavelength=5.2 is not one of 0.5, 1, 1.5,", false},
        {"v1,wavelength=inf", "setting: wavelength=inf is not one of 0.5,", false},
        {"v1,wavelength=nan", "setting: wavelength=nan is not one of 0.5,", false},
        {"v1,k=1",
         "setting: k=1 is not one of 1.256636, 1.2566361 (the wave numbers the keys "
         "make at wavelength=5)"},
        {"v1,k=-1.2566", "setting: k=-1.2566 is not one of the wave numbers the keys make"},
        {"v1,field=middle", "setting: field=middle is not one of near, far"},
        {"v1,curve=yes", "setting: curve=yes is not one of on, off"},
        {"v1,view=on", "setting: view=on is not one of off, waves, intensity"},
        {"v1,line=24", "setting: line=24 is not one of 25 to 639"},
        {"v1,line=640", "setting: line=640 is not one of 25 to 639"},
        {"v1,detector=249", "setting: detector=249 is not one of -231 to 248"},
        {"v1,detector=-232", "setting: detector=-232 is not one of -231 to 248"},
        {"v1,phase=3000000", "setting: phase=3000000 is not one of the numbers from -2097152 to",
         false},
        // What no sequence of keys makes.
        {"v1,slits=2,width=20,spacing=20",
         "setting: width=20 is not one of 0, 1, 2, 3, 4, 5, 6, 8, 10, 12, 15 (with several slits "
         "it stays below spacing=20)"},
        {"v1,slits=50",
         "setting: slits=50 is not one of 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20 (no more fit on "
         "the barrier at spacing=20)"},
        // 0.5 / 50 by "a", whose wave number is 50 times 2 pi / 0.5, not 2 pi / 0.01.
        {"v1,wavelength=0.01",
         "setting: k=628.31805 is not one of 628.31793, 628.318 (the wave numbers the keys make "
         "at wavelength=0.01)"},
        // Bytes a setting never holds.
        {"v1,slits=3 ", "setting: byte 0x20 at place 11 is not one a setting holds", false},
        {"v1,slits=\xC3\xA4", "setting: byte 0xC3 at place 10 is not one a setting holds", false},
        {std::string("v1,slits=3\0", 11), "setting: byte 0x00 at place 11", false},
        {"v1\n", "setting: byte 0x0A at place 3", false},
        {"v1," + std::string(100000, 'a'),
         "setting: the text is 100003 bytes long, more than the 1024 a setting takes"},
        {"v1,slits=" + std::string(1000, '1'),
         "setting: slits=1111111111111111111111111111111111111111... is not one of", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        const ParsedSetting read = parse_setting(c.text);
        if (c.whole) {
            EXPECT_EQ(read.error, c.error);
        } else {
            EXPECT_EQ(read.error.substr(0, c.error.size()), c.error) << read.error;
        }
        EXPECT_EQ(read.error.find('\n'), std::string::npos);
        EXPECT_LT(read.error.size(), 400u);
        EXPECT_TRUE(same_bits(read.setting, start_setting()));
    }
}

TEST(SettingText, RandomSettingsGoRoundTheTextUnchanged) {
    std::mt19937 random(20260);
    for (int32_t i = 0; i < 200; ++i) {
        Setting s = random_setting(random);
        // Frames and the detector's keys make the phase in steps of 0.1.
        if (std::bernoulli_distribution(0.5)(random))
            s.phase = std::uniform_real_distribution<float>(-300.0f, 300.0f)(random);
        const std::string text = setting_text(s);
        SCOPED_TRACE(text);
        const ParsedSetting read = parse_setting(text);
        ASSERT_EQ(read.error, "");
        EXPECT_TRUE(same_bits(read.setting, s));
        EXPECT_EQ(setting_text(read.setting), text);
        EXPECT_LE(text.size(), SETTING_TEXT_LIMIT);
    }
}

TEST(SettingText, PressingAOnStaysWithinWhatATextHolds) {
    // "a" pressed on goes on with its run: whatever a text holds, the
    // values it makes are ones a text holds too.
    std::mt19937 random(99);
    for (int32_t i = 0; i < 3000; ++i) {
        const Setting s = random_setting(random);
        WaveValues v{s.slit_spacing, s.wavelength, s.wave_number};
        for (int32_t press = 0; press < 12; ++press) {
            v = next_spacing_values(v, STORED_TWO_PI);
            ASSERT_TRUE(keys_make(v.wavelength, v.wave_number))
                << setting_text(s) << " after " << press + 1 << " presses of a";
        }
    }
}

}  // namespace
