#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gfx/draw/ellipse_internal.h"

namespace {

__extension__ typedef __int128 Int128;

// Up to this radius the walk's integers are exact in 128 bits, up to the
// smaller one in 64: every term of D stays below 4 (rx ry)^2.
constexpr float EXACT_RADIUS = 2147483648.0f;  // 2^31
constexpr float SMALL_RADIUS = 32768.0f;       // 2^15

constexpr long double SQRT_TWO = 1.41421356237309504880L;

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

}  // namespace

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
