#pragma once

#include "gfx/present/present.h"

// Presents the screen on the page's canvas. A page has one thread, so there
// is no presentation thread: the program's pauses present (poll), and the
// page's key events arrive while the program pauses.
extern const WindowDriver web_driver;
