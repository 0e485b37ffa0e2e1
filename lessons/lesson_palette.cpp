#include "gfx/screen/screen.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"

// The palette as the lesson tools have it: the default colours, the
// projector's over them while they are on, the wave picture's shades while
// it shows. Their entries are apart, so each set leaves the others alone.

namespace {

void set_colours(std::span<const PaletteColour> colours) {
    for (const PaletteColour& c : colours)
        gfx_palette(static_cast<int32_t>(c.entry), c.red, c.green, c.blue);
}

}  // namespace

void set_projector_colours() {
    set_colours(PROJECTOR_COLOURS);
}

void set_view_shades(LessonState& lessons) {
    if (lessons.wave.view == WaveView::OFF) return;
    set_colours(lessons.projector_colours
                    ? std::span<const PaletteColour>(PROJECTOR_VIEW_SHADE_COLOURS)
                    : std::span<const PaletteColour>(VIEW_SHADE_COLOURS));
}

void load_lesson_palette(LessonState& lessons) {
    // A negative index loads every default entry again.
    gfx_palette(-1, -1, -1, -1);
    if (lessons.projector_colours) set_projector_colours();
    set_view_shades(lessons);
    set_lab_colours(lessons);
}
