#pragma once

#include <cstdint>

// Loads the mode's default colours; for mode 1 a negative index chooses the
// four-colour set -index - 1.
void reset_palette(int32_t index);

// Sets one attribute: 6-bit components 0x00BBGGRR with the 256-colour
// default palette, else a number of a default-palette entry.
void set_palette_entry(int32_t index, uint32_t colour);

// index >= 0 sets one attribute, index < 0 reloads the defaults; with green
// and blue >= 0, colour is the red component of 0..255 values.
void gfx_palette(int32_t index, int32_t colour, int32_t green, int32_t blue);

// The palette registers and the retrace status as I/O ports.
int32_t palette_port_in(int32_t port);
void palette_port_out(int32_t port, int32_t value);

// Puts the palette registers back at rest (entry 0, red next), as in a fresh
// process; they are process-wide and outlive screens.
void palette_port_reset();
