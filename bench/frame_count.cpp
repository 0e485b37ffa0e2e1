// Runs a fixed number of simulation frames (8 slits, intensity on) on a
// headless screen and nothing else, so that an instruction counter such as
// callgrind can divide what run_frame costs by the number of frames.
//
//   frame_count [frames]   (default 200)

#include <cstdio>
#include <cstdlib>

#include "app/program_parts.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "sim/scene.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
    if (frames <= 0 || gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        std::fprintf(stderr, "frame_count: no screen, or no frames asked for\n");
        return 1;
    }
    assemble_program();
    simulation_start();
    model.slit_count = 8;
    model.slit_spacing = 20;
    model.slit_amplitude = model.total_amplitude / static_cast<float>(model.slit_count);
    model.intensity_shown = true;
    redraw_scene();
    for (long i = 0; i < frames; ++i)
        run_frame();
    std::printf("%ld frames\n", frames);
    return 0;
}
