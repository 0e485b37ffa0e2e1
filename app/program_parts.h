#pragma once

// The one place that puts the program together: the simulation and, when
// the build has them, the lesson tools above it, wired through the
// simulation's hooks. Both programs (the window and the snapshot tool) call
// it before anything else. Answers the lesson tools' state, which the
// program owns and the hooks hand on (nullptr in a build without them).
struct LessonState;
LessonState* assemble_program();

// Chooses the language of the program's texts as the desktop does (sim/texts.h),
// with the catalogues where this program finds them: the build tree's locale
// folder beside it, or its prefix's share/locale once installed.
void choose_program_language();
