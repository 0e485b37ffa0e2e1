#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "runtime/array_descriptor.h"
#include "runtime/last_error.h"
#include "runtime/program_args.h"
#include "tests/gfx/draw/draw_test_support.h"

namespace {

using namespace draw_test;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t UNTOUCHED = 0xEE;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A 32-byte-form block whose pixel (x, y) is x + 8y + 1 (or bytes of that).
Bytes make_image(int32_t size, int32_t width, int32_t height) {
    const int32_t pitch = (width * size + 15) / 16 * 16;
    Bytes image(IMAGE_HEADER_SIZE + static_cast<size_t>(pitch * height), UNTOUCHED);
    const int32_t header[5] = {IMAGE_HEADER_NEW, size, width, height, pitch};
    std::memcpy(image.data(), header, sizeof(header));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t i = 0; i < width * size; ++i)
            image[IMAGE_HEADER_SIZE + y * pitch + i] = static_cast<uint8_t>(i / size + 8 * y + 1);
    return image;
}

uint8_t image_pixel(const Bytes& image, int32_t x, int32_t y) {
    return image[IMAGE_HEADER_SIZE + y * 16 + x];
}

int32_t put(const void* image, float x, float y, int32_t sx1 = PUT_WHOLE_IMAGE, int32_t sy1 = 0,
            int32_t sx2 = 0, int32_t sy2 = 0, int32_t flags = 0, PutMode mode = PUT_XOR,
            PutBlender blender = put_xor_blend, void* target = nullptr) {
    return gfx_put(target, x, y, image, sx1, sy1, sx2, sy2, flags, mode, blender, -1, nullptr,
                   nullptr);
}

Bytes page(const ScreenContext& screen) {
    return Bytes(screen.framebuffer,
                 screen.framebuffer + static_cast<size_t>(screen.pitch) * screen.height);
}

class ImageBlock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        screen = active_screen();
    }
    void TearDown() override {
        runtime_start(program_args().argc, program_args().argv, 0);
        gfx_screen(0, 0, 0, 0, 0);
    }
    // Screen pixel (x, y) becomes 3x + 5y: every 8 x 16 block differs.
    void fill_pattern() {
        for (int32_t y = 0; y < screen->height; ++y)
            for (int32_t x = 0; x < screen->width; ++x)
                screen->framebuffer[y * screen->pitch + x] = static_cast<uint8_t>(3 * x + 5 * y);
    }
    ScreenContext* screen = nullptr;
};

TEST_F(ImageBlock, GetWritesTheHeaderAndRowsAndMarksNothing) {
    fill_pattern();
    clear_dirty_rows(*screen);
    Bytes image(IMAGE_HEADER_SIZE + 16 * 16 + 16, UNTOUCHED);
    ASSERT_EQ(gfx_get(nullptr, 0, 0, 7, 15, image.data(), 0, nullptr), 0);
    const int32_t header[5] = {7, 1, 8, 16, 16};
    EXPECT_EQ(std::memcmp(image.data(), header, sizeof(header)), 0);
    for (size_t i = 20; i < image.size(); ++i) {
        const size_t offset = i - IMAGE_HEADER_SIZE, x = offset % 16, y = offset / 16;
        const bool pixel = i >= IMAGE_HEADER_SIZE && x < 8 && y < 16;
        ASSERT_EQ(image[i], pixel ? static_cast<uint8_t>(3 * x + 5 * y) : UNTOUCHED) << i;
    }
    EXPECT_TRUE(dirty_rows(*screen).empty());

    Bytes reversed(image.size(), UNTOUCHED);
    ASSERT_EQ(gfx_get(nullptr, 7, 15, 0, 0, reversed.data(), 0, nullptr), 0);
    EXPECT_EQ(reversed, image);
    EXPECT_EQ(draw_context().last_point.x, 0.0f);
    EXPECT_EQ(draw_context().last_point.y, 0.0f);

    // With a non-zero number text mode the 4-byte form, rows without padding.
    runtime_start(program_args().argc, program_args().argv, 1);
    Bytes old(4 + 3 * 2 + 4, UNTOUCHED);
    ASSERT_EQ(gfx_get(nullptr, 10, 20, 12, 21, old.data(), 0, nullptr), 0);
    const uint8_t expected[] = {(3 << 3) | 1, 0, 2, 0, 130, 133, 136, 135, 138, 141};
    EXPECT_EQ(Bytes(old.begin(), old.begin() + 10),
              Bytes(std::begin(expected), std::end(expected)));
    EXPECT_EQ(old[10], UNTOUCHED);
}

