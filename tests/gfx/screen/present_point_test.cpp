#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "tests/support/gfx_state.h"

// The present point: what the window is handed (the present source's frame)
// is the picture at the last point, with the rows marked since the point
// before and the palette of that moment; a program without present points
// is handed the framebuffer as it draws.

namespace {

// What a driver heard: palette entries and unlocks with news.
struct Heard {
    std::vector<int32_t> entries;
    int32_t news = 0;
};
Heard heard;

const WindowDriver listening_driver{
    .name = "Listening",
    .unlock = [](bool rows_marked) { heard.news += rows_marked ? 1 : 0; },
    .set_palette = [](int32_t index, int32_t, int32_t, int32_t) { heard.entries.push_back(index); },
};

class PresentPoint : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        active_screen()->driver = &listening_driver;
        heard = Heard{};
    }
    void TearDown() override {
        if (ScreenContext* s = active_screen()) s->driver = &null_driver;
        GfxTest::TearDown();
    }

    static PresentFrame frame() {
        PresentFrame f{};
        EXPECT_TRUE(gfx_present_source()->frame(&f));
        return f;
    }
    static uint8_t shown(const PresentFrame& f, int32_t x, int32_t y) {
        return f.pixels[static_cast<size_t>(y) * f.pitch + x];
    }
    static std::vector<int32_t> marked(const PresentFrame& f) {
        std::vector<int32_t> rows;
        for (int32_t y = 0; y < f.height; ++y) {
            if (f.dirty_rows[y] != 0) rows.push_back(y);
        }
        return rows;
    }
    static void take_changes_shown(const PresentFrame& f) {
        ShownPicture picture;
        take_changes(picture, f, true);  // clears the marks, as a pass does
    }
};

TEST_F(PresentPoint, WithoutOneTheWindowIsHandedTheFramebuffer) {
    gfx_pset(nullptr, 5, 7, 12, 0, 0);
    const PresentFrame f = frame();
    EXPECT_EQ(f.pixels, active_screen()->framebuffer);
    EXPECT_EQ(shown(f, 5, 7), 12);
    EXPECT_EQ(f.dirty_rows[7], 1);
    gfx_palette(12, 0x3F0000, -1, -1);  // the driver hears of a colour at once
    EXPECT_EQ(heard.entries, std::vector<int32_t>{12});
}

