#pragma once

#include <cstddef>
#include <cstdint>

// The compressed form of the built-in fonts and palettes: 12-bit codes, two
// packed into three bytes little-endian (b0 | (b1 & 0x0F) << 8, then
// b1 >> 4 | b2 << 4). Codes below 256 are literal bytes, 256..4094 are
// dictionary entries (never cleared), 4095 ends the data. A stream with an
// odd number of codes ends in a two-byte tail holding the last code.
constexpr uint32_t LZW_FIRST_ENTRY = 256;
constexpr uint32_t LZW_LAST_ENTRY = 4094;
constexpr uint32_t LZW_END_CODE = 4095;

// Expands input into output. 0 on success; -1 when the input ends before the
// end code, the output would exceed capacity, or a code names no string yet.
// Never reads past input_length nor writes past capacity. The number of bytes
// written goes to *output_length when it is given (on failure: those written
// before the fault was found). A stream that is only the end code is empty.
int32_t lzw_expand(const uint8_t* input, size_t input_length, uint8_t* output, size_t capacity,
                   size_t* output_length = nullptr);
