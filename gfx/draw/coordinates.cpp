#include <cmath>

#include "gfx/draw/draw_context.h"

namespace {

// Pixel coordinates are kept within +-2^40: far outside any view, yet small
// enough that the clipping and stepping arithmetic on them cannot overflow.
constexpr long double COORDINATE_LIMIT = 1099511627776.0L;  // 2^40

int64_t round_to_pixel(float value) {
    const long double v = value;
    long double rounded = v > 0 ? std::trunc(v + 0.5L) : std::trunc(v - 0.5L);
    if (rounded > COORDINATE_LIMIT) rounded = COORDINATE_LIMIT;
    if (rounded < -COORDINATE_LIMIT) rounded = -COORDINATE_LIMIT;
    return static_cast<int64_t>(rounded);
}

}  // namespace

void apply_step(DrawContext& context, int32_t flags, PointF& first, PointF* second) {
    const int32_t code = flags & 7;
    // Each sum is stored as a float before it is used again.
    if (code == RELATIVE_FIRST || code == RELATIVE_BOTH || code == RELATIVE_POINT) {
        first.x = first.x + context.last_point.x;
        first.y = first.y + context.last_point.y;
    }
    if (second != nullptr && (code == RELATIVE_SECOND || code == RELATIVE_BOTH)) {
        second->x = second->x + first.x;
        second->y = second->y + first.y;
    }
    context.last_point = second != nullptr ? *second : first;
}

PixelPoint map_point(const DrawContext& context, float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return PixelPoint{0, 0, false};
    return PixelPoint{round_to_pixel(x) + context.view.x, round_to_pixel(y) + context.view.y, true};
}

uint32_t clip_outcode(const DrawContext& context, int64_t x, int64_t y) {
    const ViewRect& view = context.view;
    uint32_t code = 0;
    if (x < view.x) code |= 1;
    if (x >= static_cast<int64_t>(view.x) + view.width) code |= 2;
    if (y < view.y) code |= 8;
    if (y >= static_cast<int64_t>(view.y) + view.height) code |= 4;
    return code;
}

uint16_t reverse_bits16(uint16_t value) {
    uint16_t result = 0;
    for (int bit = 0; bit < 16; ++bit) {
        result = static_cast<uint16_t>((result << 1) | ((value >> bit) & 1));
    }
    return result;
}
