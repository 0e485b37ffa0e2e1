#pragma once

#include <cstddef>

// What differs between SDL's video drivers for this window.
namespace sdl_detail {

// The value of SDL_HINT_FRAMEBUFFER_ACCELERATION for a video driver, as SDL
// names it ("x11", "wayland"): "0" for the driver's own window surface where
// it has one, since that costs least; a renderer behind the surface where
// the driver has no surface of its own.
const char* framebuffer_acceleration(const char* video_driver);

// "WHAT (REASON)" into out (always terminated, cut to size); SDL leaves its
// error text empty for some failures, and then the reason says so.
void describe_failure(char* out, size_t size, const char* what, const char* sdl_error);

}  // namespace sdl_detail
