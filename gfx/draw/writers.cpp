#include "gfx/draw/draw_internal.h"

#include <cstddef>
#include <cstring>

#include "gfx/screen/screen.h"
#include "runtime/runtime.h"

// The pixels of an ImageBuffer sit 4 or 32 bytes into caller memory, so
// every pixel wider than a byte is read and written unaligned.

namespace {

template <typename Unit>
void write_pixel(DrawContext& context, int32_t x, int32_t y, uint32_t colour) {
    uint8_t* address =
        row_start(context, y) + static_cast<ptrdiff_t>(x) * static_cast<ptrdiff_t>(sizeof(Unit));
    store_unaligned<Unit>(address, static_cast<Unit>(colour));
}

void fill_span_8(uint8_t* address, uint32_t colour, int32_t count) {
    if (count <= 0) return;
    std::memset(address, static_cast<int>(colour & 0xFF), static_cast<size_t>(count));
}

// Runs of 16- and 32-bit units are filled from a 64-byte block of the
// pattern, copied whole as long as it fits: fixed-size copies become wide
// vector stores. This is the fast fill that the MMX screen flag stands for;
// it writes exactly what a unit-by-unit loop would.
template <typename Unit>
void fill_span_wide(uint8_t* address, uint32_t colour, int32_t count) {
    if (count <= 0) return;
    constexpr size_t block_units = 64 / sizeof(Unit);
    const Unit value = static_cast<Unit>(colour);
    size_t units = static_cast<size_t>(count);
    if (units >= block_units) {
        Unit block[block_units];
        for (size_t i = 0; i < block_units; ++i)
            block[i] = value;
        while (units >= block_units) {
            std::memcpy(address, block, sizeof(block));
            address += sizeof(block);
            units -= block_units;
        }
    }
    for (size_t i = 0; i < units; ++i)
        store_unaligned<Unit>(address + i * sizeof(Unit), value);
}

template <size_t BytesPerPixel>
void copy_row(uint8_t* destination, const uint8_t* source, int32_t count) {
    if (count <= 0) return;
    // Text scrolling copies rows of the same page; memmove keeps that safe.
    std::memmove(destination, source, static_cast<size_t>(count) * BytesPerPixel);
}

void blend_pixel_32(DrawContext& context, int32_t x, int32_t y, uint32_t colour) {
    uint8_t* address = row_start(context, y) + static_cast<ptrdiff_t>(x) * 4;
    store_unaligned<uint32_t>(address, alpha_blend(load_unaligned<uint32_t>(address), colour));
}

void blend_span_32(uint8_t* address, uint32_t colour, int32_t count) {
    for (int32_t i = 0; i < count; ++i, address += 4) {
        store_unaligned<uint32_t>(address, alpha_blend(load_unaligned<uint32_t>(address), colour));
    }
}

constexpr WriterSet writers_8{
    .pixel = write_pixel<uint8_t>,
    .span = fill_span_8,
    .copy = copy_row<1>,
    .line = write_line_8,
    .box = fill_box_8,
    .cell = write_cell_8,
};
constexpr WriterSet writers_16{
    .pixel = write_pixel<uint16_t>,
    .span = fill_span_wide<uint16_t>,
    .copy = copy_row<2>,
    .line = write_line_16,
    .box = fill_box_16,
    .cell = write_cell_16,
};
// Only 32-bit pixels carry an alpha byte to blend with.
constexpr WriterSet writers_32{
    .pixel = write_pixel<uint32_t>,
    .span = fill_span_wide<uint32_t>,
    .copy = copy_row<4>,
    .line = write_line_32,
    .box = fill_box_32,
    .cell = write_cell_32,
    .alpha_pixel = blend_pixel_32,
    .alpha_span = blend_span_32,
    .alpha_line = blend_line_32,
    .alpha_box = blend_box_32,
};

}  // namespace

uint32_t alpha_blend(uint32_t destination, uint32_t source) {
    const uint32_t alpha = source >> 24;
    uint32_t result = source & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t d = (destination >> shift) & 0xFF;
        const uint32_t s = (source >> shift) & 0xFF;
        result |= ((d * (256 - alpha) + s * alpha) >> 8) << shift;
    }
    return result;
}

const WriterSet& writer_set(int32_t bytes_per_pixel) {
    switch (bytes_per_pixel) {
        case 1:
            return writers_8;
        case 2:
            return writers_16;
        default:
            return writers_32;
    }
}

void select_writers(DrawContext& context, uint32_t colour) {
    // The writers of the target's own pixel size: after a block of another
    // size they would otherwise step through the rows wrongly.
    const WriterSet& writers = writer_set(context.bytes_per_pixel);
    // An opaque colour (alpha byte 0xFF) never blends, so the plain writers
    // serve it even on a blending screen; only then is the screen asked.
    bool blend = false;
    if (writers.alpha_pixel != nullptr && (colour >> 24) != 0xFF) {
        const ScreenContext* screen = active_screen();
        blend = screen != nullptr && (screen->screen_flags & SCREEN_ALPHA) != 0;
    }
    context.pixel_writer = blend ? writers.alpha_pixel : writers.pixel;
    context.span_writer = blend ? writers.alpha_span : writers.span;
    context.line_writer = blend ? writers.alpha_line : writers.line;
    context.box_writer = blend ? writers.alpha_box : writers.box;
}
