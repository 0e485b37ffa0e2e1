#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

// The written rules of lines, boxes, pixels and glyphs, drawn the slow and
// obvious way: one call a pixel, one a row, in the order the rules give. The
// fast drawing paths and the fuzz targets are compared against it, so it
// steps, clips boxes and reads patterns on its own; only the mapping of points
// and the clipping of lines come from the drawing layer.

namespace reference {

// Where the model's pixels go, in one colour: plot(pen, x, y) for a pixel and
// span(pen, x, y, count) for a row, defined for each pen below.

// A copy of a target of one byte per pixel whose view is the whole target.
struct ByteTarget {
    std::vector<uint8_t> pixels;
    int32_t width;
    int32_t height;
};
struct BytePen {
    ByteTarget* target;
    uint8_t colour;
};
inline void plot(const BytePen& pen, int64_t x, int64_t y) {
    pen.target->pixels[static_cast<size_t>(y * pen.target->width + x)] = pen.colour;
}
inline void span(const BytePen& pen, int64_t x, int64_t y, int64_t count) {
    for (int64_t i = 0; i < count; ++i)
        plot(pen, x + i, y);
}

// A drawing context's pixel_writer and span_writer.
struct ContextPen {
    DrawContext* context;
    uint32_t colour;
};
inline void plot(const ContextPen& pen, int64_t x, int64_t y) {
    DrawContext& c = *pen.context;
    c.pixel_writer(c, static_cast<int32_t>(x), static_cast<int32_t>(y), pen.colour);
}
inline void span(const ContextPen& pen, int64_t x, int64_t y, int64_t count) {
    DrawContext& c = *pen.context;
    c.span_writer(row_start(c, y) + x * c.bytes_per_pixel, pen.colour, static_cast<int32_t>(count));
}

inline uint16_t rotate(uint16_t mask) {
    return static_cast<uint16_t>(mask >> 1 | (mask & 1) << 15);
}

inline uint16_t reverse(uint16_t v) {
    uint16_t r = 0;
    for (int i = 0; i < 16; ++i)
        if ((v >> i & 1) != 0) r = static_cast<uint16_t>(r | 1 << (15 - i));
    return r;
}

// A styled line between two pixels, whole: clipping is the caller's. A run
// along an axis goes from its lower end up, its pattern reversed and started
// at the bit that makes it read from the first end; a solid row is one span.
template <typename Pen>
void segment(const Pen& pen, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint16_t style) {
    uint16_t mask = 0x8000;
    if (x1 == x2 || y1 == y2) {
        const bool vertical = x1 == x2;
        int64_t a = vertical ? y1 : x1, b = vertical ? y2 : x2;
        if (a > b) {
            std::swap(a, b);
            style = reverse(style);
            mask = static_cast<uint16_t>(1u << ((b - a) % 16));
        }
        if (!vertical && style == 0xFFFF) return span(pen, a, y1, b - a + 1);
        for (int64_t i = a; i <= b; ++i, mask = rotate(mask)) {
            if ((style & mask) != 0) plot(pen, vertical ? x1 : i, vertical ? i : y1);
        }
        return;
    }
    const int64_t dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1);
    const int64_t sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
    const bool x_major = dx >= dy;
    const int64_t major = x_major ? dx : dy, minor = x_major ? dy : dx;
    int64_t x = x1, y = y1, err = 2 * minor - major;
    for (int64_t k = 0; k <= major; ++k, mask = rotate(mask)) {
        if ((style & mask) != 0) plot(pen, x, y);
        if (err >= 0) {
            (x_major ? y : x) += x_major ? sy : sx;
            err -= 2 * major;
        }
        (x_major ? x : y) += x_major ? sx : sy;
        err += 2 * minor;
    }
}

// Corners with x1 <= x2 and y1 <= y2, both part of the box.
struct Box {
    int64_t x1, y1, x2, y2;
};

// The part of the box in the view; false when there is none.
inline bool clip_box(const Box& box, const ViewRect& view, Box& part) {
    part = {std::max<int64_t>(box.x1, view.x), std::max<int64_t>(box.y1, view.y),
            std::min(box.x2, int64_t{view.x} + view.width - 1),
            std::min(box.y2, int64_t{view.y} + view.height - 1)};
    return part.x1 <= part.x2 && part.y1 <= part.y2;
}

