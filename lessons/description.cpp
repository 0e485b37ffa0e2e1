#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "gfx/gfx.h"
#include "lessons/lab_values.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "optics/lab_light.h"
#include "optics/optics.h"
#include "sim/hooks.h"
#include "sim/layout.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The picture in words, for a window that carries a text alternative (the
// page's live region, which screen readers say). The words are composed and
// handed over once what they tell has stood still for a moment: a drag or a
// held key says nothing until it ends, and a picture that only turns says
// nothing at all.

namespace {

// The path difference between neighbouring slits (one opening: between its
// edges) at a row offset, in wavelengths.
double path_difference_at(int32_t offset) {
    SlitSetting setting = setting_of(model);
    setting.detector_offset = offset;
    if (model.slit_count > 1) {
        float path[SLIT_CAPACITY + 1];
        slit_path_lengths(setting, path);
        return (static_cast<double>(path[2]) - path[1]) / model.wavelength;
    }
    const double height = offset;
    const double distance = model.detector_distance;
    const double r = std::hypot(height, distance);
    return r > 0 ? optics_model.slit_width * (height / r) / model.wavelength : 0.0;
}

// The rows the detector point can stand on, as row offsets.
constexpr int32_t HIGHEST = AXIS_Y - DETECTOR_TOP;
constexpr int32_t LOWEST = AXIS_Y - DETECTOR_BOTTOM;

// From offset along the detector line in one direction while the light goes
// the way it first went: where it turns, and whether a turn was reached
// before the line's end.
struct Turn {
    int32_t offset = 0;
    double light = 0;
    bool reached = false;
};
Turn follow(int32_t offset, int32_t step, bool rising) {
    double light = light_at_offset(offset);
    for (int32_t row = offset + step; row >= LOWEST && row <= HIGHEST; row += step) {
        const double next = light_at_offset(row);
        if (rising ? next < light : next > light) return Turn{row - step, light, true};
        light = next;
    }
    return Turn{step > 0 ? HIGHEST : LOWEST, light, false};
}

// Where the detector stands on the curve: how near the maximum above it and
// the minimum below it (in light), which of them it is nearer.
std::string place_on_curve(int32_t offset, double light) {
    const double above = light_at_offset(offset < HIGHEST ? offset + 1 : offset);
    const double below = light_at_offset(offset > LOWEST ? offset - 1 : offset);
    // The way up and the way down from here, each to its turn.
    const int32_t up_step = above >= below ? 1 : -1;
    Turn peak = follow(offset, up_step, true);
    Turn trough = follow(offset, -up_step, false);
    // Standing on a turn: the other kind lies either way; the nearer counts.
    if (peak.offset == offset && peak.reached) {
        const Turn other = follow(offset, up_step, false);
        if (std::abs(other.offset - offset) < std::abs(trough.offset - offset)) trough = other;
    } else if (trough.offset == offset && trough.reached) {
        const Turn other = follow(offset, -up_step, true);
        if (std::abs(other.offset - offset) < std::abs(peak.offset - offset)) peak = other;
    }
    const double total = model.total_amplitude * model.total_amplitude / 100.0;
    const double swing = peak.light - trough.light;
    if (!(swing > 1e-3 * total)) return title_text(N_("überall gleich hell"));
    const double share = (light - trough.light) / swing;
    if (share <= 0.1 && trough.reached) return title_text(N_("nahe einem Minimum"));
    if (share < 0.9 || !peak.reached) return title_text(N_("zwischen Maximum und Minimum"));
    // A principal maximum has every phasor in line: the path difference
    // between neighbours a whole number of wavelengths, within half the way
    // to the first zero beside it. One opening has one, on its axis.
    const double ratio = path_difference_at(peak.offset);
    const double order = std::round(ratio);
    const double tolerance = model.slit_count > 1 ? 0.5 / model.slit_count : 0.5;
    if (std::fabs(ratio - order) < tolerance && (model.slit_count > 1 || order == 0)) {
        return fill_in(title_text(N_("nahe dem Maximum %s. Ordnung")),
                       {std::to_string(static_cast<int64_t>(std::fabs(order)))});
    }
    return title_text(N_("nahe einem Nebenmaximum"));
}

// A length in pixels as the labels give it: whole where it is whole, else
// with up to two decimals.
std::string pixels(double value) {
    const long long hundredths = std::llround(value * 100.0);
    std::string text = std::to_string(hundredths / 100);
    if (const long long rest = std::llabs(hundredths % 100); rest != 0) {
        text += '.';
        text += static_cast<char>('0' + rest / 10);
        if (rest % 10 != 0) text += static_cast<char>('0' + rest % 10);
    }
    if (hundredths < 0 && hundredths > -100) text.insert(0, "-");
    return text;
}

std::string one_decimal(double value) {
    const long long tenths = std::llround(value * 10.0);
    return std::to_string(tenths / 10) + "." + std::to_string(std::llabs(tenths % 10));
}

std::string sentence(std::string text) {
    return text + ".";
}

}  // namespace

