#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "gfx/draw/draw_internal.h"
#include "gfx/gfx.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using namespace draw_test;

const float kTwoPiSingle = std::bit_cast<float>(0x40C90FDBu);
constexpr int32_t kAbsolute = RELATIVE_POINT_ABSOLUTE;

// The radius-5 circle at (530, 471) on the 640 x 480 screen.
const Pixels kMark = {{529, 466}, {530, 466}, {531, 466}, {527, 467}, {528, 467}, {532, 467},
                      {533, 467}, {526, 468}, {534, 468}, {526, 469}, {534, 469}, {525, 470},
                      {535, 470}, {525, 471}, {535, 471}, {525, 472}, {535, 472}, {526, 473},
                      {534, 473}, {526, 474}, {534, 474}, {527, 475}, {528, 475}, {532, 475},
                      {533, 475}, {529, 476}, {530, 476}, {531, 476}};

int64_t nearest(double v) {
    const long double single = static_cast<float>(v);
    return static_cast<int64_t>(single > 0 ? std::trunc(single + 0.5L) : std::trunc(single - 0.5L));
}

void keep_visible(Pixels& pixels, int64_t x, int64_t y) {
    if (x >= 0 && y >= 0 && x < 640 && y < 480) pixels.insert({x, y});
}

// The whole-ellipse walk pass by pass, the plain way.
Pixels plain_walk(int64_t cx, int64_t cy, float rx, float ry) {
    const auto whole = [](long double v) { return static_cast<int64_t>(std::trunc(v)); };
    int64_t xl = whole(cx - static_cast<long double>(rx)),
            xr = whole(cx + static_cast<long double>(rx));
    const int64_t a = whole(static_cast<long double>(rx) * rx),
                  b = whole(static_cast<long double>(ry) * ry);
    int64_t d = whole(static_cast<long double>(b) * rx), e = 2 * d, s = 0, yt = cy, yb = cy;
    Pixels pixels;
    const auto row = [&](int64_t y) { keep_visible(pixels, xl, y), keep_visible(pixels, xr, y); };
    row(cy);
    for (int64_t n = whole(rx); n > 0;) {
        bool inward = d <= 0;
        if (d > 0) yt++, yb--, s += 2 * a, d -= s, inward = d <= 0;
        if (inward) n--, xl++, xr--, e -= 2 * b, d += e;
        row(yt), row(yb);
    }
    return pixels;
}

// The arc by angle steps, the plain way, angles brought within a turn one turn at a time.
Pixels plain_arc(int64_t cx, int64_t cy, float rx, float ry, float start, float end) {
    while (end < start)
        end = static_cast<float>(end + 6.283185307179586L);
    while (end - start > static_cast<long double>(kTwoPiSingle))
        start = static_cast<float>(start + 6.283185307179586L);
    const auto s = static_cast<float>(1.0 / (1.5 * std::sqrt(double{rx}) * std::sqrt(double{ry})));
    Pixels pixels;
    for (float t = start; t < end + static_cast<long double>(s) / 2; t += s)
        keep_visible(pixels, cx + nearest(std::cos(double{t}) * rx),
                     cy - nearest(std::sin(double{t}) * ry));
    return pixels;
}

class DrawEllipse : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        screen = active_screen();
    }

    static void ellipse(float x, float y, float r, float aspect = 0, float start = 0,
                        float end = ELLIPSE_END_OMITTED, int32_t fill = 0, void* target = nullptr) {
        gfx_ellipse(target, x, y, r, 9, aspect, start, end, fill, kAbsolute);
    }
    void clear() { gfx_line(nullptr, 0, 0, 639, 479, 0, LINE_FILLED_BOX, STYLE_SOLID, 0); }

    ScreenContext* screen = nullptr;
};

