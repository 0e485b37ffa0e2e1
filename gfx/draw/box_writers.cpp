#include <cstdint>
#include <cstring>

#include "gfx/draw/draw_internal.h"
#include "runtime/runtime.h"

// A box is its span writer once per row, with two shortcuts that write the
// same bytes: rows that follow each other without a gap are one span, and
// narrow rows (the barrier pieces and small marks of the scene) are stored
// directly instead of through a call per row. Rows are reached by offsets
// from the first, so no pointer is ever formed beyond the last row.

namespace {

// Wider rows than this many pixels go to the span writer.
constexpr int32_t NARROW = 8;

template <typename Unit>
void fill_narrow(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, Unit value) {
    ptrdiff_t offset = 0;
    for (int32_t row = 0; row < rows; ++row, offset += pitch) {
        for (int32_t i = 0; i < count; ++i)
            store_unaligned<Unit>(address + offset + static_cast<ptrdiff_t>(i) * sizeof(Unit),
                                  value);
    }
}

// One byte per pixel: two stores of a Unit that may overlap cover any width
// from sizeof(Unit) to twice that, whatever its alignment. Four rows per pass
// cut the loop's own cost, which is most of the work for rows this short.
template <typename Unit>
void fill_bytes_twice(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows,
                      uint8_t byte) {
    Unit value;
    std::memset(&value, byte, sizeof(Unit));
    const ptrdiff_t last = count - static_cast<ptrdiff_t>(sizeof(Unit));
    auto row = [&](ptrdiff_t offset) {
        store_unaligned<Unit>(address + offset, value);
        store_unaligned<Unit>(address + offset + last, value);
    };
    ptrdiff_t offset = 0;
    for (; rows >= 4; rows -= 4, offset += 4 * pitch) {
        row(offset);
        row(offset + pitch);
        row(offset + 2 * pitch);
        row(offset + 3 * pitch);
    }
    for (; rows > 0; --rows, offset += pitch)
        row(offset);
}

template <typename Unit>
void fill_box_wide(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour,
                   SpanWriter span) {
    if (count <= 0 || rows <= 0) return;
    const ptrdiff_t bytes = static_cast<ptrdiff_t>(count) * static_cast<ptrdiff_t>(sizeof(Unit));
    if (bytes == pitch && static_cast<int64_t>(count) * rows <= INT32_MAX) {
        span(address, colour, count * rows);
    } else if (count <= NARROW) {
        fill_narrow<Unit>(address, pitch, count, rows, static_cast<Unit>(colour));
    } else {
        ptrdiff_t offset = 0;
        for (int32_t row = 0; row < rows; ++row, offset += pitch)
            span(address + offset, colour, count);
    }
}

}  // namespace

void fill_box_8(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour) {
    if (count <= 0 || rows <= 0) return;
    const auto byte = static_cast<uint8_t>(colour);
    if (count == pitch) {
        // Whole rows back to back: the screen's clear is a single fill.
        std::memset(address, byte, static_cast<size_t>(count) * static_cast<size_t>(rows));
    } else if (count < 2) {
        fill_bytes_twice<uint8_t>(address, pitch, count, rows, byte);
    } else if (count < 4) {
        fill_bytes_twice<uint16_t>(address, pitch, count, rows, byte);
    } else if (count < 8) {
        fill_bytes_twice<uint32_t>(address, pitch, count, rows, byte);
    } else if (count <= 16) {
        fill_bytes_twice<uint64_t>(address, pitch, count, rows, byte);
    } else {
        ptrdiff_t offset = 0;
        for (int32_t row = 0; row < rows; ++row, offset += pitch)
            std::memset(address + offset, byte, static_cast<size_t>(count));
    }
}

void fill_box_16(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour) {
    fill_box_wide<uint16_t>(address, pitch, count, rows, colour, writer_set(2).span);
}

void fill_box_32(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour) {
    fill_box_wide<uint32_t>(address, pitch, count, rows, colour, writer_set(4).span);
}

void blend_box_32(uint8_t* address, ptrdiff_t pitch, int32_t count, int32_t rows, uint32_t colour) {
    const SpanWriter blend = writer_set(4).alpha_span;
    ptrdiff_t offset = 0;
    for (int32_t row = 0; row < rows; ++row, offset += pitch)
        blend(address + offset, colour, count);
}
