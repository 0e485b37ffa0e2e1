#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "gfx/gfx.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"
#include "tests/support/reference_model.h"

// The line, box and pixel primitives against the straightforward drawing they
// replace: one pixel_writer call per pixel, one span_writer call per row, in
// the order the rules give. Every fast path must leave the same pixels, dirty
// rows and cursor on every kind of target.

namespace {

using namespace draw_test;

// A target to draw on: a screen of a size and depth (blending or not), or an
// ImageBuffer of the 32-byte form, whose padded rows are not back to back.
// The flat and the narrow screen give long runs along either axis.
struct Surface {
    int32_t depth;
    bool alpha;
    bool image;
    int32_t width = 72;
    int32_t height = 40;
};
constexpr Surface SURFACES[] = {
    {8, false, false}, {16, false, false},        {32, false, false},
    {32, true, false}, {8, false, true},          {16, false, true},
    {32, false, true}, {8, false, false, 700, 9}, {32, false, false, 9, 500}};
constexpr int32_t IMAGE_WIDTH = 37;
constexpr int32_t IMAGE_HEIGHT = 29;
constexpr int TRIALS = 2500;

// What a drawing changed.
struct Outcome {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> dirty;
    float last_x, last_y;
    bool operator==(const Outcome&) const = default;
};

class FastPaths : public test_support::GfxTest {
protected:
    bool open(const Surface& surface) {
        setenv("QXGFX", "null", 1);  // blending needs a driver chosen by name
        const int32_t flags = surface.alpha ? SCREEN_FLAG_ALPHA : 0;
        if (gfx_screen_size(surface.width, surface.height, surface.depth, 0, flags, 0) != 0) {
            return false;
        }
        screen_ = active_screen();
        target_ = nullptr;
        pixels_ = screen_->framebuffer;
        size_t bytes = static_cast<size_t>(screen_->pitch) * screen_->height;
        if (surface.image) {
            const int32_t size = surface.depth / 8;
            const int32_t pitch = (IMAGE_WIDTH * size + 15) / 16 * 16;
            image_.assign(IMAGE_HEADER_SIZE + static_cast<size_t>(pitch) * IMAGE_HEIGHT, 0);
            const ImageBuffer header{IMAGE_HEADER_NEW, size, IMAGE_WIDTH, IMAGE_HEIGHT, pitch, {}};
            std::memcpy(image_.data(), &header, sizeof(header));
            target_ = image_.data();
            pixels_ = image_.data() + IMAGE_HEADER_SIZE;
            bytes = image_.size() - IMAGE_HEADER_SIZE;
        }
        base_.resize(bytes);
        for (uint8_t& byte : base_)
            byte = static_cast<uint8_t>(random_());
        return true;
    }

    // The same start for both sides: the pixels, no dirty rows, a cursor and a
    // view on the screen that is sometimes smaller than the screen.
    void reset(const PointF& cursor, const ViewRect& view) {
        std::memcpy(pixels_, base_.data(), base_.size());
        clear_dirty_rows(*screen_);
        DrawContext& context = refresh_draw_context();
        set_target(context, nullptr);
        context.view = context.saved_view = view;
        context.last_point = cursor;
    }

    Outcome outcome() const {
        const DrawContext& context = refresh_draw_context();
        return Outcome{{pixels_, pixels_ + base_.size()},
                       {screen_->dirty_rows.get(), screen_->dirty_rows.get() + screen_->height},
                       context.last_point.x,
                       context.last_point.y};
    }

