#include "gfx/present/present.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Target columns [begin, end) of one line; out is the line's first pixel.
template <int Bytes>
void scale_line(const ScaleMap& map, const uint8_t* in, uint8_t* out, int32_t begin, int32_t end) {
    const int32_t* offsets = map.column_offsets.data();
    for (int32_t x = begin; x < end; ++x) {
        std::memcpy(out + static_cast<ptrdiff_t>(x) * Bytes, in + offsets[x], Bytes);
    }
}

using LineScaler = void (*)(const ScaleMap&, const uint8_t*, uint8_t*, int32_t, int32_t);

// The first target positions of each source position, and one more past
// the last: walking along, each source position's first is where the
// targets reach it; positions a reduction skips share the next shown one's.
void first_targets(std::vector<int32_t>& firsts, int32_t source_size, int32_t target_size) {
    firsts.assign(static_cast<size_t>(source_size) + 1, target_size);
    int32_t at = 0;
    for (int32_t t = 0; t < target_size; ++t) {
        for (const int32_t source = nearest_source(t, source_size, target_size); at <= source; ++at)
            firsts[at] = t;
    }
}

constexpr LineScaler LINE_SCALERS[] = {scale_line<1>, scale_line<2>, scale_line<3>, scale_line<4>};

}  // namespace

int32_t nearest_source(int32_t i, int32_t source_size, int32_t target_size) {
    // Integer arithmetic: a whole-number factor repeats every pixel exactly
    // that many times, which floating point would get wrong now and then.
    return static_cast<int32_t>((2 * int64_t{i} + 1) * source_size / (2 * int64_t{target_size}));
}

void build_scale_map(ScaleMap& map, int32_t source_w, int32_t source_h, int32_t target_w,
                     int32_t target_h, int32_t pixel_bytes) {
    map.source_w = source_w;
    map.source_h = source_h;
    map.target_w = target_w;
    map.target_h = target_h;
    map.pixel_bytes = std::clamp(pixel_bytes, 1, 4);
    map.column_offsets.resize(static_cast<size_t>(target_w));
    for (int32_t x = 0; x < target_w; ++x) {
        map.column_offsets[x] = nearest_source(x, source_w, target_w) * map.pixel_bytes;
    }
    map.line_sources.resize(static_cast<size_t>(target_h));
    for (int32_t y = 0; y < target_h; ++y)
        map.line_sources[y] = nearest_source(y, source_h, target_h);
    first_targets(map.first_lines, source_h, target_h);
    first_targets(map.first_columns, source_w, target_w);
}

void scaled_lines(const ScaleMap& map, int32_t first_row, int32_t last_row, int32_t* line_begin,
                  int32_t* line_end) {
    first_row = std::clamp(first_row, 0, map.source_h);
    last_row = std::clamp(last_row, first_row - 1, map.source_h - 1);
    *line_begin = map.first_lines[first_row];
    *line_end = std::max(*line_begin, map.first_lines[last_row + 1]);
}

PresentRect scaled_rect(const ScaleMap& map, const PresentRect& source_rect) {
    const int32_t x0 = std::clamp(source_rect.x, 0, map.source_w);
    const int32_t x1 = std::clamp(source_rect.x + source_rect.w, x0, map.source_w);
    int32_t begin = 0;
    int32_t end = 0;
    scaled_lines(map, source_rect.y, source_rect.y + source_rect.h - 1, &begin, &end);
    const int32_t left = map.first_columns[x0];
    return PresentRect{left, begin, std::max(0, map.first_columns[x1] - left), end - begin};
}

PresentRect scale_rect(const ScaleMap& map, const uint8_t* source, int32_t source_pitch,
                       uint8_t* target, int32_t target_pitch, const PresentRect& source_rect) {
    const PresentRect out = scaled_rect(map, source_rect);
    if (out.w <= 0 || out.h <= 0) return out;
    const LineScaler scale = LINE_SCALERS[map.pixel_bytes - 1];
    const size_t span_bytes = static_cast<size_t>(out.w) * map.pixel_bytes;
    const ptrdiff_t span_offset = static_cast<ptrdiff_t>(out.x) * map.pixel_bytes;
    for (int32_t y = out.y; y < out.y + out.h; ++y) {
        uint8_t* line = target + static_cast<ptrdiff_t>(y) * target_pitch;
        const int32_t row = map.line_sources[y];
        if (y > out.y && map.line_sources[y - 1] == row) {
            // An enlarged row repeats the line just scaled.
            std::memcpy(line + span_offset, line - target_pitch + span_offset, span_bytes);
        } else {
            scale(map, source + static_cast<ptrdiff_t>(row) * source_pitch, line, out.x,
                  out.x + out.w);
        }
    }
    return out;
}

void scale_rows(const ScaleMap& map, const uint8_t* source, int32_t source_pitch, uint8_t* target,
                int32_t target_pitch, int32_t first_row, int32_t last_row) {
    scale_rect(map, source, source_pitch, target, target_pitch,
               PresentRect{0, first_row, map.source_w, last_row - first_row + 1});
}
