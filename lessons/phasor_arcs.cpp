#include <span>

#include "lessons/lessons.h"
#include "lessons/wide_slits.h"
#include "sim/figures.h"
#include "sim/sim.h"

// The chain of wide slits: each slit's phasor drawn as the arc it is, chords
// head to tail, so that one slit at a minimum closes a circle and a grating's
// arcs line up at a maximum. The arcs are remembered as drawn, and the next
// frame retraces them in the background colour, as the core does its chain.

namespace {

void trace(const DrawnArcs& arcs, bool erase) {
    bool first = true;
    for (int32_t i = 1; i <= model.slit_count && i <= SLIT_CAPACITY; ++i) {
        const uint32_t colour = erase ? COLOUR_WHITE : i == 1 ? COLOUR_LIGHT_GREEN : COLOUR_BLUE;
        for (int32_t j = 0; j < arcs.chords[i]; ++j) {
            if (first) {
                // From the detector point; every chord after it continues
                // from where the one before ended.
                scene_line(arcs.start_x, arcs.start_y,
                           static_cast<double>(arcs.start_x) + arcs.dx[i][j],
                           static_cast<double>(arcs.start_y) + arcs.dy[i][j], colour);
                first = false;
            } else {
                scene_line(0.0, 0.0, arcs.dx[i][j], arcs.dy[i][j], colour, RELATIVE_BOTH);
            }
        }
    }
}

}  // namespace

bool draw_arcs(bool erase) {
    DrawnArcs& arcs = lessons.arcs;
    if (erase) {
        // Whatever drew the last chain erases it: arcs here, a point slits'
        // chain in the core.
        if (!arcs.drawn) return false;
        trace(arcs, true);
        arcs.drawn = false;
        return true;
    }
    if (lessons.slit_width == 0) return false;
    SlitSetting setting = setting_of(model);
    setting.slit_width = static_cast<float>(lessons.slit_width);
    setting.far_field = lessons.far_field;
    arcs.start_x = static_cast<float>(model.detector_x);
    arcs.start_y = static_cast<float>(detector_y());
    for (int32_t i = 1; i <= SLIT_CAPACITY; ++i) {
        arcs.chords[i] =
            i <= model.slit_count
                ? slit_chords(setting, model.phase, i, std::span(arcs.dx[i]), std::span(arcs.dy[i]))
                : 0;
    }
    trace(arcs, false);
    arcs.drawn = true;
    return true;
}
