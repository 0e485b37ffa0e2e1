#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>

#include "gfx/present/present.h"
#include "gfx/present/sdl/sdl_internal.h"

// At the picture's size the converter writes straight into the window
// surface and only the rectangles that changed are uploaded. At any other
// size (full screen, a window dragged larger) the picture is converted into
// a surface of its own and its changed rectangles are scaled into the
// window, aspect kept, between black bars; only the window pixels they
// cover are uploaded.

namespace sdl_detail {
namespace {

// The largest rectangle of the picture's shape centred in the window.
SDL_Rect letterbox(int32_t picture_w, int32_t picture_h, int32_t window_w, int32_t window_h) {
    SDL_Rect rect{0, 0, window_w, window_h};
    if (int64_t{window_w} * picture_h > int64_t{window_h} * picture_w) {
        rect.w = static_cast<int>(int64_t{window_h} * picture_w / picture_h);
    } else {
        rect.h = static_cast<int>(int64_t{window_w} * picture_h / picture_w);
    }
    rect.x = (window_w - rect.w) / 2;
    rect.y = (window_h - rect.h) / 2;
    return rect;
}

void give_palette(SdlWindow& w, SDL_Surface* target) {
    if (target->format->palette == nullptr) return;
    SDL_Color colours[256];
    for (int32_t i = 0; i < 256; ++i) {
        const uint32_t c = w.palette[i];
        colours[i] = SDL_Color{static_cast<Uint8>(c), static_cast<Uint8>(c >> 8),
                               static_cast<Uint8>(c >> 16), 255};
    }
    SDL_SetPaletteColors(target->format->palette, colours, 0, 256);
}

// The part of the surface that the window shows: all of it, unless the
// display has the window smaller than SDL believes (full screen that nobody
// carried out).
SDL_Rect visible_part(const SdlWindow& w, const SDL_Surface& surface) {
    SDL_Rect view{0, 0, surface.w, surface.h};
    if (w.client_w > 0 && w.client_h > 0) {
        view.w = std::min(view.w, w.client_w);
        view.h = std::min(view.h, w.client_h);
    }
    return view;
}

// A new window surface or visible size (first pass, resize, full screen,
// format change): choose the converter and, when the window's size is not
// the picture's, the picture's own surface and the map that scales it. Runs
// only on such a change, so allocating is fine.
void adopt_surface(SdlWindow& w, PresentFrame& frame, SDL_Surface* surface, const SDL_Rect& view) {
    w.surface = surface;
    w.surface_format = surface->format->format;
    w.surface_size = SDL_Rect{0, 0, surface->w, surface->h};
    w.view = view;
    if (w.picture != nullptr) SDL_FreeSurface(w.picture);
    w.picture = nullptr;
    const int32_t lines = frame.height * frame.line_repeat;
    if (view.w != frame.width || view.h != lines) {
        w.picture = SDL_CreateRGBSurfaceWithFormat(0, frame.width, lines, 0, w.surface_format);
        w.shown = letterbox(frame.width, lines, view.w, view.h);
        build_scale_map(w.scale, frame.width, lines, std::max(w.shown.w, 1), std::max(w.shown.h, 1),
                        surface->format->BytesPerPixel);
    } else {
        w.shown = SDL_Rect{0, 0, frame.width, lines};
    }
    int32_t depth = 0;
    bool red_low = false;
    w.converter = display_format(*surface->format, &depth, &red_low)
                      ? select_converter(frame.depth, depth, red_low)
                      : nullptr;
    if (frame.depth == 16) fill_conversion_table(frame.conversion_table, red_low);
    w.palette_changed = true;
    w.repaint = true;
}

SDL_Rect sdl_rect(const PresentRect& r) {
    return SDL_Rect{r.x, r.y, r.w, r.h};
}

// Scales the converted picture rectangles into the window and notes the
// window rectangles they cover.
void scale_into_window(SdlWindow& w, SDL_Surface* surface, int32_t line_repeat,
                       UploadRects& upload) {
    if (w.repaint) SDL_FillRect(surface, &w.view, SDL_MapRGB(surface->format, 0, 0, 0));
    if (w.shown.w <= 0 || w.shown.h <= 0) {
        upload.rects[upload.count++] = w.view;
        return;
    }
    const bool must_lock = SDL_MUSTLOCK(surface);
    if (must_lock && SDL_LockSurface(surface) != 0) return;
    uint8_t* origin = static_cast<uint8_t*>(surface->pixels) +
                      static_cast<ptrdiff_t>(w.shown.y) * surface->pitch +
                      static_cast<ptrdiff_t>(w.shown.x) * surface->format->BytesPerPixel;
    const auto* picture = static_cast<const uint8_t*>(w.picture->pixels);
    for (const PresentRect& changed : std::span(w.on_screen.changed, w.on_screen.changed_count)) {
        const PresentRect out = scale_rect(w.scale, picture, w.picture->pitch, origin,
                                           surface->pitch, display_rect(changed, line_repeat));
        if (out.w > 0 && out.h > 0) {
            upload.rects[upload.count++] =
                SDL_Rect{w.shown.x + out.x, w.shown.y + out.y, out.w, out.h};
        }
    }
    if (must_lock) SDL_UnlockSurface(surface);
    if (w.repaint) {
        upload.count = 1;
        upload.rects[0] = w.view;
    }
}

}  // namespace

bool display_format(const SDL_PixelFormat& format, int32_t* depth, bool* red_low) {
    switch (format.BytesPerPixel) {
        case 1:
            *depth = 8;
            break;
        case 2:
            *depth = format.BitsPerPixel == 15 ? 15 : 16;
            break;
        case 3:
            *depth = 24;
            break;
        case 4:
            *depth = 32;
            break;
        default:
            return false;
    }
    if (*depth == 8) {
        *red_low = false;
        return format.palette != nullptr;
    }
    *red_low = format.Rmask < format.Bmask;
    return true;
}

void present_frame(PresentFrame& frame, UploadRects& upload) {
    SdlWindow& w = sdl_window();
    upload.count = 0;
    SDL_Surface* surface = SDL_GetWindowSurface(w.window);
    if (surface == nullptr) return;
    // SDL may build the new surface of a resized window at the old one's
    // address, so its size tells as much as its address.
    const SDL_Rect view = visible_part(w, *surface);
    if (surface != w.surface || surface->format->format != w.surface_format ||
        surface->w != w.surface_size.w || surface->h != w.surface_size.h || view.w != w.view.w ||
        view.h != w.view.h) {
        adopt_surface(w, frame, surface, view);
    }
    SDL_Surface* target = w.picture != nullptr ? w.picture : surface;
    if (w.converter == nullptr || target == nullptr) return;
    if (w.palette_changed) {
        // A palette change shows on every pixel of the attributes it changed.
        give_palette(w, target);
        if (target != surface) give_palette(w, surface);
        w.palette_changed = false;
        w.repaint = true;
    }
    if (take_changes(w.on_screen, frame, w.repaint) == 0) return;

    const bool must_lock = SDL_MUSTLOCK(target);
    if (must_lock && SDL_LockSurface(target) != 0) return;
    w.converter(frame, std::span(w.on_screen.changed, w.on_screen.changed_count),
                static_cast<uint8_t*>(target->pixels), target->pitch);
    if (must_lock) SDL_UnlockSurface(target);

    if (w.picture != nullptr) {
        scale_into_window(w, surface, frame.line_repeat, upload);
    } else {
        for (const PresentRect& changed :
             std::span(w.on_screen.changed, w.on_screen.changed_count)) {
            upload.rects[upload.count++] = sdl_rect(display_rect(changed, frame.line_repeat));
        }
    }
    w.repaint = false;
}

}  // namespace sdl_detail
