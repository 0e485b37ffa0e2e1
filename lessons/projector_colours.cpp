#include "gfx/screen/screen.h"
#include "lessons/lessons.h"

// On a washed-out projector the light green ray and the light red resultant
// and curve fade into the white. The figures' entries change in place, so
// the picture changes with them and nothing needs drawing.

void toggle_projector_colours() {
    lessons.projector_colours = !lessons.projector_colours;
    if (!lessons.projector_colours) {
        // A negative index loads every default entry again.
        gfx_palette(-1, -1, -1, -1);
        return;
    }
    for (const PaletteColour& c : PROJECTOR_COLOURS)
        gfx_palette(static_cast<int32_t>(c.entry), c.red, c.green, c.blue);
}
