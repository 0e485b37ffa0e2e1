#include "gfx/present/present.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "runtime/runtime.h"

// Every converter is one row routine run by the same walk over a
// rectangle's rows; the row routines differ only in how a source pixel
// becomes a display pixel and how wide that pixel is.

namespace {

enum class Source { attributes, rgb16, rgb32 };

// 0x00BBGGRR (palette) to 0x00RRGGBB.
constexpr uint32_t swap_red_blue(uint32_t c) {
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// 0x00RRGGBB to a display pixel of the given depth and component order.
template <int Depth, bool RedLow>
constexpr uint32_t pack(uint32_t rgb) {
    const uint32_t r = rgb >> 16 & 0xFF;
    const uint32_t g = rgb >> 8 & 0xFF;
    const uint32_t b = rgb & 0xFF;
    if constexpr (Depth == 15) {
        return RedLow ? (b >> 3) << 10 | (g >> 3) << 5 | r >> 3
                      : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    } else if constexpr (Depth == 16) {
        return RedLow ? (b >> 3) << 11 | (g >> 2) << 5 | r >> 3
                      : (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
    } else {
        return RedLow ? swap_red_blue(rgb) : rgb;
    }
}

template <int Depth>
void store(uint8_t* out, uint32_t pixel) {
    if constexpr (Depth == 15 || Depth == 16) {
        store_unaligned<uint16_t>(out, static_cast<uint16_t>(pixel));
    } else if constexpr (Depth == 24) {
        // The low three bytes, lowest first: blue, green, red for red-high.
        out[0] = static_cast<uint8_t>(pixel);
        out[1] = static_cast<uint8_t>(pixel >> 8);
        out[2] = static_cast<uint8_t>(pixel >> 16);
    } else {
        store_unaligned<uint32_t>(out, pixel);
    }
}

constexpr int32_t display_bytes(int32_t depth) {
    return depth == 8 ? 1 : depth <= 16 ? 2 : depth == 24 ? 3 : 4;
}

// Converts one row of width pixels; in and out are their first pixels.
template <Source S, int Depth, bool RedLow>
void convert_row(int32_t width, const uint32_t* lookup, const uint8_t* in, uint8_t* out) {
    constexpr int32_t step = display_bytes(Depth);
    if constexpr (S == Source::attributes && Depth == 8) {
        std::memcpy(out, in, static_cast<size_t>(width));
    } else if constexpr (S == Source::attributes) {
        for (int32_t x = 0; x < width; ++x)
            store<Depth>(out + x * step, lookup[in[x]]);
    } else if constexpr (S == Source::rgb16) {
        for (int32_t x = 0; x < width; ++x) {
            const uint16_t v = load_unaligned<uint16_t>(in + 2 * x);
            uint32_t pixel;
            if constexpr (Depth == 16) {
                pixel = RedLow ? (v & 0x07E0) | v >> 11 | (v & 0x1F) << 11 : v;
            } else if constexpr (Depth == 15) {
                // Drop the lowest green bit.
                const uint32_t dropped = (v & 0xFFC0u) >> 1 | (v & 0x1Fu);
                pixel =
                    RedLow ? (dropped & 0x03E0) | dropped >> 10 | (dropped & 0x1F) << 10 : dropped;
            } else {
                pixel = lookup[v & 0xFF] | lookup[256 + (v >> 8)];
            }
            store<Depth>(out + x * step, pixel);
        }
    } else {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = load_unaligned<uint32_t>(in + 4 * x);
            store<Depth>(out + x * step, pack<Depth, RedLow>(v & 0xFFFFFF));
        }
    }
}

constexpr int32_t source_bytes(Source s) {
    return s == Source::attributes ? 1 : s == Source::rgb16 ? 2 : 4;
}

template <Source S, int Depth, bool RedLow>
void convert_rect(const PresentFrame& frame, const uint32_t* lookup, const PresentRect& rect,
                  uint8_t* destination, int32_t destination_pitch) {
    // The rectangle within the frame; nothing outside it is read or written.
    const int32_t x0 = std::clamp(rect.x, 0, frame.width);
    const int32_t x1 = std::clamp(rect.x + rect.w, x0, frame.width);
    const int32_t y0 = std::clamp(rect.y, 0, frame.height);
    const int32_t y1 = std::clamp(rect.y + rect.h, y0, frame.height);
    const size_t span_bytes = static_cast<size_t>(x1 - x0) * display_bytes(Depth);
    const ptrdiff_t pitch = destination_pitch;
    for (int32_t y = y0; y < y1 && x0 < x1; ++y) {
        uint8_t* line = destination + pitch * y * frame.line_repeat +
                        static_cast<ptrdiff_t>(x0) * display_bytes(Depth);
        convert_row<S, Depth, RedLow>(
            x1 - x0, lookup, frame.pixels + ptrdiff_t{frame.pitch} * y + x0 * source_bytes(S),
            line);
        for (int32_t r = 1; r < frame.line_repeat; ++r)
            std::memcpy(line + pitch * r, line, span_bytes);
    }
}

template <Source S, int Depth, bool RedLow>
void convert(const PresentFrame& frame, std::span<const PresentRect> rects, uint8_t* destination,
             int32_t destination_pitch) {
    // Attributes go through the palette once per call, not once per pixel.
    uint32_t palette_pixels[256];
    const uint32_t* lookup = frame.conversion_table;
    if constexpr (S == Source::attributes && Depth != 8) {
        for (int32_t i = 0; i < 256; ++i)
            palette_pixels[i] = pack<Depth, RedLow>(swap_red_blue(frame.palette[i]));
        lookup = palette_pixels;
    }
    for (const PresentRect& rect : rects)
        convert_rect<S, Depth, RedLow>(frame, lookup, rect, destination, destination_pitch);
}

template <Source S, bool RedLow>
PixelConverter for_display(int32_t display_depth) {
    switch (display_depth) {
        case 8:
            return S == Source::attributes ? convert<S, 8, RedLow> : nullptr;
        case 15:
            return convert<S, 15, RedLow>;
        case 16:
            return convert<S, 16, RedLow>;
        case 24:
            return convert<S, 24, RedLow>;
        case 32:
            return convert<S, 32, RedLow>;
        default:
            return nullptr;
    }
}

template <Source S>
PixelConverter for_order(int32_t display_depth, bool red_low) {
    return red_low ? for_display<S, true>(display_depth) : for_display<S, false>(display_depth);
}

}  // namespace

PixelConverter select_converter(int32_t source_depth, int32_t display_depth, bool red_low) {
    if (source_depth >= 1 && source_depth <= 8) {
        return for_order<Source::attributes>(display_depth, red_low);
    }
    if (source_depth == 16) return for_order<Source::rgb16>(display_depth, red_low);
    if (source_depth == 32) return for_order<Source::rgb32>(display_depth, red_low);
    return nullptr;
}

void fill_conversion_table(uint32_t* table, bool red_low) {
    // A 5-6-5 pixel is rrrrrggg gggbbbbb: the low byte holds blue and the
    // low green bits, the high byte red and the high green bits.
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t low = (i & 0x1F) << 3 | (i >> 5 & 7) << 10;  // blue, green bits 0..2
        const uint32_t high = (i >> 3) << 19 | (i & 7) << 13;       // red, green bits 3..5
        table[i] = red_low ? swap_red_blue(low) : low;
        table[256 + i] = red_low ? swap_red_blue(high) : high;
    }
}
