#include "gfx/present/present.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

template <int Bytes>
void scale_line(const ScaleMap& map, const uint8_t* in, uint8_t* out) {
    const int32_t* offsets = map.column_offsets.data();
    for (int32_t x = 0; x < map.target_w; ++x) {
        std::memcpy(out + static_cast<ptrdiff_t>(x) * Bytes, in + offsets[x], Bytes);
    }
}

using LineScaler = void (*)(const ScaleMap&, const uint8_t*, uint8_t*);

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
    map.first_lines.assign(static_cast<size_t>(source_h) + 1, target_h);
    // Walking down, each source row's first line is where the rows reach it;
    // rows a reduction skips share the next shown row's first line.
    int32_t row = 0;
    for (int32_t y = 0; y < target_h; ++y) {
        const int32_t source = nearest_source(y, source_h, target_h);
        map.line_sources[y] = source;
        for (; row <= source; ++row)
            map.first_lines[row] = y;
    }
}

void scaled_lines(const ScaleMap& map, int32_t first_row, int32_t last_row, int32_t* line_begin,
                  int32_t* line_end) {
    first_row = std::clamp(first_row, 0, map.source_h);
    last_row = std::clamp(last_row, first_row - 1, map.source_h - 1);
    *line_begin = map.first_lines[first_row];
    *line_end = std::max(*line_begin, map.first_lines[last_row + 1]);
}

void scale_rows(const ScaleMap& map, const uint8_t* source, int32_t source_pitch, uint8_t* target,
                int32_t target_pitch, int32_t first_row, int32_t last_row) {
    int32_t begin = 0;
    int32_t end = 0;
    scaled_lines(map, first_row, last_row, &begin, &end);
    const LineScaler scale = LINE_SCALERS[map.pixel_bytes - 1];
    const size_t line_bytes = static_cast<size_t>(map.target_w) * map.pixel_bytes;
    for (int32_t y = begin; y < end; ++y) {
        uint8_t* out = target + static_cast<ptrdiff_t>(y) * target_pitch;
        const int32_t row = map.line_sources[y];
        if (y > begin && map.line_sources[y - 1] == row) {
            // An enlarged row repeats the line just scaled.
            std::memcpy(out, out - target_pitch, line_bytes);
        } else {
            scale(map, source + static_cast<ptrdiff_t>(row) * source_pitch, out);
        }
    }
}
