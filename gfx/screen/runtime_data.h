#pragma once

#include <cstdint>

// The built-in fonts and palettes in one block, stored compressed.
constexpr int32_t RUNTIME_DATA_SIZE = 10742;

// Expands the block once per process and points the palette and font specs
// at it; later calls do nothing.
void expand_runtime_data();
