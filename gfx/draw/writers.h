#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/draw/draw_context.h"

// Copies count pixels from source to destination.
using RowCopier = void (*)(uint8_t* destination, const uint8_t* source, int32_t count);

// Writes one 8-pixel-wide text cell, every pixel opaque: for each of height
// rows, bit i of rows[j] (bit 0 leftmost) selects foreground or background
// for pixel i. Rows of the cell lie pitch bytes apart.
using CellWriter = void (*)(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                            uint32_t foreground, uint32_t background);

// The writers for one pixel size.
struct WriterSet {
    PixelWriter pixel = nullptr;
    SpanWriter span = nullptr;
    RowCopier copy = nullptr;
    LineWriter line = nullptr;
    BoxWriter box = nullptr;
    CellWriter cell = nullptr;
    // nullptr where no blending exists.
    PixelWriter alpha_pixel = nullptr;
    SpanWriter alpha_span = nullptr;
    LineWriter alpha_line = nullptr;
    BoxWriter alpha_box = nullptr;
};

// The writers for 1, 2 and 4 (and any other) bytes per pixel.
const WriterSet& writer_set(int32_t bytes_per_pixel);

// 32-bit blend of source s (alpha in the top byte) over destination d.
uint32_t alpha_blend(uint32_t destination, uint32_t source);

// The line and box writers of each size, stepping an address through the
// target with no call and no bounds check per pixel.
void write_line_8(const LineSteps& line, uint32_t colour);
void write_line_16(const LineSteps& line, uint32_t colour);
void write_line_32(const LineSteps& line, uint32_t colour);
void blend_line_32(const LineSteps& line, uint32_t colour);
void fill_box_8(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);
void fill_box_16(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);
void fill_box_32(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);
void blend_box_32(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour);

// Text cells of each size; at one byte per pixel a row of 8 pixels is one
// store made from a table.
void write_cell_8(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                  uint32_t foreground, uint32_t background);
void write_cell_16(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                   uint32_t foreground, uint32_t background);
void write_cell_32(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                   uint32_t foreground, uint32_t background);
