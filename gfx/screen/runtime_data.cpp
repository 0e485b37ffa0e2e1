#include "gfx/screen/screen.h"

#include <mutex>

namespace {

uint8_t g_runtime_data[RUNTIME_DATA_SIZE];
std::once_flag g_expanded;

}  // namespace

void expand_runtime_data() {
    std::call_once(g_expanded, [] {
        // The build step has already expanded this very block and compared it
        // with its source, so the result needs no check here.
        lzw_expand(runtime_data_compressed, runtime_data_compressed_size, g_runtime_data,
                   sizeof g_runtime_data);
        font_8x8.glyphs = g_runtime_data + RUNTIME_FONT_8X8;
        font_8x14.glyphs = g_runtime_data + RUNTIME_FONT_8X14;
        font_8x16.glyphs = g_runtime_data + RUNTIME_FONT_8X16;
        palette_2.rgb = g_runtime_data + RUNTIME_PALETTE_2;
        palette_16.rgb = g_runtime_data + RUNTIME_PALETTE_16;
        palette_64.rgb = g_runtime_data + RUNTIME_PALETTE_64;
        palette_256.rgb = g_runtime_data + RUNTIME_PALETTE_256;
    });
}
