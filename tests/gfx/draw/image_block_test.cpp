#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "gfx/gfx.h"
#include "runtime/runtime.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using namespace draw_test;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t UNTOUCHED = 0xEE;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A 32-byte-form block with 16-byte rows; byte i of row y is i + 8y + 1.
Bytes make_image(int32_t size, int32_t width, int32_t height, int32_t pitch = 16) {
    Bytes image(IMAGE_HEADER_SIZE + static_cast<size_t>(pitch * height), UNTOUCHED);
    const int32_t header[5] = {IMAGE_HEADER_NEW, size, width, height, pitch};
    std::memcpy(image.data(), header, sizeof(header));
    for (size_t i = IMAGE_HEADER_SIZE; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i - 32) % 16 + (i - 32) / 16 * 8 + 1);
    return image;
}

int32_t put(const void* image, float x, float y, int32_t sx1 = PUT_WHOLE_IMAGE, int32_t sy1 = 0,
            int32_t sx2 = 0, int32_t sy2 = 0, PutMode mode = PUT_XOR,
            PutBlender blender = put_xor_blend, void* target = nullptr) {
    return gfx_put(target, x, y, image, sx1, sy1, sx2, sy2, 0, mode, blender, -1, nullptr, nullptr);
}

class ImageBlock : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        ASSERT_NE(screen = open_screen(12, 8), nullptr);
    }
    void TearDown() override {
        runtime_start(program_args().argc, program_args().argv, 0);
        GfxTest::TearDown();
    }
    uint8_t& at(int32_t x, int32_t y) { return screen->framebuffer[y * screen->pitch + x]; }
    Bytes page() { return Bytes(&at(0, 0), &at(0, 0) + screen->pitch * screen->height); }
    ScreenContext* screen = nullptr;
};

TEST_F(ImageBlock, GetWritesHeaderAndRowsInEitherForm) {
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            at(x, y) = static_cast<uint8_t>(3 * x + 5 * y);
    clear_dirty_rows(*screen);
    Bytes image(IMAGE_HEADER_SIZE + 16 * 16 + 16, UNTOUCHED);
    ASSERT_EQ(gfx_get(nullptr, 0, 0, 7, 15, image.data(), 0, nullptr), 0);
    const int32_t header[5] = {7, 1, 8, 16, 16};
    EXPECT_EQ(std::memcmp(image.data(), header, sizeof(header)), 0);
    for (size_t i = 20; i < image.size(); ++i) {
        const size_t x = (i - 32) % 16, y = (i - 32) / 16;
        const bool pixel = i >= 32 && x < 8 && y < 16;
        ASSERT_EQ(image[i], pixel ? static_cast<uint8_t>(3 * x + 5 * y) : UNTOUCHED) << i;
    }
    EXPECT_TRUE(dirty_rows(*screen).empty());
    Bytes reversed(image.size(), UNTOUCHED);
    ASSERT_EQ(gfx_get(nullptr, 7, 15, 0, 0, reversed.data(), 0, nullptr), 0);
    EXPECT_EQ(reversed, image);
    EXPECT_EQ(refresh_draw_context().last_point.x + refresh_draw_context().last_point.y, 0.0f);

    runtime_start(program_args().argc, program_args().argv, 1);  // the 4-byte form
    Bytes old(4 + 3 * 2 + 1, UNTOUCHED);
    ASSERT_EQ(gfx_get(nullptr, 10, 10, 12, 11, old.data(), 0, nullptr), 0);
    EXPECT_EQ(old, (Bytes{(3 << 3) | 1, 0, 2, 0, 80, 83, 86, 85, 88, 91, UNTOUCHED}));
}

