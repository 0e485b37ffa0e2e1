#include <array>
#include <bit>
#include <cstring>

#include "gfx/draw/draw_internal.h"

// Text cells are 8 pixels wide, one glyph byte per row with bit 0 the
// leftmost pixel. Every pixel is written in the foreground or the background
// colour, so the cell needs no clearing first.

namespace {

// For each glyph byte, eight bytes that are 0xFF where the byte has a bit
// set: byte i of the word (the i-th pixel in memory, little-endian) belongs
// to bit i.
constexpr std::array<uint64_t, 256> make_row_masks() {
    std::array<uint64_t, 256> masks{};
    for (uint32_t bits = 0; bits < 256; ++bits) {
        for (uint32_t i = 0; i < 8; ++i) {
            if ((bits >> i) & 1) masks[bits] |= uint64_t{0xFF} << (8 * i);
        }
    }
    return masks;
}
constexpr std::array<uint64_t, 256> ROW_MASKS = make_row_masks();
static_assert(std::endian::native == std::endian::little, "row masks put pixel 0 in the low byte");

template <typename Unit>
void write_cell_units(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                      uint32_t foreground, uint32_t background) {
    const Unit colours[2] = {static_cast<Unit>(background), static_cast<Unit>(foreground)};
    ptrdiff_t offset = 0;
    for (int32_t j = 0; j < height; ++j, offset += pitch) {
        const uint32_t bits = rows[j];
        for (uint32_t i = 0; i < 8; ++i) {
            std::memcpy(address + offset + i * sizeof(Unit), &colours[(bits >> i) & 1],
                        sizeof(Unit));
        }
    }
}

}  // namespace

void write_cell_8(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                  uint32_t foreground, uint32_t background) {
    constexpr uint64_t every_byte = 0x0101010101010101u;
    const uint64_t back = (background & 0xFF) * every_byte;
    const uint64_t change = ((foreground ^ background) & 0xFF) * every_byte;
    ptrdiff_t offset = 0;
    for (int32_t j = 0; j < height; ++j, offset += pitch) {
        const uint64_t row = back ^ (change & ROW_MASKS[rows[j]]);
        std::memcpy(address + offset, &row, sizeof(row));
    }
}

void write_cell_16(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                   uint32_t foreground, uint32_t background) {
    write_cell_units<uint16_t>(address, pitch, rows, height, foreground, background);
}

void write_cell_32(uint8_t* address, ptrdiff_t pitch, const uint8_t* rows, int32_t height,
                   uint32_t foreground, uint32_t background) {
    write_cell_units<uint32_t>(address, pitch, rows, height, foreground, background);
}
