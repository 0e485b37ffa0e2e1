#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <span>

#include "gfx/present/present.h"
#include "runtime/runtime.h"

// The screen marks every row it draws into, and a frame of the simulation
// draws the barrier and the whole detector line again in the colours they
// have: nearly every row is marked, a few hundred pixels differ. Comparing
// the marked rows with what was shown costs a fraction of converting and
// uploading them, and leaves the few rectangles that really changed.

namespace {

// Differences fewer pixels apart than this share a span: one span costs
// less to show than two with a little in between.
constexpr int32_t SPAN_GAP = 16;
// A rectangle grows downwards this far at most, so that a long slanted line
// becomes a staircase of small rectangles instead of one that holds its
// whole slope.
constexpr int32_t MAX_RECT_ROWS = 24;

// The first pixel at or after pixel `from` in which rows a and b differ;
// width when none does.
int32_t first_difference(const uint8_t* a, const uint8_t* b, int32_t from, int32_t width,
                         int32_t pixel_bytes) {
    size_t at = static_cast<size_t>(from) * pixel_bytes;
    const size_t end = static_cast<size_t>(width) * pixel_bytes;
    // Eight bytes at a time; in a word that differs, the first differing
    // byte is where the difference's first set bit in memory order is.
    while (at + 8 <= end) {
        const uint64_t differ = load_unaligned<uint64_t>(a + at) ^ load_unaligned<uint64_t>(b + at);
        if (differ != 0) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(differ)
                                                                       : std::countl_zero(differ);
            at += static_cast<size_t>(bit / 8);
            return static_cast<int32_t>(at / static_cast<size_t>(pixel_bytes));
        }
        at += 8;
    }
    while (at < end && a[at] == b[at])
        ++at;
    return at >= end ? width : static_cast<int32_t>(at / static_cast<size_t>(pixel_bytes));
}

int64_t area(const PresentRect& r) {
    return int64_t{r.w} * r.h;
}

PresentRect united(const PresentRect& r, int32_t y, int32_t begin, int32_t end) {
    const int32_t x0 = std::min(r.x, begin);
    const int32_t x1 = std::max(r.x + r.w, end);
    const int32_t y0 = std::min(r.y, y);
    const int32_t y1 = std::max(r.y + r.h, y + 1);
    return PresentRect{x0, y0, x1 - x0, y1 - y0};
}

// Adds the changed pixels [begin, end) of row y: to a rectangle that
// reaches the row above and lies over them (give or take a gap), else to a
// new one; with every rectangle taken, to the one that grows least.
void add_span(ShownPicture& shown, int32_t y, int32_t begin, int32_t end) {
    for (int32_t i = shown.changed_count - 1; i >= 0; --i) {
        PresentRect& r = shown.changed[i];
        // It holds row y already, or ends just above it and may grow.
        const bool reaches = r.y + r.h > y || (r.y + r.h == y && r.h < MAX_RECT_ROWS);
        if (reaches && begin < r.x + r.w + SPAN_GAP && r.x < end + SPAN_GAP) {
            r = united(r, y, begin, end);
            return;
        }
    }
    if (shown.changed_count < MAX_CHANGED_RECTS) {
        shown.changed[shown.changed_count++] = PresentRect{begin, y, end - begin, 1};
        return;
    }
    PresentRect* best = &shown.changed[0];
    int64_t least = INT64_MAX;
    for (PresentRect& r : std::span(shown.changed, MAX_CHANGED_RECTS)) {
        const int64_t growth = area(united(r, y, begin, end)) - area(r);
        if (growth < least) {
            least = growth;
            best = &r;
        }
    }
    *best = united(*best, y, begin, end);
}

// Compares row y of the frame with the copy, takes its changes over and
// adds them as spans.
void take_row(ShownPicture& shown, const PresentFrame& frame, int32_t y) {
    const uint8_t* now = frame.pixels + static_cast<ptrdiff_t>(frame.pitch) * y;
    uint8_t* was =
        shown.pixels.data() + static_cast<ptrdiff_t>(y) * shown.width * shown.pixel_bytes;
    const size_t row_bytes = static_cast<size_t>(shown.width) * shown.pixel_bytes;
    // Most marked rows were drawn again unchanged.
    if (std::memcmp(now, was, row_bytes) == 0) return;
    const int32_t width = shown.width;
    const int32_t bytes = shown.pixel_bytes;
    int32_t x = first_difference(now, was, 0, width, bytes);
    while (x < width) {
        const int32_t begin = x;
        int32_t end = x + 1;
        for (;;) {
            x = first_difference(now, was, end, width, bytes);
            if (x >= width || x - end >= SPAN_GAP) break;
            end = x + 1;
        }
        const size_t from = static_cast<size_t>(begin) * bytes;
        std::memcpy(was + from, now + from, static_cast<size_t>(end - begin) * bytes);
        add_span(shown, y, begin, end);
    }
}

}  // namespace

int32_t take_changes(ShownPicture& shown, const PresentFrame& frame, bool repaint) {
    const int32_t bytes = frame.depth <= 8 ? 1 : frame.depth / 8;
    if (shown.width != frame.width || shown.height != frame.height || shown.pixel_bytes != bytes) {
        shown.width = frame.width;
        shown.height = frame.height;
        shown.pixel_bytes = bytes;
        shown.pixels.assign(static_cast<size_t>(frame.width) * frame.height * bytes, 0);
        repaint = true;
    }
    shown.changed_count = 0;
    if (repaint) {
        const size_t row_bytes = static_cast<size_t>(frame.width) * bytes;
        for (int32_t y = 0; y < frame.height; ++y) {
            std::memcpy(shown.pixels.data() + row_bytes * y,
                        frame.pixels + static_cast<ptrdiff_t>(frame.pitch) * y, row_bytes);
        }
        if (frame.width > 0 && frame.height > 0) {
            shown.changed[0] = PresentRect{0, 0, frame.width, frame.height};
            shown.changed_count = 1;
        }
    } else {
        for (int32_t y = 0; y < frame.height; ++y) {
            if (frame.dirty_rows[y] != 0) take_row(shown, frame, y);
        }
    }
    std::memset(frame.dirty_rows, 0, static_cast<size_t>(frame.height) * frame.line_repeat);
    return shown.changed_count;
}
