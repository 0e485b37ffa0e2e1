#pragma once

#include <cstdint>

// The flags a window driver's init receives: the screen's creation flags as
// the program passed them, with the same bit numbers.
constexpr int32_t WINDOW_FULLSCREEN = 1 << 0;
constexpr int32_t WINDOW_OPENGL = 1 << 1;
constexpr int32_t WINDOW_NO_MAXIMISE = 1 << 2;  // no maximise box, no full-screen switching
constexpr int32_t WINDOW_BORDERLESS = 1 << 3;
constexpr int32_t WINDOW_COLOUR_KEY = 1 << 4;
constexpr int32_t WINDOW_ON_TOP = 1 << 5;
// Not a bit set: the whole word -1 asks for the Null driver and no window.
constexpr int32_t WINDOW_NONE = -1;
