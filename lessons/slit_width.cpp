#include <algorithm>
#include <cstdint>
#include <iterator>

#include "lessons/lessons.h"
#include "lessons/wide_slits.h"
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

void step_slit_width(int32_t direction) {
    const int32_t* next = nullptr;
    if (direction > 0) {
        next = std::find_if(std::begin(WIDTHS), std::end(WIDTHS),
                            [](int32_t w) { return w > lessons.slit_width; });
    } else {
        const auto back = std::find_if(std::rbegin(WIDTHS), std::rend(WIDTHS),
                                       [](int32_t w) { return w < lessons.slit_width; });
        next = back == std::rend(WIDTHS) ? std::end(WIDTHS) : &*back;
    }
    if (next == std::end(WIDTHS) || !width_fits(*next)) return;
    lessons.slit_width = *next;
    redraw_scene();
}

bool fit_width_to_spacing() {
    if (width_fits(lessons.slit_width)) return false;
    const auto widest = std::find_if(std::rbegin(WIDTHS), std::rend(WIDTHS), width_fits);
    lessons.slit_width = widest == std::rend(WIDTHS) ? 0 : *widest;
    return true;
}

PhasorSet lesson_physics(const SlitSetting& setting, float phase) {
    SlitSetting wide = setting;
    wide.slit_width = static_cast<float>(lessons.slit_width);
    wide.far_field = lessons.far_field;
    return wide_slit_phasors(wide, phase);
}

int32_t lesson_opening_rows() {
    // As tall as the width, and never narrower than a point slit's five.
    return std::max(2, (lessons.slit_width + 1) / 2);
}

int32_t model_label_count() {
    return (lessons.slit_width != 0 ? 1 : 0) + (lessons.far_field ? 1 : 0);
}

void draw_model_labels() {
    int32_t y = WIDTH_LABEL_Y;
    if (lessons.slit_width != 0) {
        print_at_pixel(
            LABEL_X, y,
            pixel_label(screen_text("Spaltbreite  = "), int_to_text(lessons.slit_width)));
        y += WIDTH_LABEL_Y - WAVELENGTH_LABEL_Y;
    }
    if (lessons.far_field) print_at_pixel(LABEL_X, y, screen_text("Fernfeld"));
}

void toggle_far_field() {
    lessons.far_field = !lessons.far_field;
    redraw_scene();
}

int32_t lesson_ray_end_row(int32_t slit) {
    // Parallel rays at the angle the detector point is seen at from the
    // barrier's middle: each falls as far as the point stands above the axis.
    if (lessons.far_field) return model.slit_y[slit] - model.detector_offset;
    return detector_y();
}
