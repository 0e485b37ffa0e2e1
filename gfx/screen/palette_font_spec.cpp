#include "gfx/screen/screen.h"

// Filled in when the runtime data block is expanded.
PaletteSpec palette_2{2, nullptr};
PaletteSpec palette_16{16, nullptr};
PaletteSpec palette_64{64, nullptr};
PaletteSpec palette_256{256, nullptr};
FontSpec font_8x8{8, 8, nullptr};
FontSpec font_8x14{8, 14, nullptr};
FontSpec font_8x16{8, 16, nullptr};