TEST_F(ImageBlock, FailuresAndEmptyBlocks) {
    ArrayDescriptor array;
    const int32_t bounds[] = {0, 79};  // 320 bytes: an 8 x 16 block and 32 to spare
    ASSERT_EQ(array_create(array, 4, false, false, 1, bounds), 0);
    std::memset(array.data, UNTOUCHED, 320);
    uint8_t* buffer = array.data;
    const Bytes image = make_image(1, 8, 16);
    const Bytes no_pixels = make_image(1, 0, INT32_MAX, 0);
    const Bytes old_form = {8 << 3 | 2, 0, 1, 0};  // 8 x 1 pixels of 2 bytes
    const struct {
        const char* name;
        std::function<int32_t()> call;
        int32_t result;
    } cases[] = {
        {"get beyond", [&] { return gfx_get(nullptr, 632, 0, 640, 15, buffer, 0, nullptr); }, 1},
        {"get NaN", [&] { return gfx_get(nullptr, NaN, 0, 7, 15, buffer, 0, nullptr); }, 1},
        {"small array", [&] { return gfx_get(nullptr, 0, 0, 7, 15, buffer + 33, 0, &array); }, 1},
        {"before array", [&] { return gfx_get(nullptr, 0, 0, 0, 0, buffer - 64, 0, &array); }, 1},
        {"no buffer", [&] { return gfx_get(nullptr, 0, 0, 7, 15, nullptr, 0, nullptr); }, 1},
        {"no image", [&] { return put(nullptr, 0, 0); }, 1},
        {"2 bytes", [&] { return put(make_image(2, 8, 16).data(), 0, 0); }, 1},
        {"old form", [&] { return put(old_form.data(), 0, 0); }, 1},
        {"3 bytes", [&] { return put(make_image(3, 4, 16).data(), 0, 0); }, 1},
        {"width < 0", [&] { return put(make_image(1, -8, 16).data(), 0, 0); }, 1},
        {"narrow rows", [&] { return put(make_image(1, 17, 16).data(), 0, 0); }, 1},
        {"no blender", [&] { return put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 5, 0); }, 1},
        {"width 0", [&] { return put(make_image(1, 0, 16).data(), 0, 0); }, 0},
        {"no pixels", [&] { return put(no_pixels.data(), 0, 0); }, 0},
        {"invisible", [&] { return put(image.data(), 640, 0); }, 0},
        {"onto no pixels",
         [&] {
             return put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 5, put_xor_blend,
                        const_cast<uint8_t*>(no_pixels.data()));
         },
         0},
        {"no screen, get",
         [&] {
             gfx_screen(0, 0, 0, 0, 0);
             return gfx_get(nullptr, 0, 0, 7, 15, buffer, 0, nullptr);
         },
         1},
        {"no screen, put", [&] { return put(image.data(), 0, 0); }, 1},
    };
    for (const auto& c : cases) {
        last_error = 1 - c.result;
        EXPECT_EQ(c.call(), c.result) << c.name;
        EXPECT_EQ(last_error, c.result) << c.name;
        EXPECT_EQ(std::count(buffer, buffer + 320, UNTOUCHED), 320) << c.name;
        if (active_screen() != nullptr) {
            EXPECT_TRUE(lit(*screen).empty()) << c.name;
        }
    }
    ASSERT_NE(screen = open_screen(12, 8), nullptr);
    EXPECT_EQ(gfx_get(nullptr, 0, 0, 7, 15, buffer + 32, 0, &array), 0);  // just fits
    array_erase(array, false);
}

// The labels of the simulation: white-on-black text put with XOR onto a
// white box comes out black on white, and a second put restores the box.
TEST_F(ImageBlock, XorTwiceRestoresAndMarksTheRows) {
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 24; ++x)
            at(x, y) = (x * x + y) % 3 == 0 ? 15 : 0;
    Bytes label(IMAGE_HEADER_SIZE + 32 * 16);
    ASSERT_EQ(gfx_get(nullptr, 0, 0, 23, 15, label.data(), 0, nullptr), 0);
    gfx_line(nullptr, 100, 50, 123, 65, 15, LINE_FILLED_BOX, STYLE_SOLID, 0);
    const Bytes white = page();
    clear_dirty_rows(*screen);
    EXPECT_EQ(put(label.data(), 100, 50), 0);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 24; ++x)
            ASSERT_EQ(at(100 + x, 50 + y), 15 ^ at(x, y)) << x << "," << y;
    EXPECT_EQ(dirty_rows(*screen), row_range(50, 65));
    EXPECT_EQ(put(label.data(), 100, 50), 0);
    EXPECT_EQ(page(), white);
}

