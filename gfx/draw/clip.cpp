#include <algorithm>
#include <cmath>
#include <utility>

#include "gfx/draw/draw_internal.h"

namespace {

// Four clips settle any segment; the cap only guards against a loop that
// would not end.
constexpr int MAX_CLIP_PASSES = 16;

int64_t clamp_to_pixel(long double value) {
    // Clipped coordinates lie on the segment between two mapped points, so
    // this bound is never reached; it keeps the conversion defined regardless.
    constexpr long double limit = 4398046511104.0L;  // 2^42
    return static_cast<int64_t>(std::trunc(std::clamp(value, -limit, limit)));
}

}  // namespace

bool clip_segment(const DrawContext& context, PixelSegment& s) {
    const ViewRect& view = context.view;
    const int64_t left = view.x;
    const int64_t right = static_cast<int64_t>(view.x) + view.width - 1;
    const int64_t top = view.y;
    const int64_t bottom = static_cast<int64_t>(view.y) + view.height - 1;
    for (int pass = 0; pass < MAX_CLIP_PASSES; ++pass) {
        uint32_t c1 = clip_outcode(context, s.x1, s.y1);
        const uint32_t c2 = clip_outcode(context, s.x2, s.y2);
        if ((c1 | c2) == 0) return true;
        if ((c1 & c2) != 0) return false;
        if (c1 == 0) {
            std::swap(s.x1, s.x2);
            std::swap(s.y1, s.y2);
            c1 = c2;
        }
        const long double m = s.x1 == s.x2 ? 1.0L
                                           : static_cast<long double>(s.y2 - s.y1) /
                                                 static_cast<long double>(s.x2 - s.x1);
        if (c1 & 1) {
            s.y1 = clamp_to_pixel(s.y1 + m * static_cast<long double>(left - s.x1));
            s.x1 = left;
        } else if (c1 & 2) {
            s.y1 = clamp_to_pixel(s.y1 + m * static_cast<long double>(right - s.x1));
            s.x1 = right;
        } else if (c1 & 8) {
            if (s.x1 != s.x2)
                s.x1 = clamp_to_pixel(s.x1 + static_cast<long double>(top - s.y1) / m);
            s.y1 = top;
        } else {
            if (s.x1 != s.x2) {
                s.x1 = clamp_to_pixel(s.x1 + static_cast<long double>(bottom - s.y1) / m);
            }
            s.y1 = bottom;
        }
    }
    return false;
}