TEST_F(ImageBlock, GetFailuresWriteNothing) {
    ArrayDescriptor array;
    const int32_t bounds[] = {0, 79};  // 320 bytes: one 8 x 16 block plus 32 bytes spare
    ASSERT_EQ(array_create(array, 4, true, false, 1, bounds), 0);
    std::memset(array.data, UNTOUCHED, 320);
    const struct {
        const char* name;
        std::function<int32_t()> call;
    } cases[] = {
        {"one pixel beyond",
         [&] { return gfx_get(nullptr, 632, 0, 640, 15, array.data, 0, nullptr); }},
        {"above", [&] { return gfx_get(nullptr, 0, -1, 7, 14, array.data, 0, nullptr); }},
        {"NaN corner", [&] { return gfx_get(nullptr, NaN, 0, 7, 15, array.data, 0, nullptr); }},
        {"array too small",
         [&] { return gfx_get(nullptr, 0, 0, 7, 15, array.data + 33, 0, &array); }},
        {"before the array",
         [&] { return gfx_get(nullptr, 0, 0, 0, 0, array.data - 64, 0, &array); }},
        {"no buffer", [&] { return gfx_get(nullptr, 0, 0, 7, 15, nullptr, 0, nullptr); }},
        {"no screen",
         [&] {
             gfx_screen(0, 0, 0, 0, 0);
             return gfx_get(nullptr, 0, 0, 7, 15, array.data, 0, nullptr);
         }},
    };
    for (const auto& c : cases) {
        last_error = 0;
        EXPECT_EQ(c.call(), 1) << c.name;
        EXPECT_EQ(last_error, 1) << c.name;
        for (int32_t i = 0; i < 320; ++i)
            ASSERT_EQ(array.data[i], UNTOUCHED) << c.name;
    }
    // The block that just fits.
    ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    EXPECT_EQ(gfx_get(nullptr, 0, 0, 7, 15, array.data + 32, 0, &array), 0);
    array_erase(array, false);
}

// What the labels of the simulation rely on: white-on-black text put with
// XOR onto a white box comes out black on white, and a second put restores.
TEST_F(ImageBlock, XorTwiceRestoresAndMarksTheRows) {
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 24; ++x)
            screen->framebuffer[y * screen->pitch + x] = (x * x + y) % 3 == 0 ? 15 : 0;
    Bytes label(IMAGE_HEADER_SIZE + 32 * 16);
    ASSERT_EQ(gfx_get(nullptr, 0, 0, 23, 15, label.data(), 0, nullptr), 0);
    gfx_line(nullptr, 100, 50, 123, 65, 15, LINE_FILLED_BOX, STYLE_SOLID, 0);
    const Bytes white = page(*screen);
    clear_dirty_rows(*screen);
    EXPECT_EQ(put(label.data(), 100, 50), 0);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 24; ++x)
            ASSERT_EQ(pixel_at(*screen, 100 + x, 50 + y), 15u ^ pixel_at(*screen, x, y)) << x;
    EXPECT_EQ(dirty_rows(*screen), row_range(50, 65));
    EXPECT_NE(draw_context().xor_blender_table, nullptr);
    EXPECT_EQ(put(label.data(), 100, 50), 0);
    EXPECT_EQ(page(*screen), white);
}