TEST_F(ImageBlock, PutDrawsExactlyTheClippedPart) {
    const Bytes image = make_image(1, 8, 16);
    struct Case {
        float x, y;
        int32_t sx1, sy1, sx2, sy2;
        int32_t left, top, column, row, width, height;  // which part lands where
    };
    const Case cases[] = {
        {-3, -2, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 3, 2, 5, 14},
        {10, 20, 2, 2, 100, 100, 10, 20, 2, 2, 6, 14},
        {10, 20, 100, 100, 2, 2, 10, 20, 2, 2, 6, 14},
        {636, 470, PUT_WHOLE_IMAGE, 0, 0, 0, 636, 470, 0, 0, 4, 10},
        {10.5f, 19.5f, -5, -5, 0, 0, 11, 20, 0, 0, 1, 1},
        {10, 20, 20, 20, 30, 30, 0, 0, 0, 0, 0, 0},  // misses the image
        {-3e9f, 1e30f, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::fill(&at(0, 0), &at(0, 0) + screen->pitch * screen->height, 0);
        clear_dirty_rows(*screen);
        EXPECT_EQ(put(image.data(), c.x, c.y, c.sx1, c.sy1, c.sx2, c.sy2), 0);
        for (int32_t y = 0; y < screen->height; ++y)
            for (int32_t x = 0; x < screen->width; ++x) {
                const int32_t dx = x - c.left, dy = y - c.top;
                const bool in = dx >= 0 && dx < c.width && dy >= 0 && dy < c.height;
                ASSERT_EQ(at(x, y), in ? c.column + dx + 8 * (c.row + dy) + 1 : 0)
                    << c.x << " " << x;
            }
        EXPECT_EQ(dirty_rows(*screen),
                  c.height ? row_range(c.top, c.top + c.height - 1) : std::set<int32_t>{});
    }
    // Both relative flags: source (2, 2) + (3, 4), position (600, 400) + (5, 6).
    gfx_pset(nullptr, 600, 400, 0, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(gfx_put(nullptr, 5, 6, image.data(), 2, 2, 3, 4, 3, PUT_XOR, put_xor_blend, -1,
                      nullptr, nullptr),
              0);
    EXPECT_EQ(lit(*screen).size(), 4u * 5u);
    EXPECT_EQ(at(608, 410), 5 + 8 * 6 + 1);
    EXPECT_EQ(refresh_draw_context().last_point.x, 605.0f);
}

void record_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                  int32_t source_pitch, int32_t target_pitch, int32_t alpha, PutCustom custom,
                  void* parameter) {
    *static_cast<std::vector<intptr_t>*>(parameter) = {reinterpret_cast<intptr_t>(source),
                                                       reinterpret_cast<intptr_t>(target),
                                                       width,
                                                       height,
                                                       source_pitch,
                                                       target_pitch,
                                                       alpha,
                                                       reinterpret_cast<intptr_t>(custom)};
}

uint32_t keep_source(uint32_t source, uint32_t, void*) {
    return source;
}

TEST_F(ImageBlock, ModeSixUsesThePassedRoutineOrSetsAlphaBytes) {
    // Depths match: the caller's routine gets every argument.
    Bytes image = make_image(1, 8, 16);
    std::vector<intptr_t> call;
    EXPECT_EQ(gfx_put(nullptr, 630, -1, image.data(), 1, 0, 7, 15, 0, PUT_ALPHA, record_blend, 77,
                      keep_source, &call),
              0);
    EXPECT_EQ(call, (std::vector<intptr_t>{reinterpret_cast<intptr_t>(image.data() + 32 + 16 + 1),
                                           reinterpret_cast<intptr_t>(&at(630, 0)), 7, 15, 16, 640,
                                           77, reinterpret_cast<intptr_t>(&keep_source)}));
    // Passed for pixels of one byte, the mask routine has no alpha byte to set.
    EXPECT_EQ(put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, PUT_ALPHA, put_alpha_mask_blend),
              0);
    EXPECT_TRUE(lit(*screen).empty());

    // A 32-bit target: alpha bytes only, whatever routine was passed.
    ASSERT_NE(screen = open_screen(18, 32), nullptr);
    gfx_line(nullptr, 0, 0, 639, 479, 0x00A1B2C3, LINE_FILLED_BOX, STYLE_SOLID, 0);
    EXPECT_EQ(put(image.data(), -1, 0, PUT_WHOLE_IMAGE, 0, 0, 0, PUT_ALPHA), 0);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            const uint32_t alpha = x < 7 && y < 16 ? x + 2 + 8 * y : 0;
            ASSERT_EQ(pixel_at(*screen, x, y), alpha << 24 | 0xA1B2C3) << x << "," << y;
        }
    EXPECT_EQ(put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, PUT_XOR), 1);

    // A 16-bit target has no alpha byte.
    ASSERT_NE(screen = open_screen(18, 16), nullptr);
    EXPECT_EQ(put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, PUT_ALPHA), 1);
    EXPECT_TRUE(lit(*screen).empty());
}

// Every length, alignment and pitch: the vectorised XOR gives the plain
// bytes, and nothing between the rows changes.
TEST_F(ImageBlock, VectorisedXorMatchesPlain) {
    for (int32_t depth : {8, 16, 32}) {
        ASSERT_NE(screen = open_screen(18, depth), nullptr);
        const int32_t size = screen->bytes_per_pixel;
        for (int32_t width = 1; width <= 40; ++width) {
            const int32_t offset = width % 7, pitch = width * size + width % 5;
            Bytes source(offset + pitch * 3), base(source.size());
            for (size_t i = 0; i < source.size(); ++i) {
                source[i] = static_cast<uint8_t>(i * 37 + width);
                base[i] = static_cast<uint8_t>(i * 91 + depth);
            }
            Bytes results[2] = {base, base};
            for (uint32_t wide : {0u, SCREEN_MMX}) {
                screen->screen_flags = (screen->screen_flags & ~SCREEN_MMX) | wide;
                refresh_draw_context().xor_blender_table = nullptr;  // chosen again on first use
                put_xor_blend(source.data() + offset, results[wide != 0].data() + offset, width, 3,
                              pitch, pitch, -1, nullptr, nullptr);
            }
            ASSERT_EQ(results[0], results[1]) << depth << " " << width;
            for (size_t i = 0; i < base.size(); ++i) {
                const bool in = i >= size_t(offset) && (i - offset) % pitch < size_t(width * size);
                ASSERT_EQ(results[0][i], in ? base[i] ^ source[i] : base[i]) << width << " " << i;
            }
        }
    }
}

