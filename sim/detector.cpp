#include "sim/detector.h"

#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"

namespace {

// Both moves in one: the line's erases what a new column leaves behind, the
// point's draws the rays at once.
void move_detector(bool line, int32_t column, int32_t offset, DetectorPassing passing) {
    if (line) erase_detector_line();
    erase_rays();
    erase_resultant();
    model.detector_x = column;
    model.detector_distance = column - model.barrier_x;
    if (passing != nullptr) passing(model.detector_offset, offset);
    model.detector_offset = offset;
    compute_path_lengths();
    step_phase_back();
    if (line) {
        draw_detector_line();
    } else {
        draw_rays();
    }
}

}  // namespace

void draw_detector_line() {
    scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_RED);
}

void erase_detector_line() {
    scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_WHITE);
    scene_line(model.barrier_x, model.axis_y, model.detector_x, model.axis_y, COLOUR_WHITE);
}

void step_phase_back() {
    model.phase = static_cast<float>(static_cast<double>(model.phase) -
                                     static_cast<double>(model.phase_step));
}

void move_detector_line(int32_t column) {
    move_detector(true, column, model.detector_offset, nullptr);
}

void move_detector_point(int32_t offset) {
    move_detector(false, model.detector_x, offset, nullptr);
}

void move_detector_to(int32_t column, int32_t offset, DetectorPassing passing) {
    move_detector(column != model.detector_x, column, offset, passing);
}

void place_detector_point(int32_t offset) {
    redraw_scene();
    erase_rays();
    model.detector_offset = offset;
    step_phase_back();
}
