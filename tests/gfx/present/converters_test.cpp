#include "gfx/present/present.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::span<const PresentRect> one(const PresentRect& rect) {
    return {&rect, 1};
}

// One source pixel (orange: red 255, green 128, blue 0, or its 5-6-5 form)
// converted into each display format; the expected bytes are the display
// pixel as it lies in memory.
struct Case {
    int32_t source_depth;
    int32_t display_depth;
    bool red_low;
    std::vector<uint8_t> bytes;
};

constexpr uint32_t ORANGE_PALETTE = 0x000080FF;  // 0x00BBGGRR
constexpr uint16_t ORANGE_565 = 0xFC00;          // red 31, green 32, blue 0
constexpr uint32_t ORANGE_ARGB = 0xAAFF8000;     // the alpha byte never reaches a display

const Case CASES[] = {
    {4, 32, false, {0x00, 0x80, 0xFF, 0x00}},   // 0x00FF8000
    {4, 32, true, {0xFF, 0x80, 0x00, 0x00}},    // 0x000080FF
    {4, 24, false, {0x00, 0x80, 0xFF}},         // blue, green, red
    {4, 24, true, {0xFF, 0x80, 0x00}},          // red, green, blue
    {4, 16, false, {0x00, 0xFC}},               // 0xFC00
    {4, 16, true, {0x1F, 0x04}},                // 0x041F
    {4, 15, false, {0x00, 0x7E}},               // 0x7E00
    {4, 15, true, {0x1F, 0x02}},                // 0x021F
    {4, 8, false, {3}},                         // the attribute itself
    {16, 32, false, {0x00, 0x80, 0xF8, 0x00}},  // red 31 becomes 248
    {16, 32, true, {0xF8, 0x80, 0x00, 0x00}},
    {16, 24, false, {0x00, 0x80, 0xF8}},
    {16, 24, true, {0xF8, 0x80, 0x00}},
    {16, 16, false, {0x00, 0xFC}},
    {16, 16, true, {0x1F, 0x04}},
    {16, 15, false, {0x00, 0x7E}},  // the lowest green bit dropped
    {16, 15, true, {0x1F, 0x02}},
    {32, 32, false, {0x00, 0x80, 0xFF, 0x00}},
    {32, 32, true, {0xFF, 0x80, 0x00, 0x00}},
    {32, 24, false, {0x00, 0x80, 0xFF}},
    {32, 24, true, {0xFF, 0x80, 0x00}},
    {32, 16, false, {0x00, 0xFC}},
    {32, 16, true, {0x1F, 0x04}},
    {32, 15, false, {0x00, 0x7E}},
    {32, 15, true, {0x1F, 0x02}},
};

class Converters : public ::testing::Test {
protected:
    // A frame of width x height pixels of the given depth, every row marked.
    PresentFrame frame(int32_t depth, int32_t width, int32_t height, int32_t line_repeat = 1) {
        const int32_t bytes = depth <= 8 ? 1 : depth / 8;
        pixels_.assign(static_cast<size_t>(width * height * bytes), 0);
        dirty_.assign(static_cast<size_t>(height * line_repeat), 1);
        palette_.assign(256, 0);
        table_.assign(512, 0);
        return PresentFrame{pixels_.data(), width,         height,          width * bytes, depth,
                            line_repeat,    dirty_.data(), palette_.data(), table_.data(), nullptr};
    }

    std::vector<uint8_t> pixels_;
    std::vector<uint8_t> dirty_;
    std::vector<uint32_t> palette_;
    std::vector<uint32_t> table_;
};

