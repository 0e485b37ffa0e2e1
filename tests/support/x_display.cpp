#include "tests/support/x_display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace x_test {

bool xvfb_available() {
    return std::system("command -v Xvfb >/dev/null 2>&1") == 0;
}

bool start_xvfb(Xvfb& server, std::string& error) {
    int fds[2];
    if (pipe(fds) != 0) {
        error = "pipe failed";
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        error = "fork failed";
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the display number it found free once it accepts clients.
    std::string number;
    pollfd waiting{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&waiting, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        error = "Xvfb did not report a display";
        return false;
    }
    server.pid = child;
    server.display = ":" + number;
    return true;
}

Xvfb::~Xvfb() {
    stop_xvfb(*this);
}

void stop_xvfb(Xvfb& server) {
    if (server.pid <= 0) return;
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
    server.pid = -1;
}

Window find_window(Display* display, const char* name) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* title = nullptr;
        if (XFetchName(display, children[i], &title) != 0 && title != nullptr) {
            if (std::strcmp(title, name) == 0) found = children[i];
            XFree(title);
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

bool window_pixel(Display* display, Window window, int x, int y, uint8_t rgb[3]) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    // The 24-bit TrueColor visual of Xvfb: 0x00RRGGBB.
    rgb[0] = static_cast<uint8_t>(pixel >> 16);
    rgb[1] = static_cast<uint8_t>(pixel >> 8);
    rgb[2] = static_cast<uint8_t>(pixel);
    return true;
}

bool window_image(Display* display, Window window, int width, int height,
                  std::vector<uint32_t>& rgb) {
    // A window not yet mapped, or not yet of that size, answers with an
    // error, which is no reason to end the test program.
    XSync(display, False);
    XErrorHandler before = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(before);
    if (image == nullptr) return false;
    rgb.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            rgb[static_cast<size_t>(y) * width + x] = XGetPixel(image, x, y) & 0xFFFFFF;
    }
    XDestroyImage(image);
    return true;
}

bool send_close_request(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, window, False, NoEventMask, &event) != 0;
    XFlush(display);
    return sent;
}

}  // namespace x_test

bool x_test::bind_keysym(Display* display, KeySym keysym) {
    if (XKeysymToKeycode(display, keysym) != 0) return true;
    int first = 0, last = 0, per_code = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* map =
        XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &per_code);
    if (map == nullptr) return false;
    int spare = 0;
    for (int code = last; code >= first && spare == 0; --code) {
        bool empty = true;
        for (int i = 0; i < per_code; ++i)
            empty = empty && map[(code - first) * per_code + i] == NoSymbol;
        if (empty) spare = code;
    }
    XFree(map);
    if (spare == 0) return false;
    KeySym both[2] = {keysym, keysym};
    XChangeKeyboardMapping(display, spare, 2, both, 1);
    XSync(display, False);
    return true;
}
