#include "gfx/present/sdl/sdl_internal.h"

#include <cstdio>
#include <cstring>

namespace sdl_detail {
namespace {

struct DriverSurface {
    const char* driver;
    const char* acceleration;
};

// SDL's Wayland driver draws nothing of its own: without a renderer the
// window has no surface at all. "1" lets SDL take whichever of its OpenGL
// and OpenGL ES renderers starts; in software (Mesa) both cost the same.
constexpr DriverSurface NO_SURFACE_OF_THEIR_OWN[] = {
    {.driver = "wayland", .acceleration = "1"},
};

}  // namespace

const char* framebuffer_acceleration(const char* video_driver) {
    if (video_driver != nullptr) {
        for (const DriverSurface& d : NO_SURFACE_OF_THEIR_OWN) {
            if (std::strcmp(d.driver, video_driver) == 0) return d.acceleration;
        }
    }
    return "0";
}

void describe_failure(char* out, size_t size, const char* what, const char* sdl_error) {
    if (size == 0) return;
    const bool silent = sdl_error == nullptr || sdl_error[0] == '\0';
    std::snprintf(out, size, "%s (%s)", what,
                  silent ? "the video driver gave no reason" : sdl_error);
}

}  // namespace sdl_detail
