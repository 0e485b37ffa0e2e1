#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "lessons/setting_text.h"
#include "sim/key_table.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"

// The program's setting read from its state, and put into it: what the keys
// would have done, in one step, without the history they leave (the kept
// curves of the settings passed on the way).

namespace {

// The pixel view's setting from its model, optics and views.
Setting pixel_setting(const SlitModel& pixel, const OpticsModel& optics, WaveView view,
                      bool readouts, const LessonState& lessons) {
    return Setting{
        .slit_count = pixel.slit_count,
        .slit_spacing = pixel.slit_spacing,
        .wavelength = pixel.wavelength,
        .wave_number = pixel.wave_number,
        .slit_width = optics.slit_width,
        .far_field = optics.far_field,
        .detector_x = pixel.detector_x,
        .detector_offset = pixel.detector_offset,
        .curve = pixel.intensity_shown,
        .readouts = readouts,
        .view = view,
        .projector = lessons.projector_colours,
        .menu = model.menu_shown,
        .help = lessons.extra_keys_shown,
        .phase = model.phase,
        .lab = lessons.lab.on,
        .lab_values = lessons.lab.values,
        .lab_detector = lessons.lab.on ? model.detector_offset : lessons.lab.detector_offset,
    };
}

}  // namespace

Setting setting_now(const LessonState& lessons) {
    // While the lab view shows, the pixel view's setting is the one it keeps.
    const LabPixelView& kept = lessons.lab.pixel;
    if (lessons.lab.on) {
        return pixel_setting(kept.model, kept.optics, kept.wave_view, lessons.lab.readouts,
                             lessons);
    }
    return pixel_setting(model, optics_model, lessons.wave.view, lessons.readouts.shown, lessons);
}

void open_setting(LessonState& lessons, const Setting& setting) {
    // From the pixel view, which the lab view keeps while it shows.
    if (lessons.lab.on) toggle_lab_view(lessons);
    // The palette's switches go through their keys' routines, which set the
    // colours (and the wave picture's shades) as the keys do.
    if (lessons.projector_colours != setting.projector) toggle_projector_colours(lessons);
    // The wave picture places its lines once the scene and its texts stand
    // (after the redraw below), as after its key; one view on the way to
    // another leaves no line behind.
    while (lessons.wave.view != setting.view)
        cycle_wave_view(lessons);
    model.slit_count = setting.slit_count;
    model.slit_amplitude = static_cast<float>(static_cast<double>(model.total_amplitude) /
                                              static_cast<double>(setting.slit_count));
    model.slit_spacing = setting.slit_spacing;
    model.wavelength = setting.wavelength;
    model.wave_number = setting.wave_number;
    optics_model.slit_width = setting.slit_width;
    optics_model.far_field = setting.far_field;
    // Where "i" has moved it, the line stands at its column as given.
    model.intensity_shown = setting.curve;
    model.detector_x = setting.detector_x;
    model.detector_distance = setting.detector_x - model.barrier_x;
    model.detector_offset = setting.detector_offset;
    lessons.readouts.shown = setting.readouts;
    // The settings passed on the way are no curves of this lesson.
    lessons.kept = KeptCurves{};
    // The menus are drawn over the new scene below, as their keys would.
    model.menu_shown = false;
    lessons.extra_keys_shown = false;
    redraw_scene();
    compute_path_lengths();
    if (setting.menu) find_key("m")->handle(nullptr);
    if (setting.help) toggle_extra_keys_help(lessons);
    lessons.lab.values = setting.lab_values;
    lessons.lab.detector_offset = setting.lab_detector;
    if (setting.lab) toggle_lab_view(lessons);
    model.phase = setting.phase;
    lessons_after_key(&lessons);
}
