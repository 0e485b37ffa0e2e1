#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Compresses data into the 12-bit code stream that lzw_expand reads,
// always closed by the end code. Empty data gives a stream of the end code
// alone.
std::vector<uint8_t> lzw_compress(const uint8_t* data, size_t length);
