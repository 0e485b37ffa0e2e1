#include <cstdio>
#include <string>

#include "lessons/lessons.h"
#include "lessons/setting_text.h"

// The setting as text where the teacher started the program: a terminal, or
// whatever keeps its output. Nothing on the screen changes.

void print_setting(LessonState& lessons) {
    const std::string text = setting_text(setting_now(lessons));
    // Only a text that reads back is printed: one that does not would be
    // refused where it is used.
    if (const std::string refused = parse_setting(text).error; !refused.empty()) {
        std::fprintf(stderr, "mehrfachspalt: no text names this setting (%s)\n", refused.c_str());
        return;
    }
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}
