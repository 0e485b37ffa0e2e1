#pragma once

#include <cstdint>

constexpr int32_t LINE_PLAIN = 0;
constexpr int32_t LINE_FRAME = 1;
constexpr int32_t LINE_FILLED_BOX = 2;
constexpr uint32_t STYLE_SOLID = 0xFFFF;

// Line, frame or filled rectangle on target (nullptr: the screen).
void gfx_line(void* target, float x1, float y1, float x2, float y2, uint32_t colour, int32_t kind,
              uint32_t style, int32_t flags);

// One pixel. use_background selects the background colour when the colour is omitted.
int32_t gfx_pset(void* target, float x, float y, uint32_t colour, int32_t flags,
                 int32_t use_background);
