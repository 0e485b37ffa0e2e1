#pragma once

#include <cstdlib>

#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "tests/fuzz/fuzz_input.h"

// A screen of any numbered mode (unsupported ones included) or a free size,
// any depth argument, up to three pages and any creation flags, kept small
// enough that one run stays quick. The Null driver accepts every screen, so
// the OpenGL bit and the others reach the screen record.
inline ScreenContext* fuzz_screen(FuzzInput& in) {
    setenv("QXGFX", "null", 1);
    const uint8_t choice = take_u8(in);
    const int32_t depth_choices[] = {0, 1, 2, 4, 8, 15, 16, 24, 32, 7};
    const int32_t depth = depth_choices[take_u8(in) % 10];
    const int32_t pages = take_range(in, 0, 3);
    const uint8_t flag_bits = take_u8(in);
    const int32_t flags = (flag_bits & 0x80) != 0 ? -1 : (flag_bits & 0x7F);
    if (choice < 0x40) {
        // Numbered modes: large ones with a single page.
        const int32_t mode = choice % 23 - 1;
        gfx_screen(mode, depth, mode >= 17 ? 1 : pages, flags, 0);
    } else {
        gfx_screen_size(take_range(in, -2, 160), take_range(in, -2, 120), depth, pages, flags, 0);
    }
    return active_screen();
}