std::string picture_description() {
    std::string setting =
        model.slit_count == 1
            ? title_text(N_("Ein Spalt"))
            : fill_in(title_text(N_("%s Spalte im Abstand %s Pix")),
                      {std::to_string(model.slit_count), pixels(model.slit_spacing)});
    setting += ", " + fill_in(title_text(N_("Wellenlänge %s Pix")), {pixels(model.wavelength)});
    if (optics_model.slit_width > 0) {
        setting +=
            ", " + fill_in(title_text(N_("Spaltbreite %s Pix")), {pixels(optics_model.slit_width)});
    }
    setting += ", " + title_text(optics_model.far_field ? N_("Fernfeld") : N_("Nahfeld"));

    const std::string distance = pixels(model.detector_distance);
    const int32_t offset = model.detector_offset;
    const std::string place =
        offset == 0
            ? fill_in(title_text(N_("Detektor im Abstand %s Pix, auf der Achse")), {distance})
        : offset > 0 ? fill_in(title_text(N_("Detektor im Abstand %s Pix, %s Pix über der Achse")),
                               {distance, pixels(offset)})
                     : fill_in(title_text(N_("Detektor im Abstand %s Pix, %s Pix unter der Achse")),
                               {distance, pixels(-offset)});

    const double light = light_at_offset(offset);
    const double total = model.total_amplitude * model.total_amplitude / 100.0;
    const std::string intensity =
        fill_in(title_text(N_("Intensität %s von %s")),
                {one_decimal(light), std::to_string(std::lround(total))}) +
        ", " + place_on_curve(offset, light);
    return sentence(setting) + " " + sentence(place) + " " + sentence(intensity);
}

bool description_due(DescriptionState& state, const ReadoutSetting& now, bool stepping) {
    if (!(now == state.seen)) {
        state.seen = now;
        state.quiet_frames = 0;
        state.pending = true;
    } else if (state.quiet_frames < DESCRIPTION_SETTLE_FRAMES) {
        ++state.quiet_frames;
    }
    if (!state.pending) return false;
    if (!stepping && state.quiet_frames < DESCRIPTION_SETTLE_FRAMES) return false;
    state.pending = false;
    return true;
}

void description_frame_drawn(LessonState& lessons) {
    if (!gfx_describes()) return;
    DescriptionState& state = lessons.description;
    const bool lab = lessons.lab.on;
    const ReadoutSetting now = lab ? lab_description_key(lessons) : readout_setting_now();
    if (!description_due(state, now, model.stepping)) return;
    std::string words = lab ? lab_picture_description(lessons) : picture_description();
    if (words == state.said) return;
    state.said = std::move(words);
    gfx_describe(state.said.c_str());
}

std::string lab_picture_description(const LessonState& lessons) {
    const LabValues& values = lessons.lab.values;
    const LabSetting setting = lab_setting_of(values);
    const LabWavelengths light = lab_wavelengths(values);
    std::string colours;
    if (values.lines == LabLines::white) {
        colours = title_text(N_("Weißlicht"));
    } else {
        for (int32_t i = 0; i < light.count; ++i)
            colours += (i > 0 ? " / " : "") + lab_number_text(light.nanometres[i]);
        colours += " nm";
    }
    const std::string count = lab_number_text(setting.slit_count);
    const std::string slits = lab_grating(values)
                                  ? fill_in(title_text(N_("Gitter mit %s Linien/mm, %s Spalte")),
                                            {lab_spacing_text(values), count})
                                  : fill_in(title_text(N_("%s Spalte im Abstand %s mm")),
                                            {count, lab_spacing_text(values)});
    const std::string wall =
        fill_in(title_text(N_("Schirm %s m entfernt")), {lab_number_text(setting.wall_m)});
    const double place = model.detector_offset * lab_scale_mm(values);
    char number[32];
    std::snprintf(number, sizeof number, "%.2f", std::abs(place));
    const std::string where = model.detector_offset == 0 ? title_text(N_("Ort auf der Achse"))
                              : place > 0
                                  ? fill_in(title_text(N_("Ort %s mm über der Achse")), {number})
                                  : fill_in(title_text(N_("Ort %s mm unter der Achse")), {number});
    std::snprintf(number, sizeof number, "%.1f", lab_light(setting, place, 0.0).intensity);
    std::string intensity = fill_in(title_text(N_("Intensität %s von %s")), {number, "64"});
    if (int32_t order = 0; lab_order_at(setting, place, lab_scale_mm(values), order)) {
        intensity += ", " + fill_in(title_text(N_("nahe dem Maximum %s. Ordnung")),
                                    {std::to_string(std::abs(order))});
    }
    return fill_in(title_text(N_("Laborbild: %s, %s, %s.")), {colours, slits, wall}) + " " + where +
           ". " + intensity + ".";
}
