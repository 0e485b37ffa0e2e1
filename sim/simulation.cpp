#include "sim/sim.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text.h"
#include "runtime/runtime.h"
#include "sim/detector.h"
#include "sim/hooks.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/spacing_cycle.h"

namespace {

constexpr double FRAME_PERIOD = 0.05;  // seconds: about 20 frames per second

StartAction start_action = nullptr;

void set_initial_values() {
    model = SlitModel{};
    optics_model = OpticsModel{};
    model.axis_y = AXIS_Y;
    model.barrier_x = BARRIER_X;
    model.detector_x = DETECTOR_HOME_X;
    model.detector_distance = model.detector_x - model.barrier_x;
    model.slit_count = 2;
    model.slit_spacing = 20;
    model.detector_offset = 30;
    model.total_amplitude = 80.0f;
    model.slit_amplitude = static_cast<float>(static_cast<double>(model.total_amplitude) /
                                              static_cast<double>(model.slit_count));
    model.wavelength = 5.0f;
    model.two_pi = STORED_TWO_PI;
    model.wave_number = static_cast<float>(static_cast<double>(model.two_pi) /
                                           static_cast<double>(model.wavelength));
    model.phase_step = static_cast<float>(0.1);
    model.phase = 0.0f;
    model.background_colour = 15;
}

}  // namespace

StartAction set_start_action(StartAction action) {
    const StartAction before = start_action;
    start_action = action;
    return before;
}

void reset_simulation() {
    // As at process start, so that a restart leaves nothing of an earlier
    // run behind.
    set_initial_values();
    clear_curve_samples();
    forget_drawn_chain();
    set_step_feed(nullptr);
    if (const auto reset = sim_hooks().reset) reset(sim_hooks().context);
}

void simulation_start() {
    reset_simulation();
    redraw_scene();
    compute_path_lengths();
}

void run_frame() {
    if (const auto frame_begun = sim_hooks().frame_begun) frame_begun(sim_hooks().context);
    // The physics gives the path lengths with the phasors, below.
    draw_slit_arrows();
    erase_chain();
    compute_phasors();
    draw_resultant();
    // The erasures above may have cut the detector line and the rays; repaint
    // them, then the chain on top of both.
    draw_detector_line();
    draw_rays();
    draw_chain();
    if (model.intensity_shown) draw_intensity_sample();
    if (const auto frame_drawn = sim_hooks().frame_drawn) frame_drawn(sim_hooks().context);
    // The picture is whole: the window shows it until the next frame's end,
    // never the figures a key or the next frame erases (also during a single
    // step's wait, which follows).
    gfx_present_point();
    model.phase = static_cast<float>(static_cast<double>(model.phase_step) +
                                     static_cast<double>(model.phase));
}

void pace_frame() {
    // The drawing time counts against the period. The rest of it is slept in
    // one pause of whole milliseconds (at least 1, at most a period, so that
    // it stays one uninterrupted pause); a short wake-up sleeps again.
    const double end = static_cast<double>(model.last_frame_time) + FRAME_PERIOD;
    double now = timer_seconds();
    do {
        const double remaining_ms = std::ceil((end - now) * 1000.0);
        const double ms = std::clamp(remaining_ms, 1.0, FRAME_PERIOD * 1000.0);
        sleep_ms(static_cast<int32_t>(ms));
        now = timer_seconds();
    } while (!(now > end));
    model.last_frame_time = static_cast<float>(timer_seconds());
}

int simulation_main(int argc, char** argv) {
    runtime_start(argc, argv, 0);
    // No screen exists yet: this reaches only the text console, which the
    // program does not show, so it changes nothing visible.
    gfx_cls(CLS_DEFAULT);
    if (gfx_screen(12, 8, 0, 0, 0) != 0) {
        // Running on without a window would leave a process nobody can see or
        // quit, so say what failed and how to run anyway.
        std::fprintf(stderr,
                     "mehrfachspalt: no window could be opened: %s; "
                     "set QXGFX=null to run without a window\n",
                     gfx_window_failure());
        return 1;
    }
    simulation_start();
    if (start_action != nullptr) start_action();
    for (;;) {
        run_frame();
        handle_key();
        pace_frame();
    }
}
