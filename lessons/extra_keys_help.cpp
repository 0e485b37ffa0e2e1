#include <algorithm>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

#include "lessons/extra_keys_lines.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The keys beyond the help menu's get lines of their own, so that the menu
// stays as it always was; they stand right above its place and look like it.
// The axis and the rays run through those rows in every setting, so each
// line is kept as drawn and put back over the figures whenever they cross
// it: the lines stay readable, the figures pass under them.

namespace {

constexpr int32_t LINE_COUNT = static_cast<int32_t>(std::size(EXTRA_KEYS_LINES));
static_assert(LINE_COUNT <= HELP_MAX_LINES && std::size(LAB_KEYS_LINES) <= HELP_MAX_LINES);

// Each line's pixels as gfx_get writes them (a 32-byte header, rows padded
// to 16 bytes). Outside the lessons' record, which a run renews whole.
constexpr int32_t MAX_WIDTH = 64 * GLYPH_WIDTH;
uint8_t saved[HELP_MAX_LINES][32 + MAX_WIDTH * LABEL_HEIGHT];

void show_extra_keys_help(LessonState& lessons) {
    // The legend shares rows with them: it gives way until the scene is
    // cleared, rather than showing between them.
    hide_curve_legend(lessons);
    ShownHelp& help = lessons.help;
    help.lines = 0;
    const std::span<const char* const> lines =
        lessons.lab.on ? std::span<const char* const>(LAB_KEYS_LINES) : EXTRA_KEYS_LINES;
    auto y = MENU_TOP - static_cast<int32_t>(lines.size()) * LINE_STEP;
    for (const char* line : lines) {
        const std::string_view text = screen_text(line);
        // The catalogues' test keeps every line within the menu's width.
        const auto width = std::min(static_cast<int32_t>(text.size()) * GLYPH_WIDTH, MAX_WIDTH);
        print_at_pixel(MENU_X, y, text.substr(0, static_cast<size_t>(width / GLYPH_WIDTH)));
        const PixelBox box{MENU_X, y, MENU_X + width - 1, y + LABEL_HEIGHT - 1};
        help.boxes[help.lines] = box;
        save_block(box, saved[help.lines]);
        ++help.lines;
        y += LINE_STEP;
    }
}

}  // namespace

void toggle_extra_keys_help(LessonState& lessons) {
    if (lessons.extra_keys_shown) {
        redraw_scene();
        lessons.extra_keys_shown = false;
    } else {
        // The readouts make room first: above the lines they may close up.
        lessons.extra_keys_shown = true;
        lessons.readouts.stale = true;
        update_readouts(lessons);
        show_extra_keys_help(lessons);
    }
}

void keep_extra_keys_help(LessonState& lessons, const FigureReach& now, bool legend_put) {
    const ShownHelp& help = lessons.help;
    for (int32_t i = 0; i < help.lines; ++i) {
        const PixelBox& box = help.boxes[i];
        if (figures_reach(lessons, now, box) || (legend_put && boxes_meet(lessons.legend.box, box)))
            restore_block(box, saved[i]);
    }
}

void extra_keys_scene_cleared(LessonState& lessons) {
    lessons.help.lines = 0;
}
