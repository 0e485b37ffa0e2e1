#pragma once

// Labels anywhere on the screen, black on white.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/runtime.h"

// Shows text (2 to 80 characters) black on white with its top-left corner at
// pixel (x, y), by way of the first text row; then prints the heading line
// there again.
void print_at_pixel(int32_t x, int32_t y, std::string_view text);

// Where the labels printed since the screen was last cleared stand: each
// one's box of LABEL_HEIGHT rows, the latest text at a place replacing the
// earlier. A label erased since may still be listed (its box is then blank).
struct TextPlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
};
std::span<const TextPlace> text_places();
// The screen was cleared: no label stands any more.
void forget_text_places();
// The box (inclusive) was blanked: the labels wholly inside it stand no more.
void forget_text_places_within(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// A setting's label: the text, the number as the string services write it,
// and " Pix", e.g. "Spaltabstand = 20 Pix".
std::string pixel_label(std::string_view text, StringDescriptor* number);
