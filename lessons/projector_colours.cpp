#include "gfx/screen/screen.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"

// On a washed-out projector the light green ray and the light red resultant
// and curve fade into the white. The figures' entries change in place, so
// the picture changes with them and nothing needs drawing.

namespace {

void set_projector_colours() {
    for (const PaletteColour& c : PROJECTOR_COLOURS)
        gfx_palette(static_cast<int32_t>(c.entry), c.red, c.green, c.blue);
}

}  // namespace

void load_lesson_palette() {
    // A negative index loads every default entry again.
    gfx_palette(-1, -1, -1, -1);
    if (lessons.projector_colours) set_projector_colours();
    set_view_shades();
}

void toggle_projector_colours() {
    lessons.projector_colours = !lessons.projector_colours;
    if (lessons.projector_colours) {
        set_projector_colours();
    } else {
        load_lesson_palette();
    }
}
