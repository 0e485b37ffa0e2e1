#include <algorithm>

#include "gfx/input/input.h"
#include "sim/sim.h"
#include "sim/sim_internal.h"

// The detector under the finger: on a whiteboard or a tablet the pointer is
// the only way to move it. Each move is carried out as the cursor keys carry
// out theirs, so the picture is the one those keys would leave.

namespace {

constexpr int32_t LAST_COLUMN = 639;
constexpr int32_t LAST_ROW = 479;
constexpr int32_t LEFT_BUTTON = 1;

// The curve's samples of the rows strictly between two detector offsets, at
// the detector's column: the rows a drag passed within one frame. Computed
// on the model and put back afterwards, since the next frame erases the
// chain by its stored phasors.
void sample_rows_between(int32_t from, int32_t to) {
    const SlitModel kept = model;
    const int32_t step = to > from ? 1 : -1;
    for (int32_t offset = from + step; offset != to; offset += step) {
        model.detector_offset = offset;
        compute_path_lengths();
        compute_phasors();
        draw_intensity_sample();
    }
    model = kept;
}

}  // namespace

void follow_pointer() {
    int32_t x = -1;
    int32_t y = -1;
    int32_t buttons = 0;
    if (gfx_getmouse(&x, &y, nullptr, &buttons, nullptr) != 0 || (buttons & LEFT_BUTTON) == 0) {
        return;
    }
    const int32_t column = std::clamp(x, model.barrier_x, LAST_COLUMN);
    const int32_t offset = model.axis_y - std::clamp(y, 0, LAST_ROW);
    if (column == model.detector_x && offset == model.detector_offset) return;

    const bool sideways = column != model.detector_x;
    if (sideways) {
        scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_WHITE);
        scene_line(model.barrier_x, model.axis_y, model.detector_x, model.axis_y, COLOUR_WHITE);
    }
    erase_rays();
    erase_resultant();
    model.detector_x = column;
    model.detector_distance = column - model.barrier_x;
    if (model.intensity_shown) sample_rows_between(model.detector_offset, offset);
    model.detector_offset = offset;
    compute_path_lengths();
    step_phase_back();
    // The line's own keys leave the rays to the frame; the point's draw
    // them at once.
    if (sideways) {
        scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_RED);
    } else {
        draw_rays();
    }
}
