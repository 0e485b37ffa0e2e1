#pragma once

#include <cstdint>
#include <span>

// The operations by which a screen is presented. An absent operation is nullptr.
struct WindowDriver {
    const char* name;
    // Opens the window and starts presenting; 0 = accepted, anything else = refused.
    int32_t (*init)(const char* title, int32_t width, int32_t height, int32_t depth,
                    int32_t refresh_rate, int32_t flags);
    void (*exit)();
    void (*lock)();
    void (*unlock)();
    void (*set_palette)(int32_t index, int32_t red, int32_t green, int32_t blue);
    void (*wait_vsync)();
    int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined);
    void (*set_mouse)(int32_t x, int32_t y, int32_t visibility, int32_t confinement);
    void (*set_title)(const char* title);
    int32_t (*set_position)(int32_t x, int32_t y);
    const int32_t* (*list_modes)(int32_t depth, int32_t* count);
    void (*flip)();
    void (*poll)();
};

// Presents nothing: every screen is accepted, lock and unlock are empty.
extern const WindowDriver null_driver;

// The window drivers in the order they are tried (the null driver is not among them).
std::span<const WindowDriver* const> window_drivers();

// Opens a screen through the drivers as the QXGFX setting (nullptr: absent)
// and the flags choose; answers the driver that accepted, or nullptr.
const WindowDriver* open_window_driver(std::span<const WindowDriver* const> drivers,
                                       const char* setting, const char* title, int32_t width,
                                       int32_t height, int32_t depth, int32_t refresh_rate,
                                       int32_t flags);

// Why the last driver that refused a screen did so, in a few words for a
// message ("" while none has).
const char* window_failure_reason();

// A driver that refuses a screen says why here (the text is copied).
void note_window_failure(const char* reason);
