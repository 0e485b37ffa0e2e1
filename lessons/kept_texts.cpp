#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/draw/draw.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "runtime/runtime.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The labels and readouts at the top left, readable whatever the setting:
// with many slits the rays run through them. Each is saved as printed (a
// white box with its glyphs) and put back, whole, once the frame's figures
// stand and after a key, with the rows between lines: the figures pass
// under the block. The program's own
// labels join them only while one of the lesson tools' shows, so that its
// own picture stays as it always was.

namespace {

// gfx_get's block: a 32-byte header, rows padded to 16 bytes; a label is at
// most 80 glyphs wide.
constexpr int32_t MOST_WIDTH = 80 * GLYPH_WIDTH;
constexpr int32_t PITCH = (MOST_WIDTH + 15) / 16 * 16;
constexpr size_t BLOCK_BYTES = 32 + static_cast<size_t>(PITCH) * LABEL_HEIGHT;

// The labels' and readouts' lines stand 20 rows apart.
constexpr int32_t LINE_GAP_STEP = WAVELENGTH_LABEL_Y - SPACING_LABEL_Y;

// Outside the lessons' record, which is renewed by value: its count says
// which blocks hold a label.
uint8_t blocks[MAX_KEPT_TEXTS][BLOCK_BYTES];

int32_t find_kept(LessonState& lessons, int32_t x, int32_t y) {
    const KeptTexts& kept = lessons.kept_texts;
    for (int32_t i = 0; i < kept.count; ++i) {
        if (kept.boxes[i].x == x && kept.boxes[i].y == y) return i;
    }
    return -1;
}

PixelBox box_of(const KeptTextBox& box) {
    return PixelBox{box.x, box.y, box.x + box.width - 1, box.y + LABEL_HEIGHT - 1};
}

// The spacing's and wavelength's labels as the scene prints them, printed
// again clear of what has crossed them since.
void keep_setting_labels(LessonState& lessons) {
    lessons.kept_texts.setting_labels = true;
    const std::string spacing =
        pixel_label(screen_text("Spaltabstand = "), int_to_text(model.slit_spacing));
    const std::string wavelength =
        pixel_label(screen_text("Wellenlänge  = "), single_to_text(model.wavelength));
    print_at_pixel(LABEL_X, SPACING_LABEL_Y, spacing);
    keep_text(lessons, LABEL_X, SPACING_LABEL_Y,
              static_cast<int32_t>(spacing.size()) * GLYPH_WIDTH);
    print_at_pixel(LABEL_X, WAVELENGTH_LABEL_Y, wavelength);
    keep_text(lessons, LABEL_X, WAVELENGTH_LABEL_Y,
              static_cast<int32_t>(wavelength.size()) * GLYPH_WIDTH);
}

}  // namespace

void keep_text(LessonState& lessons, int32_t x, int32_t y, int32_t width) {
    KeptTexts& kept = lessons.kept_texts;
    if (width <= 0 || width > MOST_WIDTH || x < 0 || x + width > SCREEN_WIDTH || y < 0 ||
        y + LABEL_HEIGHT > SCREEN_HEIGHT) {
        return;
    }
    int32_t i = find_kept(lessons, x, y);
    if (i < 0) {
        if (kept.count == MAX_KEPT_TEXTS) return;
        i = kept.count++;
    }
    kept.boxes[i] = KeptTextBox{x, y, width};
    save_block(box_of(kept.boxes[i]), blocks[i]);
}

void drop_kept_text(LessonState& lessons, int32_t x, int32_t y) {
    KeptTexts& kept = lessons.kept_texts;
    const int32_t i = find_kept(lessons, x, y);
    if (i < 0) return;
    // The last one takes its place, block and all.
    const int32_t last = --kept.count;
    if (i != last) {
        kept.boxes[i] = kept.boxes[last];
        std::memcpy(blocks[i], blocks[last], BLOCK_BYTES);
    }
}

void forget_kept_texts(LessonState& lessons) {
    lessons.kept_texts = KeptTexts{};
}

void put_kept_texts(LessonState& lessons) {
    KeptTexts& kept = lessons.kept_texts;
    if (kept.count == 0) return;
    if (!kept.setting_labels) keep_setting_labels(lessons);
    for (int32_t i = 0; i < kept.count; ++i) {
        const KeptTextBox& box = kept.boxes[i];
        restore_block(box_of(box), blocks[i]);
        // The rows between it and a line right under it stay clear too, so
        // that no ray underlines a text; the wave picture fills them itself.
        const int32_t below = find_kept(lessons, box.x, box.y + LINE_GAP_STEP);
        if (below < 0 || lessons.wave.view != WaveView::OFF) continue;
        const int32_t width = std::max(box.width, kept.boxes[below].width);
        scene_box(box.x, box.y + LABEL_HEIGHT, width - 1, LINE_GAP_STEP - LABEL_HEIGHT - 1,
                  background(), RELATIVE_SECOND);
    }
}
