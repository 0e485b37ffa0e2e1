#include "gfx/present/present.h"
#include "gfx/present/web/web_internal.h"

#include <cstddef>
#include <span>

#include "runtime/runtime.h"

namespace {

constexpr uint32_t OPAQUE = 0xFF000000u;

}  // namespace

PixelConverter canvas_converter(int32_t depth) {
    // A canvas keeps red in its first byte: on this little-endian machine the
    // 32-bit red-low pixel 0x00BBGGRR, once its top byte is made opaque.
    return select_converter(depth, 32, true);
}

int32_t convert_changes(const PresentFrame& frame, PixelConverter convert, ShownPicture& shown,
                        uint8_t* rgba, bool repaint, PresentRect* canvas_rects) {
    const int32_t count = take_changes(shown, frame, repaint);
    const int32_t pitch = frame.width * 4;
    convert(frame, std::span(shown.changed, count), rgba, pitch);
    for (int32_t i = 0; i < count; ++i) {
        // The converters leave the top byte clear, which a canvas reads as
        // fully transparent.
        const PresentRect lines = display_rect(shown.changed[i], frame.line_repeat);
        for (int32_t y = lines.y; y < lines.y + lines.h; ++y) {
            uint8_t* pixel = rgba + static_cast<ptrdiff_t>(y) * pitch + lines.x * 4;
            for (int32_t x = 0; x < lines.w; ++x, pixel += 4)
                store_unaligned<uint32_t>(pixel, load_unaligned<uint32_t>(pixel) | OPAQUE);
        }
        canvas_rects[i] = lines;
    }
    return count;
}
