#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "gfx/gfx.h"
#include "gfx/present/web/web.h"
#include "tests/support/gfx_state.h"
#include "tests/web/recording_page.h"

namespace {

using Mouse = std::array<int32_t, 6>;  // result, x, y, wheel, buttons, confined
constexpr Mouse OUTSIDE{1, -1, -1, -1, -1, -1};
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
constexpr double INFINITE = std::numeric_limits<double>::infinity();

// The page's pointer through the Web driver's mouse slot, on a 640 x 480
// screen whose canvas the page shows 1280 x 960 CSS pixels large.
class WebPointer : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        reset_recording_page();
        setenv("QXGFX", "null", 1);
        ASSERT_EQ(gfx_screen(12, 8, 0, 0, 0), 0);
        ASSERT_EQ(web_driver.init(gfx_present_source(), "mehrfachspalt", 640, 480, 4, 0, 0), 0);
    }
    void TearDown() override {
        web_driver.exit();
        GfxTest::TearDown();
    }
    static void point(double x, double y, int32_t buttons, int32_t inside = 1) {
        web_pointer(x, y, 1280, 960, buttons, inside);
    }
    static Mouse read() {
        Mouse m{};
        m[0] = web_driver.get_mouse(&m[1], &m[2], &m[3], &m[4], &m[5]);
        return m;
    }
};

TEST_F(WebPointer, NoPointerYetReadsAsOutside) {
    EXPECT_EQ(read(), OUTSIDE);
}

// CSS pixels of the scaled canvas to picture pixels; a captured drag beyond
// the canvas gives the nearest edge pixel.
TEST_F(WebPointer, CssPixelsMapToPicturePixels) {
    struct Row {
        double x, y;
        int32_t px, py;
    };
    const Row rows[] = {
        {0, 0, 0, 0},
        {1.9, 1.9, 0, 0},
        {2, 2, 1, 1},
        {639.5, 479.5, 319, 239},
        {1279.9, 959.9, 639, 479},
        {1280, 960, 639, 479},
        {-5, -0.1, 0, 0},
        {5000, 3000, 639, 479},
        {-1e300, 1e300, 0, 479},
    };
    for (const Row& r : rows) {
        point(r.x, r.y, 1);
        EXPECT_EQ(read(), (Mouse{0, r.px, r.py, 0, 1, 0})) << r.x << ", " << r.y;
    }
}

TEST_F(WebPointer, HoverPressDragRelease) {
    point(100, 200, 0);
    EXPECT_EQ(read(), (Mouse{0, 50, 100, 0, 0, 0}));
    point(100, 200, 1);
    point(300, 400, 1);
    EXPECT_EQ(read(), (Mouse{0, 150, 200, 0, 1, 0}));
    point(300, 402, 0);
    EXPECT_EQ(read(), (Mouse{0, 150, 201, 0, 0, 0}));
    point(0, 0, 0, 0);  // left the canvas
    EXPECT_EQ(read(), OUTSIDE);
}

// Down, up and away between two frames: the program still sees the press
// once, where it was let go, and then the pointer gone.
TEST_F(WebPointer, ATapQuickerThanAFrameIsReadOnce) {
    point(20, 40, 1);
    point(22, 44, 0);
    point(22, 44, 0, 0);
    EXPECT_EQ(read(), (Mouse{0, 11, 22, 0, 1, 0}));
    EXPECT_EQ(read(), OUTSIDE);
    // Let go over the canvas, then moved on: the hover position after.
    point(20, 40, 1);
    point(60, 80, 0);
    point(100, 80, 0);
    EXPECT_EQ(read(), (Mouse{0, 30, 40, 0, 1, 0}));
    EXPECT_EQ(read(), (Mouse{0, 50, 40, 0, 0, 0}));
}

// Positions and sizes that say nothing about where the pointer is leave it
// outside, without a press, whatever the page sent.
TEST_F(WebPointer, UnreadableEventsCountAsOutside) {
    const std::array<double, 4> cases[] = {
        {NOT_A_NUMBER, 0, 1280, 960}, {0, INFINITE, 1280, 960}, {0, 0, 0, 960}, {0, 0, 1280, -1},
        {0, 0, NOT_A_NUMBER, 960},    {0, 0, 1280, INFINITE},
    };
    for (const auto& c : cases) {
        web_pointer(c[0], c[1], c[2], c[3], 1, 1);
        EXPECT_EQ(read(), OUTSIDE) << c[0] << ", " << c[1] << " on " << c[2] << " x " << c[3];
    }
}

TEST_F(WebPointer, NoScreenNoPointer) {
    point(10, 10, 1);
    web_driver.exit();
    EXPECT_EQ(read(), OUTSIDE);
    point(10, 10, 1);
    EXPECT_EQ(read(), OUTSIDE) << "events after the exit";
}

TEST_F(WebPointer, AnyNullOutputIsSkipped) {
    point(10, 10, 1);
    EXPECT_EQ(web_driver.get_mouse(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

}  // namespace