// Thousands of headers, positions and rectangles. Every block is allocated to
// the byte, so the sanitizer build sees any access outside it.
TEST_F(ImageBlock, RandomBlocksStayInBounds) {
    std::mt19937 rng(20240607);
    const auto pick = [&](int32_t low, int32_t high, std::initializer_list<int32_t> odd = {}) {
        if (odd.size() != 0 && rng() % 8 == 0) return *(odd.begin() + rng() % odd.size());
        return std::uniform_int_distribution<int32_t>(low, high)(rng);
    };
    const float far[] = {NaN, INFINITY, -INFINITY, 1e30f, -1e30f, 3e9f, -3e9f, 2147483520.0f};
    const auto coordinate = [&](int32_t low, int32_t high) {
        return rng() % 8 == 0 ? far[rng() % 8] : pick(low, high) + (rng() % 2) * 0.5f;
    };
    const std::initializer_list<int32_t> extremes = {INT32_MIN, INT32_MAX};
    Bytes block = make_image(4, 20, 12, 80);  // a 32-bit target now and then
    for (int i = 0; i < 4000; ++i) {
        void* target = rng() % 4 == 0 ? block.data() : nullptr;
        const int32_t target_size = target ? 4 : 1, width = target ? 20 : 640,
                      height = target ? 12 : 480;
        Bytes image;
        if (rng() % 4 == 0) {  // the 4-byte form, never of the bit pattern 7
            const int32_t w = pick(0, 49), h = pick(1, 29), field = rng() % 2 ? pick(0, 7) : 0;
            const int32_t size = field != 0 ? field : target_size;
            image.resize(4 + static_cast<size_t>(w * h * size));
            const uint16_t header[2] = {static_cast<uint16_t>(w << 3 | field),
                                        static_cast<uint16_t>(h)};
            std::memcpy(image.data(), header, sizeof(header));
        } else {
            const int32_t size = rng() % 2 ? target_size : pick(-1, 5, {INT32_MAX});
            const int32_t w = pick(-2, 40, {INT32_MAX, INT32_MIN, 1 << 28});
            const int32_t h = pick(-2, 30, extremes);
            const int64_t row = int64_t{w} * size;
            const auto pitch = static_cast<int32_t>(
                rng() % 4 ? std::clamp<int64_t>(row + pick(-2, 16), INT32_MIN, INT32_MAX)
                          : pick(-16, 180, {INT32_MAX, INT32_MIN, 0}));
            const bool holds = size >= 1 && size <= 4 && w > 0 && h > 0 && pitch >= row;
            const int64_t needed = holds ? int64_t{h - 1} * pitch + row : 0;
            if (needed > (1 << 20)) continue;
            image = make_image(size, w, h, 0);
            image.resize(IMAGE_HEADER_SIZE + needed, UNTOUCHED);
            std::memcpy(image.data() + 16, &pitch, 4);
        }
        const Bytes original = image;
        const int32_t result =
            gfx_put(target, coordinate(-60, width + 40), coordinate(-40, height + 40), image.data(),
                    rng() % 3 ? pick(-50, 60, extremes) : PUT_WHOLE_IMAGE, pick(-50, 60, extremes),
                    pick(-50, 60, extremes), pick(-50, 60, extremes), pick(0, 3),
                    rng() % 2 ? PUT_XOR : PUT_ALPHA, put_xor_blend, -1, nullptr, nullptr);
        ASSERT_TRUE(result == 0 || result == 1) << i;
        ASSERT_EQ(image, original) << i;

        ArrayDescriptor array;
        const int32_t bounds[] = {1, pick(1, 600)};
        ASSERT_EQ(array_create(array, 4, false, false, 1, bounds), 0);
        const float x = coordinate(-2, width + 1), y = coordinate(-2, height + 1);
        const auto near = [&](float v) { return rng() % 8 ? v + pick(-10, 10) : far[rng() % 8]; };
        const int32_t got = gfx_get(target, x, y, near(x), near(y),
                                    array.data + 4 * (rng() % bounds[1]), pick(0, 3), &array);
        ASSERT_TRUE(got == 0 || got == 1) << i;
        array_erase(array, false);
    }
}

}  // namespace
