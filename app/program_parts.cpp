#include "app/program_parts.h"

#include "sim/hooks.h"

#if LESSON_TOOLS
#include "lessons/lessons.h"
#endif

LessonState* assemble_program() {
#if LESSON_TOOLS
    // The lesson tools' state: the program's, handed to them with every hook.
    static LessonState lessons;
    static const SimHooks LESSON_HOOKS = {
        .context = &lessons,
        .reset = reset_lessons,
        .scene_cleared = lessons_scene_cleared,
        .sample_drawn = lessons_sample_drawn,
        .frame_begun = lessons_frame_begun,
        .frame_drawn = lessons_frame_drawn,
        .after_key = lessons_after_key,
        .curve_intensity = lesson_curve_intensity,
        .keys = lesson_keys(),
    };
    install_sim_hooks(&LESSON_HOOKS);
    return &lessons;
#else
    // The core alone: the program as it has always been, in which the
    // lesson keys do nothing.
    install_sim_hooks(nullptr);
    return nullptr;
#endif
}
