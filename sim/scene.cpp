#include "sim/scene.h"

#include <cmath>

#include "sim/lines.h"
#include "sim/slit_model.h"

namespace {

// The barrier spans these rows, apart from the openings; the screen's size.
constexpr int32_t BARRIER_TOP = 20;
constexpr int32_t BARRIER_BOTTOM = 470;
constexpr int32_t SCREEN_RIGHT = 639;
constexpr int32_t SCREEN_BOTTOM = 479;

uint32_t background() {
    return static_cast<uint32_t>(model.background_colour);
}

// A piece of the barrier, three pixels wide, between the rows top and bottom.
// The rows may come in either order: a slit beyond the barrier's fixed end
// turns the end piece into one that runs outward to the screen edge.
void barrier_piece(int32_t top, int32_t bottom) {
    scene_box(model.barrier_x - 1, top, model.barrier_x + 1, bottom, COLOUR_BROWN);
}

}  // namespace

void place_slits() {
    const int32_t span = (model.slit_count - 1) * model.slit_spacing;
    for (int i = 1; i <= model.slit_count; ++i) {
        // span is always even, so the value is a whole number.
        const double y = model.axis_y - span / 2.0 + (i - 1) * model.slit_spacing;
        model.slit_y[i] = static_cast<int32_t>(std::lround(y));
    }
}

void draw_barrier() {
    const int32_t last = model.slit_count;
    barrier_piece(BARRIER_TOP, model.slit_y[1] - 3);
    for (int i = 1; i < last; ++i)
        barrier_piece(model.slit_y[i] + 3, model.slit_y[i + 1] - 3);
    barrier_piece(model.slit_y[last] + 3, BARRIER_BOTTOM);
}

void draw_rays() {
    const int32_t y = detector_y();
    for (int i = 1; i <= model.slit_count; ++i) {
        const uint32_t colour = i == 1 ? COLOUR_LIGHT_GREEN : COLOUR_BLUE;
        scene_line(model.barrier_x, model.slit_y[i], model.detector_x, y, colour);
    }
    scene_line(model.barrier_x, model.axis_y, model.detector_distance, 0, COLOUR_LIGHT_GREY,
               RELATIVE_SECOND);
}

void erase_rays() {
    place_slits();
    const int32_t y = detector_y();
    for (int i = 1; i <= model.slit_count; ++i) {
        // Cleans the opening and the first barrier row below it, which the
        // next frame's barrier restores.
        scene_box(model.barrier_x - 1, model.slit_y[i] - 2, 2, 5, background(), RELATIVE_SECOND);
        scene_line(model.barrier_x, model.slit_y[i], model.detector_x, y, background());
    }
}

void redraw_scene() {
    scene_box(0, 0, SCREEN_RIGHT, SCREEN_BOTTOM, background());
    // The mark and its credit text are drawn here, once text can be placed
    // at pixel positions.
    place_slits();
    draw_barrier();
    // The spacing, wavelength and menu labels follow the barrier here.
    draw_rays();
}
