#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/present/sdl/sdl_internal.h"

// What the X server itself says about the window. SDL keeps a size of its
// own, which it sets to the desktop's on entering full screen whether or not
// a window manager carries that out; drawn to that size, a window that
// stayed small would show only a corner of the picture.

namespace sdl_detail {
namespace {

struct XWindow {
    Display* display = nullptr;
    Window window = 0;
};

XWindow x_window(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return XWindow{};
    }
    return XWindow{info.info.x11.display, info.info.x11.window};
}

// A property's 32-bit items as the server hands them over, freed with the record.
struct Property {
    unsigned char* data = nullptr;
    unsigned long count = 0;
    Property() = default;
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;
    ~Property() {
        if (data != nullptr) XFree(data);
    }
};

// Reads up to items items of the given type; false when the window has no
// such property.
bool read_property(Display* display, Window window, Atom property, Atom type, long items,
                   Property& out) {
    Atom actual = None;
    int format = 0;
    unsigned long after = 0;
    const int status = XGetWindowProperty(display, window, property, 0, items, False, type, &actual,
                                          &format, &out.count, &after, &out.data);
    return status == Success && actual == type && format == 32 && out.data != nullptr;
}

}  // namespace

bool x11_client_size(SDL_Window* window, int32_t* width, int32_t* height) {
    const XWindow x = x_window(window);
    XWindowAttributes attributes;
    if (x.display == nullptr || XGetWindowAttributes(x.display, x.window, &attributes) == 0) {
        return false;
    }
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

bool x11_without_window_manager(SDL_Window* window) {
    const XWindow x = x_window(window);
    if (x.display == nullptr) return false;
    // A window manager owns the WM_Sn selection of its screen or names its
    // check window on the root; the ones that do neither predate full
    // screen requests anyway and are not told apart from a bare server.
    char selection[32];
    std::snprintf(selection, sizeof selection, "WM_S%d", DefaultScreen(x.display));
    if (XGetSelectionOwner(x.display, XInternAtom(x.display, selection, False)) != None) {
        return false;
    }
    const Atom check = XInternAtom(x.display, "_NET_SUPPORTING_WM_CHECK", False);
    Property named;
    return !(read_property(x.display, DefaultRootWindow(x.display), check, XA_WINDOW, 1, named) &&
             named.count == 1);
}

bool x11_maximised(SDL_Window* window) {
    const XWindow x = x_window(window);
    if (x.display == nullptr) return false;
    // SDL calls a window maximised only in both directions, and some window
    // managers get there one direction at a time.
    const Atom state = XInternAtom(x.display, "_NET_WM_STATE", False);
    const Atom vertical = XInternAtom(x.display, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    const Atom horizontal = XInternAtom(x.display, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    const Atom fullscreen = XInternAtom(x.display, "_NET_WM_STATE_FULLSCREEN", False);
    Property states;
    if (!read_property(x.display, x.window, state, XA_ATOM, 64, states)) return false;
    const Atom* atoms = reinterpret_cast<const Atom*>(states.data);
    for (unsigned long i = 0; i < states.count; ++i) {
        if (atoms[i] == vertical || atoms[i] == horizontal || atoms[i] == fullscreen) return true;
    }
    return false;
}

void x11_unmaximise(SDL_Window* window) {
    const XWindow x = x_window(window);
    if (x.display == nullptr) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = x.window;
    event.xclient.message_type = XInternAtom(x.display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 0;  // remove
    event.xclient.data.l[1] =
        static_cast<long>(XInternAtom(x.display, "_NET_WM_STATE_MAXIMIZED_VERT", False));
    event.xclient.data.l[2] =
        static_cast<long>(XInternAtom(x.display, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
    event.xclient.data.l[3] = 1;  // from a normal application
    XSendEvent(x.display, DefaultRootWindow(x.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(x.display, False);
}

void x11_place_window(SDL_Window* window, const SDL_Rect& rect) {
    const XWindow x = x_window(window);
    if (x.display == nullptr || rect.w <= 0 || rect.h <= 0) return;
    XMoveResizeWindow(x.display, x.window, rect.x, rect.y, static_cast<unsigned>(rect.w),
                      static_cast<unsigned>(rect.h));
    XSync(x.display, False);
}

bool x11_set_title(SDL_Window* window, const char* utf8) {
    const XWindow x = x_window(window);
    if (x.display == nullptr) return false;
    // SDL converts the title through the process's locale, which in the C
    // locale (a program started from a desktop entry may have none) mangles
    // every character beyond ASCII and leaves _NET_WM_NAME as it was. The
    // window manager reads the UTF-8 property; the old one gets Latin-1 with
    // "?" for what Latin-1 lacks. SDL's own conversion also leaves a
    // little of Xlib's memory behind each time, so on X11 it is not called.
    const Atom utf8_string = XInternAtom(x.display, "UTF8_STRING", False);
    const Atom net_wm_name = XInternAtom(x.display, "_NET_WM_NAME", False);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
    const int length = static_cast<int>(std::strlen(utf8));
    XChangeProperty(x.display, x.window, net_wm_name, utf8_string, 8, PropModeReplace, bytes,
                    length);
    XChangeProperty(x.display, x.window, XInternAtom(x.display, "_NET_WM_ICON_NAME", False),
                    utf8_string, 8, PropModeReplace, bytes, length);
    std::string latin1;
    for (int i = 0; i < length;) {
        const unsigned char c = bytes[i];
        const int size = c < 0x80 ? 1 : c >> 5 == 6 ? 2 : c >> 4 == 14 ? 3 : 4;
        if (size == 1) {
            latin1 += static_cast<char>(c);
        } else if (size == 2 && i + 1 < length && c <= 0xC3) {
            latin1 += static_cast<char>((c & 0x1F) << 6 | (bytes[i + 1] & 0x3F));
        } else {
            latin1 += '?';
        }
        i += size;
    }
    XChangeProperty(x.display, x.window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()),
                    static_cast<int>(latin1.size()));
    XFlush(x.display);
    return true;
}

}  // namespace sdl_detail
