#include "gfx/present/web/web.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "tests/support/gfx_state.h"
#include "tests/web/recording_page.h"

namespace {

// The web driver over a screen in memory, with a page that records what
// reaches its canvas.
class WebDriver : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        reset_recording_page();
        setenv("QXGFX", "null", 1);
        ASSERT_EQ(gfx_screen(12, 8, 0, 0, 0), 0);
    }
    void TearDown() override {
        web_driver.exit();
        GfxTest::TearDown();
    }
    static int32_t open() {
        return web_driver.init(gfx_present_source(), "mehrfachspalt", 640, 480, 4, 0, 0);
    }
    using Rect = std::array<int32_t, 4>;
    static Rect bounds() {
        const PresentRect& r = recording_page().last_bounds;
        return {r.x, r.y, r.w, r.h};
    }
    static std::array<uint8_t, 4> canvas_pixel(int32_t x, int32_t y) {
        const RecordingPage& page = recording_page();
        const size_t at = (static_cast<size_t>(y) * page.width + x) * 4;
        return {page.canvas[at], page.canvas[at + 1], page.canvas[at + 2], page.canvas[at + 3]};
    }
};

TEST_F(WebDriver, TheFirstPresentationShowsTheWholeScreen) {
    ASSERT_EQ(open(), 0);
    EXPECT_EQ(recording_page().width, 640);
    EXPECT_EQ(recording_page().height, 480);
    web_driver.poll();
    EXPECT_EQ(bounds(), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(canvas_pixel(639, 479), (std::array<uint8_t, 4>{0, 0, 0, 255}));
}

TEST_F(WebDriver, ThenOnlyTheChangedPixels) {
    ASSERT_EQ(open(), 0);
    web_driver.poll();
    gfx_line(nullptr, 10, 100, 20, 101, 12, LINE_PLAIN, STYLE_SOLID, 0);
    web_driver.poll();
    EXPECT_EQ(bounds(), (Rect{10, 100, 11, 2})) << "the line's pixels, not its rows";
    EXPECT_EQ(canvas_pixel(10, 100), (std::array<uint8_t, 4>{255, 85, 85, 255}));
    const int32_t shown = recording_page().shown;
    web_driver.poll();
    EXPECT_EQ(recording_page().shown, shown) << "nothing new, nothing shown";
}

// A program with present points: the page shows each point as it is taken,
// and a pause after a key's erasure shows the point's picture still.
TEST_F(WebDriver, ThePageShowsThePresentPoint) {
    ASSERT_EQ(open(), 0);
    ScreenContext& screen = *active_screen();
    screen.driver = &web_driver;
    web_driver.poll();
    gfx_line(nullptr, 10, 100, 20, 100, 12, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_present_point();
    EXPECT_EQ(canvas_pixel(10, 100), (std::array<uint8_t, 4>{255, 85, 85, 255}));
    gfx_line(nullptr, 10, 100, 20, 100, 0, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_palette(12, 0x3F0000, -1, -1);
    web_driver.poll();  // the frame's pause
    EXPECT_EQ(canvas_pixel(10, 100), (std::array<uint8_t, 4>{255, 85, 85, 255}));
    gfx_present_point();
    EXPECT_EQ(canvas_pixel(10, 100), (std::array<uint8_t, 4>{0, 0, 0, 255}));
    gfx_line(nullptr, 10, 100, 20, 100, 12, LINE_PLAIN, STYLE_SOLID, 0);
    gfx_present_point();
    EXPECT_EQ(canvas_pixel(10, 100), (std::array<uint8_t, 4>{0, 0, 255, 255}));
    screen.driver = &null_driver;
}

TEST_F(WebDriver, APaletteChangeRepaintsEverything) {
    ASSERT_EQ(open(), 0);
    web_driver.poll();
    web_driver.set_palette(0, 63, 0, 0);
    web_driver.poll();
    EXPECT_EQ(bounds(), (Rect{0, 0, 640, 480}));
}

// Random drawing and palette changes, a presentation after each burst: the
// canvas, put together from nothing but the rectangles shown, equals the
// framebuffer through the palette. Bursts of scattered pixels find more
// changes than a pass has rectangles.
TEST_F(WebDriver, TheCanvasIsTheFramebufferPixelForPixel) {
    ASSERT_EQ(open(), 0);
    std::mt19937 random(20261209);
    auto pick = [&](int32_t n) { return static_cast<float>(random() % static_cast<uint32_t>(n)); };
    for (int32_t burst = 0; burst < 40; ++burst) {
        for (int32_t i = 0; i < 5 + burst * 4; ++i) {
            const auto colour = static_cast<uint32_t>(random() % 16);
            if (burst % 2 == 0) {
                gfx_pset(nullptr, pick(640), pick(480), colour, 0, 0);
            } else {
                gfx_line(nullptr, pick(700) - 30, pick(540) - 30, pick(700) - 30, pick(540) - 30,
                         colour, i % 7 == 0 ? LINE_FRAME : LINE_PLAIN, STYLE_SOLID, 0);
            }
        }
        if (burst % 9 == 8) {
            // The screen's own driver is the Null one here: tell this one.
            const auto index = static_cast<int32_t>(random() % 16);
            set_palette_entry(index, random() & 0x3F3F3F);
            web_driver.set_palette(index, 0, 0, 0);
        }
        web_driver.poll();
        const ScreenContext& s = *active_screen();
        for (int32_t y = 0; y < 480; ++y) {
            for (int32_t x = 0; x < 640; ++x) {
                const uint32_t c = s.palette[s.framebuffer[y * s.pitch + x]];  // 0x00BBGGRR
                const std::array<uint8_t, 4> expected{static_cast<uint8_t>(c),
                                                      static_cast<uint8_t>(c >> 8),
                                                      static_cast<uint8_t>(c >> 16), 255};
                ASSERT_EQ(canvas_pixel(x, y), expected)
                    << x << ", " << y << " after burst " << burst;
            }
        }
    }
}

TEST_F(WebDriver, RefusesWhatAPageCannotShow) {
    EXPECT_NE(web_driver.init(gfx_present_source(), "mehrfachspalt", 640, 480, 4, 0, 2),
              0);  // OpenGL
    EXPECT_NE(web_driver.init(gfx_present_source(), "mehrfachspalt", 640, 480, 24, 0, 0), 0);
    recording_page().has_canvas = false;
    EXPECT_NE(open(), 0);
    EXPECT_STREQ(window_failure_reason(), "the page has no canvas");
}

TEST_F(WebDriver, NothingIsShownAfterExitOrWithoutAScreen) {
    ASSERT_EQ(open(), 0);
    web_driver.exit();
    web_driver.poll();
    EXPECT_EQ(recording_page().shown, 0);
    EXPECT_FALSE(recording_page().open);
    ASSERT_EQ(open(), 0);
    gfx_screen(0, 0, 0, SCREEN_FLAG_TEARDOWN, 0);
    web_driver.poll();
    EXPECT_EQ(recording_page().shown, 0);
}

TEST_F(WebDriver, LockCallsNest) {
    ASSERT_EQ(open(), 0);
    web_driver.lock();
    web_driver.lock();
    web_driver.unlock(false);
    web_driver.unlock(false);
    web_driver.unlock(false);  // one too many does no harm
    SUCCEED();
}

// Single steps reach the page's status line through the screen's service,
// on and off; a title, whatever words it holds, says nothing to the page.
TEST_F(WebDriver, SingleStepsReachThePageAsSuchNotThroughTheTitle) {
    ASSERT_EQ(open(), 0);
    ScreenContext& screen = *active_screen();
    const WindowDriver* const own = screen.driver;
    screen.driver = &web_driver;
    gfx_show_single_step(true);
    EXPECT_TRUE(recording_page().single_step);
    gfx_set_title("mehrfachspalt \xE2\x80\x93 Einzelschritt");
    gfx_show_single_step(false);
    EXPECT_FALSE(recording_page().single_step);
    gfx_set_title("mehrfachspalt \xE2\x80\x93 Einzelschritt");
    EXPECT_FALSE(recording_page().single_step);
    EXPECT_EQ(recording_page().step_notes, 2);
    // The picture's words reach the live region as they are; the Null
    // driver takes none.
    EXPECT_TRUE(gfx_describes());
    gfx_describe("2 Spalte im Abstand 20 Pix, \xC3\xBC");
    EXPECT_EQ(recording_page().descriptions,
              std::vector<std::string>{"2 Spalte im Abstand 20 Pix, \xC3\xBC"});
    // So do the key sets, a missing name as the first set's.
    gfx_show_key_set("lab");
    gfx_show_key_set(nullptr);
    EXPECT_EQ(recording_page().key_sets, (std::vector<std::string>{"lab", ""}));
    screen.driver = own;
    EXPECT_FALSE(gfx_describes());
    gfx_describe("nothing");
    gfx_show_key_set("lab");
    EXPECT_EQ(recording_page().descriptions.size(), 1u);
    EXPECT_EQ(recording_page().key_sets.size(), 2u);
}

}  // namespace
