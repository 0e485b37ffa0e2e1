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

// One presentation of the tiny frame after `shown` saw it (unless fresh).
struct Presenter {
    ShownPicture shown;
    std::vector<uint8_t> rgba;
    PresentRect rects[MAX_CHANGED_RECTS];
    int32_t show(TinyFrame& tiny, bool repaint, int32_t line_repeat = 1) {
        rgba.resize(static_cast<size_t>(4 * 3 * line_repeat * 4));
        return convert_changes(tiny.frame(line_repeat), canvas_converter(8), shown, rgba.data(),
                               repaint, rects);
    }
};

TEST(WebFrame, AFreshCopyShowsEverythingOpaque) {
    TinyFrame tiny;
    Presenter p;
    ASSERT_EQ(p.show(tiny, false), 1);
    EXPECT_EQ(p.rects[0].w * p.rects[0].h, 12);
    EXPECT_EQ(pixel(p.rgba, 0, 1), (std::array<uint8_t, 4>{0, 0, 0, 255}));
    EXPECT_EQ(pixel(p.rgba, 1, 1), (std::array<uint8_t, 4>{0, 0, 0xAA, 255}));
    EXPECT_EQ(pixel(p.rgba, 2, 1), (std::array<uint8_t, 4>{0xAA, 0, 0, 255}));
    EXPECT_EQ(pixel(p.rgba, 3, 1), (std::array<uint8_t, 4>{0x55, 0xFF, 0x55, 255}));
}

// A marked row drawn again unchanged shows nothing; a changed pixel shows
// alone, in every line its row repeats on; unmarked changes wait for a mark.
TEST(WebFrame, OnlyChangedPixelsOfMarkedRows) {
    for (const int32_t repeat : {1, 2}) {
        TinyFrame tiny;
        Presenter p;
        p.show(tiny, true, repeat);
        tiny.dirty[0] = tiny.dirty[1] = 1;
        EXPECT_EQ(p.show(tiny, false, repeat), 0);
        EXPECT_EQ(tiny.dirty[0], 0) << "the marks are taken";
        tiny.pixels[4 + 2] = 3;  // row 1, column 2
        tiny.pixels[8 + 0] = 3;  // row 2, not marked
        tiny.dirty[1] = 1;
        ASSERT_EQ(p.show(tiny, false, repeat), 1);
        EXPECT_EQ(p.rects[0].x, 2);
        EXPECT_EQ(p.rects[0].y, repeat);
        EXPECT_EQ(p.rects[0].w, 1);
        EXPECT_EQ(p.rects[0].h, repeat);
        EXPECT_EQ(pixel(p.rgba, 2, repeat * 2 - 1)[1], 0xFF);
        EXPECT_EQ(pixel(p.rgba, 0, 2 * repeat)[1], 0) << "not marked, not shown";
    }
}

TEST(WebFrame, RepaintShowsEverythingAgain) {
    TinyFrame tiny;
    Presenter p;
    p.show(tiny, false);
    ASSERT_EQ(p.show(tiny, true), 1);
    EXPECT_EQ(p.rects[0].w * p.rects[0].h, 12);
}

TEST(WebFrame, EveryScreenDepthHasACanvasConverter) {
    for (const int32_t depth : {1, 2, 4, 8, 16, 32})
        EXPECT_NE(canvas_converter(depth), nullptr) << depth;
    EXPECT_EQ(canvas_converter(24), nullptr);
}

}  // namespace