    // Runs one drawing both ways from the same start and compares.
    template <typename Draw, typename Reference>
    ::testing::AssertionResult same(Draw draw, Reference reference) {
        const PointF cursor{x(), y()};
        const int32_t width = screen_->width, height = screen_->height;
        ViewRect view{0, 0, width, height};
        if (random_() % 3 == 0) {
            view.x = static_cast<int32_t>(random_() % (width / 2));
            view.y = static_cast<int32_t>(random_() % (height / 2));
            view.width = 1 + static_cast<int32_t>(random_() % (width - view.x));
            view.height = 1 + static_cast<int32_t>(random_() % (height - view.y));
        }
        reset(cursor, view);
        draw(target_);
        const Outcome fast = outcome();
        reset(cursor, view);
        reference(target_);
        if (fast == outcome()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "depth " << screen_->bytes_per_pixel * 8
                                             << (target_ != nullptr ? " image" : " screen");
    }

    float x() { return coordinate(screen_->width); }
    float y() { return coordinate(screen_->height); }

    // Mostly near the target, some far outside, some on halves.
    float coordinate(int32_t extent) {
        switch (random_() % 8) {
            case 0:
                return static_cast<float>(static_cast<int32_t>(random_() % 4000001) - 2000000);
            case 1:
                return static_cast<float>(static_cast<int32_t>(random_() % 40) - 20) + 0.5f;
            default:
                return static_cast<float>(static_cast<int32_t>(random_() % (extent + 40)) - 20);
        }
    }

    uint32_t style() {
        switch (random_() % 3) {
            case 0:
                return STYLE_SOLID;
            case 1:
                return 0xFFFF0000u | STYLE_SOLID;  // only the low 16 bits count
            default:
                return static_cast<uint32_t>(random_());
        }
    }

    // Opaque, translucent or omitted colours.
    std::pair<uint32_t, int32_t> colour_and_flags() {
        uint32_t colour = static_cast<uint32_t>(random_());
        if (random_() % 2 == 0) colour |= 0xFF000000u;
        int32_t flags = static_cast<int32_t>(random_() % 8);
        if (random_() % 8 == 0) flags |= COLOUR_OMITTED;
        return {colour, flags};
    }

    std::mt19937 random_{20240611};
    ScreenContext* screen_ = nullptr;
    void* target_ = nullptr;
    uint8_t* pixels_ = nullptr;
    std::vector<uint8_t> image_;
    std::vector<uint8_t> base_;
};

TEST_F(FastPaths, LinesAndBoxesMatchTheReferenceWriters) {
    for (const Surface& surface : SURFACES) {
        ASSERT_TRUE(open(surface));
        for (int trial = 0; trial < TRIALS; ++trial) {
            const float x1 = x(), y1 = y(), x2 = x(), y2 = y();
            // Mostly lines; frames and filled boxes take the rest.
            const int32_t kind = static_cast<int32_t>(random_() % 6) < 4
                                     ? LINE_PLAIN
                                     : static_cast<int32_t>(random_() % 3);
            const uint32_t line_style = style();
            // Plain names: lambdas may not capture structured bindings before C++20's fix
            // reached every compiler (clang 14 refuses them).
            const std::pair<uint32_t, int32_t> pick = colour_and_flags();
            const uint32_t colour = pick.first;
            const int32_t flags = pick.second;
            ASSERT_TRUE(
                same([&](void* t) { gfx_line(t, x1, y1, x2, y2, colour, kind, line_style, flags); },
                     [&](void* t) {
                         reference::line(t, x1, y1, x2, y2, colour, kind, line_style, flags);
                     }))
                << "trial " << trial << ": (" << x1 << ", " << y1 << ") - (" << x2 << ", " << y2
                << ") kind " << kind << " style " << std::hex << line_style << " colour " << colour
                << " flags " << flags;
        }
    }
}

TEST_F(FastPaths, PixelsMatchTheReferenceWriter) {
    for (const Surface& surface : SURFACES) {
        ASSERT_TRUE(open(surface));
        for (int trial = 0; trial < TRIALS; ++trial) {
            const float px = x(), py = y();
            const int32_t background = static_cast<int32_t>(random_() % 2);
            // Plain names: lambdas may not capture structured bindings before C++20's fix
            // reached every compiler (clang 14 refuses them).
            const std::pair<uint32_t, int32_t> pick = colour_and_flags();
            const uint32_t colour = pick.first;
            const int32_t flags = pick.second;
            ASSERT_TRUE(
                same([&](void* t) { gfx_pset(t, px, py, colour, flags, background); },
                     [&](void* t) { reference::pset(t, px, py, colour, flags, background); }))
                << "trial " << trial << ": (" << px << ", " << py << ") colour " << std::hex
                << colour << " flags " << flags;
        }
    }
}

// Pixels are mapped in double precision, which rounds every float exactly as
// extended precision does, halves away from zero.
TEST_F(FastPaths, PixelMappingRoundsAsExtendedPrecision) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    const DrawContext& context = refresh_draw_context();
    auto extended = [](float value) {
        const long double v = value;
        const long double rounded = v > 0 ? std::trunc(v + 0.5L) : std::trunc(v - 0.5L);
        return static_cast<int64_t>(std::clamp(rounded, -1099511627776.0L, 1099511627776.0L));
    };
    std::mt19937 random(7);
    for (int i = 0; i < 200000; ++i) {
        // Every bit pattern is as likely, plus values around halves.
        uint32_t bits = static_cast<uint32_t>(random());
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        if (i % 2 == 1) {
            value =
                std::nextafter(static_cast<float>(static_cast<int32_t>(bits % 2001) - 1000) + 0.5f,
                               (bits & 1u << 31) != 0 ? 1e9f : -1e9f);
        }
        if (!std::isfinite(value)) continue;
        const PixelPoint p = map_point(context, value, -value);
        ASSERT_EQ(p.x, extended(value)) << value;
        ASSERT_EQ(p.y, extended(-value)) << value;
    }
}

}  // namespace
