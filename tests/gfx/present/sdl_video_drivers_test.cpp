#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gfx/present/sdl/sdl_internal.h"

namespace {

using sdl_detail::describe_failure;
using sdl_detail::framebuffer_acceleration;

TEST(VideoDrivers, OnlyWaylandGetsARendererBehindTheSurface) {
    const struct {
        const char* driver;
        const char* hint;
    } cases[] = {
        {"x11", "0"},     {"wayland", "1"}, {"kmsdrm", "0"},
        {"Wayland", "0"}, {"", "0"},        {nullptr, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(framebuffer_acceleration(c.driver), c.hint)
            << (c.driver != nullptr ? c.driver : "(none)");
    }
}

TEST(VideoDrivers, AFailureAlwaysHasAReason) {
    const struct {
        const char* error;
        const char* text;
    } cases[] = {
        {"No available video device", "SDL could not open a window (No available video device)"},
        {"", "SDL could not open a window (the video driver gave no reason)"},
        {nullptr, "SDL could not open a window (the video driver gave no reason)"},
    };
    for (const auto& c : cases) {
        char out[256];
        describe_failure(out, sizeof out, "SDL could not open a window", c.error);
        EXPECT_STREQ(out, c.text);
    }
}

TEST(VideoDrivers, ALongReasonIsCutAndTerminated) {
    const std::string error(500, 'x');
    char out[64];
    std::memset(out, '?', sizeof out);
    describe_failure(out, sizeof out, "what", error.c_str());
    EXPECT_EQ(std::strlen(out), sizeof out - 1);
    EXPECT_EQ(std::string(out, 6), "what (");
    describe_failure(out, 0, "what", "untouched");  // no room: nothing written
    EXPECT_EQ(std::string(out, 6), "what (");
}

}  // namespace
