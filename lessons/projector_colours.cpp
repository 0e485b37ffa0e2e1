#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"

// On a washed-out projector the light green ray and the light red resultant
// and curve fade into the white, and the wave picture's pale shades into a
// faint moire. The figures' and the shades' entries change in place, so the
// picture changes with them and nothing needs drawing.

void toggle_projector_colours(LessonState& lessons) {
    lessons.projector_colours = !lessons.projector_colours;
    if (lessons.projector_colours) {
        set_projector_colours();
        set_view_shades(lessons);
    } else {
        load_lesson_palette(lessons);
    }
}
