#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"

// gfx_put in XOR mode beside SDL's blit of the same block between surfaces of
// the same format. The blit is a plain copy (SDL has no XOR); the put reads
// the target as well, so it moves more bytes than the blit for each pixel.

namespace {

// Mode 18 is 640 x 480; the depth argument gives 1 or 4 bytes per pixel.
bool open_screen(benchmark::State& state, int32_t bytes_per_pixel) {
    if (gfx_screen(18, bytes_per_pixel * 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        state.SkipWithError("no screen");
        return false;
    }
    return true;
}

void BM_PutXor(benchmark::State& state) {
    const auto size = static_cast<int32_t>(state.range(0));
    const auto width = static_cast<int32_t>(state.range(1));
    const auto height = static_cast<int32_t>(state.range(2));
    if (!open_screen(state, size)) return;
    gfx_line(nullptr, 0, 0, 639, 479, 0x00345678, LINE_FILLED_BOX, STYLE_SOLID, 0);
    std::vector<uint8_t> image(32 + static_cast<size_t>((width * size + 15) / 16 * 16) * height);
    if (gfx_get(nullptr, 0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1),
                image.data(), 0, nullptr) != 0) {
        state.SkipWithError("gfx_get failed");
        return;
    }
    for (auto _ : state) {
        gfx_put(nullptr, 0, 0, image.data(), PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR, put_xor_blend,
                -1, nullptr, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * width * height * size);
    gfx_screen(0, 0, 0, 0, 0);
}

void BM_SdlBlit(benchmark::State& state) {
    const auto size = static_cast<int32_t>(state.range(0));
    const auto width = static_cast<int32_t>(state.range(1));
    const auto height = static_cast<int32_t>(state.range(2));
    const Uint32 format = size == 1 ? SDL_PIXELFORMAT_INDEX8 : SDL_PIXELFORMAT_ARGB8888;
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormat(0, width, height, size * 8, format);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, size * 8, format);
    if (source == nullptr || target == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    // A plain copy: no blending, and for 8 bits the same palette on both sides.
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    if (size == 1) SDL_SetSurfacePalette(source, target->format->palette);
    SDL_FillRect(source, nullptr, 0x00345678u);
    SDL_Rect at{0, 0, width, height};
    for (auto _ : state) {
        SDL_Rect place = at;
        SDL_BlitSurface(source, nullptr, target, &place);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * width * height * size);
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
}

// bytes per pixel, width, height
void blocks(benchmark::internal::Benchmark* benchmark) {
    for (int64_t size : {1, 4}) {
        benchmark->Args({size, 64, 64});
        benchmark->Args({size, 640, 480});
    }
    benchmark->ArgNames({"bytes", "w", "h"});
}

BENCHMARK(BM_PutXor)->Apply(blocks);
BENCHMARK(BM_SdlBlit)->Apply(blocks);

}  // namespace

BENCHMARK_MAIN();
