#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"

int32_t gfx_pset(void* target, float x, float y, uint32_t colour, int32_t flags,
                 int32_t use_background) {
    const auto [context, pixel] = begin_primitive(target, colour, flags, use_background != 0);
    if (context == nullptr) return 0;
    PointF point{x, y};
    apply_step(*context, flags, point, nullptr);  // the cursor moves even to an unseen point
    const PixelPoint p = map_point(*context, point.x, point.y);
    if (!p.ok || clip_outcode(*context, p.x, p.y) != 0) return 0;
    lock_target();
    context->pixel_writer(*context, static_cast<int32_t>(p.x), static_cast<int32_t>(p.y), pixel);
    finish_target(*context, p.y, p.y, p.x, p.x);
    return 0;
}
