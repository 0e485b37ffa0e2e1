#include "gfx/screen/palette.h"

void reset_palette(int32_t) {}
void set_palette_entry(int32_t, uint32_t) {}
void gfx_palette(int32_t, int32_t, int32_t, int32_t) {}
int32_t palette_port_in(int32_t) {
    return 255;
}
void palette_port_out(int32_t, int32_t) {}
