// A few X requests the end-to-end scripts need and no command-line tool
// makes: the window manager's close request (Xvfb has no window manager to
// send it) and one pixel of a window.
//
//   x_client close WINDOW        sends WM_DELETE_WINDOW
//   x_client pixel WINDOW X Y    prints "R G B"
//   x_client find NAME           prints the top-level window titled NAME

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/x_display.h"

int main(int argc, char** argv) {
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    const bool pixel = argc == 5 && std::strcmp(argv[1], "pixel") == 0;
    const bool find = argc == 3 && std::strcmp(argv[1], "find") == 0;
    if (!close && !pixel && !find) {
        std::fprintf(stderr, "usage: x_client close WINDOW | pixel WINDOW X Y | find NAME\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x_client: cannot open the display\n");
        return 1;
    }
    const Window window = find ? 0 : std::strtoul(argv[2], nullptr, 0);
    int status = 1;
    if (find) {
        if (const Window found = x_test::find_window(display, argv[2])) {
            std::printf("%lu\n", found);
            status = 0;
        }
    } else if (close) {
        status = x_test::send_close_request(display, window) ? 0 : 1;
    } else {
        uint8_t rgb[3];
        if (x_test::window_pixel(display, window, std::atoi(argv[3]), std::atoi(argv[4]), rgb)) {
            std::printf("%d %d %d\n", rgb[0], rgb[1], rgb[2]);
            status = 0;
        }
    }
    XCloseDisplay(display);
    return status;
}
