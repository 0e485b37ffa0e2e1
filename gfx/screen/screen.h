#pragma once

#include <cstdint>

#include "gfx/screen/screen_context.h"

// Flags argument of gfx_screen / gfx_screen_size.
constexpr int32_t SCREEN_FLAG_FULLSCREEN = 1 << 0;
constexpr int32_t SCREEN_FLAG_OPENGL = 1 << 1;
constexpr int32_t SCREEN_FLAG_NO_MAXIMISE = 1 << 2;
constexpr int32_t SCREEN_FLAG_BORDERLESS = 1 << 3;
constexpr int32_t SCREEN_FLAG_COLOUR_KEY = 1 << 4;
constexpr int32_t SCREEN_FLAG_ON_TOP = 1 << 5;
constexpr int32_t SCREEN_FLAG_ALPHA = 1 << 6;
constexpr int32_t SCREEN_FLAG_NULL_DRIVER = -1;
constexpr int32_t SCREEN_FLAG_TEARDOWN = INT32_MIN;  // 0x80000000: exit handler only

// Selects numbered mode 0..21 (0: back to the text console). 0 on success, 1 on failure.
int32_t gfx_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags, int32_t refresh_rate);

// The same for a screen of any size.
int32_t gfx_screen_size(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                        int32_t refresh_rate);

// Holds the lock across many operations; every operation in between keeps it.
void gfx_lock();
void gfx_unlock();

// The at-exit handler: tears a remaining screen down.
void screen_exit_handler();

// Puts the whole graphics state back as a fresh process has it: no screen
// (its window closed), empty console hooks, no text view, an empty key
// buffer, the palette registers at rest, a fresh drawing context and no
// window failure on record. For test fixtures.
void gfx_reset();
