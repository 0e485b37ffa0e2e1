// Lines, filled boxes and single pixels, each beside its peers in the same
// program: SDL2's software renderer on a surface of the same pixel size, and
// the memory limit (memset, a plain Bresenham loop, a plain store). Names are
// work/side; bench/compare.sh turns the medians into a table of ratios.
//
// Every benchmark reports the calls and pixels of one iteration as counters,
// so that the script can give the cost per call and per pixel.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/sdl_peer.h"
#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"

namespace {

constexpr int32_t WIDTH = 640;
constexpr int32_t HEIGHT = 480;
constexpr int32_t LINES_PER_SET = 256;
constexpr int32_t POINTS_PER_SET = 256;

// Mode 18 is 640 x 480; the depth argument gives 1 or 4 bytes per pixel.
bool open_screen(benchmark::State& state, int32_t bytes_per_pixel) {
    if (gfx_screen(18, bytes_per_pixel * 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        state.SkipWithError("no screen");
        return false;
    }
    return true;
}

void report(benchmark::State& state, int64_t calls, int64_t pixels) {
    state.counters["calls"] = static_cast<double>(calls);
    state.counters["pixels"] = static_cast<double>(pixels);
}

// ---------------------------------------------------------------------------
// Full-screen filled box at one byte per pixel: the simulation's clear.
// ---------------------------------------------------------------------------

void box_ours(benchmark::State& state) {
    if (!open_screen(state, 1)) return;
    uint32_t colour = 0;
    for (auto _ : state) {
        gfx_line(nullptr, 0, 0, WIDTH - 1, HEIGHT - 1, colour, LINE_FILLED_BOX, STYLE_SOLID,
                 RELATIVE_NONE);
        colour ^= 15;
        benchmark::ClobberMemory();
    }
    report(state, 1, WIDTH * HEIGHT);
}

void box_memset(benchmark::State& state) {
    std::vector<uint8_t> pixels(WIDTH * HEIGHT);
    int colour = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), colour, pixels.size());
        colour ^= 15;
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    report(state, 1, WIDTH * HEIGHT);
}

