#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/labels.h"
#include "sim/layout.h"
#include "sim/sim.h"

// One line of the lesson tools at the foot of the picture, between the
// menu's hint and the credit: what a key could not do (no sound device), or
// which prepared setting "v" opened. It stands for forty frames, in single
// steps until the next key, kept whole over the figures as the labels are,
// and what lay under it comes back.

namespace {

constexpr int32_t LINE_FRAMES = 40;
// Between the menu's hint (23 glyphs at most in any language) and the
// credit's mark: room for FOOT_LINE_GLYPHS glyphs.
constexpr int32_t LINE_LEFT = HINT_X + 24 * GLYPH_WIDTH;
constexpr int32_t LINE_RIGHT = MARK_X - MARK_RADIUS - 4;
static_assert((LINE_RIGHT - LINE_LEFT + 1) / GLYPH_WIDTH == FOOT_LINE_GLYPHS);

// What lay under the line: a label's block, up to the span's width.
constexpr int32_t LINE_PITCH = (LINE_RIGHT - LINE_LEFT + 1 + 15) / 16 * 16;
uint8_t under_line[32 + LINE_PITCH * LABEL_HEIGHT];

PixelBox line_box(const FootLine& line) {
    return PixelBox{line.x, HINT_Y, line.x + line.width - 1, HINT_Y + LABEL_HEIGHT - 1};
}

void print_line(LessonState& lessons) {
    FootLine& line = lessons.foot;
    const auto width = static_cast<int32_t>(line.text.size()) * GLYPH_WIDTH;
    const int32_t span = LINE_RIGHT - LINE_LEFT + 1;
    line.width = width < span ? width : span;
    line.x = LINE_LEFT + (span - line.width) / 2;
    save_block(line_box(line), under_line);
    print_at_pixel(
        line.x, HINT_Y,
        std::string_view(line.text).substr(0, static_cast<size_t>(line.width / GLYPH_WIDTH)));
    // The detector line ends on the line's top row: the frames put it back.
    keep_text(lessons, line.x, HINT_Y, line.width);
}

}  // namespace

void show_foot_line(LessonState& lessons, std::string text) {
    take_foot_line_away(lessons);
    FootLine& line = lessons.foot;
    line.text = std::move(text);
    line.frames = LINE_FRAMES;
    line.keys = 0;
    print_line(lessons);
}

void take_foot_line_away(LessonState& lessons) {
    FootLine& line = lessons.foot;
    if (line.text.empty()) return;
    drop_kept_text(lessons, line.x, HINT_Y);
    restore_block(line_box(line), under_line);
    line.text.clear();
}

void foot_line_frame_drawn(LessonState& lessons) {
    if (!lessons.foot.text.empty() && --lessons.foot.frames <= 0) take_foot_line_away(lessons);
}

void foot_line_after_key(LessonState& lessons) {
    // In single steps the line stands until the next key.
    if (!lessons.foot.text.empty() && model.stepping && ++lessons.foot.keys > 1) {
        take_foot_line_away(lessons);
    }
}

void foot_line_scene_cleared(LessonState& lessons) {
    if (!lessons.foot.text.empty()) print_line(lessons);
}