// The part in the view of a filled box, or of a frame round which one pattern
// runs: bottom, top, right, left, clipped positions and edges counted.
template <typename Pen>
void box(const Pen& pen, const Box& b, const ViewRect& view, bool filled, uint16_t style) {
    Box part;
    if (!clip_box(b, view, part)) return;
    if (filled) {
        for (int64_t y = part.y1; y <= part.y2; ++y)
            span(pen, part.x1, y, part.x2 - part.x1 + 1);
        return;
    }
    const int64_t across = b.x2 - b.x1 + 1, down = b.y2 - b.y1 + 1;
    auto edge = [&](bool seen, int64_t x, int64_t y, bool vertical, int64_t position) {
        if (!seen) return;
        const int64_t count = vertical ? part.y2 - part.y1 + 1 : part.x2 - part.x1 + 1;
        if (style == 0xFFFF && !vertical) return span(pen, x, y, count);
        for (int64_t i = 0; i < count; ++i, ++position) {
            if ((style & (0x8000u >> (position & 15))) != 0)
                plot(pen, vertical ? x : x + i, vertical ? y + i : y);
        }
    };
    edge(b.y2 == part.y2, part.x1, b.y2, false, part.x1 - b.x1);
    edge(b.y1 == part.y1, part.x1, b.y1, false, across + part.x1 - b.x1);
    edge(b.x2 == part.x2, b.x2, part.y1, true, 2 * across + part.y1 - b.y1);
    edge(b.x1 == part.x1, b.x1, part.y1, true, 2 * across + down + part.y1 - b.y1);
}

// The primitives, through a drawing context. What every primitive does
// first: its points after the relative code, as pixels. False when there is
// no screen or a point is no number (the cursor has moved all the same).
inline bool start(PrimitiveStart& p, PixelPoint (&at)[2], void* target, uint32_t colour,
                  int32_t flags, bool use_background, PointF a, PointF* b) {
    p = begin_primitive(target, colour, flags, use_background);
    if (p.context == nullptr) return false;
    apply_step(*p.context, flags, a, b);
    at[0] = map_point(*p.context, a.x, a.y);
    at[1] = b != nullptr ? map_point(*p.context, b->x, b->y) : at[0];
    return at[0].ok && at[1].ok;
}

inline void line(void* target, float x1, float y1, float x2, float y2, uint32_t colour,
                 int32_t kind, uint32_t style, int32_t flags) {
    PrimitiveStart p;
    PixelPoint at[2];
    PointF second{x2, y2};
    if (!start(p, at, target, colour, flags, false, PointF{x1, y1}, &second)) return;
    DrawContext& context = *p.context;
    const ContextPen pen{&context, p.colour};
    if (kind == LINE_PLAIN) {
        PixelSegment s{at[0].x, at[0].y, at[1].x, at[1].y};
        if (!clip_segment(context, s)) return;
        lock_target();
        segment(pen, s.x1, s.y1, s.x2, s.y2, static_cast<uint16_t>(style));
        finish_target(context, std::min(s.y1, s.y2), std::max(s.y1, s.y2));
        return;
    }
    const Box b{std::min(at[0].x, at[1].x), std::min(at[0].y, at[1].y), std::max(at[0].x, at[1].x),
                std::max(at[0].y, at[1].y)};
    Box part;
    if (!clip_box(b, context.view, part)) return;
    lock_target();
    box(pen, b, context.view, kind == LINE_FILLED_BOX, static_cast<uint16_t>(style));
    finish_target(context, part.y1, part.y2);
}

inline void pset(void* target, float x, float y, uint32_t colour, int32_t flags,
                 int32_t use_background) {
    PrimitiveStart p;
    PixelPoint at[2];
    if (!start(p, at, target, colour, flags, use_background != 0, PointF{x, y}, nullptr)) return;
    if (clip_outcode(*p.context, at[0].x, at[0].y) != 0) return;
    lock_target();
    plot(ContextPen{p.context, p.colour}, at[0].x, at[0].y);
    finish_target(*p.context, at[0].y, at[0].y);
}

// The glyph routine of a text window: every pixel of every cell (or the lone
// underline byte's bottom row), then the cells of the first page.
inline int32_t glyphs(TextWindow& window, const uint8_t* bytes, int32_t count) {
    TextTarget& target = *window.target;
    DrawContext& context = *target.context;
    const ScreenContext& screen = *target.screen;
    const TextGrid grid = text_grid(screen);
    const bool inside = window.row >= 0 && window.row < grid.rows && window.column >= 0;
    if (count <= 0 || !inside || count > grid.columns - window.column) return 0;
    const FontSpec& font = *screen.font;
    const int32_t x0 = window.column * font.width, y0 = window.row * font.height;
    const ContextPen ink{&context, context.foreground}, paper{&context, context.background};
    if (count == 1 && bytes[0] == 255) {
        for (int32_t x = 0; x < font.width; ++x)
            plot(ink, x0 + x, y0 + font.height - 1);
    } else {
        for (int32_t i = 0; i < count; ++i) {
            const uint8_t* glyph = font.glyphs + static_cast<size_t>(bytes[i]) * font.height;
            for (int32_t j = 0; j < font.height; ++j) {
                for (int32_t x = 0; x < 8; ++x) {
                    const ContextPen& pen = ((glyph[j] >> x) & 1) != 0 ? ink : paper;
                    plot(pen, x0 + i * 8 + x, y0 + j);
                }
            }
        }
    }
    widen_dirty_rows(target, y0, y0 + font.height);
    TextCell* cells = screen.text_cells[0].get() + window.row * screen.text_columns + window.column;
    for (int32_t i = 0; i < count; ++i)
        cells[i] = TextCell{bytes[i], context.foreground, context.background};
    return 1;
}

}  // namespace reference
