#include <algorithm>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

#include "gfx/draw/draw.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "lessons/value_lists.h"
#include "runtime/runtime.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// Slits with a width: the single slit's phasors curl into an arc, closing
// into a circle at a minimum. Width 0 is the point slits the program always
// had, and changes nothing of its picture.

namespace {

constexpr int32_t WIDTHS[] = {0, 1, 2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, 60};

// With more than one slit the openings stay apart.
bool width_fits(int32_t width) {
    return model.slit_count <= 1 || width < model.slit_spacing;
}

}  // namespace

std::span<const int32_t> slit_width_list() {
    return WIDTHS;
}

void step_slit_width(int32_t direction) {
    const int32_t* next = nullptr;
    if (direction > 0) {
        next = std::find_if(std::begin(WIDTHS), std::end(WIDTHS),
                            [](int32_t w) { return w > optics_model.slit_width; });
    } else {
        const auto back = std::find_if(std::rbegin(WIDTHS), std::rend(WIDTHS),
                                       [](int32_t w) { return w < optics_model.slit_width; });
        next = back == std::rend(WIDTHS) ? std::end(WIDTHS) : &*back;
    }
    if (next == std::end(WIDTHS) || !width_fits(*next)) return;
    optics_model.slit_width = *next;
    redraw_scene();
}

bool fit_width_to_spacing() {
    if (width_fits(optics_model.slit_width)) return false;
    const auto widest = std::find_if(std::rbegin(WIDTHS), std::rend(WIDTHS), width_fits);
    optics_model.slit_width = widest == std::rend(WIDTHS) ? 0 : *widest;
    return true;
}

int32_t model_label_count(LessonState& lessons) {
    return (optics_model.slit_width != 0 ? 1 : 0) +
           (optics_model.far_field || lessons.near_field_label ? 1 : 0);
}

namespace {

// TRANSLATORS: a label beside the setting's, where the detector line is too
// near for the textbooks' grating; "t" switches to the far field.
constexpr const char* NEAR_FIELD_TEXT = N_("Nahfeld ([t]: Schirm im Unendlichen)");

int32_t field_label_y() {
    return WIDTH_LABEL_Y + (optics_model.slit_width != 0 ? WIDTH_LABEL_Y - WAVELENGTH_LABEL_Y : 0);
}

void print_model_label(LessonState& lessons, int32_t y, std::string_view text) {
    print_at_pixel(LABEL_X, y, text);
    keep_text(lessons, LABEL_X, y, static_cast<int32_t>(text.size()) * GLYPH_WIDTH);
}

void draw_field_label(LessonState& lessons) {
    if (optics_model.far_field) {
        print_model_label(lessons, field_label_y(), screen_text("Fernfeld"));
    } else if (lessons.near_field_label) {
        print_model_label(lessons, field_label_y(), screen_text(NEAR_FIELD_TEXT));
    }
}

}  // namespace

void draw_model_labels(LessonState& lessons) {
    lessons.near_field_label = !optics_model.far_field && near_field_noted();
    if (optics_model.slit_width != 0) {
        print_model_label(
            lessons, WIDTH_LABEL_Y,
            pixel_label(screen_text("Spaltbreite  = "), int_to_text(optics_model.slit_width)));
    }
    draw_field_label(lessons);
}

void set_near_field_label(LessonState& lessons, bool noted) {
    if (noted == lessons.near_field_label) return;
    if (lessons.near_field_label) {
        const auto width = static_cast<int32_t>(screen_text(NEAR_FIELD_TEXT).size()) * GLYPH_WIDTH;
        scene_box(LABEL_X, field_label_y(), width - 1, LABEL_HEIGHT - 1, background(),
                  RELATIVE_SECOND);
        drop_kept_text(lessons, LABEL_X, field_label_y());
    }
    lessons.near_field_label = noted;
    draw_field_label(lessons);
}

void toggle_far_field() {
    optics_model.far_field = !optics_model.far_field;
    redraw_scene();
}
