#include <array>
#include <cstdint>
#include <string_view>

#include "gfx/draw/draw.h"
#include "gfx/text/text.h"
#include "runtime/runtime.h"
#include "sim/figures.h"
#include "sim/labels.h"
#include "sim/sim.h"
#include "sim/texts.h"

namespace {

constexpr int32_t CURSOR_UNCHANGED = -1;
constexpr int32_t PRINT_NEW_LINE = 1;
constexpr std::string_view HEADING = "  K A L V E N  im Drevinomatik ";

// More places than the screen has label lines; past them the last place is
// reused.
constexpr size_t MAX_TEXT_PLACES = 64;
std::array<TextPlace, MAX_TEXT_PLACES> places;
size_t place_count = 0;

void note_text_place(int32_t x, int32_t y, int32_t width) {
    for (size_t i = 0; i < place_count; ++i) {
        if (places[i].x == x && places[i].y == y) {
            places[i].width = width;
            return;
        }
    }
    if (place_count < MAX_TEXT_PLACES) ++place_count;
    places[place_count - 1] = TextPlace{x, y, width};
}

StringDescriptor* temp_of(std::string_view text) {
    return string_temp(text.data(), static_cast<int32_t>(text.size()));
}

}  // namespace

// The screen's own text lands only on its character grid, white on black.
// A label anywhere else is printed in the first text row, taken from there as
// an image, and put with XOR over a white box: 15 XOR 15 turns the glyphs
// black and 0 XOR 15 keeps the rest white. The heading shares that row, so it
// is printed again afterwards.
void print_at_pixel(int32_t x, int32_t y, std::string_view text) {
    const auto n = static_cast<int32_t>(text.size());
    const int32_t width = n * GLYPH_WIDTH;

    // n x 64 32-bit words: room for the block and its 32-byte header.
    ArrayDescriptor buffer;
    const std::array<int32_t, 2> bounds{1, n * 64};
    array_create(buffer, 4, true, false, 1, bounds);

    scene_box(x, y, width - 1, LABEL_HEIGHT - 1, background(), RELATIVE_SECOND);
    gfx_locate(1, 1, CURSOR_UNCHANGED);
    gfx_print(0, temp_of(text), PRINT_NEW_LINE);
    gfx_get(nullptr, 0, 0, static_cast<float>(width - 1), LABEL_HEIGHT - 1, buffer.data,
            RELATIVE_NONE, &buffer);
    gfx_put(nullptr, static_cast<float>(x), static_cast<float>(y), buffer.data, PUT_WHOLE_IMAGE, 0,
            0, 0, 0, PUT_XOR, put_xor_blend, -1, nullptr, nullptr);
    scene_box(0, 0, 600, 16, COLOUR_WHITE);

    gfx_locate(1, 1, CURSOR_UNCHANGED);
    gfx_print_int(0, model.slit_count, 0);
    gfx_print(0, temp_of(HEADING), 0);
    array_erase(buffer, false);
    note_text_place(x, y, width);
}

std::span<const TextPlace> text_places() {
    return {places.data(), place_count};
}

void forget_text_places() {
    place_count = 0;
}

void forget_text_places_within(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    size_t kept = 0;
    for (size_t i = 0; i < place_count; ++i) {
        const TextPlace& p = places[i];
        const bool within =
            p.x >= x0 && p.y >= y0 && p.x + p.width - 1 <= x1 && p.y + LABEL_HEIGHT - 1 <= y1;
        if (!within) places[kept++] = p;
    }
    place_count = kept;
}

// Joined with the string operations, as every label has been.
std::string pixel_label(std::string_view text, StringDescriptor* number) {
    StringDescriptor joined;
    string_concat(joined, text.data(), static_cast<int32_t>(text.size()));
    string_concat(joined, number, STRING_DESCRIPTOR);
    const std::string_view unit = screen_text("Pix");
    string_concat(joined, " ", 1);
    string_concat(joined, unit.data(), static_cast<int32_t>(unit.size()));
    const StringBytes bytes = string_bytes(&joined, STRING_DESCRIPTOR);
    std::string result(reinterpret_cast<const char*>(bytes.data),
                       static_cast<size_t>(bytes.length));
    string_erase(joined);
    return result;
}
