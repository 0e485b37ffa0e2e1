#include <cmath>
#include <cstdint>
#include <string>

#include "gfx/draw/draw.h"
#include "lessons/extra_keys_lines.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "optics/optics.h"
#include "sim/hooks.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The values at the detector as numbers, so that a class need not read them
// off pixels. They are printed when something they show changes, not every
// frame: printing a label allocates its image block, and a frame allocates
// nothing.

namespace {

// Lines 20 rows apart, as the setting's labels above them.
constexpr int32_t READOUT_STEP = WAVELENGTH_LABEL_Y - SPACING_LABEL_Y;
constexpr double DEGREES_PER_RADIAN = 57.29577951308232;

// A number with a fixed count of decimals, a point and a minus sign as the
// labels have them; a value that rounds to zero has no sign.
std::string fixed_text(double value, int32_t decimals) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    const long long units = std::llround(std::fabs(value) * std::pow(10.0, decimals));
    std::string digits = std::to_string(units);
    const auto point = static_cast<size_t>(decimals);
    if (digits.size() <= point) digits.insert(0, point + 1 - digits.size(), '0');
    const std::string sign = value < 0 && units != 0 ? "-" : "";
    return sign + digits.substr(0, digits.size() - point) + "." +
           digits.substr(digits.size() - point);
}

// The detector point's angle from the axis, seen from the middle of the
// barrier; on the barrier itself straight up or down.
double angle_degrees() {
    if (model.detector_distance == 0) return model.detector_offset < 0 ? -90.0 : 90.0;
    return std::atan(static_cast<double>(model.detector_offset) /
                     static_cast<double>(model.detector_distance)) *
           DEGREES_PER_RADIAN;
}

// The degrees of a path difference, within one turn; just below a whole
// turn rounds to a whole turn, which is none.
double degrees_in_turn(double wavelengths) {
    const double degrees = 360.0 * (wavelengths - std::floor(wavelengths));
    return std::llround(degrees * 10.0) >= 3600 ? 0.0 : degrees;
}

// One opening: the path difference between its edges, b sin theta, with
// theta the detector point's direction from the opening's middle.
double edge_difference() {
    const double height = model.detector_offset;
    const double distance = model.detector_distance;
    const double r = std::sqrt(height * height + distance * distance);
    const double sin_theta = r > 0 ? height / r : 0.0;
    return optics_model.slit_width * sin_theta / static_cast<double>(model.wavelength);
}

std::string whole(int32_t value) {
    return std::to_string(value);
}

}  // namespace

double light_at_offset(int32_t offset) {
    SlitSetting setting = setting_of(model);
    setting.detector_offset = offset;
    const PhasorSet light = light_of(setting, model.phase);
    return intensity_of(light.sum_x, light.sum_y);
}

ReadoutSetting readout_setting_now() {
    return ReadoutSetting{model.slit_count,        model.slit_spacing,    model.detector_x,
                          model.detector_offset,   model.wavelength,      model.wave_number,
                          optics_model.slit_width, optics_model.far_field};
}

