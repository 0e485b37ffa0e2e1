#pragma once

// The SDL window driver: a window of its own on X11 or Wayland, presented by
// a thread that owns it, with the window's keys turned into key codes. The
// composition lists sdl_driver among the drivers it tries.
//
// Usage:
//   const WindowDriver* drivers[] = {&sdl_driver};  // as WINDOW_DRIVERS in gfx/services.cpp

#include "gfx/present/present.h"
#include "gfx/present/sound.h"

// Presents the screen in an SDL window from a presentation thread of its own.
extern const WindowDriver sdl_driver;

// Plays the detector's tone through SDL's audio, which stays up when the
// window closes.
extern const SoundDriver sdl_sound_driver;
