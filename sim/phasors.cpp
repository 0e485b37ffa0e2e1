#include "sim/phasors.h"

#include <cmath>

#include "sim/hooks.h"
#include "sim/scene.h"
#include "sim/sim.h"

// Every real of the model is stored in single precision, but each expression
// that produces one is evaluated in double and rounded once, when stored; the
// picture depends on those roundings, so the widening below is deliberate.

namespace {

double wide(float value) {
    return static_cast<double>(value);
}
double wide(int32_t value) {
    return static_cast<double>(value);
}

// The frame's light as chords of each slit's arc, and where the arcs were
// last drawn from while they were: the next frame retraces them in the
// background colour, as it does the point slits' chain.
ArcChords frame_chords;
struct DrawnArcs {
    bool drawn = false;
    float start_x = 0;
    float start_y = 0;
};
DrawnArcs drawn_arcs;

// Each slit's phasor drawn as the arc it is, chords head to tail, so that
// one slit at a minimum closes a circle and a grating's arcs line up at a
// maximum.
void trace_arcs(bool erase) {
    bool first = true;
    for (int32_t i = 1; i <= model.slit_count && i <= SLIT_CAPACITY; ++i) {
        const uint32_t colour = erase ? COLOUR_WHITE : i == 1 ? COLOUR_LIGHT_GREEN : COLOUR_BLUE;
        for (int32_t j = 0; j < frame_chords.count[i]; ++j) {
            const float dx = frame_chords.dx[i][j];
            const float dy = frame_chords.dy[i][j];
            if (first) {
                // From the detector point; every chord after it continues
                // from where the one before ended.
                scene_line(drawn_arcs.start_x, drawn_arcs.start_y,
                           static_cast<double>(drawn_arcs.start_x) + dx,
                           static_cast<double>(drawn_arcs.start_y) + dy, colour);
                first = false;
            } else {
                scene_line(0.0, 0.0, dx, dy, colour, RELATIVE_BOTH);
            }
        }
    }
}

// The resultant is two pixels thick: four lines from the detector point and
// its right, lower and lower-right neighbours.
void draw_thick_arrow(float dx, float dy, uint32_t colour) {
    const double x = wide(model.detector_x);
    const double y = wide(detector_y());
    for (int ox = 0; ox <= 1; ++ox) {
        for (int oy = 0; oy <= 1; ++oy)
            scene_line(x + ox, y + oy, dx, dy, colour, RELATIVE_SECOND);
    }
}

}  // namespace

void compute_path_lengths() {
    slit_path_lengths(setting_of(model), model.path_length);
}

void erase_resultant() {
    draw_thick_arrow(model.drawn_sum_x, model.drawn_sum_y, background());
}

void draw_slit_arrows() {
    const double amplitude = wide(model.slit_amplitude);
    const double old_angle = wide(model.phase) - wide(model.phase_step);
    const double angle = wide(model.phase);
    const double x = wide(model.barrier_x);
    for (int i = 1; i <= barrier_slits(); ++i) {
        const double y = wide(model.slit_y[i]);
        const float old_x = static_cast<float>(std::cos(old_angle) * amplitude);
        const float old_y = static_cast<float>(-amplitude * std::sin(old_angle));
        scene_line(x, y, old_x, old_y, COLOUR_WHITE, RELATIVE_SECOND);
        const float new_x = static_cast<float>(std::cos(angle) * amplitude);
        const float new_y = static_cast<float>(-amplitude * std::sin(angle));
        scene_line(x, y, new_x, new_y, COLOUR_BLUE, RELATIVE_SECOND);
        // The erase cuts through the barrier; repair it before the next slit.
        // The first repair is whole, as a key may have cut the barrier
        // anywhere; each later one covers the rows its slit's arrows reach
        // (and a row beyond), the only ones cut since. A grating beyond eight
        // slits repairs it once, after them all.
        if (barrier_slits() > MAX_SLITS) continue;
        if (i == 1) {
            draw_barrier();
        } else {
            const auto reach = static_cast<int32_t>(std::ceil(amplitude)) + 1;
            draw_barrier_rows(model.slit_y[i] - reach, model.slit_y[i] + reach);
        }
    }
    if (barrier_slits() > MAX_SLITS) draw_barrier();
}

void forget_drawn_chain() {
    drawn_arcs = DrawnArcs{};
}

void erase_chain() {
    // Whatever drew the last chain erases it: arcs, or a point slits' chain.
    if (drawn_arcs.drawn) {
        trace_arcs(true);
        drawn_arcs.drawn = false;
        return;
    }
    scene_line(model.chain_start_x, model.chain_start_y, model.chain_end_x, model.chain_end_y,
               COLOUR_WHITE);
    // The phasors still hold the previous frame's values, and each line
    // continues from the end of the one before, so this retraces the old
    // chain pixel for pixel.
    for (int i = 2; i <= model.slit_count; ++i) {
        scene_line(0.0, 0.0, model.phasor_x[i], model.phasor_y[i], COLOUR_WHITE, RELATIVE_BOTH);
    }
}

void compute_phasors() {
    // Point slits draw their chain from the phasors alone.
    const PhasorSet light =
        light_of(setting_of(model), model.phase, chain_of_arcs() ? &frame_chords : nullptr);
    // Only the slits there are: the chain's erase retraces the rows beyond
    // them as an earlier setting left them.
    for (int32_t i = 1; i <= model.slit_count && i <= SLIT_CAPACITY; ++i) {
        model.path_length[i] = light.path_length[i];
        model.phasor_x[i] = light.phasor_x[i];
        model.phasor_y[i] = light.phasor_y[i];
    }
    model.sum_x = light.sum_x;
    model.sum_y = light.sum_y;
}

void draw_resultant() {
    erase_resultant();
    draw_thick_arrow(model.sum_x, model.sum_y, COLOUR_LIGHT_RED);
    model.drawn_sum_x = model.sum_x;
    model.drawn_sum_y = model.sum_y;
}

void draw_chain() {
    if (chain_of_arcs()) {
        drawn_arcs.start_x = static_cast<float>(model.detector_x);
        drawn_arcs.start_y = static_cast<float>(detector_y());
        trace_arcs(false);
        drawn_arcs.drawn = true;
        return;
    }
    model.chain_start_x = static_cast<float>(model.detector_x);
    model.chain_start_y = static_cast<float>(detector_y());
    model.chain_end_x = static_cast<float>(wide(model.detector_x) + wide(model.phasor_x[1]));
    model.chain_end_y = static_cast<float>(wide(detector_y()) + wide(model.phasor_y[1]));
    scene_line(model.chain_start_x, model.chain_start_y, model.chain_end_x, model.chain_end_y,
               COLOUR_LIGHT_GREEN);
    for (int i = 2; i <= model.slit_count; ++i) {
        scene_line(0.0, 0.0, model.phasor_x[i], model.phasor_y[i], COLOUR_BLUE, RELATIVE_BOTH);
    }
}

void draw_intensity_sample() {
    model.intensity = intensity_of(model.sum_x, model.sum_y);
    draw_sample(detector_y(), model.intensity);
}

void draw_sample(int32_t y, float point_intensity) {
    const float intensity = curve_intensity(y, point_intensity);
    // From one pixel beyond the right edge leftwards by the intensity.
    scene_line(CURVE_ORIGIN_X, y, -wide(intensity), 0.0, COLOUR_LIGHT_RED, RELATIVE_SECOND);
    record_curve_sample(y, intensity);
    if (const auto sample_drawn = sim_hooks().sample_drawn) sample_drawn(sim_hooks().context, y);
}
