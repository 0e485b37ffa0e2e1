#pragma once

// Labels anywhere on the screen, black on white.

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/runtime.h"

// Shows text (2 to 80 characters) black on white with its top-left corner at
// pixel (x, y), by way of the first text row; then prints the heading line
// there again.
void print_at_pixel(int32_t x, int32_t y, std::string_view text);

// A setting's label: the text, the number as the string services write it,
// and " Pix", e.g. "Spaltabstand = 20 Pix".
std::string pixel_label(std::string_view text, StringDescriptor* number);
