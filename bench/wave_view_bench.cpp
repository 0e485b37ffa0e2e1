#include <benchmark/benchmark.h>

#include "app/program_parts.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "lessons/lessons.h"
#include "lessons/wave_field.h"
#include "sim/scene.h"
#include "sim/sim.h"

// The wave picture ("f"): a frame of the moving waves against a frame
// without them, how long the whole field of a setting takes to build (the
// time until a setting change shows the new picture in full), and the
// detector line's column built ahead of its turn (what a frame adds while
// the field is building, so that the shades have their scale at once).

namespace {

// The lesson state the program hands its hooks; nullptr without a screen.
LessonState* start(benchmark::State& state) {
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        state.SkipWithError("no screen");
        return nullptr;
    }
    LessonState* lessons = assemble_program();
    simulation_start();
    return lessons;
}

// A frame with the curve on, the picture off, waves or intensity.
void frame(benchmark::State& state, int32_t presses) {
    LessonState* lessons = start(state);
    if (lessons == nullptr) return;
    model.intensity_shown = true;
    redraw_scene();
    for (int32_t i = 0; i < presses; ++i)
        cycle_wave_view(*lessons);
    while (presses > 0 && !advance_field(FIELD_BUDGET)) {
    }
    for (auto _ : state)
        run_frame();
    state.SetItemsProcessed(state.iterations());
}

void BM_FramePictureOff(benchmark::State& state) {
    frame(state, 0);
}
BENCHMARK(BM_FramePictureOff)->Unit(benchmark::kMicrosecond);

void BM_FrameWaves(benchmark::State& state) {
    frame(state, 1);
}
BENCHMARK(BM_FrameWaves)->Unit(benchmark::kMicrosecond);

void BM_FrameIntensity(benchmark::State& state) {
    frame(state, 2);
}
BENCHMARK(BM_FrameIntensity)->Unit(benchmark::kMicrosecond);

// The whole field of a setting, from its start.
void build(benchmark::State& state, FieldSources sources) {
    if (!start(state)) return;
    sources.axis_y = AXIS_Y;
    sources.slit_amplitude = 80.0f / static_cast<float>(sources.slit_count);
    int64_t frames = 0;
    for (auto _ : state) {
        start_field(sources);
        frames = 1;
        while (!advance_field(FIELD_BUDGET))
            ++frames;
    }
    state.counters["frames"] = static_cast<double>(frames);
}

float wave_number(float wavelength) {
    return 6.28318f / wavelength;
}

void BM_BuildEightPointSlits(benchmark::State& state) {
    build(state, {.slit_count = 8, .slit_spacing = 20, .wave_number = wave_number(5.0f)});
}
BENCHMARK(BM_BuildEightPointSlits)->Unit(benchmark::kMillisecond);

void BM_BuildEightPointSlitsShortWaves(benchmark::State& state) {
    build(state, {.slit_count = 8, .slit_spacing = 100, .wave_number = wave_number(0.5f)});
}
BENCHMARK(BM_BuildEightPointSlitsShortWaves)->Unit(benchmark::kMillisecond);

void BM_BuildFiftySlitsShortWaves(benchmark::State& state) {
    build(state, {.slit_count = 50,
                  .slit_spacing = 8,
                  .wave_number = wave_number(0.5f),
                  .slit_width = 6.0f});
}
BENCHMARK(BM_BuildFiftySlitsShortWaves)->Unit(benchmark::kMillisecond);

void BM_BuildWideOpeningsShortWaves(benchmark::State& state) {
    build(state, {.slit_count = 8,
                  .slit_spacing = 100,
                  .wave_number = wave_number(0.5f),
                  .slit_width = 60.0f});
}
BENCHMARK(BM_BuildWideOpeningsShortWaves)->Unit(benchmark::kMillisecond);

void BM_BuildOneWideOpeningShortWaves(benchmark::State& state) {
    build(state, {.slit_count = 1,
                  .slit_spacing = 20,
                  .wave_number = wave_number(0.5f),
                  .slit_width = 60.0f});
}
BENCHMARK(BM_BuildOneWideOpeningShortWaves)->Unit(benchmark::kMillisecond);

// The detector line's column alone, right after a setting's start.
void BM_ReferenceColumnFiftySlitsShortWaves(benchmark::State& state) {
    if (!start(state)) return;
    const FieldSources sources{.slit_count = 50,
                               .slit_spacing = 8,
                               .axis_y = AXIS_Y,
                               .wave_number = wave_number(0.5f),
                               .slit_amplitude = 80.0f / 50,
                               .slit_width = 6.0f};
    for (auto _ : state) {
        start_field(sources);
        build_field_column(DETECTOR_HOME_X);
    }
}
BENCHMARK(BM_ReferenceColumnFiftySlitsShortWaves)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
