#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "gfx/draw/draw.h"
#include "gfx/draw/ellipse_internal.h"

// Where the plain arc loop would never end (a step too small for single
// precision) this one moves on; see add_step.

namespace {

constexpr long double TWO_PI = 6.283185307179586;  // the double constant, not a long double one
// A full turn as single precision holds it, a little above TWO_PI. An arc
// from 0 to this is one turn, not more: measured against TWO_PI its start
// would be moved a turn on, onto its end, and the circle would shrink to a
// single pixel.
constexpr float FULL_TURN = 6.28318548f;  // bit pattern 0x40C90FDB

// A backstop only: every point moves the angle on and the unseen part is
// skipped, so a real arc stays far below this (about 1.5 points per pixel
// of arc in view).
constexpr int64_t MAX_ARC_POINTS = int64_t{1} << 22;

constexpr int32_t RELATIVE_CODE_MASK = 7;

// One step of an angle kept in single precision. A step too small to move the
// angle moves it to the next float instead: the plain loop would stand still
// there for ever.
float add_step(float value, long double step) {
    const float next = static_cast<float>(static_cast<long double>(value) + step);
    return next > value ? next : std::nextafter(value, std::numeric_limits<float>::infinity());
}

// The spacing of the floats from a value up, and where that spacing ends.
// Angles are never negative here: they have lost their sign before they
// are stepped, and only whole turns are added to them.
struct Grid {
    long double spacing;
    long double end;
    bool operator==(const Grid&) const = default;
};

Grid grid_of(float value) {
    constexpr long double tiny = 0x1p-125L;  // below it every float is a multiple of 2^-149
    if (value < tiny) return {0x1p-149L, tiny};
    const int exponent = std::ilogb(value);
    return {std::ldexp(1.0L, exponent - 23), std::ldexp(1.0L, exponent + 1)};
}

// Repeats value = add_step(value, step) until value >= limit and answers that
// first value at or past it, just as the plain loop would. While a value and
// its sums keep one spacing, every step after the first adds the same amount
// (the first may differ only by a tie, and leaves an even last bit), so such
// a stretch is crossed in one multiplication: the cost grows with the binades
// crossed, not with the steps.
float advance_to(float value, long double step, long double limit) {
    while (value < limit) {
        const float first = add_step(value, step);
        if (!(first < limit)) return first;
        const float second = add_step(first, step);
        if (!(second < limit)) return second;
        const float third = add_step(second, step);
        if (!(third < limit)) return third;
        value = third;
        const Grid grid = grid_of(first);
        if (!(grid == grid_of(third))) continue;
        const long double stride = static_cast<long double>(third) - second;
        const long double count =
            std::min(std::floor((limit - third) / stride) - 1,
                     std::floor((grid.end - grid.spacing - step - third) / stride));
        if (count >= 1) value = static_cast<float>(third + count * stride);
    }
    return value;
}

struct Offset {
    long double x;
    long double y;
};

long double nearest(float value) {  // halves away from zero
    const long double v = value;
    return v > 0 ? std::trunc(v + 0.5L) : std::trunc(v - 0.5L);
}

// The arc point at angle theta from the centre in whole pixels, y upwards.
Offset arc_offset(float theta, float rx, float ry) {
    const double angle = theta;
    return {nearest(static_cast<float>(std::cos(angle) * rx)),
            nearest(static_cast<float>(std::sin(angle) * ry))};
}

// The line from the centre to the arc point at angle; it leaves last_point at
// its outer end.
void radius_line(void* target, PointF centre, float angle, Radii radii, uint32_t colour,
                 int32_t flags) {
    const Offset offset = arc_offset(angle, radii.x, radii.y);
    const auto x = static_cast<float>(std::trunc(centre.x + offset.x));
    const auto y = static_cast<float>(std::trunc(centre.y - offset.y));
    gfx_line(target, centre.x, centre.y, x, y, colour, LINE_PLAIN, STYLE_SOLID,
             flags & ~RELATIVE_CODE_MASK);
}

}  // namespace

void draw_arc(const Pen& pen, ArcCall call) {
    const Radii radii = call.radii;
    float start = call.start;
    float end = call.end;
    if (start < 0) {
        start = -start;
        radius_line(call.target, call.centre, start, radii, call.colour, call.flags);
    }
    if (end < 0) {
        end = -end;
        radius_line(call.target, call.centre, end, radii, call.colour, call.flags);
    }
    if (start > end) end = advance_to(end, TWO_PI, start);
    start = advance_to(start, TWO_PI,
                       end - static_cast<long double>(FULL_TURN));  // while more than a turn
    const auto step = static_cast<float>(1.0 / (1.5 * std::sqrt(static_cast<double>(radii.x)) *
                                                std::sqrt(static_cast<double>(radii.y))));
    const long double stop = end + static_cast<long double>(step) / 2;

    lock_target();
    const Bounds& view = pen.view;
    // A point moves at most this many pixels per radian.
    const long double speed = std::max<long double>(radii.x, std::fabs(radii.y)) * (1 + 0x1p-22L);
    int64_t low = call.cy;
    int64_t high = call.cy;
    float theta = start;
    for (int64_t points = 0; theta < stop && points < MAX_ARC_POINTS; ++points) {
        const Offset offset = arc_offset(theta, radii.x, radii.y);
        const long double x = call.cx + offset.x;
        const long double y = call.cy - offset.y;
        const long double outside =
            std::max({view.left - x, x - view.right, view.top - y, y - view.bottom});
        if (outside <= 0) {
            plot(pen, static_cast<int64_t>(x), static_cast<int64_t>(y));
            low = std::min(low, static_cast<int64_t>(y));
            high = std::max(high, static_cast<int64_t>(y));
            theta = add_step(theta, step);
            continue;
        }
        // No point within this angle of here can reach the view: skip to it.
        // Each end of the skip may be off by half a pixel and by the rounding
        // of its single-precision product (2^-24 of it), and the far end is at
        // most reach * speed further out. The first step is taken regardless:
        // at a huge angle the reach can vanish in the sum, and the angle must
        // move all the same.
        const long double blur =
            2 + (std::max(std::fabs(offset.x), std::fabs(offset.y)) + 1) * 0x1p-22L;
        const long double reach = (outside - blur) / speed;
        const float here = theta;
        theta = add_step(theta, step);
        if (reach > 0) theta = advance_to(theta, step, here + reach);
    }
    finish(pen, low, high);
}
