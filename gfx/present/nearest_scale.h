#pragma once

#include <cstdint>
#include <vector>

// The picture shown in a rectangle of another size, crisp: every target
// pixel takes the source pixel under its centre, so a projector shows the
// 1-pixel lines of the picture as sharp blocks rather than blurred ones. The
// map is built once per size; scaling a span of rows then allocates nothing.
struct ScaleMap {
    int32_t source_w = 0;
    int32_t source_h = 0;
    int32_t target_w = 0;
    int32_t target_h = 0;
    int32_t pixel_bytes = 0;
    std::vector<int32_t> column_offsets;  // per target column: byte offset of its source pixel
    std::vector<int32_t> line_sources;    // per target line: its source row
    std::vector<int32_t> first_lines;     // per source row, and one more: its first target line
};

// The source row or column under the centre of target position i.
int32_t nearest_source(int32_t i, int32_t source_size, int32_t target_size);

// Prepares scaling a source_w x source_h picture of pixel_bytes per pixel
// (1 to 4) to target_w x target_h; sizes must be positive.
void build_scale_map(ScaleMap& map, int32_t source_w, int32_t source_h, int32_t target_w,
                     int32_t target_h, int32_t pixel_bytes);

// The target lines [*line_begin, *line_end) that show source rows
// first_row..last_row.
void scaled_lines(const ScaleMap& map, int32_t first_row, int32_t last_row, int32_t* line_begin,
                  int32_t* line_end);

// Writes those target lines from the source rows. target points at the
// target rectangle's first pixel.
void scale_rows(const ScaleMap& map, const uint8_t* source, int32_t source_pitch, uint8_t* target,
                int32_t target_pitch, int32_t first_row, int32_t last_row);
