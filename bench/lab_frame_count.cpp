// Runs the lab view's frames with its heaviest wall (white light through 50
// slits of a grating of 600 lines per mm, 2 mm a row) on a headless screen,
// so that an instruction counter such as callgrind can divide what they
// cost by their number. Says after how many frames the wall was complete.
// Another setting's wall, given as its text, in its place.
//
//   lab_frame_count [frames] [setting]   (default 20, the wall above)

#include <cstdio>
#include <cstdlib>

#include "app/program_parts.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "lessons/lessons.h"
#include "lessons/setting_text.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20;
    if (frames < 0 || gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        std::fprintf(stderr, "lab_frame_count: no screen, or a negative number of frames\n");
        return 1;
    }
    LessonState& lessons = *assemble_program();
    simulation_start();
    // White light through 50 slits of a grating of 600 lines per mm, 2 mm a row.
    const char* text = argc > 2 ? argv[2] : "v1,lab=on,grating=600,labslits=50,light=white,scale=2";
    const ParsedSetting read = parse_setting(text);
    if (!read.error.empty()) {
        std::fprintf(stderr, "lab_frame_count: %s\n", read.error.c_str());
        return 1;
    }
    open_setting(lessons, read.setting);
    long complete = -1;
    for (long i = 0; i < frames; ++i) {
        run_frame();
        if (complete < 0 && lessons.lab.offsets_done > LAB_WALL_REACH) complete = i + 1;
    }
    std::printf("%ld frames, the wall complete after %ld\n", frames, complete);
    return 0;
}
