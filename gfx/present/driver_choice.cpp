#include <strings.h>

#include <array>
#include <string>

#include "gfx/present/present.h"

namespace {

bool names_match(const char* a, const char* b) {
    return strcasecmp(a, b) == 0;
}

struct Request {
    const PresentSource* source;
    const char* title;
    int32_t width;
    int32_t height;
    int32_t depth;
    int32_t refresh_rate;
};

// Each driver gets two chances: the requested refresh rate, then any rate.
bool try_driver(const WindowDriver& driver, const Request& request, int32_t flags) {
    for (const int32_t rate : {request.refresh_rate, 0}) {
        if (driver.init(request.source, request.title, request.width, request.height, request.depth,
                        rate, flags) == 0) {
            return true;
        }
        if (driver.exit != nullptr) driver.exit();
    }
    return false;
}

// One pass over the drivers; with a name, only the drivers of that name.
const WindowDriver* try_pass(std::span<const WindowDriver* const> drivers, const char* name,
                             const Request& request, int32_t flags) {
    for (const WindowDriver* driver : drivers) {
        if (name != nullptr && !names_match(driver->name, name)) continue;
        if (try_driver(*driver, request, flags)) return driver;
    }
    return nullptr;
}

// A driver that refuses leaves its own reason here; without any driver to
// try the reason is that none is built in.
std::string g_failure_reason;

const WindowDriver* chosen(const WindowDriver* driver,
                           std::span<const WindowDriver* const> drivers) {
    if (driver != nullptr) {
        g_failure_reason.clear();
    } else if (drivers.empty()) {
        g_failure_reason = "this build has no window driver";
    } else if (g_failure_reason.empty()) {
        g_failure_reason = "every window driver refused the screen";
    }
    return driver;
}

}  // namespace

const char* window_failure_reason() {
    return g_failure_reason.c_str();
}

void note_window_failure(const char* reason) {
    g_failure_reason = reason != nullptr ? reason : "";
}

const WindowDriver* open_window_driver(std::span<const WindowDriver* const> drivers,
                                       const PresentSource* source, const char* setting,
                                       const char* title, int32_t width, int32_t height,
                                       int32_t depth, int32_t refresh_rate, int32_t flags) {
    const Request request{source, title, width, height, depth, refresh_rate};
    if (flags == WINDOW_NONE || (setting != nullptr && names_match(setting, null_driver.name))) {
        null_driver.init(source, title, width, height, depth, refresh_rate, flags);
        g_failure_reason.clear();
        return &null_driver;
    }
    g_failure_reason.clear();
    const int32_t other_form = flags ^ WINDOW_FULLSCREEN;
    if (setting == nullptr) {
        if (const WindowDriver* d = try_pass(drivers, nullptr, request, flags))
            return chosen(d, drivers);
        return chosen(try_pass(drivers, nullptr, request, other_form), drivers);
    }
    if (const WindowDriver* d = try_pass(drivers, setting, request, flags))
        return chosen(d, drivers);
    if (const WindowDriver* d = try_pass(drivers, nullptr, request, flags))
        return chosen(d, drivers);
    if (const WindowDriver* d = try_pass(drivers, setting, request, flags))
        return chosen(d, drivers);
    return chosen(try_pass(drivers, nullptr, request, other_form), drivers);
}
