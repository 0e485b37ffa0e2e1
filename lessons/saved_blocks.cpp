#include <cstddef>
#include <cstring>

#include "gfx/draw/draw.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"

// Texts that must stay whole over the moving figures (the legend, the help
// lines) are saved once as drawn and put back as they were, byte for byte:
// no text is printed again in a frame, and nothing is built.

namespace {

// Rows copied as they are: the saved block replaces what lies over it.
void copy_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                int32_t source_pitch, int32_t target_pitch, int32_t, PutCustom, void*) {
    // The 16-colour screen keeps one byte per pixel.
    for (int32_t row = 0; row < height; ++row) {
        std::memcpy(target + static_cast<ptrdiff_t>(row) * target_pitch,
                    source + static_cast<ptrdiff_t>(row) * source_pitch,
                    static_cast<size_t>(width));
    }
}

}  // namespace

void save_block(const PixelBox& box, uint8_t* pixels) {
    if (box.x1 < box.x0 || box.y1 < box.y0) return;
    gfx_get(nullptr, static_cast<float>(box.x0), static_cast<float>(box.y0),
            static_cast<float>(box.x1), static_cast<float>(box.y1), pixels, RELATIVE_NONE, nullptr);
}

void restore_block(const PixelBox& box, const uint8_t* pixels) {
    if (box.x1 < box.x0 || box.y1 < box.y0) return;
    gfx_put(nullptr, static_cast<float>(box.x0), static_cast<float>(box.y0), pixels,
            PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, copy_blend, 0, nullptr, nullptr);
}

bool boxes_meet(const PixelBox& a, const PixelBox& b) {
    return a.x0 <= a.x1 && a.y0 <= a.y1 && b.x0 <= b.x1 && b.y0 <= b.y1 && a.x0 <= b.x1 &&
           b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}
