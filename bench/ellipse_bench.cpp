#include <benchmark/benchmark.h>

#include <cstdint>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"

namespace {

// The simulation's screen: mode 12, 640 x 480, one byte per pixel.
bool open_screen(benchmark::State& state) {
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0 || active_screen() == nullptr) {
        state.SkipWithError("no screen");
        return false;
    }
    return true;
}

void ellipse(benchmark::State& state, float x, float y, float radius, float start, float end,
             int32_t fill) {
    if (!open_screen(state)) return;
    uint32_t colour = 1;
    for (auto _ : state) {
        gfx_ellipse(nullptr, x, y, radius, colour, 0, start, end, fill, RELATIVE_POINT_ABSOLUTE);
        colour ^= 3;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// The circle mark of every full redraw.
void BM_MarkCircle(benchmark::State& state) {
    ellipse(state, 530, 471, 5, 0, ELLIPSE_END_OMITTED, 0);
}
BENCHMARK(BM_MarkCircle);

void BM_Circle100(benchmark::State& state) {
    ellipse(state, 320, 240, 100, 0, ELLIPSE_END_OMITTED, 0);
}
BENCHMARK(BM_Circle100);

void BM_FilledCircle100(benchmark::State& state) {
    ellipse(state, 320, 240, 100, 0, ELLIPSE_END_OMITTED, 1);
}
BENCHMARK(BM_FilledCircle100);

// Angle steps with a sine and a cosine each: about 940 points for the full turn.
void BM_Arc100(benchmark::State& state) {
    ellipse(state, 320, 240, 100, 0.5f, 5.5f, 0);
}
BENCHMARK(BM_Arc100);

// A huge circle whose edge crosses the view: only its visible part costs.
void BM_HugeCircleCrossingView(benchmark::State& state) {
    ellipse(state, -1e6f + 320, 240, 1e6f, 0, ELLIPSE_END_OMITTED, 0);
}
BENCHMARK(BM_HugeCircleCrossingView);

void BM_HugeArcCrossingView(benchmark::State& state) {
    ellipse(state, -1e6f + 320, 240, 1e6f, 0, 6.28f, 0);
}
BENCHMARK(BM_HugeArcCrossingView);

// The view lies inside: 480 rows filled, nothing of the outline seen.
void BM_FilledRadius1e30(benchmark::State& state) {
    ellipse(state, 320, 240, 1e30f, 0, ELLIPSE_END_OMITTED, 1);
}
BENCHMARK(BM_FilledRadius1e30);

void BM_ArcRadius1e30(benchmark::State& state) {
    ellipse(state, 320, 240, 1e30f, 0, 6.28f, 0);
}
BENCHMARK(BM_ArcRadius1e30);

}  // namespace

BENCHMARK_MAIN();
