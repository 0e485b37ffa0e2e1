#include <benchmark/benchmark.h>

#include "app/program_parts.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "sim/scene.h"
#include "sim/sim.h"

namespace {

// One frame of the simulation without its wait, on a headless screen.
void frame(benchmark::State& state, int32_t slits, int32_t spacing) {
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        state.SkipWithError("no screen");
        return;
    }
    assemble_program();
    simulation_start();
    model.slit_count = slits;
    model.slit_spacing = spacing;
    model.slit_amplitude = model.total_amplitude / static_cast<float>(slits);
    model.intensity_shown = true;
    redraw_scene();
    for (auto _ : state)
        run_frame();
    state.SetItemsProcessed(state.iterations());
}

void BM_FrameTwoSlits(benchmark::State& state) {
    frame(state, 2, 20);
}
BENCHMARK(BM_FrameTwoSlits);

void BM_FrameEightSlits(benchmark::State& state) {
    frame(state, 8, 20);
}
BENCHMARK(BM_FrameEightSlits);

// The present point after a frame that marked every row (a frame marks
// nearly all): the copy the window waits for under the lock.
void BM_PresentPointEveryRow(benchmark::State& state) {
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        state.SkipWithError("no screen");
        return;
    }
    ScreenContext& screen = *active_screen();
    gfx_present_point();
    for (auto _ : state) {
        mark_rows(screen, 0, screen.height - 1);
        gfx_present_point();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PresentPointEveryRow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
