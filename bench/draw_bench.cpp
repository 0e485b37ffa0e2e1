#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "gfx/draw/draw_context.h"
#include "gfx/draw/primitives.h"
#include "gfx/screen/screen.h"

namespace {

// Mode 18: 640 x 480; the depth argument decides the bytes per pixel.
bool open_screen(benchmark::State& state, int32_t depth) {
    if (gfx_screen(18, depth, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0 || active_screen() == nullptr) {
        state.SkipWithError("no screen");
        return false;
    }
    return true;
}

// The simulation's clear: one full-screen filled box at one byte per pixel.
void BM_FilledBoxFullScreen8(benchmark::State& state) {
    if (!open_screen(state, 8)) return;
    uint32_t colour = 0;
    for (auto _ : state) {
        gfx_line(nullptr, 0, 0, 639, 479, colour, LINE_FILLED_BOX, STYLE_SOLID, RELATIVE_NONE);
        colour ^= 15;
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_FilledBoxFullScreen8);

// What the same clear costs as a bare memory fill, for comparison.
void BM_MemsetFullScreen8(benchmark::State& state) {
    std::vector<uint8_t> pixels(640 * 480);
    int colour = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), colour, pixels.size());
        colour ^= 15;
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_MemsetFullScreen8);

// Lines between random points, partly off the screen so clipping runs too.
void random_lines(benchmark::State& state, int32_t depth) {
    if (!open_screen(state, depth)) return;
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> x(-100.0f, 740.0f);
    std::uniform_real_distribution<float> y(-100.0f, 580.0f);
    std::vector<float> points(4096 * 4);
    for (float& value : points)
        value = (&value - points.data()) % 2 == 0 ? x(random) : y(random);
    size_t next = 0;
    uint32_t colour = 1;
    for (auto _ : state) {
        const float* p = &points[next];
        gfx_line(nullptr, p[0], p[1], p[2], p[3], colour, LINE_PLAIN, STYLE_SOLID, RELATIVE_NONE);
        next = (next + 4) % points.size();
        colour = colour * 1103515245u + 12345u;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RandomLines8(benchmark::State& state) {
    random_lines(state, 8);
}
BENCHMARK(BM_RandomLines8);

void BM_RandomLines32(benchmark::State& state) {
    random_lines(state, 32);
}
BENCHMARK(BM_RandomLines32);

}  // namespace

BENCHMARK_MAIN();
