#include "gfx/present/present.h"
#include "gfx/present/web/web_internal.h"

#include <cstring>
#include "runtime/runtime.h"

namespace {

constexpr uint32_t OPAQUE = 0xFF000000u;

}  // namespace

PixelConverter canvas_converter(int32_t depth) {
    // A canvas keeps red in its first byte: on this little-endian machine the
    // 32-bit red-low pixel 0x00BBGGRR, once its top byte is made opaque.
    return select_converter(depth, 32, true);
}

LineSpan convert_marked_rows(const PresentFrame& frame, PixelConverter convert, uint8_t* rgba,
                             bool repaint) {
    if (repaint) std::memset(frame.dirty_rows, 1, static_cast<size_t>(frame.height));
    const int32_t first = first_marked(frame);
    if (first < 0) return LineSpan{0, 0};
    const int32_t last = last_marked(frame);
    const int32_t pitch = frame.width * 4;
    convert(frame, first, last, rgba, pitch);
    std::memset(frame.dirty_rows, 0, static_cast<size_t>(frame.height) * frame.line_repeat);

    // The converters leave the top byte clear, which a canvas reads as fully
    // transparent.
    const LineSpan span{first * frame.line_repeat, (last - first + 1) * frame.line_repeat};
    uint8_t* line = rgba + static_cast<size_t>(span.first) * pitch;
    const size_t pixels = static_cast<size_t>(span.count) * frame.width;
    for (size_t i = 0; i < pixels; ++i) {
        store_unaligned<uint32_t>(line + i * 4, load_unaligned<uint32_t>(line + i * 4) | OPAQUE);
    }
    return span;
}