TEST_F(DrawEllipse, TheMarkCircleSetsExactlyItsPixelsOnScreenAndBlock) {
    clear_dirty_rows(*screen);
    gfx_ellipse(nullptr, 530, 471, 5, 0, 0, 0, ELLIPSE_END_OMITTED, 0, COLOUR_OMITTED | kAbsolute);
    EXPECT_EQ(lit(*screen), kMark);
    EXPECT_EQ(pixel_at(*screen, 530, 466), 15u);  // the foreground
    EXPECT_EQ(dirty_rows(*screen), row_range(466, 476));
    EXPECT_EQ(refresh_draw_context().last_point.x, 530.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 471.0f);

    // The same on a block of 4-byte pixels, whose aspect still comes from the screen.
    std::vector<uint8_t> image(IMAGE_HEADER_SIZE + 17 * 64, 0xEE);  // one spare row
    const int32_t header[5] = {IMAGE_HEADER_NEW, 4, 16, 16, 64};
    std::memcpy(image.data(), header, sizeof(header));
    gfx_ellipse(image.data(), 8, 7, 5, 0x00123456, 0, 0, ELLIPSE_END_OMITTED, 0, kAbsolute);
    for (int32_t i = 0; i < 17 * 16; ++i) {
        uint32_t value;
        std::memcpy(&value, &image[IMAGE_HEADER_SIZE + i * 4], 4);
        const bool mark = i < 16 * 16 && kMark.count({i % 16 + 522, i / 16 + 464});
        ASSERT_EQ(value, mark ? 0x00123456u : 0xEEEEEEEEu) << i % 16 << "," << i / 16;
    }
}

