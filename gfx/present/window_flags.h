#pragma once

#include <cstdint>

// The flags a window driver is opened with: the screen's flags argument as the
// caller gave it, read here bit by bit.
constexpr int32_t WINDOW_FULLSCREEN = 1 << 0;
constexpr int32_t WINDOW_OPENGL = 1 << 1;
constexpr int32_t WINDOW_NO_MAXIMISE = 1 << 2;
constexpr int32_t WINDOW_BORDERLESS = 1 << 3;
constexpr int32_t WINDOW_COLOUR_KEY = 1 << 4;
constexpr int32_t WINDOW_ON_TOP = 1 << 5;
constexpr int32_t WINDOW_ALPHA = 1 << 6;
// All bits set: no window at all, the Null driver.
constexpr int32_t WINDOW_NONE = -1;
