// A full 80 x 30 screen of text in mode 12 (8 x 16 glyphs, one byte per
// pixel), beside SDL blitting each character from a glyph atlas surface of the
// same format, and beside the bare expansion of the glyph bits into bytes
// (the memory limit). Names are work/side, as bench/compare.sh expects.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "bench/sdl_peer.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text.h"

namespace {

constexpr int32_t COLUMNS = 80;
constexpr int32_t ROWS = 30;
constexpr int32_t CELLS = COLUMNS * ROWS;
constexpr int32_t GLYPH_WIDTH = 8;
constexpr int32_t GLYPH_HEIGHT = 16;
constexpr uint8_t FOREGROUND = 15;
constexpr uint8_t BACKGROUND = 0;

// Printable characters only: no bell, backspace, tab, line feed or return.
std::vector<uint8_t> make_text() {
    std::mt19937 random(55);
    std::uniform_int_distribution<int> code(32, 254);
    std::vector<uint8_t> text;
    while (text.size() < CELLS) {
        const int c = code(random);
        if (c != 127) text.push_back(static_cast<uint8_t>(c));
    }
    return text;
}

// Mode 12 is the 640 x 480, 16-colour screen with the 8 x 16 font.
bool open_mode_12(benchmark::State& state) {
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0 || font_8x16.glyphs == nullptr) {
        state.SkipWithError("no screen");
        return false;
    }
    return true;
}

void report(benchmark::State& state) {
    state.counters["calls"] = CELLS;  // characters
    state.counters["pixels"] = CELLS * GLYPH_WIDTH * GLYPH_HEIGHT;
}

void text_ours(benchmark::State& state) {
    if (!open_mode_12(state)) return;
    const std::vector<uint8_t> text = make_text();
    for (auto _ : state) {
        gfx_locate(1, 1, -1);
        write_text(text.data(), CELLS, 0);
        benchmark::ClobberMemory();
    }
    report(state);
}

// SDL: the 256 glyphs drawn once into an atlas surface, then one blit per
// character between surfaces of the same palette (a plain copy).
void text_atlas(benchmark::State& state) {
    if (!open_mode_12(state)) return;  // for the font
    SdlPeer peer(1);
    SDL_Surface* atlas = SDL_CreateRGBSurfaceWithFormat(0, 256 * GLYPH_WIDTH, GLYPH_HEIGHT, 8,
                                                        SDL_PIXELFORMAT_INDEX8);
    if (!peer.ok() || atlas == nullptr) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_SetSurfacePalette(atlas, peer.surface->format->palette);
    SDL_SetSurfaceBlendMode(atlas, SDL_BLENDMODE_NONE);
    for (int32_t code = 0; code < 256; ++code) {
        for (int32_t j = 0; j < GLYPH_HEIGHT; ++j) {
            const uint8_t bits = font_8x16.glyphs[code * GLYPH_HEIGHT + j];
            uint8_t* row =
                static_cast<uint8_t*>(atlas->pixels) + j * atlas->pitch + code * GLYPH_WIDTH;
            for (int32_t i = 0; i < GLYPH_WIDTH; ++i)
                row[i] = ((bits >> i) & 1) != 0 ? FOREGROUND : BACKGROUND;
        }
    }
    const std::vector<uint8_t> text = make_text();
    for (auto _ : state) {
        for (int32_t cell = 0; cell < CELLS; ++cell) {
            SDL_Rect from{text[cell] * GLYPH_WIDTH, 0, GLYPH_WIDTH, GLYPH_HEIGHT};
            SDL_Rect to{(cell % COLUMNS) * GLYPH_WIDTH, (cell / COLUMNS) * GLYPH_HEIGHT,
                        GLYPH_WIDTH, GLYPH_HEIGHT};
            SDL_BlitSurface(atlas, &from, peer.surface, &to);
        }
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(atlas);
    report(state);
}

// The memory limit: each glyph row becomes eight bytes through a table, with
// nothing else done per character.
void text_expand(benchmark::State& state) {
    if (!open_mode_12(state)) return;  // for the font
    std::array<uint64_t, 256> rows{};
    for (uint32_t bits = 0; bits < 256; ++bits) {
        for (uint32_t i = 0; i < 8; ++i) {
            const uint64_t colour = ((bits >> i) & 1) != 0 ? FOREGROUND : BACKGROUND;
            rows[bits] |= colour << (8 * i);
        }
    }
    std::vector<uint8_t> pixels(COLUMNS * GLYPH_WIDTH * ROWS * GLYPH_HEIGHT);
    const size_t pitch = COLUMNS * GLYPH_WIDTH;
    const std::vector<uint8_t> text = make_text();
    for (auto _ : state) {
        for (int32_t cell = 0; cell < CELLS; ++cell) {
            const uint8_t* glyph = font_8x16.glyphs + text[cell] * GLYPH_HEIGHT;
            uint8_t* at = pixels.data() + (cell / COLUMNS) * GLYPH_HEIGHT * pitch +
                          (cell % COLUMNS) * GLYPH_WIDTH;
            for (int32_t j = 0; j < GLYPH_HEIGHT; ++j)
                std::memcpy(at + j * pitch, &rows[glyph[j]], 8);
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    report(state);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("text_80x30/ours", text_ours);
    benchmark::RegisterBenchmark("text_80x30/atlas", text_atlas);
    benchmark::RegisterBenchmark("text_80x30/expand", text_expand);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gfx_screen(0, 0, 0, 0, 0);
    return 0;
}