void box_sdl(benchmark::State& state) {
    SdlPeer peer(1);
    if (!peer.ok()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    Uint32 colour = 0;
    for (auto _ : state) {
        SDL_FillRect(peer.surface, nullptr, colour);
        colour ^= 15;
        benchmark::ClobberMemory();
    }
    report(state, 1, WIDTH * HEIGHT);
}

// ---------------------------------------------------------------------------
// Random lines. Each set is 256 lines with integer endpoints, drawn by every
// side: short ones (up to 12 pixels each way), mixed ones (endpoints up to
// 100 pixels beyond every edge, so some are clipped and some are not seen at
// all) and long ones (at least 320 pixels along their longer axis).
// ---------------------------------------------------------------------------

using Line = std::array<int32_t, 4>;

enum class LineKind { SHORT, MIXED, LONG };

std::vector<Line> make_lines(LineKind kind) {
    std::mt19937 random(kind == LineKind::SHORT ? 11 : kind == LineKind::MIXED ? 22 : 33);
    std::uniform_int_distribution<int32_t> x(0, WIDTH - 1);
    std::uniform_int_distribution<int32_t> y(0, HEIGHT - 1);
    std::uniform_int_distribution<int32_t> near(-12, 12);
    std::uniform_int_distribution<int32_t> wide_x(-100, WIDTH + 99);
    std::uniform_int_distribution<int32_t> wide_y(-100, HEIGHT + 99);
    std::vector<Line> lines;
    while (lines.size() < LINES_PER_SET) {
        Line line{};
        switch (kind) {
            case LineKind::SHORT:
                line[0] = x(random);
                line[1] = y(random);
                line[2] = std::clamp(line[0] + near(random), 0, WIDTH - 1);
                line[3] = std::clamp(line[1] + near(random), 0, HEIGHT - 1);
                break;
            case LineKind::MIXED:
                line = Line{wide_x(random), wide_y(random), wide_x(random), wide_y(random)};
                break;
            case LineKind::LONG:
                line = Line{x(random), y(random), x(random), y(random)};
                if (std::max(std::abs(line[2] - line[0]), std::abs(line[3] - line[1])) < 320) {
                    continue;
                }
                break;
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines as our clipping leaves them; lines not seen at all are dropped.
std::vector<Line> clipped(const std::vector<Line>& lines) {
    DrawContext& context = refresh_draw_context();
    std::vector<Line> result;
    for (const Line& line : lines) {
        PixelSegment s{line[0], line[1], line[2], line[3]};
        if (clip_segment(context, s)) {
            result.push_back(Line{static_cast<int32_t>(s.x1), static_cast<int32_t>(s.y1),
                                  static_cast<int32_t>(s.x2), static_cast<int32_t>(s.y2)});
        }
    }
    return result;
}

// The pixels our solid lines write: every position of the clipped line.
int64_t pixel_count(const std::vector<Line>& clipped_lines) {
    int64_t pixels = 0;
    for (const Line& l : clipped_lines)
        pixels += std::max(std::abs(l[2] - l[0]), std::abs(l[3] - l[1])) + 1;
    return pixels;
}

void lines_ours(benchmark::State& state, int32_t bytes_per_pixel, LineKind kind) {
    if (!open_screen(state, bytes_per_pixel)) return;
    const std::vector<Line> lines = make_lines(kind);
    const uint32_t colour = bytes_per_pixel == 1 ? 9 : 0xFFFF8040;
    for (auto _ : state) {
        for (const Line& l : lines) {
            gfx_line(nullptr, static_cast<float>(l[0]), static_cast<float>(l[1]),
                     static_cast<float>(l[2]), static_cast<float>(l[3]), colour, LINE_PLAIN,
                     STYLE_SOLID, RELATIVE_NONE);
        }
        benchmark::ClobberMemory();
    }
    report(state, LINES_PER_SET, pixel_count(clipped(lines)));
}

void lines_sdl(benchmark::State& state, int32_t bytes_per_pixel, LineKind kind) {
    if (!open_screen(state, bytes_per_pixel)) return;  // for the pixel count
    SdlPeer peer(bytes_per_pixel);
    if (!peer.ok()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    const std::vector<Line> lines = make_lines(kind);
    for (auto _ : state) {
        for (const Line& l : lines)
            SDL_RenderDrawLine(peer.renderer, l[0], l[1], l[2], l[3]);
        SDL_RenderFlush(peer.renderer);
        benchmark::ClobberMemory();
    }
    report(state, LINES_PER_SET, pixel_count(clipped(lines)));
}

// A plain Bresenham loop over the lines clipped beforehand: the memory limit.
template <typename Unit>
void bare_line(uint8_t* pixels, ptrdiff_t pitch, const Line& l, Unit colour) {
    const int32_t dx = std::abs(l[2] - l[0]);
    const int32_t dy = std::abs(l[3] - l[1]);
    const ptrdiff_t sx = l[2] >= l[0] ? static_cast<ptrdiff_t>(sizeof(Unit)) : -sizeof(Unit);
    const ptrdiff_t sy = l[3] >= l[1] ? pitch : -pitch;
    const ptrdiff_t major = dx >= dy ? sx : sy;
    const ptrdiff_t minor = dx >= dy ? sy : sx;
    const int32_t long_delta = std::max(dx, dy);
    const int32_t short_delta = std::min(dx, dy);
    ptrdiff_t offset = l[1] * pitch + l[0] * static_cast<ptrdiff_t>(sizeof(Unit));
    int32_t error = 2 * short_delta - long_delta;
    for (int32_t n = long_delta + 1; n > 0; --n) {
        std::memcpy(pixels + offset, &colour, sizeof(Unit));
        offset += major;
        if (error >= 0) {
            offset += minor;
            error -= 2 * long_delta;
        }
        error += 2 * short_delta;
    }
}

void lines_bare(benchmark::State& state, int32_t bytes_per_pixel, LineKind kind) {
    if (!open_screen(state, bytes_per_pixel)) return;
    const std::vector<Line> lines = clipped(make_lines(kind));
    std::vector<uint8_t> pixels(static_cast<size_t>(WIDTH) * HEIGHT * bytes_per_pixel);
    const ptrdiff_t pitch = static_cast<ptrdiff_t>(WIDTH) * bytes_per_pixel;
    for (auto _ : state) {
        for (const Line& l : lines) {
            if (bytes_per_pixel == 1) {
                bare_line<uint8_t>(pixels.data(), pitch, l, 9);
            } else {
                bare_line<uint32_t>(pixels.data(), pitch, l, 0xFFFF8040u);
            }
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    report(state, LINES_PER_SET, pixel_count(lines));
}

// ---------------------------------------------------------------------------
// Single pixels at random places on the screen.
// ---------------------------------------------------------------------------

std::vector<std::array<int32_t, 2>> make_points() {
    std::mt19937 random(44);
    std::uniform_int_distribution<int32_t> x(0, WIDTH - 1);
    std::uniform_int_distribution<int32_t> y(0, HEIGHT - 1);
    std::vector<std::array<int32_t, 2>> points(POINTS_PER_SET);
    for (auto& p : points)
        p = {x(random), y(random)};
    return points;
}

void pset_ours(benchmark::State& state, int32_t bytes_per_pixel) {
    if (!open_screen(state, bytes_per_pixel)) return;
    const auto points = make_points();
    const uint32_t colour = bytes_per_pixel == 1 ? 9 : 0xFFFF8040;
    for (auto _ : state) {
        for (const auto& p : points) {
            gfx_pset(nullptr, static_cast<float>(p[0]), static_cast<float>(p[1]), colour,
                     RELATIVE_POINT_ABSOLUTE, 0);
        }
        benchmark::ClobberMemory();
    }
    report(state, POINTS_PER_SET, POINTS_PER_SET);
}

void pset_sdl(benchmark::State& state, int32_t bytes_per_pixel) {
    SdlPeer peer(bytes_per_pixel);
    if (!peer.ok()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    const auto points = make_points();
    for (auto _ : state) {
        for (const auto& p : points)
            SDL_RenderDrawPoint(peer.renderer, p[0], p[1]);
        SDL_RenderFlush(peer.renderer);
        benchmark::ClobberMemory();
    }
    report(state, POINTS_PER_SET, POINTS_PER_SET);
}

void pset_bare(benchmark::State& state, int32_t bytes_per_pixel) {
    const auto points = make_points();
    std::vector<uint8_t> pixels(static_cast<size_t>(WIDTH) * HEIGHT * bytes_per_pixel);
    const uint32_t colour = 0xFFFF8009;
    for (auto _ : state) {
        for (const auto& p : points) {
            const size_t at = (static_cast<size_t>(p[1]) * WIDTH + p[0]) * bytes_per_pixel;
            std::memcpy(pixels.data() + at, &colour, static_cast<size_t>(bytes_per_pixel));
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    report(state, POINTS_PER_SET, POINTS_PER_SET);
}

void register_all() {
    benchmark::RegisterBenchmark("box_full_8/ours", box_ours);
    benchmark::RegisterBenchmark("box_full_8/sdl", box_sdl);
    benchmark::RegisterBenchmark("box_full_8/memset", box_memset);

    struct Set {
        const char* name;
        LineKind kind;
    };
    for (int32_t size : {1, 4}) {
        for (const Set set : {Set{"short", LineKind::SHORT}, Set{"mixed", LineKind::MIXED},
                              Set{"long", LineKind::LONG}}) {
            const std::string work = "lines_" + std::to_string(size * 8) + "_" + set.name;
            benchmark::RegisterBenchmark((work + "/ours").c_str(), lines_ours, size, set.kind);
            benchmark::RegisterBenchmark((work + "/sdl").c_str(), lines_sdl, size, set.kind);
            benchmark::RegisterBenchmark((work + "/bare").c_str(), lines_bare, size, set.kind);
        }
        const std::string work = "pset_" + std::to_string(size * 8);
        benchmark::RegisterBenchmark((work + "/ours").c_str(), pset_ours, size);
        benchmark::RegisterBenchmark((work + "/sdl").c_str(), pset_sdl, size);
        benchmark::RegisterBenchmark((work + "/bare").c_str(), pset_bare, size);
    }
}

}  // namespace

int main(int argc, char** argv) {
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gfx_screen(0, 0, 0, 0, 0);
    return 0;
}
