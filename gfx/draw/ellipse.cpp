#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "gfx/draw/draw_context.h"
#include "gfx/draw/primitives.h"
#include "gfx/screen/screen.h"

// Two algorithms share this primitive: an integer walk for the whole ellipse
// (outline or filled) and a plot by angle steps for arcs. Both write the
// pixels of their plain loops, as often as those loops write them, but find
// the visible part without stepping through the rest, so a huge ellipse costs
// its visible pixels, not its size. Where the plain arc loop would never end
// (a step too small for single precision) this one moves on; see add_step.

namespace {

__extension__ typedef __int128 Int128;

static_assert(std::bit_cast<uint32_t>(ELLIPSE_END_OMITTED) == 0x40C90FDCu);
static_assert(std::bit_cast<uint32_t>(6.28318548f) == 0x40C90FDBu);

constexpr long double TWO_PI = 6.283185307179586;  // the double constant, not a long double one
// A full turn as single precision holds it, a little above TWO_PI. An arc
// from 0 to this is one turn, not more: measured against TWO_PI its start
// would be moved a turn on, onto its end, and the circle would shrink to a
// single pixel.
constexpr float FULL_TURN = 6.28318548f;  // bit pattern 0x40C90FDB
constexpr double FOUR_THIRDS = 1.3333333333333333;

// Up to this radius the walk's integers are exact in 128 bits, up to the
// smaller one in 64: every term of D stays below 4 (rx ry)^2.
constexpr float EXACT_RADIUS = 2147483648.0f;  // 2^31
constexpr float SMALL_RADIUS = 32768.0f;       // 2^15

// Centres are held within 2^40 of the origin and views lie within 2^31, so an
// outline 2^50 out never comes near a view: a larger radius draws the same
// picture (a circle's, at least) and would only strain the arithmetic.
constexpr float RADIUS_CAP = 1125899906842624.0f;  // 2^50

// A backstop only: every point moves the angle on and the unseen part is
// skipped, so a real arc stays far below this (about 1.5 points per pixel
// of arc in view).
constexpr int64_t MAX_ARC_POINTS = int64_t{1} << 22;

constexpr int32_t RELATIVE_CODE_MASK = 7;
constexpr long double SQRT_TWO = 1.41421356237309504880L;

struct Radii {
    float x;
    float y;
};

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

// The view as inclusive pixel bounds.
struct Bounds {
    int64_t left;
    int64_t top;
    int64_t right;
    int64_t bottom;
};

struct Pen {
    DrawContext& context;
    uint32_t colour;
    Bounds view;
};

void plot(const Pen& pen, int64_t x, int64_t y) {
    pen.context.pixel_writer(pen.context, static_cast<int32_t>(x), static_cast<int32_t>(y),
                             pen.colour);
}

void fill_row(const Pen& pen, int64_t y, int64_t xl, int64_t xr) {
    if (y < pen.view.top || y > pen.view.bottom) return;
    const int64_t first = std::max(xl, pen.view.left);
    const int64_t last = std::min(xr, pen.view.right);
    if (first > last) return;
    uint8_t* start = row_start(pen.context, y) + first * pen.context.bytes_per_pixel;
    pen.context.span_writer(start, pen.colour, static_cast<int32_t>(last - first + 1));
}

// Marks rows first..last where they meet the view, and unlocks.
void finish(const Pen& pen, int64_t first, int64_t last) {
    finish_target(pen.context, std::max(first, pen.view.top), std::min(last, pen.view.bottom));
}

// ---- Whole ellipse --------------------------------------------------------

// The walk starts on the centre row with the span (xl, xr) and makes passes
// until its n inward steps are used up. After k outward and h inward steps its
// decision value is
//     D(k, h) = D0 (1 + 2h) - A k (k + 1) - B h (h + 1);
// a pass steps outward while D > 0 and inward once D has fallen to 0 or
// below. D grows with h and falls with k, so the walk leaves row pair k at
// the first h where D(k, h) > 0, and that h never decreases with k. Finding
// it by search instead of by stepping makes every row pair cost the same
// whatever the radius.
struct Walk {
    int64_t left;   // xl before any inward step
    int64_t right;  // xr before any inward step
    int64_t steps;  // n: the inward steps of the whole walk
    Int128 a;
    Int128 b;
    Int128 d0;
    long double rx;
    long double rx_squared;                                     // A
    long double ry_squared;                                     // B
    bool (*moves_out)(const Walk& walk, int64_t k, int64_t h);  // D(k, h) > 0
};

// The exact test in integers of the given width: 64 bits hold every term while
// both radii stay within SMALL_RADIUS, 128 bits within EXACT_RADIUS.
template <typename Integer>
bool moves_out_exact(const Walk& walk, int64_t k, int64_t h) {
    const Integer kk = k;
    const Integer hh = h;
    return static_cast<Integer>(walk.d0) * (2 * hh + 1) -
               static_cast<Integer>(walk.a) * kk * (kk + 1) -
               static_cast<Integer>(walk.b) * hh * (hh + 1) >
           0;
}

// Beyond the exact range: the same test with D0 = B rx, rearranged so that
// every term is positive, B (h (2 rx - h) + rx - h) > A k (k + 1), which
// floating point evaluates without cancellation.
bool moves_out_wide(const Walk& walk, int64_t k, int64_t h) {
    const long double kk = static_cast<long double>(k);
    const long double hh = static_cast<long double>(h);
    return walk.ry_squared * (hh * (2 * walk.rx - hh) + (walk.rx - hh)) >
           walk.rx_squared * kk * (kk + 1);
}

Walk make_walk(int64_t xl, int64_t xr, float rx, float ry) {
    Walk walk{};
    walk.left = xl;
    walk.right = xr;
    walk.rx = rx;
    walk.steps = static_cast<int64_t>(std::trunc(walk.rx));
    walk.rx_squared = std::trunc(walk.rx * walk.rx);
    walk.ry_squared = std::trunc(static_cast<long double>(ry) * ry);
    walk.moves_out = moves_out_wide;
    if (rx <= EXACT_RADIUS && std::fabs(ry) <= EXACT_RADIUS) {
        // A and B stay below 2^62; only D0 (up to 2^93) needs the wide conversion.
        walk.a = static_cast<int64_t>(walk.rx_squared);
        walk.b = static_cast<int64_t>(walk.ry_squared);
        const long double d0 = std::trunc(walk.ry_squared * walk.rx);
        walk.d0 = d0 < 0x1p62L ? Int128{static_cast<int64_t>(d0)} : static_cast<Int128>(d0);
        walk.moves_out = rx <= SMALL_RADIUS && std::fabs(ry) <= SMALL_RADIUS
                             ? moves_out_exact<int64_t>
                             : moves_out_exact<Int128>;
    }
    return walk;
}

// The inward position at which the walk leaves row pair k, given the one it
// arrived at: the first h >= from where it moves out, or the end of the walk.
// A gallop then a bisection: a few probes near the sides, where the walk
// moves one step at a time, and few more on the long flat top of a huge one.
int64_t leave_point(const Walk& walk, int64_t k, int64_t from) {
    const auto leaves = [&](int64_t h) { return h >= walk.steps || walk.moves_out(walk, k, h); };
    if (leaves(from)) return std::min(from, walk.steps);
    int64_t low = from;  // does not leave here
    int64_t high = walk.steps;
    for (int64_t stride = 1; stride < walk.steps - low; stride *= 2) {
        if (leaves(low + stride)) {
            high = low + stride;
            break;
        }
        low += stride;
    }
    while (high - low > 1) {
        const int64_t middle = low + (high - low) / 2;
        (leaves(middle) ? high : low) = middle;
    }
    return high;
}

// The outline pixels of row y for the inward steps first..last: the left one
// at walk.left + h and the right one at walk.right - h, each written `times`
// times. Where xl = xr that pixel comes from both sides, so it is written
// twice, as the plain walk does; with a blending writer that shows.
void outline_row(const Pen& pen, const Walk& walk, int64_t y, int64_t first, int64_t last,
                 int times) {
    if (y < pen.view.top || y > pen.view.bottom) return;
    DrawContext& context = pen.context;
    const PixelWriter write = context.pixel_writer;
    const auto row = static_cast<int32_t>(y);
    const auto run = [&](int64_t from, int64_t to) {  // columns inside the view, if any
        if (from > to) return;
        for (auto x = static_cast<int32_t>(from); x <= to; ++x) {
            for (int i = 0; i < times; ++i)
                write(context, x, row, pen.colour);
        }
    };
    run(walk.left + std::max(first, pen.view.left - walk.left),
        walk.left + std::min(last, pen.view.right - walk.left));
    run(walk.right - std::min(last, walk.right - pen.view.left),
        walk.right - std::max(first, walk.right - pen.view.right));
}

void draw_whole_ellipse(const Pen& pen, int64_t cx, int64_t cy, float rx, float ry, bool filled) {
    const int64_t xl = static_cast<int64_t>(std::trunc(cx - static_cast<long double>(rx)));
    const int64_t xr = static_cast<int64_t>(std::trunc(cx + static_cast<long double>(rx)));
    lock_target();
    if (ry == 0) {  // a flat ellipse is its centre row, filled or not
        fill_row(pen, cy, xl, xr);
        finish(pen, cy, cy);
        return;
    }
    const Walk walk = make_walk(xl, xr, rx, ry);
    const Bounds& view = pen.view;
    // Row pairs cy - k / cy + k that can meet the view. The walk itself never
    // climbs past sqrt(2) |ry| + 1 row pairs, and stopping there keeps the
    // exact arithmetic within 128 bits.
    const int64_t k_first =
        cy < view.top ? view.top - cy : (cy > view.bottom ? cy - view.bottom : 0);
    const int64_t k_last =
        std::min(std::max(view.bottom - cy, cy - view.top),
                 static_cast<int64_t>(SQRT_TWO * std::fabs(static_cast<long double>(ry))) + 2);
    int64_t drawn_first = std::numeric_limits<int64_t>::max();
    int64_t drawn_last = std::numeric_limits<int64_t>::min();
    if (k_first <= k_last) {
        int64_t arrived = k_first == 0 ? 0 : leave_point(walk, k_first - 1, 0);
        for (int64_t k = k_first; k <= k_last; ++k) {
            if (k > 0 && arrived >= walk.steps) break;  // the walk ended one row pair in
            const int64_t left_at = leave_point(walk, k, arrived);
            if (k == 0) {
                // The centre row is drawn with the full span; its later passes
                // draw it as the top and as the bottom row at once.
                if (filled) {
                    fill_row(pen, cy, xl, xr);
                } else {
                    outline_row(pen, walk, cy, 0, 0, 1);
                    outline_row(pen, walk, cy, 1, left_at, 2);
                }
            } else {
                // The pass that steps out may step in at once; the row keeps
                // the span it is first drawn with, the widest it gets.
                const int64_t first = arrived == left_at ? arrived : arrived + 1;
                for (const int64_t y : {cy + k, cy - k}) {
                    if (filled) {
                        fill_row(pen, y, xl + first, xr - first);
                    } else {
                        outline_row(pen, walk, y, first, left_at, 1);
                    }
                }
            }
            for (const int64_t y : {cy - k, cy + k}) {
                if (y >= view.top && y <= view.bottom) {
                    drawn_first = std::min(drawn_first, y);
                    drawn_last = std::max(drawn_last, y);
                }
            }
            arrived = left_at;
        }
    }
    // The rows within the vertical radius; the walk can draw one beyond them
    // (ry 48.7 climbs 49 rows, say), and those are marked as well.
    const auto top = static_cast<int64_t>(std::trunc(cy - static_cast<long double>(ry)));
    const auto bottom = static_cast<int64_t>(std::trunc(cy + static_cast<long double>(ry)));
    finish(pen, std::min({top, bottom, drawn_first}), std::max({top, bottom, drawn_last}));
}

// ---- Arc -------------------------------------------------------------------

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

struct ArcCall {
    void* target;
    PointF centre;  // world coordinates, after the relative code
    int64_t cx;     // the centre in pixels
    int64_t cy;
    Radii radii;
    float start;
    float end;
    uint32_t colour;  // as the caller passed it, for the radius lines
    int32_t flags;
};

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
