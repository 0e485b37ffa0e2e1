// Palettes and palette ports on every mode, depth and flags: colours stay
// 0x00BBGGRR, and an attribute set through gfx_palette on a 256-colour
// screen shows the components widened from 6 bits.

#include <cmath>

#include "gfx/screen/screen.h"
#include "tests/fuzz/screen_setup.h"

namespace {

uint32_t widened(int32_t component) {
    return static_cast<uint32_t>((component >> 2 & 0x3F) * 255.0 / 63.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    ScreenContext* screen = fuzz_screen(in);
    if (screen == nullptr) return 0;
    const int32_t ports[] = {0x3C7, 0x3C8, 0x3C9, 0x3DA, 0x3C9, 0};
    for (int op = 0; op < 64 && input_left(in); ++op) {
        const uint8_t kind = take_u8(in);
        switch (kind % 5) {
            case 0: {
                const int32_t index = (kind & 0x80) != 0 ? take_i32(in) : take_range(in, -2, 300);
                const int32_t red = take_range(in, -1, 300), green = take_range(in, -1, 300);
                const int32_t blue = take_range(in, -1, 300);
                gfx_palette(index, (kind & 0x40) != 0 ? take_i32(in) : red, green, blue);
                if (screen->depth <= 8 && screen->default_palette == &palette_256 && index >= 0 &&
                    green >= 0 && blue >= 0 && (kind & 0x40) == 0) {
                    FUZZ_CHECK(screen->palette[index & 255] ==
                               (widened(red) | widened(green) << 8 | widened(blue) << 16));
                }
                break;
            }
            case 1: {
                const int32_t index = take_i32(in);
                set_palette_entry(index, take_bits(in, 4));
                break;
            }
            case 2:
                reset_palette((kind & 0x80) != 0 ? take_i32(in) : take_range(in, -6, 1));
                break;
            case 3: {
                const int32_t port = (kind & 0x80) != 0 ? take_i32(in) : ports[take_u8(in) % 6];
                palette_port_out(port, take_i32(in));
                break;
            }
            default: {
                const int32_t port = (kind & 0x80) != 0 ? take_i32(in) : ports[take_u8(in) % 6];
                const int32_t value = palette_port_in(port);
                FUZZ_CHECK(value >= 0 && value <= 255);
            }
        }
        for (int i = 0; i < 256; ++i) {
            FUZZ_CHECK(screen->palette[i] >> 24 == 0);
            FUZZ_CHECK(screen->master_palette[i] >> 24 == 0);
        }
    }
    return 0;
}