void readout_texts(std::string (&lines)[READOUT_LINES]) {
    // The frame loop computes the light only at its start; a command may
    // have moved the detector since.
    const PhasorSet light = light_of(setting_of(model), model.phase);

    for (std::string& line : lines)
        line.clear();
    if (model.slit_count > 1) {
        const double ratio = (static_cast<double>(light.path_length[2]) -
                              static_cast<double>(light.path_length[1])) /
                             static_cast<double>(model.wavelength);
        lines[0] = fill_in(screen_text("Gangunterschied zum Nachbarspalt = %s Wellenlängen"),
                           {fixed_text(ratio, 2)});
        lines[1] = fill_in(screen_text("Phasendifferenz zum Nachbarspalt = %s°"),
                           {fixed_text(degrees_in_turn(ratio), 1)});
    } else {
        // The arc's whole turn: at 360 degrees it closes, a minimum.
        const double edges = edge_difference();
        lines[0] = fill_in(screen_text("Gangunterschied der Spaltränder = %s Wellenlängen"),
                           {fixed_text(edges, 2)});
        lines[1] = fill_in(screen_text("Phasendifferenz der Spaltränder = %s°"),
                           {fixed_text(360.0 * edges, 1)});
    }
    lines[2] = fill_in(screen_text("Winkel = %s°"), {fixed_text(angle_degrees(), 1)});
    const float intensity = intensity_of(light.sum_x, light.sum_y);
    const double total = model.total_amplitude;
    lines[3] =
        fill_in(screen_text("Intensität = %s von %s"),
                {fixed_text(intensity, 1), std::to_string(std::lround(total * total / 100.0))});
    lines[4] = fill_in(screen_text("Abstand D = %s Pix"), {whole(model.detector_distance)}) +
               "   " + fill_in(screen_text("Höhe y = %s Pix"), {whole(model.detector_offset)});
    lines[5] = fill_in(screen_text("Fresnel-Zahl N_F = %s"), {fixed_text(fresnel_number(), 2)});
    if (curve_averaged_at(detector_y())) {
        const SlitSetting setting = setting_of(model);
        lines[6] = fill_in(screen_text("Streifenabstand = %s Pix, feiner als das Bild"),
                           {fixed_text(local_fringe_period(setting, detector_y()), 1)});
    }
}

void toggle_readouts(LessonState& lessons) {
    ReadoutState& readouts = lessons.readouts;
    readouts.shown = !readouts.shown;
    if (readouts.shown) {
        readouts.stale = true;
    } else {
        redraw_scene();
    }
}

void readouts_scene_cleared(LessonState& lessons) {
    for (int32_t& width : lessons.readouts.width)
        width = 0;
    lessons.readouts.stale = true;
}

void erase_readouts(LessonState& lessons) {
    ReadoutState& readouts = lessons.readouts;
    for (int32_t i = 0; i < READOUT_LINES; ++i) {
        if (readouts.width[i] <= 0) continue;
        scene_box(READOUT_X, readouts.y[i], readouts.width[i] - 1, LABEL_HEIGHT - 1, background(),
                  RELATIVE_SECOND);
        drop_kept_text(lessons, READOUT_X, readouts.y[i]);
        readouts.width[i] = 0;
    }
    readouts.stale = true;
}

void update_readouts(LessonState& lessons) {
    ReadoutState& readouts = lessons.readouts;
    if (!readouts.shown) return;
    const ReadoutSetting setting = readout_setting_now();
    if (!readouts.stale && setting == readouts.setting) return;
    readouts.stale = false;
    readouts.setting = setting;

    std::string lines[READOUT_LINES];
    readout_texts(lines);
    // Under the labels of the width and the field while they show, and
    // above the extra keys' help lines while those show: a block that would
    // reach them closes up to the help lines' own step.
    const int32_t top = READOUT_TOP + model_label_count(lessons) * READOUT_STEP;
    const int32_t bottom = lessons.extra_keys_shown ? EXTRA_KEYS_TOP : MENU_TOP;
    const int32_t step = top + (READOUT_LINES - 1) * READOUT_STEP + LABEL_HEIGHT <= bottom
                             ? READOUT_STEP
                             : LINE_STEP;
    for (int32_t i = 0; i < READOUT_LINES; ++i) {
        const int32_t y = top + i * step;
        // A shorter line would leave the old one's end standing.
        int32_t& width = readouts.width[i];
        if (width > 0) {
            scene_box(READOUT_X, readouts.y[i], width - 1, LABEL_HEIGHT - 1, background(),
                      RELATIVE_SECOND);
            drop_kept_text(lessons, READOUT_X, readouts.y[i]);
        }
        readouts.y[i] = y;
        width = static_cast<int32_t>(lines[i].size()) * GLYPH_WIDTH;
        if (lines[i].empty()) continue;
        print_at_pixel(READOUT_X, y, lines[i]);
        keep_text(lessons, READOUT_X, y, width);
    }
}
