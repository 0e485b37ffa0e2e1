#pragma once

#include <cstdint>

// The page around the program: its canvas and its key and focus events. In
// the browser build these are a few lines of the page's script; the tests
// put a recording page in their place.

// Sizes the canvas to width x height pixels and starts passing the page's
// key and focus events on (web_keys.h); false when the page has no canvas.
bool page_open(int32_t width, int32_t height);

// Puts count lines of rgba (width pixels each, 4 bytes per pixel) on the
// canvas from line first on.
void page_show(const uint8_t* rgba, int32_t first, int32_t count, int32_t width);

// The screen is gone: the page no longer passes keys on.
void page_close();
