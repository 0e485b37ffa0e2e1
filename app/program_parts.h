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

#include <string>

// A setting given at start as text (--setting, docs/setting.md): read at
// once, and opened when the program's first picture stands (simulation_main
// does it) or when open_start_setting is called (the snapshot tool).
// Answers "" or the line saying why the text is refused; the core alone
// has no settings to open.
std::string take_start_setting(const char* text);
void open_start_setting();

// A teacher's list of settings (--settings FILE): read at once, one setting
// a line, which "v" then steps through. Answers "" or the line saying why the
// file is refused: it cannot be read, is no text, or a line (named by its
// number) is no setting.
std::string take_prepared_settings(const char* path);