TEST_F(Converters, OnePixelIntoEveryDisplayFormat) {
    for (const Case& c : CASES) {
        SCOPED_TRACE(::testing::Message() << c.source_depth << " -> " << c.display_depth
                                          << (c.red_low ? " red-low" : " red-high"));
        PresentFrame f = frame(c.source_depth, 1, 1);
        if (c.source_depth == 4) {
            pixels_[0] = 3;
            palette_[3] = ORANGE_PALETTE;
        } else if (c.source_depth == 16) {
            std::memcpy(pixels_.data(), &ORANGE_565, 2);
            fill_conversion_table(table_.data(), c.red_low);
        } else {
            std::memcpy(pixels_.data(), &ORANGE_ARGB, 4);
        }
        const PixelConverter convert = select_converter(c.source_depth, c.display_depth, c.red_low);
        ASSERT_NE(convert, nullptr);
        std::vector<uint8_t> out(c.bytes.size(), 0x55);
        convert(f, one(PresentRect{0, 0, 1, 1}), out.data(), static_cast<int32_t>(out.size()));
        EXPECT_EQ(out, c.bytes);
    }
}

TEST_F(Converters, SixteenBitComponentsLandInTheTopBitsOfTheirByte) {
    for (const bool red_low : {false, true}) {
        PresentFrame f = frame(16, 64, 1);
        fill_conversion_table(table_.data(), red_low);
        // Pixel i has red i & 31, green i, blue 31 - (i & 31).
        for (uint16_t i = 0; i < 64; ++i) {
            const uint16_t v = static_cast<uint16_t>((i & 31) << 11 | i << 5 | (31 - (i & 31)));
            std::memcpy(pixels_.data() + 2 * i, &v, 2);
        }
        std::vector<uint32_t> out(64);
        select_converter(16, 32, red_low)(f, one(PresentRect{0, 0, 64, 1}),
                                          reinterpret_cast<uint8_t*>(out.data()), 256);
        for (uint32_t i = 0; i < 64; ++i) {
            const uint32_t red = (i & 31) << 3, green = i << 2, blue = (31 - (i & 31)) << 3;
            const uint32_t expected =
                red_low ? blue << 16 | green << 8 | red : red << 16 | green << 8 | blue;
            ASSERT_EQ(out[i], expected) << "pixel " << i << (red_low ? " red-low" : "");
        }
    }
}

TEST_F(Converters, MissingCellsGiveNone) {
    EXPECT_EQ(select_converter(16, 8, false), nullptr);
    EXPECT_EQ(select_converter(32, 8, true), nullptr);
    EXPECT_EQ(select_converter(4, 12, false), nullptr);
    EXPECT_EQ(select_converter(24, 32, false), nullptr);
    EXPECT_EQ(select_converter(0, 32, false), nullptr);
}

// Only the rectangle is written, each row line_repeat times, marked or not;
// the destination advances by a whole pitch per window line either way.
TEST_F(Converters, ARectangleWithItsRepeatedLines) {
    PresentFrame f = frame(8, 3, 4, 2);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 3; ++x)
            pixels_[static_cast<size_t>(3 * y + x)] = static_cast<uint8_t>(10 * y + x);
    }
    const int32_t pitch = 4;  // one byte of padding per display line
    std::vector<uint8_t> out(static_cast<size_t>(pitch * 8), 0xEE);
    select_converter(8, 8, false)(f, one(PresentRect{1, 1, 2, 2}), out.data(), pitch);
    const std::vector<uint8_t> expected = {
        0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // row 0: outside
        0xEE, 11,   12,   0xEE, 0xEE, 11,   12,   0xEE,  // row 1, twice, from column 1
        0xEE, 21,   22,   0xEE, 0xEE, 21,   22,   0xEE,  // row 2, twice
        0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // row 3: outside
    };
    EXPECT_EQ(out, expected);
    // A rectangle reaching beyond the frame is cut to it.
    select_converter(8, 8, false)(f, one(PresentRect{2, 3, 5, 5}), out.data(), pitch);
    EXPECT_EQ(out[6 * pitch + 2], 32);
    EXPECT_EQ(out[7 * pitch + 3], 0xEE);
}

}  // namespace
