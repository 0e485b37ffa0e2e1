#include "sim/scene.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/draw/draw.h"
#include "optics/optics.h"
#include "runtime/runtime.h"
#include "sim/hooks.h"
#include "sim/labels.h"
#include "sim/sim.h"
#include "sim/texts.h"

namespace {

// A piece of the barrier, three pixels wide, between the rows top and bottom,
// as far as it lies within rows first..last. The rows may come in either
// order: a slit beyond the barrier's fixed end turns the end piece into one
// that runs outward to the screen edge.
void barrier_piece(int32_t top, int32_t bottom, int32_t first, int32_t last) {
    const int32_t from = std::max(std::min(top, bottom), first);
    const int32_t to = std::min(std::max(top, bottom), last);
    if (from > to) return;
    scene_box(model.barrier_x - 1, from, model.barrier_x + 1, to, COLOUR_BROWN);
}

// The circle-C mark beside the credit text: a circle of radius 5 with
// everything else omitted, and eleven pixels forming the letter inside it.
void draw_mark() {
    gfx_ellipse(nullptr, MARK_X, MARK_Y, MARK_RADIUS, COLOUR_BLACK, 0, 0, ELLIPSE_END_OMITTED, 0,
                RELATIVE_POINT_ABSOLUTE);
    // The letter's pixels around the circle's centre.
    constexpr int32_t LETTER[][2] = {{-2, -1}, {-2, 0}, {-2, 1}, {-1, -2}, {-1, 2}, {0, -2},
                                     {0, 2},   {1, -2}, {1, 2},  {2, -1},  {2, 1}};
    for (const auto& [dx, dy] : LETTER) {
        gfx_pset(nullptr, static_cast<float>(MARK_X + dx), static_cast<float>(MARK_Y + dy),
                 COLOUR_BLACK, RELATIVE_POINT_ABSOLUTE, 0);
    }
}

}  // namespace

int32_t opening_rows() {
    // As tall as the width, and never narrower than a point slit's five.
    return std::max(2, (optics_model.slit_width + 1) / 2);
}

int32_t ray_end_row(int32_t slit) {
    // In the far field the rays run parallel, at the angle the detector point
    // is seen at from the barrier's middle: each falls as far as the point
    // stands above the axis. In the near field they all meet at the point.
    if (optics_model.far_field) return model.slit_y[slit] - model.detector_offset;
    return detector_y();
}

void place_slits() {
    SlitSetting setting = setting_of(model);
    setting.slit_count = barrier_slits();
    for (int32_t i = 1; i <= setting.slit_count && i <= SLIT_CAPACITY; ++i)
        model.slit_y[i] = slit_row(setting, i);
}

void draw_barrier_rows(int32_t first, int32_t last) {
    // The pieces end a row beyond each opening.
    const int32_t gap = opening_rows() + 1;
    const int32_t count = barrier_slits();
    barrier_piece(BARRIER_TOP, model.slit_y[1] - gap, first, last);
    for (int i = 1; i < count; ++i)
        barrier_piece(model.slit_y[i] + gap, model.slit_y[i + 1] - gap, first, last);
    barrier_piece(model.slit_y[count] + gap, BARRIER_BOTTOM, first, last);
}

void draw_barrier() {
    draw_barrier_rows(INT32_MIN, INT32_MAX);
}

void draw_rays() {
    for (int i = 1; i <= barrier_slits(); ++i) {
        const uint32_t colour = i == 1 ? COLOUR_LIGHT_GREEN : COLOUR_BLUE;
        scene_line(model.barrier_x, model.slit_y[i], model.detector_x, ray_end_row(i), colour);
    }
    scene_line(model.barrier_x, model.axis_y, model.detector_distance, 0, COLOUR_LIGHT_GREY,
               RELATIVE_SECOND);
}

void erase_rays() {
    place_slits();
    const int32_t rows = opening_rows();
    for (int i = 1; i <= barrier_slits(); ++i) {
        // Cleans the opening and the first barrier row below it, which the
        // next frame's barrier restores.
        scene_box(model.barrier_x - 1, model.slit_y[i] - rows, 2, 2 * rows + 1, background(),
                  RELATIVE_SECOND);
        scene_line(model.barrier_x, model.slit_y[i], model.detector_x, ray_end_row(i),
                   background());
    }
}

void redraw_scene() {
    scene_box(0, 0, LAST_COLUMN, LAST_ROW, background());
    forget_text_places();
    clear_curve_samples();
    draw_mark();
    print_at_pixel(CREDIT_X, CREDIT_Y, "Z.Vundermalt");
    place_slits();
    draw_barrier();
    print_at_pixel(LABEL_X, SPACING_LABEL_Y,
                   pixel_label(screen_text("Spaltabstand = "), int_to_text(model.slit_spacing)));
    print_at_pixel(LABEL_X, WAVELENGTH_LABEL_Y,
                   pixel_label(screen_text("Wellenlänge  = "), single_to_text(model.wavelength)));
    print_at_pixel(HINT_X, HINT_Y, screen_text("[m] -> Menü einblenden"));
    draw_rays();
    if (const auto scene_cleared = sim_hooks().scene_cleared) scene_cleared(sim_hooks().context);
}
