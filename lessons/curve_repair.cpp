#include <algorithm>
#include <climits>

#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/detector.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"

// The figures erase themselves in the background colour before they move,
// and so erase whatever lay under them: over the kept curves and their
// legend that would lose them for good. Each frame finds where the figures
// were and are; where that meets the curves, those are drawn again and the
// figures over them as the frame drew them. The legend goes over them all:
// a class must read it whatever crosses its rows.

namespace {

bool meet(const PixelBox& a, const PixelBox& b, PixelBox* common) {
    const PixelBox c{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                     std::min(a.y1, b.y1)};
    if (c.x0 > c.x1 || c.y0 > c.y1) return false;
    if (common != nullptr) *common = c;
    return true;
}

}  // namespace

bool repair_kept_curves(LessonState& lessons, const FigureReach& now) {
    if (!lessons.curves_kept || !model.intensity_shown) return false;
    const bool redrawn = follow_current_setting(lessons);
    const KeptCurves& kept = lessons.kept;
    const PixelBox legend = lessons.legend.box;
    const PixelBox curves{LAST_COLUMN + 1 - kept.longest, 0, LAST_COLUMN, LAST_ROW};
    const bool legend_hit = figures_reach(lessons, now, legend);
    int32_t top = INT_MAX;
    int32_t bottom = INT_MIN;
    const FigureReach* const reaches[] = {&lessons.drawn_reach, &now};
    for (const FigureReach* reach : reaches) {
        if (!reach->known || kept.longest <= 0) continue;
        for (const PixelBox& box : reach->boxes) {
            PixelBox common;
            if (meet(box, curves, &common)) {
                top = std::min(top, common.y0);
                bottom = std::max(bottom, common.y1);
            }
        }
    }
    if (top <= bottom) {
        for (int32_t y = std::max(top, 0); y <= std::min(bottom, LAST_ROW); ++y)
            draw_curve_row(lessons, y);
        // The figures over them again, in the frame's order; each draws the
        // pixels it drew before.
        draw_resultant();
        draw_detector_line();
        draw_rays();
        draw_chain();
        draw_curve_row(lessons, detector_y());
    }
    if (legend_hit && !redrawn) restore_curve_legend(lessons);
    return legend_hit || redrawn;
}
