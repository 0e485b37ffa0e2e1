#include "gfx/present/web/web_internal.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A tiny attribute screen: 4 x 3 pixels, attribute n at column n.
struct TinyFrame {
    std::array<uint8_t, 12> pixels{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};
    std::array<uint8_t, 6> dirty{};
    std::array<uint32_t, 256> palette{};
    std::array<uint32_t, 512> table{};
    std::array<uint8_t, 128> keys{};
    PresentFrame frame(int32_t line_repeat = 1) {
        return PresentFrame{
            pixels.data(), 4,          3, 4, 8, line_repeat, dirty.data(), palette.data(),
            table.data(),  keys.data()};
    }
    TinyFrame() {
        palette[0] = 0x000000;
        palette[1] = 0xAA0000;  // 0x00BBGGRR: blue
        palette[2] = 0x0000AA;  // red
        palette[3] = 0x55FF55;
    }
};

std::array<uint8_t, 4> pixel(const std::vector<uint8_t>& rgba, int32_t x, int32_t y) {
    const size_t at = (static_cast<size_t>(y) * 4 + x) * 4;
    return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
}

TEST(WebFrame, MarkedRowsBecomeOpaqueCanvasPixels) {
    TinyFrame tiny;
    tiny.dirty[1] = 1;
    std::vector<uint8_t> rgba(4 * 3 * 4, 0);
    const LineSpan span =
        convert_marked_rows(tiny.frame(), canvas_converter(8), rgba.data(), false);
    EXPECT_EQ(span.first, 1);
    EXPECT_EQ(span.count, 1);
    EXPECT_EQ(pixel(rgba, 0, 1), (std::array<uint8_t, 4>{0, 0, 0, 255}));
    EXPECT_EQ(pixel(rgba, 1, 1), (std::array<uint8_t, 4>{0, 0, 0xAA, 255}));
    EXPECT_EQ(pixel(rgba, 2, 1), (std::array<uint8_t, 4>{0xAA, 0, 0, 255}));
    EXPECT_EQ(pixel(rgba, 3, 1), (std::array<uint8_t, 4>{0x55, 0xFF, 0x55, 255}));
    // Rows not marked are not touched, and the marks are gone.
    EXPECT_EQ(pixel(rgba, 1, 0), (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(tiny.dirty[1], 0);
}

TEST(WebFrame, OneSpanFromTheFirstToTheLastMark) {
    TinyFrame tiny;
    tiny.dirty[0] = 1;
    tiny.dirty[2] = 1;
    std::vector<uint8_t> rgba(4 * 3 * 4, 0);
    const LineSpan span =
        convert_marked_rows(tiny.frame(), canvas_converter(8), rgba.data(), false);
    EXPECT_EQ(span.first, 0);
    EXPECT_EQ(span.count, 3);
    EXPECT_EQ(pixel(rgba, 3, 2)[1], 0xFF);
}

TEST(WebFrame, NothingMarkedNothingShown) {
    TinyFrame tiny;
    std::vector<uint8_t> rgba(4 * 3 * 4, 7);
    const LineSpan span =
        convert_marked_rows(tiny.frame(), canvas_converter(8), rgba.data(), false);
    EXPECT_EQ(span.count, 0);
    EXPECT_EQ(rgba[0], 7);
}

TEST(WebFrame, RepaintConvertsEveryRow) {
    TinyFrame tiny;
    std::vector<uint8_t> rgba(4 * 3 * 4, 0);
    const LineSpan span = convert_marked_rows(tiny.frame(), canvas_converter(8), rgba.data(), true);
    EXPECT_EQ(span.first, 0);
    EXPECT_EQ(span.count, 3);
    for (int32_t y = 0; y < 3; ++y)
        EXPECT_EQ(pixel(rgba, 2, y), (std::array<uint8_t, 4>{0xAA, 0, 0, 255}));
}

TEST(WebFrame, RepeatedLinesAreShownTwice) {
    TinyFrame tiny;
    tiny.dirty[1] = 1;
    std::vector<uint8_t> rgba(4 * 6 * 4, 0);
    const LineSpan span =
        convert_marked_rows(tiny.frame(2), canvas_converter(8), rgba.data(), false);
    EXPECT_EQ(span.first, 2);
    EXPECT_EQ(span.count, 2);
    EXPECT_EQ(pixel(rgba, 2, 2), (std::array<uint8_t, 4>{0xAA, 0, 0, 255}));
    EXPECT_EQ(pixel(rgba, 2, 3), (std::array<uint8_t, 4>{0xAA, 0, 0, 255}));
}

TEST(WebFrame, EveryScreenDepthHasACanvasConverter) {
    for (const int32_t depth : {1, 2, 4, 8, 16, 32})
        EXPECT_NE(canvas_converter(depth), nullptr) << depth;
    EXPECT_EQ(canvas_converter(24), nullptr);
}

}  // namespace
