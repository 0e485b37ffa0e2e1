// The whole program, lesson tools and all, under any sequence of its keys:
// every setting the lists reach, near and far field, the wave picture, the
// readouts and kept curves, single steps, the detector on the barrier and
// at the picture's top and bottom rows. Beyond "no crash, no undefined
// behaviour", the screen holds only the 16 colours of the mode. The
// detector has no limits (the keypad's keys take it past the barrier and
// off the picture, as they always could), which the lesson tools must bear.

#include <string>
#include <vector>

#include "app/program_parts.h"
#include "app/typed_frames.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "sim/sim.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Every key the program answers but "e", which ends it; a few of them
// twice, so that the lists are walked far in one input.
const char* const KEYS[] = {"8", "2", "4", "6",      "{up}", "{down}", "{left}", "{right}", "9",
                            "3", "5", "7", "1",      "g",    "k",      "s",      "w",       "a",
                            "i", "m", "+", "-",      "r",    "c",      "p",      "h",       "b",
                            "B", "G", "K", "t",      "f",    "{pgup}", "{pgdn}", "g",       "G",
                            "+", "-", "b", "{pgup}", "{up}", "{down}"};
constexpr size_t KEY_COUNT = sizeof(KEYS) / sizeof(KEYS[0]);
// A frame draws the wave picture's columns a budget at a time: bounded so
// that an input stays quick.
constexpr int32_t MAX_FRAMES = 48;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool assembled = [] {
        setenv("QXGFX", "null", 1);
        assemble_program();
        return true;
    }();
    FUZZ_CHECK(assembled);
    gfx_reset();
    FUZZ_CHECK(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) == 0);
    simulation_start();
    FuzzInput in{data, size};
    std::vector<std::string> keys;
    while (input_left(in) && keys.size() < MAX_FRAMES)
        keys.emplace_back(KEYS[take_u8(in) % KEY_COUNT]);
    type_keys(keys);
    for (int32_t frame = 0; frame < MAX_FRAMES; ++frame) {
        if (!run_typed_frame()) break;
    }
    const ScreenContext& screen = *active_screen();
    for (int32_t y = 0; y < screen.height; ++y) {
        for (int32_t x = 0; x < screen.width; ++x)
            FUZZ_CHECK(screen.framebuffer[static_cast<size_t>(y) * screen.pitch + x] < 16);
    }
    type_keys({});
    return 0;
}
