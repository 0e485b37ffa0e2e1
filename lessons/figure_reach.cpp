#include <algorithm>
#include <cmath>

#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/scene.h"
#include "sim/sim.h"

namespace {

// The chain and the resultant stay within the total amplitude (80) of the
// detector point, the resultant one pixel more; one spare.
constexpr int32_t CHAIN_REACH = 82;

}  // namespace

FigureReach figure_reach_now() {
    const int32_t x = model.detector_x;
    const int32_t y = detector_y();
    const int32_t first = model.slit_y[1];
    const int32_t last = model.slit_y[std::clamp(barrier_slits(), 1, SLIT_CAPACITY)];
    FigureReach reach;
    reach.known = true;
    reach.boxes[0] = PixelBox{x - CHAIN_REACH, y - CHAIN_REACH, x + CHAIN_REACH, y + CHAIN_REACH};
    reach.boxes[1] = PixelBox{x, DETECTOR_TOP, x, DETECTOR_BOTTOM};
    // The rays end at the detector point, or parallel in the far field.
    const int32_t top = std::min({first, y, model.axis_y, ray_end_row(1)});
    const int32_t bottom = std::max({last, y, model.axis_y, ray_end_row(barrier_slits())});
    reach.boxes[2] =
        PixelBox{std::min(model.barrier_x, x), top, std::max(model.barrier_x, x), bottom};
    // Each slit's arrow turns around its opening, as long as a phasor.
    const auto arrow =
        static_cast<int32_t>(std::ceil(static_cast<double>(model.slit_amplitude))) + 1;
    reach.boxes[3] =
        PixelBox{model.barrier_x - arrow, first - arrow, model.barrier_x + arrow, last + arrow};
    return reach;
}

bool figures_reach(LessonState& lessons, const FigureReach& now, const PixelBox& box) {
    const FigureReach* const reaches[] = {&lessons.drawn_reach, &now};
    for (const FigureReach* reach : reaches) {
        if (!reach->known) continue;
        for (const PixelBox& figure : reach->boxes) {
            if (boxes_meet(figure, box)) return true;
        }
    }
    return false;
}

void note_figures_drawn(LessonState& lessons) {
    lessons.drawn_reach = figure_reach_now();
}
