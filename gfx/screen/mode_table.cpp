#include "gfx/screen/screen_internal.h"

namespace {

constexpr uint8_t MAP_MODE2[2] = {0, 15};
constexpr uint8_t MAP_IDENTITY[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr uint8_t MAP_MODE9[16] = {0, 1, 2, 3, 4, 5, 20, 7, 56, 57, 58, 59, 60, 61, 62, 63};

}  // namespace

const uint8_t mode1_colour_sets[4][MODE1_SET_SIZE] = {
    {0, 11, 13, 15},
    {0, 10, 12, 14},
    {0, 3, 5, 7},
    {0, 2, 4, 6},
};

// clang-format off
const ModeRow ModeTable[MODE_COUNT] = {
    /*  1 */ {320, 200, 2, 1, &palette_16, &font_8x8, 40, 25, mode1_colour_sets[0], 4},
    /*  2 */ {640, 200, 1, 2, &palette_16, &font_8x8, 80, 25, MAP_MODE2, 2},
    /*  3 */ {0, 0, 0, 0, nullptr, nullptr, 0, 0, nullptr, 0},
    /*  4 */ {0, 0, 0, 0, nullptr, nullptr, 0, 0, nullptr, 0},
    /*  5 */ {0, 0, 0, 0, nullptr, nullptr, 0, 0, nullptr, 0},
    /*  6 */ {0, 0, 0, 0, nullptr, nullptr, 0, 0, nullptr, 0},
    /*  7 */ {320, 200, 4, 1, &palette_16, &font_8x8, 40, 25, MAP_IDENTITY, 16},
    /*  8 */ {640, 200, 4, 2, &palette_16, &font_8x8, 80, 25, MAP_IDENTITY, 16},
    /*  9 */ {640, 350, 4, 1, &palette_64, &font_8x14, 80, 25, MAP_MODE9, 16},
    /* 10 */ {640, 350, 1, 1, &palette_2, &font_8x14, 80, 25, nullptr, 0},
    /* 11 */ {640, 480, 1, 1, &palette_2, &font_8x16, 80, 30, nullptr, 0},
    /* 12 */ {640, 480, 4, 1, &palette_256, &font_8x16, 80, 30, nullptr, 0},
    /* 13 */ {320, 200, 8, 1, &palette_256, &font_8x8, 40, 25, nullptr, 0},
    /* 14 */ {320, 240, 8, 1, &palette_256, &font_8x8, 40, 30, nullptr, 0},
    /* 15 */ {400, 300, 8, 1, &palette_256, &font_8x8, 50, 37, nullptr, 0},
    /* 16 */ {512, 384, 8, 1, &palette_256, &font_8x16, 64, 24, nullptr, 0},
    /* 17 */ {640, 400, 8, 1, &palette_256, &font_8x16, 80, 25, nullptr, 0},
    /* 18 */ {640, 480, 8, 1, &palette_256, &font_8x16, 80, 30, nullptr, 0},
    /* 19 */ {800, 600, 8, 1, &palette_256, &font_8x16, 100, 37, nullptr, 0},
    /* 20 */ {1024, 768, 8, 1, &palette_256, &font_8x16, 128, 48, nullptr, 0},
    /* 21 */ {1280, 1024, 8, 1, &palette_256, &font_8x16, 160, 64, nullptr, 0},
};
// clang-format on

const ModeRow* mode_row(int32_t mode) {
    if (mode < 1 || mode > MODE_COUNT) return nullptr;
    return &ModeTable[mode - 1];
}
