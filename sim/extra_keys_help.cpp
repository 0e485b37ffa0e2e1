#include <cstdint>
#include <iterator>

#include "sim/sim.h"
#include "sim/sim_internal.h"

// The keys beyond the help menu's get lines of their own, so that the menu
// stays as it always was; they stand right above its place and look like it.

namespace {

constexpr int32_t HELP_X = 30;
constexpr int32_t MENU_TOP = 375;
constexpr int32_t LINE_STEP = 15;

// Two literals where an escape would swallow the letters after it.
constexpr const char* LINES[] = {
    ("[+]/[-] -> Wellenl\x84nge gr\x94\xE1"
     "er / kleiner"),
    ("[Bild auf]/[Bild ab] -> Spaltabstand gr\x94\xE1"
     "er / kleiner"),
    "[r] -> Messwerte ein / aus",
    "[c] -> Kurven behalten ein / aus",
    "[p] -> Projektorfarben ein / aus",
    "[h] -> Zusatztasten ausblenden",
};
constexpr int32_t LINE_COUNT = static_cast<int32_t>(std::size(LINES));

void show_extra_keys_help() {
    int32_t y = MENU_TOP - LINE_COUNT * LINE_STEP;
    for (const char* line : LINES) {
        print_at_pixel(HELP_X, y, line);
        y += LINE_STEP;
    }
}

}  // namespace

void toggle_extra_keys_help() {
    if (model.extra_keys_shown) {
        redraw_scene();
        model.extra_keys_shown = false;
    } else {
        show_extra_keys_help();
        model.extra_keys_shown = true;
    }
}
