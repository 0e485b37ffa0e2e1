#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>

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

void x11_place_window(SDL_Window* window, const SDL_Rect& rect) {
    const XWindow x = x_window(window);
    if (x.display == nullptr || rect.w <= 0 || rect.h <= 0) return;
    XMoveResizeWindow(x.display, x.window, rect.x, rect.y, static_cast<unsigned>(rect.w),
                      static_cast<unsigned>(rect.h));
    XSync(x.display, False);
}

}  // namespace sdl_detail
