#include "gfx/draw/draw_context.h"

uint16_t reverse_bits16(uint16_t value) {
    uint16_t result = 0;
    for (int bit = 0; bit < 16; ++bit) {
        result = static_cast<uint16_t>((result << 1) | ((value >> bit) & 1));
    }
    return result;
}
