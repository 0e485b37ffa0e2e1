#pragma once

#include <cstdint>

#include "gfx/draw/draw_context.h"

// Copies count pixels from source to destination.
using RowCopier = void (*)(uint8_t* destination, const uint8_t* source, int32_t count);

// The writers for one pixel size.
struct WriterSet {
    PixelWriter pixel = nullptr;
    SpanWriter span = nullptr;
    RowCopier copy = nullptr;
    PixelWriter alpha_pixel = nullptr;  // nullptr where no blending exists
    SpanWriter alpha_span = nullptr;
};

// The writers for 1, 2 and 4 (and any other) bytes per pixel.
const WriterSet& writer_set(int32_t bytes_per_pixel);

// 32-bit blend of source s (alpha in the top byte) over destination d.
uint32_t alpha_blend(uint32_t destination, uint32_t source);
