#include <cstdint>
#include <iterator>

#include "lessons/extra_keys_lines.h"
#include "lessons/lessons.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The keys beyond the help menu's get lines of their own, so that the menu
// stays as it always was; they stand right above its place and look like it.

namespace {

constexpr int32_t LINE_COUNT = static_cast<int32_t>(std::size(EXTRA_KEYS_LINES));

void show_extra_keys_help() {
    int32_t y = MENU_TOP - LINE_COUNT * LINE_STEP;
    for (const char* line : EXTRA_KEYS_LINES) {
        print_at_pixel(MENU_X, y, screen_text(line));
        y += LINE_STEP;
    }
}

}  // namespace

void toggle_extra_keys_help() {
    if (lessons.extra_keys_shown) {
        redraw_scene();
        lessons.extra_keys_shown = false;
    } else {
        show_extra_keys_help();
        lessons.extra_keys_shown = true;
    }
}
