#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <wayland-client.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/present/sdl/sdl_internal.h"

// Xlib ends the process from inside whatever call noticed a broken display
// connection, by default through exit(), whose handlers would then wait for
// the very thread that is stuck in that call. Ending at once, with one line
// saying why, is the only clean way out. SDL's Wayland driver reports a
// broken connection as a quit event, which would end the program as if the
// user had closed it: there the quit event is looked at.

namespace sdl_detail {
namespace {

char g_program[128] = "";

int on_display_lost(Display*) {
    std::fprintf(stderr, "%s: lost the connection to the X display\n", g_program);
    std::_Exit(1);
}

}  // namespace

void watch_display_connection(const char* program) {
    std::snprintf(g_program, sizeof g_program, "%s", program);
    const char* video = SDL_GetCurrentVideoDriver();
    if (video == nullptr || std::strcmp(video, "x11") != 0) return;
    XSetIOErrorHandler(on_display_lost);
    // A request written to a display that has gone raises SIGPIPE, which
    // would end the process silently before Xlib sees the broken connection;
    // ignored, the write fails and the handler above says what happened.
    std::signal(SIGPIPE, SIG_IGN);
}

void end_if_display_lost(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info)) return;
    if (info.subsystem != SDL_SYSWM_WAYLAND || wl_display_get_error(info.info.wl.display) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: lost the connection to the Wayland display\n", g_program);
    std::_Exit(1);
}

}  // namespace sdl_detail
