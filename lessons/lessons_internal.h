#pragma once

// What the lesson tools' own files share, each routine beside its file.

#include <cstdint>
#include <string>
#include <string_view>

#include "lessons/lessons.h"

// The lesson state a hook's or a key's routine was handed: the one the
// program installed the hooks with.
inline LessonState& lesson_state(void* context) {
    return *static_cast<LessonState*>(context);
}

// kept_curves.cpp: notes the sample just drawn at row y as the current
// curve's and draws the row's curves again, longest first.
void keep_curve_sample(LessonState& lessons, int32_t y);
// Draws the curves of row y, longest first, from the right edge.
void draw_curve_row(LessonState& lessons, int32_t y);
// After the screen was cleared: files the earlier setting's curve, takes back
// the current setting's, draws the legend and every curve.
void redraw_kept_curves(LessonState& lessons);

// curve_legend.cpp: the legend right above the help menu's place, one line
// per curve shown; saved as drawn, so that a frame can put it back. Drawn
// again (its old box blank first) when the current curve's setting changed
// without a redraw of the scene (the detector line moved): then true.
void draw_curve_legend(LessonState& lessons);
void restore_curve_legend(LessonState& lessons);
// Blank where it stood, and no longer kept, until it is drawn again.
void hide_curve_legend(LessonState& lessons);
bool follow_current_setting(LessonState& lessons);

// saved_blocks.cpp: a box of the screen saved as gfx_get writes it (room for
// its header and rows padded to 16 bytes) and put back byte for byte; an
// empty box does nothing.
void save_block(const PixelBox& box, uint8_t* pixels);
void restore_block(const PixelBox& box, const uint8_t* pixels);
bool boxes_meet(const PixelBox& a, const PixelBox& b);

// figure_reach.cpp: the boxes the figures lie in now; remembered as drawn.
FigureReach figure_reach_now();
void note_figures_drawn(LessonState& lessons);
// Whether a figure lies, or lay when last noted, in the box.
bool figures_reach(LessonState& lessons, const FigureReach& now, const PixelBox& box);

// curve_repair.cpp: where the figures moved over the legend or the curves,
// those are drawn again and the figures over them, the legend last. Once
// per frame, with where the figures are now. True: the legend was put back
// or drawn again.
bool repair_kept_curves(LessonState& lessons, const FigureReach& now);

// extra_keys_help.cpp: the help lines put back where the figures crossed
// them (or the legend was put over them); forgotten when the scene is
// cleared.
void keep_extra_keys_help(LessonState& lessons, const FigureReach& now, bool legend_put);
void extra_keys_scene_cleared(LessonState& lessons);

// readouts.cpp: printed again after a command if what they show changed or
// the screen lost them; erased before the labels above them change.
void update_readouts(LessonState& lessons);
// What the readouts show depends on, as it is now.
ReadoutSetting readout_setting_now();
// The intensity the curve would show at a row offset of the detector line,
// at the setting in force (the tone's ticks, the page's words).
double light_at_offset(int32_t offset);
void erase_readouts(LessonState& lessons);
void readouts_scene_cleared(LessonState& lessons);

// slit_width.cpp: the field's label names the near field (noted) or no
// longer does, as the detector line's distance says.
void set_near_field_label(LessonState& lessons, bool noted);

// kept_texts.cpp: a label just printed at (x, y), width pixels wide, kept
// over the figures; one erased; all forgotten with the screen; those kept
// put back, with the setting's labels once any is kept.
void keep_text(LessonState& lessons, int32_t x, int32_t y, int32_t width);
void drop_kept_text(LessonState& lessons, int32_t x, int32_t y);
void forget_kept_texts(LessonState& lessons);
void put_kept_texts(LessonState& lessons);

// lesson_palette.cpp: the default colours, the projector's over them while
// they are on, and the wave picture's shades while it shows; each set alone.
void load_lesson_palette(LessonState& lessons);
void set_projector_colours();
void set_view_shades(LessonState& lessons);

// wave_view.cpp: the picture's part of the hooks.
void wave_view_reset(LessonState& lessons);
void wave_view_scene_cleared(LessonState& lessons);
void wave_view_frame_begun(LessonState& lessons);
void wave_view_frame_drawn(LessonState& lessons);
void wave_view_after_key(LessonState& lessons);

// pointer.cpp: while the left button (a finger, a pen) is down inside the
// picture, the detector goes where the pointer is.
void follow_pointer();

// tone.cpp: the tone's part of the hooks.
void tone_reset(LessonState& lessons);
void tone_frame_drawn(LessonState& lessons);

// foot_line.cpp: the line at the foot (screen text), shown for forty frames
// or until the next key in single steps; taken away with what lay under it
// put back; printed again on a cleared scene.
void show_foot_line(LessonState& lessons, std::string text);
void take_foot_line_away(LessonState& lessons);
void foot_line_frame_drawn(LessonState& lessons);
void foot_line_after_key(LessonState& lessons);
void foot_line_scene_cleared(LessonState& lessons);

// description.cpp: the picture's words handed to the window once what they
// tell has settled, where the window carries them.
void description_frame_drawn(LessonState& lessons);

// lab_view.cpp: the lab view ("u") and its keys.
enum class LabKey : int32_t {
    lines,
    keep_curves,
    finer,
    coarser,
    longer,
    shorter,
    wider_spacing,
    narrower_spacing,
    wider,
    narrower,
    more_slits,
    fewer_slits,
    more_grating,
    fewer_grating,
    farther,
    nearer,
};
bool lab_view_on(const LessonState& lessons);
void toggle_lab_view(LessonState& lessons);
void lab_key(LessonState& lessons, LabKey key);
// A key that does nothing in the lab view says so in one line.
void lab_key_idle(LessonState& lessons, std::string_view label);
void toggle_lab_readouts(LessonState& lessons);
// The wall's colours in the palette, while the lab view shows.
void set_lab_colours(const LessonState& lessons);
void lab_scene_cleared(LessonState& lessons);
void lab_frame_drawn(LessonState& lessons);
void lab_after_key(LessonState& lessons);
// Tells a window with buttons for the keys (the page) which set they are,
// the lab view's or the first, when that has changed.
void tell_key_set(LessonState& lessons);
// The lab view's words for the page: its light, slits, wall, the detector's
// place and the intensity there; and what they tell, for their timing.
std::string lab_picture_description(const LessonState& lessons);
ReadoutSetting lab_description_key(const LessonState& lessons);
