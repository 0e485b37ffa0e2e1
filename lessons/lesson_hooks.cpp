#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/scene.h"
#include "sim/sim.h"

// What the lesson tools do at the core's seams. Their state is one record,
// renewed with every run but for the teacher's prepared settings, which the
// program read at its start.

void reset_lessons(void* context) {
    LessonState& lessons = lesson_state(context);
    wave_view_reset(lessons);
    tone_reset(lessons);
    const PreparedSettings prepared = lessons.prepared;
    lessons = LessonState{};
    lessons.prepared.own = prepared.own;
    lessons.prepared.own_count = prepared.own_count;
}

void lessons_scene_cleared(void* context) {
    LessonState& lessons = lesson_state(context);
    forget_kept_texts(lessons);
    extra_keys_scene_cleared(lessons);
    if (lessons.lab.on) {
        lab_scene_cleared(lessons);
        redraw_kept_curves(lessons);
        foot_line_scene_cleared(lessons);
        return;
    }
    draw_model_labels(lessons);
    readouts_scene_cleared(lessons);
    redraw_kept_curves(lessons);
    wave_view_scene_cleared(lessons);
    foot_line_scene_cleared(lessons);
}

void lessons_sample_drawn(void* context, int32_t y) {
    keep_curve_sample(lesson_state(context), y);
}

void lessons_frame_begun(void* context) {
    LessonState& lessons = lesson_state(context);
    wave_view_frame_begun(lessons);
}

namespace {

// The texts that stay over the figures, put back where the figures crossed
// them: the legend over the curves and figures, the help lines over all.
// After a frame the curves are repaired too, and the figures' places noted.
void keep_texts_over_figures(LessonState& lessons, bool frame) {
    const FigureReach now = figure_reach_now();
    bool legend_put = false;
    if (frame) {
        legend_put = repair_kept_curves(lessons, now);
    } else if (lessons.curves_kept && model.intensity_shown &&
               figures_reach(lessons, now, lessons.legend.box)) {
        restore_curve_legend(lessons);
        legend_put = true;
    }
    keep_extra_keys_help(lessons, now, legend_put);
    if (frame) lessons.drawn_reach = now;
}

}  // namespace

void lessons_frame_drawn(void* context) {
    LessonState& lessons = lesson_state(context);
    tell_key_set(lessons);
    put_kept_texts(lessons);
    if (lessons.lab.on) {
        // The legend and the help lines stay whole over the figures, as in
        // the pixel view.
        keep_texts_over_figures(lessons, true);
        lab_frame_drawn(lessons);
        foot_line_frame_drawn(lessons);
        tone_frame_drawn(lessons);
        description_frame_drawn(lessons);
        return;
    }
    keep_texts_over_figures(lessons, true);
    // The picture fills what the figures left.
    wave_view_frame_drawn(lessons);
    foot_line_frame_drawn(lessons);
    tone_frame_drawn(lessons);
    description_frame_drawn(lessons);
}

void lessons_after_key(void* context) {
    LessonState& lessons = lesson_state(context);
    tell_key_set(lessons);
    if (lessons.lab.on) {
        follow_pointer();
        lab_after_key(lessons);
        put_kept_texts(lessons);
        foot_line_after_key(lessons);
        return;
    }
    // "a" may have spread a grating's slits beyond the barrier, and a
    // narrower spacing or more slits leave no room for the slits' width.
    const bool count_changed = fit_slits_to_spacing();
    if (fit_width_to_spacing() || count_changed) redraw_scene();
    follow_pointer();
    // The detector line's distance may have carried the setting across the
    // near field's limit: the label changes, the readouts move under it.
    if (const bool noted = !optics_model.far_field && near_field_noted();
        noted != lessons.near_field_label) {
        erase_readouts(lessons);
        set_near_field_label(lessons, noted);
    }
    update_readouts(lessons);
    put_kept_texts(lessons);
    // A key's command (or the pointer) may have drawn the figures anew.
    keep_texts_over_figures(lessons, false);
    wave_view_after_key(lessons);
    foot_line_after_key(lessons);
}
