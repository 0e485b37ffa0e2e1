#pragma once

// Code page 437, for the key path's typed text.

#include <cstdint>

// Converts UTF-8 text to code page 437, the program's character set: ASCII
// stays, every other character becomes its code page 437 byte, and a
// character without one (or a malformed sequence) is dropped. Writes at most
// capacity bytes to out and answers how many it wrote.
int32_t utf8_to_cp437(const char* utf8, uint8_t* out, int32_t capacity);