TEST_F(ImageBlock, PutDrawsExactlyTheClippedPart) {
    const Bytes image = make_image(1, 8, 16);
    struct Case {
        float x, y;
        int32_t sx1, sy1, sx2, sy2, flags;
        int32_t left, top, column, row, width, height;  // where which part lands
    };
    const Case cases[] = {
        {-3, -2, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 0, 3, 2, 5, 14},
        {10, 20, 2, 2, 100, 100, 0, 10, 20, 2, 2, 6, 14},
        {10, 20, 100, 100, 2, 2, 0, 10, 20, 2, 2, 6, 14},
        {10, 20, 2, 2, 3, 4, PUT_SOURCE_RELATIVE, 10, 20, 2, 2, 4, 5},
        {636, 470, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 636, 470, 0, 0, 4, 10},
        {10.5f, 19.5f, -5, -5, 0, 0, 0, 11, 20, 0, 0, 1, 1},
        {10, 20, 20, 20, 30, 30, 0, 0, 0, 0, 0, 0, 0},  // misses the image
        {-8, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {640, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {NaN, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {-3e9f, 1e30f, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::memset(screen->framebuffer, 0, static_cast<size_t>(screen->pitch) * screen->height);
        clear_dirty_rows(*screen);
        last_error = 1;
        EXPECT_EQ(put(image.data(), c.x, c.y, c.sx1, c.sy1, c.sx2, c.sy2, c.flags), 0);
        EXPECT_EQ(last_error, 0);
        for (int32_t y = 0; y < screen->height; ++y)
            for (int32_t x = 0; x < screen->width; ++x) {
                const bool in =
                    x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height;
                const uint32_t expected =
                    in ? image_pixel(image, c.column + x - c.left, c.row + y - c.top) : 0;
                ASSERT_EQ(pixel_at(*screen, x, y), expected) << c.x << "," << c.y << " " << x;
            }
        EXPECT_EQ(dirty_rows(*screen),
                  c.height ? row_range(c.top, c.top + c.height - 1) : std::set<int32_t>{});
    }
    // The position may be relative to the graphics cursor; the cursor becomes the position.
    gfx_pset(nullptr, 600, 400, 0, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(put(image.data(), 5, 6, PUT_WHOLE_IMAGE, 0, 0, 0, PUT_POSITION_RELATIVE), 0);
    EXPECT_EQ(pixel_at(*screen, 605, 406), 1u);
    EXPECT_EQ(draw_context().last_point.x, 605.0f);
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

uint32_t custom_routine(uint32_t source, uint32_t, void*) {
    return source;
}

TEST_F(ImageBlock, ModeSixUsesThePassedRoutineOrSetsAlphaBytes) {
    // Depths match: the caller's routine gets every argument.
    Bytes image = make_image(1, 8, 16);
    std::vector<intptr_t> call;
    EXPECT_EQ(gfx_put(nullptr, 630, -1, image.data(), 1, 0, 7, 15, 0, PUT_ALPHA, record_blend, 77,
                      custom_routine, &call),
              0);
    const std::vector<intptr_t> expected = {reinterpret_cast<intptr_t>(image.data() + 32 + 16 + 1),
                                            reinterpret_cast<intptr_t>(screen->framebuffer + 630),
                                            7,
                                            15,
                                            16,
                                            640,
                                            77,
                                            reinterpret_cast<intptr_t>(&custom_routine)};
    EXPECT_EQ(call, expected);
    // Passed for pixels of one byte, the mask routine has no alpha byte to set.
    const Bytes before = page(*screen);
    EXPECT_EQ(put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_ALPHA, put_alpha_mask_blend),
              0);
    EXPECT_EQ(page(*screen), before);

    // A 32-bit target: alpha bytes only, whatever routine was passed.
    ASSERT_NE(screen = open_screen(18, 32), nullptr);
    gfx_line(nullptr, 0, 0, 639, 479, 0x00A1B2C3, LINE_FILLED_BOX, STYLE_SOLID, 0);
    EXPECT_EQ(put(image.data(), -1, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_ALPHA), 0);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            const uint32_t alpha = x < 7 && y < 16 ? image_pixel(image, x + 1, y) : 0;
            ASSERT_EQ(pixel_at(*screen, x, y), alpha << 24 | 0xA1B2C3) << x << "," << y;
        }
    EXPECT_EQ(put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR), 1);  // not mode 6

    // A 16-bit target has no alpha byte: failure, nothing drawn.
    ASSERT_NE(screen = open_screen(18, 16), nullptr);
    last_error = 0;
    EXPECT_EQ(put(image.data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_ALPHA), 1);
    EXPECT_EQ(last_error, 1);
    EXPECT_TRUE(lit(*screen).empty());
}

TEST_F(ImageBlock, PutResultsForBadInput) {
    const auto header = [](int32_t size, int32_t width, int32_t height, int32_t pitch) {
        Bytes image = make_image(1, 8, 16);
        const int32_t fields[5] = {IMAGE_HEADER_NEW, size, width, height, pitch};
        std::memcpy(image.data(), fields, sizeof(fields));
        return image;
    };
    const Bytes old_form = {(8 << 3) | 2, 0, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        const char* name;
        Bytes image;
        PutBlender blender;
        int32_t result;
    } cases[] = {
        {"no image", {}, put_xor_blend, 1},
        {"two-byte pixels", header(2, 8, 16, 16), put_xor_blend, 1},
        {"old form, two-byte pixels", old_form, put_xor_blend, 1},
        {"three-byte pixels", header(3, 4, 16, 16), put_xor_blend, 1},
        {"pixel size 0", header(0, 8, 16, 16), put_xor_blend, 1},
        {"negative width", header(1, -8, 16, 16), put_xor_blend, 1},
        {"negative height", header(1, 8, -16, 16), put_xor_blend, 1},
        {"rows narrower than the width", header(1, 17, 16, 16), put_xor_blend, 1},
        {"no blender", header(1, 8, 16, 16), nullptr, 1},
        {"width 0", header(1, 0, 16, 16), put_xor_blend, 0},
        {"height 0", header(1, 8, 0, 16), put_xor_blend, 0},
        {"no pixels, endless rows", header(1, 0, INT32_MAX, 0), put_xor_blend, 0},
    };
    for (const auto& c : cases) {
        last_error = 1 - c.result;
        const void* image = c.image.empty() ? nullptr : c.image.data();
        EXPECT_EQ(put(image, 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR, c.blender), c.result)
            << c.name;
        EXPECT_EQ(last_error, c.result) << c.name;
        EXPECT_TRUE(lit(*screen).empty()) << c.name;
    }
    // A target block of no pixels needs no rows, however many its header claims.
    Bytes target = header(1, 0, INT32_MAX, 0);
    EXPECT_EQ(put(make_image(1, 8, 16).data(), 0, 0, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR,
                  put_xor_blend, target.data()),
              0);
    EXPECT_LE(draw_context().row_capacity, screen->height);

    gfx_screen(0, 0, 0, 0, 0);
    EXPECT_EQ(put(make_image(1, 8, 16).data(), 0, 0), 1);
    EXPECT_EQ(last_error, 1);
}

// The vectorised XOR routines give the plain ones' bytes for every length,
// alignment and pitch, and change nothing between the rows.
TEST_F(ImageBlock, VectorisedXorMatchesPlain) {
    for (int32_t depth : {8, 16, 32}) {
        ASSERT_NE(screen = open_screen(18, depth), nullptr);
        const int32_t size = screen->bytes_per_pixel;
        for (int32_t width = 1; width <= 40; ++width) {
            const int32_t offset = width % 7, pitch = width * size + width % 5, height = 3;
            Bytes source(offset + pitch * height), base(source.size());
            for (size_t i = 0; i < source.size(); ++i) {
                source[i] = static_cast<uint8_t>(i * 37 + width);
                base[i] = static_cast<uint8_t>(i * 91 + depth);
            }
            Bytes results[2] = {base, base};
            for (int wide = 0; wide < 2; ++wide) {
                screen->screen_flags =
                    (screen->screen_flags & ~SCREEN_MMX) | (wide ? SCREEN_MMX : 0);
                draw_context().xor_blender_table = nullptr;
                put_xor_blend(source.data() + offset, results[wide].data() + offset, width, height,
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

// Thousands of headers, positions and source rectangles: every call answers 0
// or 1 and reads or writes only the image, the array and the target. The
// blocks are allocated to the byte, so the sanitizer build sees any stray access.
TEST_F(ImageBlock, RandomBlocksStayInBounds) {
    std::mt19937 rng(20240607);
    const auto pick = [&](std::initializer_list<int32_t> odd, int32_t low, int32_t high) {
        if (odd.size() != 0 && rng() % 8 == 0) return *(odd.begin() + rng() % odd.size());
        return std::uniform_int_distribution<int32_t>(low, high)(rng);
    };
    const float far[] = {NaN, INFINITY, -INFINITY, 1e30f, -1e30f, 3e9f, -3e9f, 2147483520.0f};
    const auto coordinate = [&](int32_t low, int32_t high) {
        return rng() % 8 == 0 ? far[rng() % 8] : pick({}, low, high) + (rng() % 2) * 0.5f;
    };
    Bytes target_block = make_image(4, 20, 12);  // rows without padding: 80 bytes
    for (int i = 0; i < 4000; ++i) {
        void* target = rng() % 4 == 0 ? target_block.data() : nullptr;
        const int64_t target_size = target != nullptr ? 4 : 1;
        const int32_t target_width = target != nullptr ? 20 : 640;
        const int32_t target_height = target != nullptr ? 12 : 480;
        Bytes image;
        if (rng() % 4 == 0) {
            const int64_t width = rng() % 50, height = rng() % 30;
            const int64_t field = rng() % 2 ? rng() % 8 : (rng() % 2) * target_size;
            if (width == 0 && height == 0 && field == 7) continue;  // reads as the 32-byte form
            const int64_t size = field != 0 ? field : target_size;
            image.resize(4 + static_cast<size_t>(width * height * (size <= 4 ? size : 0)));
            const uint16_t header[2] = {static_cast<uint16_t>(width << 3 | field),
                                        static_cast<uint16_t>(height)};
            std::memcpy(image.data(), header, sizeof(header));
        } else {
            const int32_t sizes[] = {-1, 0, 1, 2, 3, 4, 5, INT32_MAX};
            const int32_t size = rng() % 2 ? static_cast<int32_t>(target_size) : sizes[rng() % 8];
            const int32_t width = pick({INT32_MAX, INT32_MIN, 1 << 28}, -2, 40);
            const int32_t height = pick({INT32_MAX, INT32_MIN}, -2, 30);
            const int32_t pitch =
                rng() % 4 == 0
                    ? pick({INT32_MAX, INT32_MIN, 0}, -16, 180)
                    : static_cast<int32_t>(std::clamp<int64_t>(
                          int64_t{width} * size + pick({}, -2, 16), INT32_MIN, INT32_MAX));
            const bool rows_hold = size > 0 && size <= 4 && width > 0 && height > 0 &&
                                   int64_t{pitch} >= int64_t{width} * size;
            const int64_t needed =
                rows_hold ? int64_t{height - 1} * pitch + int64_t{width} * size : 0;
            if (needed > (1 << 20)) continue;
            image.resize(IMAGE_HEADER_SIZE + static_cast<size_t>(needed));
            const int32_t header[5] = {IMAGE_HEADER_NEW, size, width, height, pitch};
            std::memcpy(image.data(), header, sizeof(header));
        }
        for (size_t b = sizeof(int32_t) * 5; b < image.size(); ++b)
            image[b] = static_cast<uint8_t>(rng());
        const Bytes original = image;
        const int32_t sx1 =
            rng() % 3 == 0 ? PUT_WHOLE_IMAGE : pick({INT32_MIN, INT32_MAX}, -50, 60);
        const int32_t result =
            gfx_put(target, coordinate(-60, target_width + 40), coordinate(-40, target_height + 40),
                    image.data(), sx1, pick({INT32_MIN, INT32_MAX}, -50, 60),
                    pick({INT32_MIN, INT32_MAX}, -50, 60), pick({INT32_MIN, INT32_MAX}, -50, 60),
                    static_cast<int32_t>(rng() % 4), rng() % 2 ? PUT_XOR : PUT_ALPHA, put_xor_blend,
                    -1, nullptr, nullptr);
        ASSERT_TRUE(result == 0 || result == 1) << i;
        ASSERT_EQ(image, original) << i;

        ArrayDescriptor array;
        const int32_t bounds[] = {1, pick({}, 1, 300)};
        ASSERT_EQ(array_create(array, 4, false, false, 1, bounds), 0);
        uint8_t* buffer = array.data + 4 * (rng() % bounds[1]);
        const float x1 = coordinate(-2, target_width + 1), y1 = coordinate(-2, target_height + 1);
        const auto near = [&](float v) {
            return rng() % 8 == 0 ? far[rng() % 8] : v + pick({}, -10, 10);
        };
        const int32_t got = gfx_get(target, x1, y1, near(x1), near(y1), buffer,
                                    static_cast<int32_t>(rng() % 4), &array);
        ASSERT_TRUE(got == 0 || got == 1) << i;
        array_erase(array, false);
    }
}

}  // namespace
