#include <cmath>
#include <cstdint>
#include <string>

#include "gfx/draw/draw.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/hooks.h"
#include "sim/labels.h"
#include "sim/physics.h"
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

ReadoutSetting current_setting() {
    return ReadoutSetting{model.slit_count, model.slit_spacing, model.detector_x,
                          model.detector_offset, model.wavelength};
}

// The detector point's angle from the axis, seen from the middle of the
// barrier; on the barrier itself straight up or down.
double angle_degrees() {
    if (model.detector_distance == 0) return model.detector_offset < 0 ? -90.0 : 90.0;
    return std::atan(static_cast<double>(model.detector_offset) /
                     static_cast<double>(model.detector_distance)) *
           DEGREES_PER_RADIAN;
}

}  // namespace

void readout_texts(std::string (&lines)[READOUT_LINES]) {
    // The frame loop computes the light only at its start; a command may
    // have moved the detector since.
    const PhasorSet light = setting_phasors(setting_of(model), model.phase);
    const double ratio =
        (static_cast<double>(light.path_length[2]) - static_cast<double>(light.path_length[1])) /
        static_cast<double>(model.wavelength);

    for (std::string& line : lines)
        line.clear();
    if (model.slit_count > 1) {
        double degrees = 360.0 * (ratio - std::floor(ratio));
        // Just below a whole turn rounds to a whole turn, which is none.
        if (std::llround(degrees * 10.0) >= 3600) degrees = 0.0;
        lines[0] =
            fill_in(screen_text("Gangunterschied = %s Wellenlängen"), {fixed_text(ratio, 2)});
        lines[1] = fill_in(screen_text("Phasendifferenz = %s°"), {fixed_text(degrees, 1)});
    }
    lines[2] = fill_in(screen_text("Winkel = %s°"), {fixed_text(angle_degrees(), 1)});
    const float intensity = intensity_of(light.sum_x, light.sum_y);
    const double total = model.total_amplitude;
    lines[3] =
        fill_in(screen_text("Intensität = %s von %s"),
                {fixed_text(intensity, 1), std::to_string(std::lround(total * total / 100.0))});
}

void toggle_readouts() {
    ReadoutState& readouts = lessons.readouts;
    readouts.shown = !readouts.shown;
    if (readouts.shown) {
        readouts.stale = true;
    } else {
        redraw_scene();
    }
}

void readouts_scene_cleared() {
    for (int32_t& width : lessons.readouts.width)
        width = 0;
    lessons.readouts.stale = true;
}

void update_readouts() {
    ReadoutState& readouts = lessons.readouts;
    if (!readouts.shown) return;
    const ReadoutSetting setting = current_setting();
    if (!readouts.stale && setting == readouts.setting) return;
    readouts.stale = false;
    readouts.setting = setting;

    std::string lines[READOUT_LINES];
    readout_texts(lines);
    for (int32_t i = 0; i < READOUT_LINES; ++i) {
        // Under the labels of the width and the far field while they show.
        const int32_t top = READOUT_TOP + model_label_count() * READOUT_STEP;
        const int32_t y = top + i * READOUT_STEP;
        // A shorter line would leave the old one's end standing.
        int32_t& width = readouts.width[i];
        if (width > 0)
            scene_box(READOUT_X, y, width - 1, LABEL_HEIGHT - 1, background(), RELATIVE_SECOND);
        width = static_cast<int32_t>(lines[i].size()) * GLYPH_WIDTH;
        if (!lines[i].empty()) print_at_pixel(READOUT_X, y, lines[i]);
    }
}
