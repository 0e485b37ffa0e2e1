#include "gfx/present/present.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Sizes {
    int32_t source_w, source_h, target_w, target_h;
};

// Enlarged by whole and by broken factors, reduced, unchanged, one line.
const Sizes SIZES[] = {{4, 3, 8, 6}, {4, 3, 6, 5}, {5, 4, 13, 7},
                       {4, 3, 2, 2}, {4, 3, 4, 3}, {7, 1, 3, 9}};

// A source whose every byte tells its row, column and byte.
std::vector<uint8_t> source_picture(const Sizes& s, int32_t bytes, int32_t pitch) {
    std::vector<uint8_t> pixels(static_cast<size_t>(pitch * s.source_h), 0xEE);
    for (int32_t y = 0; y < s.source_h; ++y) {
        for (int32_t x = 0; x < s.source_w * bytes; ++x)
            pixels[y * pitch + x] = static_cast<uint8_t>(y * 64 + x);
    }
    return pixels;
}

TEST(NearestScale, SourceUnderEachCentre) {
    struct Case {
        int32_t i, source, target, expected;
    };
    const Case cases[] = {{0, 640, 1280, 0},      {1, 640, 1280, 0}, {2, 640, 1280, 1},
                          {1279, 640, 1280, 639}, {1, 4, 6, 1},      {4, 4, 6, 3},
                          {0, 4, 2, 1},           {1, 4, 2, 3},      {479, 480, 480, 479}};
    for (const Case& c : cases) {
        EXPECT_EQ(nearest_source(c.i, c.source, c.target), c.expected)
            << c.i << " of " << c.target << " from " << c.source;
    }
}

TEST(NearestScale, EveryTargetPixelIsItsSourcePixel) {
    for (const Sizes& s : SIZES) {
        for (int32_t bytes = 1; bytes <= 4; ++bytes) {
            const int32_t pitch = s.source_w * bytes + 3;
            const int32_t target_pitch = s.target_w * bytes + 5;
            const std::vector<uint8_t> in = source_picture(s, bytes, pitch);
            std::vector<uint8_t> out(static_cast<size_t>(target_pitch * s.target_h), 0);
            ScaleMap map;
            build_scale_map(map, s.source_w, s.source_h, s.target_w, s.target_h, bytes);
            scale_rows(map, in.data(), pitch, out.data(), target_pitch, 0, s.source_h - 1);
            for (int32_t y = 0; y < s.target_h; ++y) {
                const int32_t row = nearest_source(y, s.source_h, s.target_h);
                for (int32_t x = 0; x < s.target_w; ++x) {
                    const int32_t column = nearest_source(x, s.source_w, s.target_w);
                    ASSERT_EQ(0, std::memcmp(&out[y * target_pitch + x * bytes],
                                             &in[row * pitch + column * bytes], bytes))
                        << s.target_w << "x" << s.target_h << " " << bytes << " bytes, (" << x
                        << "," << y << ")";
                }
            }
        }
    }
}

// A span of rows writes just the lines that show them, and the spans of
// single rows tile the target without gaps or overlaps.
TEST(NearestScale, SpanWritesOnlyItsLines) {
    for (const Sizes& s : SIZES) {
        ScaleMap map;
        build_scale_map(map, s.source_w, s.source_h, s.target_w, s.target_h, 1);
        int32_t next = 0;
        for (int32_t row = 0; row < s.source_h; ++row) {
            int32_t begin = 0;
            int32_t end = 0;
            scaled_lines(map, row, row, &begin, &end);
            EXPECT_EQ(begin, next) << "row " << row << " of " << s.target_h << " lines";
            for (int32_t y = begin; y < end; ++y)
                EXPECT_EQ(nearest_source(y, s.source_h, s.target_h), row);
            next = end;

            const std::vector<uint8_t> in = source_picture(s, 1, s.source_w);
            std::vector<uint8_t> out(static_cast<size_t>(s.target_w * s.target_h), 0xAA);
            scale_rows(map, in.data(), s.source_w, out.data(), s.target_w, row, row);
            for (int32_t y = 0; y < s.target_h; ++y) {
                const bool written = out[y * s.target_w] != 0xAA;
                EXPECT_EQ(written, y >= begin && y < end) << "line " << y << ", row " << row;
            }
        }
        EXPECT_EQ(next, s.target_h);
    }
}

}  // namespace
