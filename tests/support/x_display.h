#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// Test helpers around an X server of the tests' own (Xvfb, no window
// manager) and a client connection that looks at the program's windows.
namespace x_test {

// The server ends with its record, whatever way a test leaves.
struct Xvfb {
    pid_t pid = -1;
    std::string display;  // ":N"
    Xvfb() = default;
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;
    ~Xvfb();
};

// True when an Xvfb binary is on the PATH.
bool xvfb_available();

// Starts Xvfb on a free display (1024 x 768, 24 bits); false with a reason.
bool start_xvfb(Xvfb& server, std::string& error);
void stop_xvfb(Xvfb& server);

// The top-level window titled name, or 0.
Window find_window(Display* display, const char* name);

// The colour of one pixel of the window's client area.
bool window_pixel(Display* display, Window window, int x, int y, uint8_t rgb[3]);

// The colours (0x00RRGGBB) of the client area's first width x height pixels,
// row by row.
bool window_image(Display* display, Window window, int width, int height,
                  std::vector<uint32_t>& rgb);

// Gives the keysym a key of its own in the server's keyboard map, unless one
// has it already. Typing tools otherwise bind a spare key for the moment of
// the stroke, and a slow client may look the key up after it was unbound.
bool bind_keysym(Display* display, KeySym keysym);

// The window manager's close request (WM_DELETE_WINDOW), as a close button sends it.
bool send_close_request(Display* display, Window window);

}  // namespace x_test
