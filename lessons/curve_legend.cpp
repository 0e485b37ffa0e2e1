#include <algorithm>
#include <cstdio>
#include <string>

#include "lessons/lab_values.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "runtime/runtime.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The legend of the curves: per curve its colour and its setting in words,
// the kept ones oldest first, the current one last. It stands right above
// the help menu's place and ends left of where "i" puts the detector line;
// the rays still cross those rows when the detector point is low, so the
// legend is a box of its own that every frame keeps over the figures.
// The font (code page 437) has no lambda: the quantities are named.

namespace {

constexpr int32_t SWATCH_WIDTH = 10;
constexpr int32_t SWATCH_GAP = 4;
constexpr int32_t MAX_LABEL_CHARS = (LEGEND_MAX_WIDTH - SWATCH_WIDTH - SWATCH_GAP) / GLYPH_WIDTH;
// Where "i" puts the detector line; the legend names any other.
constexpr int32_t CURVE_DETECTOR_X = DETECTOR_HOME_X - INTENSITY_SHIFT;

std::string text_of(StringDescriptor* number) {
    StringDescriptor joined;
    string_concat(joined, number, STRING_DESCRIPTOR);
    const StringBytes bytes = string_bytes(&joined, STRING_DESCRIPTOR);
    std::string text(reinterpret_cast<const char*>(bytes.data), static_cast<size_t>(bytes.length));
    string_erase(joined);
    return text;
}

std::string named(const char* german, const std::string& value) {
    return " " + std::string(screen_text(german)) + " " + value;
}

int32_t label_width(const std::string& text) {
    return static_cast<int32_t>(text.size()) * GLYPH_WIDTH;
}

// A lab view's curve in its units: "2 Spalte Abstand 0.20 mm 532 nm 1 m",
// a grating's lines per millimetre ("Gitter 600/mm"), a width other than 0.
std::string lab_curve_label(const LabValues& values) {
    const LabSetting setting = lab_setting_of(values);
    std::string text = std::to_string(setting.slit_count) + " ";
    text += setting.slit_count == 1 ? screen_text("Spalt") : screen_text("Spalte");
    if (lab_grating(values)) {
        // TRANSLATORS: the legend's word before a grating's lines per mm.
        text += named(N_("Gitter"), lab_spacing_text(values) + "/mm");
    } else if (setting.slit_count > 1) {
        text += named(N_("Abstand"), lab_spacing_text(values) + " mm");
    }
    if (setting.width_mm > 0) {
        char width[16];
        std::snprintf(width, sizeof width, "%.2f mm", setting.width_mm);
        text += named(N_("Breite"), width);
    }
    text += " " + lab_number_text(setting.wavelength_nm) + " nm";
    text += " " + lab_number_text(setting.wall_m) + " m";
    text.resize(std::min<size_t>(text.size(), MAX_LABEL_CHARS));
    return text;
}

}  // namespace

std::string kept_curve_label(const CurveSetting& setting) {
    if (setting.lab) return lab_curve_label(setting.lab_values);
    std::string text = text_of(int_to_text(setting.slit_count));
    text += " ";
    // TRANSLATORS: the legend's "1 Spalt" and "2 Spalte": one slit, slits.
    text += setting.slit_count == 1 ? screen_text("Spalt") : screen_text("Spalte");
    // The numbers as the labels write them.
    const auto width = text_of(int_to_text(setting.slit_width));
    const auto spacing = text_of(int_to_text(setting.slit_spacing));
    const auto wavelength = text_of(single_to_text(setting.wavelength));
    // TRANSLATORS: the legend's words before the slit width, the spacing and
    // the wavelength in pixels ("2 Spalte Breite 6 Abstand 20 Wellenlänge 5
    // fern"): a whole line has room for 53 characters.
    if (setting.slit_width != 0) text += named(N_("Breite"), width);
    // With one slit the spacing changes nothing.
    if (setting.slit_count > 1) text += named(N_("Abstand"), spacing);
    text += named(N_("Wellenlänge"), wavelength);
    // TRANSLATORS: the legend's short mark of a curve in the far field.
    if (setting.far_field) text += " " + std::string(screen_text("fern"));
    if (setting.detector_x != CURVE_DETECTOR_X) {
        const std::string line = " x=" + text_of(int_to_text(setting.detector_x));
        if (text.size() + line.size() <= MAX_LABEL_CHARS) text += line;
    }
    text.resize(std::min<size_t>(text.size(), MAX_LABEL_CHARS));
    return text;
}

void draw_curve_legend(LessonState& lessons) {
    const KeptCurves& kept = lessons.kept;
    CurveLegend& legend = lessons.legend;
    legend.current = kept.current_setting;
    // The extra keys' help lines stand over its place until the scene is
    // cleared; it comes back then.
    legend.box = PixelBox{};
    if (lessons.help.lines > 0) return;
    const int32_t lines = kept.count + 1;
    std::string labels[LEGEND_LINES];
    uint32_t colours[LEGEND_LINES];
    int32_t widest = 0;
    for (int32_t i = 0; i < lines; ++i) {
        const bool current = i == kept.count;
        labels[i] = kept_curve_label(current ? kept.current_setting : kept.curves[i].setting);
        colours[i] = current ? COLOUR_LIGHT_RED : kept.curves[i].colour;
        widest = std::max(widest, label_width(labels[i]));
    }
    const int32_t left = LEGEND_RIGHT + 1 - widest - SWATCH_GAP - SWATCH_WIDTH;
    const int32_t top = LEGEND_BOTTOM_LINE_Y - (lines - 1) * LINE_STEP;
    legend.box = PixelBox{left, top, LEGEND_RIGHT, LEGEND_BOTTOM_LINE_Y + LABEL_HEIGHT - 1};
    scene_box(left, top, LEGEND_RIGHT, legend.box.y1, background());
    for (int32_t i = 0; i < lines; ++i) {
        const int32_t y = top + i * LINE_STEP;
        scene_box(left, y + 6, left + SWATCH_WIDTH - 1, y + 8, colours[i]);
        print_at_pixel(left + SWATCH_WIDTH + SWATCH_GAP, y, labels[i]);
    }
    save_block(legend.box, legend.pixels);
}

void restore_curve_legend(LessonState& lessons) {
    restore_block(lessons.legend.box, lessons.legend.pixels);
}

void hide_curve_legend(LessonState& lessons) {
    PixelBox& box = lessons.legend.box;
    if (box.x1 < box.x0) return;
    scene_box(box.x0, box.y0, box.x1, box.y1, background());
    // Nothing there for the wave picture to leave white.
    forget_text_places_within(box.x0, box.y0, box.x1, box.y1);
    box = PixelBox{};
}

bool follow_current_setting(LessonState& lessons) {
    CurveLegend& legend = lessons.legend;
    if (legend.box.x1 < legend.box.x0 || legend.current == lessons.kept.current_setting)
        return false;
    hide_curve_legend(lessons);
    draw_curve_legend(lessons);
    return true;
}
