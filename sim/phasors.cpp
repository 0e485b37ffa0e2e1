#include "sim/sim_internal.h"

#include <cmath>

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

uint32_t background() {
    return static_cast<uint32_t>(model.background_colour);
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
    const double distance = wide(model.detector_distance);
    for (int i = 1; i <= model.slit_count; ++i) {
        const int32_t dy = detector_y() - model.slit_y[i];
        // The distance is squared as a real, so a detector moved far away
        // cannot overflow an integer product.
        model.path_length[i] =
            static_cast<float>(std::sqrt(std::pow(wide(dy), 2.0) + distance * distance));
    }
}

void erase_resultant() {
    draw_thick_arrow(model.drawn_sum_x, model.drawn_sum_y, background());
}

void draw_slit_arrows() {
    const double amplitude = wide(model.slit_amplitude);
    const double old_angle = wide(model.phase) - wide(model.phase_step);
    const double angle = wide(model.phase);
    const double x = wide(model.barrier_x);
    for (int i = 1; i <= model.slit_count; ++i) {
        const double y = wide(model.slit_y[i]);
        const float old_x = static_cast<float>(std::cos(old_angle) * amplitude);
        const float old_y = static_cast<float>(-amplitude * std::sin(old_angle));
        scene_line(x, y, old_x, old_y, COLOUR_WHITE, RELATIVE_SECOND);
        const float new_x = static_cast<float>(std::cos(angle) * amplitude);
        const float new_y = static_cast<float>(-amplitude * std::sin(angle));
        scene_line(x, y, new_x, new_y, COLOUR_BLUE, RELATIVE_SECOND);
        // The erase cuts through the barrier; repair it before the next slit.
        draw_barrier();
    }
}

void erase_chain() {
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
    const double amplitude = wide(model.slit_amplitude);
    model.sum_x = 0.0f;
    model.sum_y = 0.0f;
    for (int i = 1; i <= model.slit_count; ++i) {
        const double angle =
            wide(model.phase) - wide(model.path_length[i]) * wide(model.wave_number);
        model.phasor_x[i] = static_cast<float>(std::cos(angle) * amplitude);
        model.phasor_y[i] = static_cast<float>(-amplitude * std::sin(angle));
        model.sum_x = static_cast<float>(wide(model.phasor_x[i]) + wide(model.sum_x));
        model.sum_y = static_cast<float>(wide(model.phasor_y[i]) + wide(model.sum_y));
    }
}

void draw_resultant() {
    erase_resultant();
    draw_thick_arrow(model.sum_x, model.sum_y, COLOUR_LIGHT_RED);
    model.drawn_sum_x = model.sum_x;
    model.drawn_sum_y = model.sum_y;
}

void draw_chain() {
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
    model.intensity = static_cast<float>(
        (wide(model.sum_x) * wide(model.sum_x) + wide(model.sum_y) * wide(model.sum_y)) / 100.0);
    // From one pixel beyond the right edge leftwards by the intensity.
    scene_line(640.0, wide(detector_y()), -wide(model.intensity), 0.0, COLOUR_LIGHT_RED,
               RELATIVE_SECOND);
    record_curve_sample(detector_y(), model.intensity);
    keep_curve_sample(detector_y());
}
