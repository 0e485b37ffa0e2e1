#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/present/sdl/sdl_window.h"

// Xlib ends the process from inside whatever call noticed a broken display
// connection, by default through exit(), whose handlers would then wait for
// the very thread that is stuck in that call. Ending at once, with one line
// saying why, is the only clean way out.

namespace sdl_detail {
namespace {

char g_program[128] = "";

int on_display_lost(Display*) {
    std::fprintf(stderr, "%s: lost the connection to the X display\n", g_program);
    std::_Exit(1);
}

}  // namespace

void watch_display_connection(const char* program) {
    const char* video = SDL_GetCurrentVideoDriver();
    if (video == nullptr || std::strcmp(video, "x11") != 0) return;
    std::snprintf(g_program, sizeof g_program, "%s", program);
    XSetIOErrorHandler(on_display_lost);
    // A request written to a display that has gone raises SIGPIPE, which
    // would end the process silently before Xlib sees the broken connection;
    // ignored, the write fails and the handler above says what happened.
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace sdl_detail
