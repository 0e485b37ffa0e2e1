#pragma once

// A setting as text: everything a class sees that is not history (no kept
// curves, no curve samples), short enough to save, link and prepare, e.g.
// "v1,slits=3,spacing=10,wavelength=7,readouts=on". docs/setting.md
// describes the format. A text names only what the keys reach.
//
//   const ParsedSetting read = parse_setting("v1,slits=3");
//   if (read.error.empty()) open_setting(read.setting);
//   std::puts(setting_text(setting_now()).c_str());

#include <cstdint>
#include <string>
#include <string_view>

#include "lessons/lessons.h"

struct Setting {
    int32_t slit_count = 2;
    int32_t slit_spacing = 20;
    float wavelength = 5.0f;
    float wave_number = 0;  // as stored: "a" scales it with the spacing
    int32_t slit_width = 0;
    bool far_field = false;
    int32_t detector_x = DETECTOR_HOME_X;  // the detector line's column
    int32_t detector_offset = 30;          // the detector point above the axis
    bool curve = false;                    // "i"
    bool readouts = false;                 // "r"
    WaveView view = WaveView::OFF;
    bool projector = false;  // "p"
    bool menu = false;       // "m"
    bool help = false;       // "h"
    float phase = 0;
    // The lab view ("u"): whether it shows, its values (kept while it does
    // not) and its detector row above the axis.
    bool lab = false;
    LabValues lab_values = {};
    int32_t lab_detector = 0;
    bool operator==(const Setting&) const = default;
};

// The setting the program starts in.
Setting start_setting();

// The text's version mark, its first field; and the longest text read.
constexpr std::string_view SETTING_MARK = "v1";
constexpr size_t SETTING_TEXT_LIMIT = 1024;

// The setting a text describes, or (error not empty) one line saying why
// none: the field at fault and the values it takes, e.g. "setting: width=7
// is not one of 0, 1, 2, ...".
struct ParsedSetting {
    Setting setting;
    std::string error;
};
ParsedSetting parse_setting(std::string_view text);

// The canonical text: the mark, then in a fixed order only the fields that
// differ from the start; the wave number only where it is not 2 pi over the
// wavelength. Numbers are written so that they read back to the same bits.
std::string setting_text(const Setting& setting);

// The program's setting now, from the model and the lesson tools' state.
Setting setting_now(const LessonState& lessons);

// Puts the program into the setting, as the keys that reach it would have
// left it, with the scene drawn anew and no kept curve but the current one.
void open_setting(LessonState& lessons, const Setting& setting);

// "x": the setting's text on standard output, a line, for a teacher to keep;
// a setting beyond what a text names (the wave number after more presses of
// "a" than a text reaches) is said on standard error instead.
void print_setting(LessonState& lessons);
