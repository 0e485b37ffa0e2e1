// A long run of the simulation without a window and without pacing: frames as
// fast as they go, a flood of keys into the key buffer every frame (every
// command but "e", the cursor keys included), and the program's own keyboard
// handling after each frame. Reports the resident memory at the start and at
// the end, which must stay flat, and the frames per second.
//
//   soak [frames]   (default 1000000)

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/program_parts.h"
#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"
#include "sim/sim.h"

namespace {

long resident_kib() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

// The set-1 scan codes of the cursor keys, as the window reports them.
constexpr int32_t CURSOR_SCANS[] = {0x48, 0x50, 0x4B, 0x4D};
constexpr char COMMANDS[] = "sw829354671gkaim";

// Three keys per frame: the buffer stays full, so keys are dropped all the
// time, and single-step mode never waits for want of a key.
void flood(uint32_t& seed) {
    for (int i = 0; i < 3; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t pick = (seed >> 16) % (sizeof(COMMANDS) - 1 + 4);
        if (pick < sizeof(COMMANDS) - 1) {
            const char text[2] = {COMMANDS[pick], 0};
            key_text(text, 0);
        } else {
            key_down(CURSOR_SCANS[pick - (sizeof(COMMANDS) - 1)], 0, KEY_EXTENDED);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    runtime_start(1, argv, 0);
    if (frames <= 0 || gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        std::fprintf(stderr, "soak: no screen, or no frames asked for\n");
        return 1;
    }
    assemble_program();
    simulation_start();
    uint32_t seed = 12345;
    // The first thousand frames build whatever is built on first use.
    for (long i = 0; i < 1000; ++i) {
        flood(seed);
        run_frame();
        handle_key();
    }
    const long start_kib = resident_kib();
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < frames; ++i) {
        flood(seed);
        run_frame();
        handle_key();
        if ((i + 1) % 100000 == 0)
            std::printf("%ld frames, %ld KiB resident\n", i + 1, resident_kib());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long end_kib = resident_kib();
    std::printf("frames %ld, resident %ld KiB at the start, %ld KiB at the end, %.0f frames/s\n",
                frames, start_kib, end_kib, frames / seconds);
    return end_kib - start_kib > 1024 ? 1 : 0;
}