TEST_F(PresentPoint, TheWindowShowsThePointNotWhatIsDrawnAfterIt) {
    gfx_line(nullptr, 0, 100, 639, 100, 14, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_present_point();
    // A figure erased after the point (as a key does) and not drawn again.
    gfx_line(nullptr, 0, 100, 639, 100, 15, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_pset(nullptr, 3, 200, 9, 0, 0);
    PresentFrame f = frame();
    EXPECT_NE(f.pixels, active_screen()->framebuffer);
    EXPECT_EQ(shown(f, 320, 100), 14);
    EXPECT_EQ(shown(f, 3, 200), 0);

    // The point takes the erasure and the new pixel; the framebuffer keeps
    // every state it went through.
    gfx_present_point();
    f = frame();
    EXPECT_EQ(shown(f, 320, 100), 15);
    EXPECT_EQ(shown(f, 3, 200), 9);
    EXPECT_EQ(active_screen()->framebuffer[100 * 640 + 320], 15);
}

TEST_F(PresentPoint, CarriesTheRowsMarkedSinceTheLastPoint) {
    gfx_present_point();
    take_changes_shown(frame());
    ASSERT_TRUE(marked(frame()).empty());
    const int32_t news_before = heard.news;

    gfx_pset(nullptr, 1, 10, 4, 0, 0);
    gfx_line(nullptr, 0, 300, 10, 302, 4, LINE_PLAIN, STYLE_SOLID, 0);
    EXPECT_TRUE(marked(frame()).empty()) << "drawing alone hands the window nothing";
    EXPECT_EQ(heard.news, news_before) << "nor wakes it";

    gfx_present_point();
    EXPECT_EQ(marked(frame()), (std::vector<int32_t>{10, 300, 301, 302}));
    EXPECT_EQ(heard.news, news_before + 1);
    // The screen's marks went to the window's copy.
    for (int32_t y = 0; y < 480; ++y)
        ASSERT_EQ(active_screen()->dirty_rows[y], 0) << y;

    gfx_present_point();  // nothing drawn since: no news
    EXPECT_EQ(heard.news, news_before + 1);
}

TEST_F(PresentPoint, CarriesThePaletteOfThePoint) {
    gfx_present_point();
    heard = Heard{};
    const uint32_t before = frame().palette[3];
    gfx_palette(3, 0x3F0000, -1, -1);  // 6-bit blue 63
    gfx_palette(5, 0x00003F, -1, -1);
    EXPECT_TRUE(heard.entries.empty()) << "the driver hears of colours at the point";
    EXPECT_EQ(frame().palette[3], before);

    gfx_present_point();
    EXPECT_EQ(heard.entries, (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(frame().palette[3], 0xFF0000u);
    EXPECT_EQ(frame().palette[5], 0x0000FFu);
    EXPECT_EQ(marked(frame()).size(), 480u) << "a new colour shows on every row";
}

TEST_F(PresentPoint, FirstPointHandsOverTheWholePictureAndANewScreenStartsWithout) {
    gfx_pset(nullptr, 639, 479, 7, 0, 0);
    take_changes_shown(frame());  // the window showed the framebuffer so far
    gfx_present_point();
    PresentFrame f = frame();
    EXPECT_EQ(marked(f).size(), 480u);
    EXPECT_EQ(shown(f, 639, 479), 7);

    ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    EXPECT_EQ(active_screen()->presented, nullptr);
    EXPECT_EQ(frame().pixels, active_screen()->framebuffer);
}

// Whatever the figures, a point leaves the window's copy equal to the
// framebuffer: tall thin lines and boxes (kept as narrow rectangles, more
// of them than are kept), wide ones, single pixels and image blocks, at the
// screen's edges, on every pixel size and on a screen narrower than a
// narrow rectangle's move.
TEST_F(PresentPoint, LeavesTheWindowsCopyEqualToTheFramebuffer) {
    struct Screen {
        int32_t width, height, depth;
    };
    for (const Screen s : {Screen{640, 480, 8}, Screen{320, 200, 16}, Screen{320, 200, 32},
                           Screen{10, 40, 8}, Screen{12, 30, 32}}) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << "x" << s.depth);
        ASSERT_EQ(gfx_screen_size(s.width, s.height, s.depth, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        gfx_present_point();
        const float right = static_cast<float>(s.width - 1);
        const float bottom = static_cast<float>(s.height - 1);
        // Short thin lines, a few more than are kept as rectangles.
        for (int32_t i = 0; i < NARROW_RECT_CAPACITY + 8; ++i) {
            const auto x = static_cast<float>((i * 37) % s.width);
            const auto y = static_cast<float>((i * 13) % (s.height - 6));
            const auto colour = static_cast<uint32_t>(0x10203 * (i + 1));
            gfx_line(nullptr, x, y, x + static_cast<float>(i % 5), y + 5, colour, LINE_PLAIN,
                     STYLE_SOLID, 0);
        }
        gfx_line(nullptr, right - 2, 3, right, 20, 0xABCDEF, LINE_FILLED_BOX, STYLE_SOLID, 0);
        gfx_line(nullptr, 0, bottom / 2, right, bottom / 2, 0x123456, LINE_PLAIN, STYLE_SOLID, 0);
        gfx_pset(nullptr, right, bottom, 0x654321, 0, 0);
        std::vector<uint8_t> block(4096);
        gfx_get(nullptr, 0, 0, 3, 3, block.data(), RELATIVE_NONE, nullptr);
        gfx_put(nullptr, right - 3, 2, block.data(), PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR,
                put_xor_blend, 0, nullptr, nullptr);
        gfx_present_point();
        const ScreenContext& screen = *active_screen();
        const size_t bytes = static_cast<size_t>(screen.pitch) * screen.height;
        EXPECT_EQ(std::memcmp(frame().pixels, screen.framebuffer, bytes), 0);
    }
}

}  // namespace
