#include <algorithm>
#include <cstring>

#include "gfx/draw/draw_internal.h"
#include "runtime/runtime.h"

// The line writers take what the per-pixel loop of a line decided once per
// call (start address, steps, error terms, pattern) and walk the target with
// a byte offset: no call, no row lookup and no bounds check per pixel, as
// the caller has clipped the line to the view already. Offsets rather than
// pointers keep the step after the last pixel, which may lead outside the
// target, out of pointer arithmetic. The loops read the line into locals
// first: a byte store may alias the record, which would otherwise be read
// again after every pixel.

namespace {

template <typename Unit>
struct Store {
    Unit value;
    void operator()(uint8_t* address) const { store_unaligned<Unit>(address, value); }
};

struct Blend {
    uint32_t colour;
    void operator()(uint8_t* address) const {
        store_unaligned<uint32_t>(address, alpha_blend(load_unaligned<uint32_t>(address), colour));
    }
};

// Lines whose runs along the major axis are at least this long on average
// are drawn run by run; steeper ones position by position.
constexpr int64_t SLICE_FROM = 3;

// Two pixels per pass: for the short runs of a sliced line the loop's own
// count and branch are most of the cost.
template <typename Put>
void straight_run(uint8_t* start, ptrdiff_t step, int64_t count, Put put) {
    ptrdiff_t offset = 0;
    for (; count >= 2; count -= 2, offset += 2 * step) {
        put(start + offset);
        put(start + offset + step);
    }
    if (count == 1) put(start + offset);
}

// One Bresenham position after another: the pixel (where the style's mask
// bit is set, for a styled line), the major step, and the minor step when the
// error term is not negative. A solid line leaves the mask out entirely.
template <bool Styled, typename Put>
void stepped_line(const LineSteps& line, Put put) {
    uint8_t* const start = line.start;
    const ptrdiff_t major = line.major_step;
    const ptrdiff_t minor = line.minor_step;
    const int64_t up = 2 * line.minor_delta;
    const int64_t across = up - 2 * line.major_delta;
    int64_t error = up - line.major_delta;
    [[maybe_unused]] uint16_t mask = line.mask;
    ptrdiff_t offset = 0;
    for (int64_t n = line.count; n > 0; --n) {
        if constexpr (Styled) {
            if ((line.style & mask) != 0) put(start + offset);
            mask = static_cast<uint16_t>((mask >> 1) | (mask << 15));
        } else {
            put(start + offset);
        }
        offset += major;
        if (error >= 0) {
            offset += minor;
            error += across;
        } else {
            error += up;
        }
    }
}

// The same positions, a run at a time. With M the major and m the minor
// delta (M >= m >= 1), U = 2m and A = 2m - 2M, the error grows by U along a
// run, and the run ends at the first position where it is not negative; the
// minor step after it adds A. A run that starts with error e (in [A, A + U)
// after the first) is q = M / m positions long when e >= (1 - q) U, else
// q + 1, so each run costs a comparison instead of a test per pixel. The
// first run starts at e = U - M and is ceil(M / 2m) positions long.
template <typename Put>
void sliced_line(const LineSteps& line, int64_t q, int64_t r, Put put) {
    uint8_t* const start = line.start;
    const ptrdiff_t major = line.major_step;
    const ptrdiff_t minor = line.minor_step;
    const int64_t up = 2 * line.minor_delta;
    const int64_t across = up - 2 * line.major_delta;
    const int64_t threshold = (1 - q) * up;
    const int64_t short_gain = (q - 1) * up + across;
    const int64_t long_gain = q * up + across;

    // ceil(M / 2m) from M = q m + r.
    int64_t run = q / 2 + ((q % 2 != 0 || r != 0) ? 1 : 0);
    int64_t error = up - line.major_delta + (run - 1) * up + across;
    int64_t remaining = line.count;
    ptrdiff_t offset = 0;
    for (;;) {
        const int64_t n = std::min(run, remaining);
        straight_run(start + offset, major, n, put);
        remaining -= n;
        if (remaining == 0) return;
        offset += n * major + minor;
        if (error >= threshold) {
            run = q;
            error += short_gain;
        } else {
            run = q + 1;
            error += long_gain;
        }
    }
}

template <typename Put>
void step_line(const LineSteps& line, Put put) {
    if (line.style != 0xFFFF) {
        stepped_line<true>(line, put);
    } else if (line.minor_delta == 0) {
        straight_run(line.start, line.major_step, line.count, put);
    } else {
        const int64_t q = line.major_delta / line.minor_delta;
        const int64_t r = line.major_delta % line.minor_delta;
        if (q >= SLICE_FROM) {
            sliced_line(line, q, r, put);
        } else {
            stepped_line<false>(line, put);
        }
    }
}

}  // namespace

void write_line_8(const LineSteps& line, uint32_t colour) {
    step_line(line, Store<uint8_t>{static_cast<uint8_t>(colour)});
}

void write_line_16(const LineSteps& line, uint32_t colour) {
    step_line(line, Store<uint16_t>{static_cast<uint16_t>(colour)});
}

void write_line_32(const LineSteps& line, uint32_t colour) {
    step_line(line, Store<uint32_t>{colour});
}

void blend_line_32(const LineSteps& line, uint32_t colour) {
    step_line(line, Blend{colour});
}
