#pragma once

#include <SDL.h>

#include <cstdint>

// The peer the drawing is measured against: SDL2's software renderer on a
// 640 x 480 surface of the same pixel size as our screen. For one byte per
// pixel the palette holds 256 different colours, so that SDL's mapping of a
// draw colour to an index stops at the entry it looks for.
struct SdlPeer {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    uint32_t pixel = 0;  // the draw colour as the surface stores it

    SdlPeer(int32_t bytes_per_pixel, int32_t width = 640, int32_t height = 480) {
        const Uint32 format =
            bytes_per_pixel == 1 ? SDL_PIXELFORMAT_INDEX8 : SDL_PIXELFORMAT_ARGB8888;
        surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, bytes_per_pixel * 8, format);
        if (surface == nullptr) return;
        if (surface->format->palette != nullptr) {
            SDL_Color colours[256];
            for (int i = 0; i < 256; ++i) {
                colours[i] = SDL_Color{static_cast<Uint8>(i), static_cast<Uint8>(255 - i),
                                       static_cast<Uint8>(i * 7), 255};
            }
            SDL_SetPaletteColors(surface->format->palette, colours, 0, 256);
        }
        renderer = SDL_CreateSoftwareRenderer(surface);
        if (renderer == nullptr) return;
        // Colour 9 of the palette, or an orange on 32 bits.
        const SDL_Color colour =
            bytes_per_pixel == 1 ? SDL_Color{9, 246, 63, 255} : SDL_Color{255, 128, 64, 255};
        SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, colour.a);
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        pixel = SDL_MapRGBA(surface->format, colour.r, colour.g, colour.b, colour.a);
    }
    ~SdlPeer() {
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        if (surface != nullptr) SDL_FreeSurface(surface);
    }
    SdlPeer(const SdlPeer&) = delete;
    SdlPeer& operator=(const SdlPeer&) = delete;

    bool ok() const { return renderer != nullptr; }
};
