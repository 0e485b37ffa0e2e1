#include <algorithm>
#include <climits>

#include "sim/sim.h"
#include "sim/sim_internal.h"

// The figures erase themselves in the background colour before they move,
// and so erase whatever lay under them: over the kept curves and their
// legend that would lose them for good. Each frame finds where the figures
// were and are; where that meets the legend or the curves, those are drawn
// again, and the figures over them as the frame drew them.

namespace {

// The chain and the resultant stay within the total amplitude (80) of the
// detector point, the resultant one pixel more; one spare.
constexpr int32_t CHAIN_REACH = 82;
constexpr int32_t LAST_ROW = CURVE_ROWS - 1;
constexpr int32_t LAST_COLUMN = 639;

// The boxes the figures lie in: chain and resultant, the detector line, the
// rays with the axis.
struct Reach {
    bool known = false;
    PixelBox boxes[3];
};

Reach drawn_reach;

Reach reach_now() {
    const int32_t x = model.detector_x;
    const int32_t y = detector_y();
    const int32_t first = model.slit_y[1];
    const int32_t last = model.slit_y[std::clamp(model.slit_count, 1, MAX_SLITS)];
    Reach reach;
    reach.known = true;
    reach.boxes[0] = PixelBox{x - CHAIN_REACH, y - CHAIN_REACH, x + CHAIN_REACH, y + CHAIN_REACH};
    reach.boxes[1] = PixelBox{x, DETECTOR_TOP, x, DETECTOR_BOTTOM};
    reach.boxes[2] = PixelBox{std::min(model.barrier_x, x), std::min({first, y, model.axis_y}),
                              std::max(model.barrier_x, x), std::max({last, y, model.axis_y})};
    return reach;
}

bool meet(const PixelBox& a, const PixelBox& b, PixelBox* common) {
    const PixelBox c{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                     std::min(a.y1, b.y1)};
    if (c.x0 > c.x1 || c.y0 > c.y1) return false;
    if (common != nullptr) *common = c;
    return true;
}

}  // namespace

void note_figures_drawn() {
    drawn_reach = reach_now();
}

void repair_kept_curves() {
    if (!model.curves_kept || !model.intensity_shown) return;
    const Reach now = reach_now();
    const PixelBox legend = curve_legend_box();
    const PixelBox curves{LAST_COLUMN + 1 - kept_curves.longest, 0, LAST_COLUMN, LAST_ROW};
    bool legend_hit = false;
    int32_t top = INT_MAX;
    int32_t bottom = INT_MIN;
    const Reach* const reaches[] = {&drawn_reach, &now};
    for (const Reach* reach : reaches) {
        if (!reach->known) continue;
        for (const PixelBox& box : reach->boxes) {
            PixelBox common;
            if (meet(box, legend, nullptr)) legend_hit = true;
            if (kept_curves.longest > 0 && meet(box, curves, &common)) {
                top = std::min(top, common.y0);
                bottom = std::max(bottom, common.y1);
            }
        }
    }
    drawn_reach = now;
    if (!legend_hit && top > bottom) return;
    if (legend_hit) {
        restore_curve_legend();
        top = std::min(top, legend.y0);
        bottom = std::max(bottom, legend.y1);
    }
    for (int32_t y = std::max(top, 0); y <= std::min(bottom, LAST_ROW); ++y)
        draw_curve_row(y);
    // The figures over them again, in the frame's order; each draws the
    // pixels it drew before.
    draw_resultant();
    scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_RED);
    draw_rays();
    draw_chain();
    draw_curve_row(detector_y());
}
