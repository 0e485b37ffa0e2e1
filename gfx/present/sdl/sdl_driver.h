#pragma once

#include "gfx/present/present.h"

// Presents the screen in an SDL window from a presentation thread of its own.
extern const WindowDriver sdl_driver;
