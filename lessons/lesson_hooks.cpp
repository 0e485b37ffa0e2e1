#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/scene.h"
#include "sim/sim.h"

// What the lesson tools do at the core's seams. Their state is one record,
// renewed with every run.

LessonState lessons;

void reset_lessons() {
    wave_view_reset();
    tone_reset();
    lessons = LessonState{};
}

void lessons_scene_cleared() {
    forget_kept_texts();
    extra_keys_scene_cleared();
    draw_model_labels();
    readouts_scene_cleared();
    redraw_kept_curves();
    wave_view_scene_cleared();
    tone_scene_cleared();
}

void lessons_sample_drawn(int32_t y) {
    keep_curve_sample(y);
}

void lessons_frame_begun() {
    wave_view_frame_begun();
}

namespace {

// The texts that stay over the figures, put back where the figures crossed
// them: the legend over the curves and figures, the help lines over all.
// After a frame the curves are repaired too, and the figures' places noted.
void keep_texts_over_figures(bool frame) {
    const FigureReach now = figure_reach_now();
    bool legend_put = false;
    if (frame) {
        legend_put = repair_kept_curves(now);
    } else if (lessons.curves_kept && model.intensity_shown &&
               figures_reach(now, lessons.legend.box)) {
        restore_curve_legend();
        legend_put = true;
    }
    keep_extra_keys_help(now, legend_put);
    if (frame) lessons.drawn_reach = now;
}

}  // namespace

void lessons_frame_drawn() {
    put_kept_texts();
    keep_texts_over_figures(true);
    // The picture fills what the figures left.
    wave_view_frame_drawn();
    tone_frame_drawn();
    description_frame_drawn();
}

void lessons_after_key() {
    // "a" may have spread a grating's slits beyond the barrier, and a
    // narrower spacing or more slits leave no room for the slits' width.
    const bool count_changed = fit_slits_to_spacing();
    if (fit_width_to_spacing() || count_changed) redraw_scene();
    follow_pointer();
    // The detector line's distance may have carried the setting across the
    // near field's limit: the label changes, the readouts move under it.
    if (const bool noted = !optics_model.far_field && near_field_noted();
        noted != lessons.near_field_label) {
        erase_readouts();
        set_near_field_label(noted);
    }
    update_readouts();
    put_kept_texts();
    // A key's command (or the pointer) may have drawn the figures anew.
    keep_texts_over_figures(false);
    wave_view_after_key();
    tone_after_key();
}
