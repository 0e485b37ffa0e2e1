#include <signal.h>
#include <unistd.h>

#include "gfx/present/sdl/sdl_internal.h"

// SDL turns SIGINT and SIGTERM into a quit event, which the program takes as
// the close button: it ends with status 0, window closed and thread joined.
// A hang-up (the terminal that started the program went away) would instead
// end the process on the spot, mid-frame; it is passed on as SIGTERM so that
// it ends the same orderly way.

namespace sdl_detail {
namespace {

void on_hangup(int) {
    kill(getpid(), SIGTERM);
}

}  // namespace

void end_on_hangup() {
    struct sigaction action {};
    action.sa_handler = on_hangup;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
}

}  // namespace sdl_detail
