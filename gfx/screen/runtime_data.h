#pragma once

#include <cstddef>
#include <cstdint>

// The built-in fonts and palettes in one block, stored compressed.
constexpr int32_t RUNTIME_DATA_SIZE = 10742;

// The compressed block, generated at build time from the console fonts.
extern const uint8_t runtime_data_compressed[];
extern const size_t runtime_data_compressed_size;

// Expands the block once per process and points the palette and font specs
// at it; later calls do nothing.
void expand_runtime_data();
