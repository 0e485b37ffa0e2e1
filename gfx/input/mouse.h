#pragma once

#include <cstdint>

// The mouse through the screen's window (console hook slots 15 and 16).

// x, y in window pixels, wheel position, buttons (1 left, 2 right, 4 middle)
// and whether the pointer is confined; -1 in all five and result 1 while the
// window is inactive, the pointer is outside it or no window shows the screen.
int32_t screen_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined);

// Moves the pointer when x >= 0 (clamped to the window), shows (> 0) or hides
// (0) it and confines (> 0) or releases (0) it; negative leaves either as it
// is. Result 0, or 1 when no window shows the screen.
int32_t screen_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t confinement);
