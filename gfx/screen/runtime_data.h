#pragma once

#include <cstddef>
#include <cstdint>

// The built-in fonts and palettes in one block, stored compressed.
constexpr int32_t RUNTIME_DATA_SIZE = 10742;

// Where each font and palette lies in the expanded block.
constexpr size_t RUNTIME_FONT_8X8 = 0;
constexpr size_t RUNTIME_FONT_8X14 = 2048;
constexpr size_t RUNTIME_FONT_8X16 = 5632;
constexpr size_t RUNTIME_PALETTE_2 = 9728;
constexpr size_t RUNTIME_PALETTE_16 = 9734;
constexpr size_t RUNTIME_PALETTE_64 = 9782;
constexpr size_t RUNTIME_PALETTE_256 = 9974;
static_assert(RUNTIME_PALETTE_256 + 256 * 3 == RUNTIME_DATA_SIZE);

// The compressed block, generated at build time from the console fonts.
extern const uint8_t runtime_data_compressed[];
extern const size_t runtime_data_compressed_size;

// Expands the block once per process and points the palette and font records
// at it; later calls do nothing.
void expand_runtime_data();
