#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "gfx/draw/draw.h"
#include "gfx/draw/ellipse_internal.h"
#include "gfx/screen/screen.h"

// The ellipse primitive: its radii and view, then the walk for a whole
// ellipse or the arc (ellipse_internal.h).

namespace {

static_assert(std::bit_cast<uint32_t>(ELLIPSE_END_OMITTED) == 0x40C90FDCu);
static_assert(std::bit_cast<uint32_t>(6.28318548f) == 0x40C90FDBu);

constexpr double FOUR_THIRDS = 1.3333333333333333;

// Centres are held within 2^40 of the origin and views lie within 2^31, so an
// outline 2^50 out never comes near a view: a larger radius draws the same
// picture (a circle's, at least) and would only strain the arithmetic.
constexpr float RADIUS_CAP = 1125899906842624.0f;  // 2^50

// An aspect of 0 means the screen's own shape: 1 on 640 x 480, whatever the target.
Radii ellipse_radii(float radius, float aspect, const ScreenContext& screen) {
    if (aspect == 0) {
        aspect =
            static_cast<float>(static_cast<double>(screen.height) / screen.width * FOUR_THIRDS);
    }
    Radii radii = aspect > 1 ? Radii{radius / aspect, radius} : Radii{radius, radius * aspect};
    radii.x = std::min(radii.x, RADIUS_CAP);  // NaN stays NaN
    radii.y = std::clamp(radii.y, -RADIUS_CAP, RADIUS_CAP);
    return radii;
}

}  // namespace

void gfx_ellipse(void* target, float x, float y, float radius, uint32_t colour, float aspect,
                 float start, float end, int32_t fill, int32_t flags) {
    if (!(radius > 0)) return;  // NaN too; not even last_point changes
    const auto [context, pixel] = begin_primitive(target, colour, flags);
    if (context == nullptr) return;
    PointF centre{x, y};
    apply_step(*context, flags, centre, nullptr);
    const PixelPoint c = map_point(*context, centre.x, centre.y);
    const Radii radii = ellipse_radii(radius, aspect, *active_screen());
    // A centre or a radius that is not a number has no pixels.
    if (!c.ok || std::isnan(radii.x) || std::isnan(radii.y)) return;
    const ViewRect& v = context->view;
    const Pen pen{*context, pixel,
                  Bounds{v.x, v.y, int64_t{v.x} + v.width - 1, int64_t{v.y} + v.height - 1}};
    if (start == 0 &&
        std::bit_cast<uint32_t>(end) == std::bit_cast<uint32_t>(ELLIPSE_END_OMITTED)) {
        draw_whole_ellipse(pen, c.x, c.y, radii.x, radii.y, fill != 0);
        return;
    }
    draw_arc(pen, ArcCall{target, centre, c.x, c.y, radii, start, end, colour, flags});
}