// A translucent colour shows a second write to any pixel: blended twice it differs.
TEST_F(DrawEllipse, FilledRowsAreWrittenOnceWithTheirWidestSpan) {
    ASSERT_EQ(gfx_screen(18, 32, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    screen = active_screen();
    screen->screen_flags |= SCREEN_ALPHA;
    gfx_ellipse(nullptr, 530, 471, 5, 0x80FF8040, 0, 0, ELLIPSE_END_OMITTED, 1, kAbsolute);
    for (int32_t y = 460; y < 480; ++y) {
        int32_t first = 1000, last = -1;
        for (const Pixel& p : kMark)
            if (p.second == y) first = std::min(first, p.first), last = std::max(last, p.first);
        for (int32_t x = 520; x < 541; ++x) {
            const bool in = x >= first && x <= last;  // 525-535 on rows 470-472
            ASSERT_EQ(pixel_at(*screen, x, y),
                      in ? alpha_blend(0xFF000000, 0x80FF8040) : 0xFF000000)
                << x << "," << y;
        }
    }
}

TEST_F(DrawEllipse, OnlyTheOmittedEndDrawsTheWholeEllipse) {
    ellipse(530, 471, 5, 0, 0, kTwoPiSingle, 1);
    EXPECT_EQ(lit(*screen), plain_arc(530, 471, 5, 5, 0, kTwoPiSingle));  // not one pixel, no fill
    EXPECT_EQ(pixel_at(*screen, 530, 471), 0u);
    clear();
    gfx_pset(nullptr, 90, -5, 9, kAbsolute, 0);  // outside: only last_point moves
    gfx_ellipse(nullptr, 10, 105, 10, 9, 0, 0, 0, 0, RELATIVE_POINT);  // start = end = 0
    EXPECT_EQ(lit(*screen), (Pixels{{110, 100}}));
}

// Start -1 draws the line to the arc point at 1 radian, (354, 156), then the
// arc from there; end -2 adds the line to (258, 149), where last_point ends.
TEST_F(DrawEllipse, NegativeAnglesDrawRadiusLinesFirst) {
    ellipse(300, 240, 100, 0, -1, -2);
    const Pixels drawn = lit(*screen);
    EXPECT_EQ(refresh_draw_context().last_point.x, 258.0f);
    EXPECT_EQ(refresh_draw_context().last_point.y, 149.0f);
    clear();
    ellipse(300, 240, 100, 0, 1, 2);
    line(300, 240, 354, 156);
    line(300, 240, 258, 149);
    EXPECT_EQ(drawn, lit(*screen));
}

// Aspect 2: rx 5, ry 10; aspect 0.5: rx 10, ry 5. Cut by the view, walk and
// arc still match their plain loops, and every row drawn is marked.
TEST_F(DrawEllipse, ShapesMatchThePlainLoops) {
    struct Case {
        float x, y, r, aspect, rx, ry, start, end;
    };
    const Case cases[] = {{320, 240, 10, 2, 5, 10, 0.5f, 1000.3f},
                          {320, 240, 10, 0.5f, 10, 5, 1000.3f, 0.5f},
                          {-30, 200, 57, 0.5f, 57, 28.5f, 5, 1},
                          {320, -100, 300, 0.4f, 300, 120, 0.3f, 5.9f},
                          {320, 10240, 1e4f, 1, 1e4f, 1e4f, 0.5f, 20},
                          {200, 300, 48.69f, 4, 12.1725f, 48.69f, 0.3f, 5.9f},
                          {320, 240, 30, 75, 0.4f, 30, 0.3f, 5.9f}};
    for (const Case& c : cases) {
        const auto cx = static_cast<int64_t>(c.x), cy = static_cast<int64_t>(c.y);
        clear();
        clear_dirty_rows(*screen);
        ellipse(c.x, c.y, c.r, c.aspect);
        const Pixels pixels = lit(*screen);
        EXPECT_EQ(pixels, plain_walk(cx, cy, c.rx, c.ry)) << c.x << " " << c.y;
        for (const Pixel& p : pixels)
            ASSERT_EQ(screen->dirty_rows[p.second], 1) << p.second;
        clear();
        ellipse(c.x, c.y, c.r, c.aspect, c.start, c.end);
        EXPECT_EQ(lit(*screen), plain_arc(cx, cy, c.rx, c.ry, c.start, c.end)) << c.x << " " << c.y;
    }
}

TEST_F(DrawEllipse, BadNumbersEndAndStayInsideTheTarget) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = INFINITY, big = 1e30f;
    const float max = std::numeric_limits<float>::max();
    const float cases[][6] = {
        // x, y, radius, aspect, start, end
        {8, 8, nan, 0, 0, 1}, {8, 8, inf, 0, 0, 1},      {8, 8, big, 0, -3e7f, 2e9f},
        {8, 8, 5, nan, 0, 1}, {8, 8, 5, inf, -1, 1},     {8, 8, 5, -big, 0, 1},
        {nan, 8, 5, 0, 0, 1}, {-inf, 8, 5, 0, -1, 1},    {max, -max, big, 1e-20f, 0, 6},
        {8, 8, 5, 0, nan, 1}, {8, 8, 5, 0, -inf, inf},   {8, 8, 5, 0, big, -big},
        {8, 8, 5, 0, max, 0}, {8, 8, 3e6f, 0, 0, 6.28f}, {-1e6f + 8, 8, 1e6f, 0, 0, 6.3f}};
    for (const auto& c : cases) {
        std::vector<uint8_t> image(IMAGE_HEADER_SIZE + 16 * 16 + 64, 0xEE);
        const int32_t header[5] = {IMAGE_HEADER_NEW, 1, 16, 16, 16};
        std::memcpy(image.data(), header, sizeof(header));
        for (const int32_t fill : {0, 1}) {
            ellipse(c[0], c[1], c[2], c[3], c[4], c[5], fill, image.data());
            ellipse(c[0], c[1], c[2], c[3], 0, ELLIPSE_END_OMITTED, fill, image.data());
            ellipse(c[0], c[1], c[2], c[3], c[4], c[5], fill);
        }
        for (size_t i = IMAGE_HEADER_SIZE + 16 * 16; i < image.size(); ++i)
            ASSERT_EQ(image[i], 0xEE) << c[0] << " " << c[2] << " " << c[4];
    }
    clear();
    ellipse(320, 240, big, 0, 0, ELLIPSE_END_OMITTED, 1);  // the view lies inside it
    EXPECT_EQ(lit(*screen).size(), 640u * 480u);
    clear();
    ellipse(320, 240, big);
    ellipse(320, 240, big, 0, 0, 6);
    EXPECT_TRUE(lit(*screen).empty());
    ellipse(-1e6f + 300, 240, 1e6f, 0, 0, 1);  // its arc crosses the view at angle 0
    EXPECT_EQ(lit(*screen).count({300, 240}), 1u);
    // Near angle 5 its step is below half a float's: it moves a float at a time.
    clear();
    ellipse(-850666, -2876532, 3e6f, 0, 0, 6.28f);
    EXPECT_GT(lit(*screen).size(), 400u);
    ellipse(5, 5, -1);
    EXPECT_EQ(refresh_draw_context().last_point.x, -850666.0f);  // a radius of -1 changes nothing
}

}  // namespace
