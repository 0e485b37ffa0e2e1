#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <vector>

#include "gfx/gfx.h"
#include "tests/gfx/draw/draw_test_support.h"
#include "tests/support/gfx_state.h"

namespace {

using DrawImageTarget = test_support::GfxTest;

using namespace draw_test;

constexpr uint8_t kUntouched = 0xEE;

// A 32-byte-form block with every byte preset, plus spare bytes after it.
std::vector<uint8_t> new_form(int32_t bytes_per_pixel, int32_t width, int32_t height, int32_t pitch,
                              size_t spare = 64) {
    std::vector<uint8_t> image(
        IMAGE_HEADER_SIZE + static_cast<size_t>(pitch > 0 ? pitch : 0) * (height > 0 ? height : 0) +
            spare,
        kUntouched);
    const int32_t header[5] = {IMAGE_HEADER_NEW, bytes_per_pixel, width, height, pitch};
    std::memcpy(image.data(), header, sizeof(header));
    return image;
}

std::vector<uint8_t> old_form(int32_t width, int32_t height, int32_t pixel_bytes,
                              size_t spare = 64) {
    std::vector<uint8_t> image(
        IMAGE_HEADER_OLD_SIZE + static_cast<size_t>(width * height * pixel_bytes) + spare,
        kUntouched);
    const uint16_t header[2] = {static_cast<uint16_t>(width << 3), static_cast<uint16_t>(height)};
    std::memcpy(image.data(), header, sizeof(header));
    return image;
}

void fill_everything(void* image, uint32_t colour) {
    gfx_line(image, -1e6f, -1e6f, 1e6f, 1e6f, colour, LINE_FILLED_BOX, STYLE_SOLID, 0);
}

TEST_F(DrawImageTarget, NewFormClipsToTheBlockAndLeavesPaddingAlone) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    std::vector<uint8_t> image = new_form(1, 10, 5, 16);
    const std::vector<uint8_t> original = image;
    clear_dirty_rows(*screen);
    fill_everything(image.data(), 9);
    for (size_t i = 0; i < image.size(); ++i) {
        const int64_t offset = static_cast<int64_t>(i) - IMAGE_HEADER_SIZE;
        const bool pixel = offset >= 0 && offset < 16 * 5 && offset % 16 < 10;
        ASSERT_EQ(image[i], pixel ? 9 : original[i]) << i;
    }
    EXPECT_TRUE(lit(*screen).empty());
    EXPECT_TRUE(dirty_rows(*screen).empty());
    EXPECT_EQ(refresh_draw_context().view.width, 10);

    // Back on the screen the whole screen is the view again.
    gfx_pset(nullptr, 600, 400, 9, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(lit(*screen), (Pixels{{600, 400}}));
    EXPECT_EQ(dirty_rows(*screen), row_range(400, 400));
}

TEST_F(DrawImageTarget, NewFormUsesItsOwnPixelSize) {
    ScreenContext* screen = open_screen();  // one byte per pixel
    ASSERT_NE(screen, nullptr);
    std::vector<uint8_t> wide = new_form(4, 3, 2, 16);
    gfx_line(wide.data(), 0, 1, 5, 1, 0x00123456, LINE_PLAIN, STYLE_SOLID, 0);
    const uint8_t row1[16] = {0x56,       0x34,       0x12,       0x00,      0x56, 0x34,
                              0x12,       0x00,       0x56,       0x34,      0x12, 0x00,
                              kUntouched, kUntouched, kUntouched, kUntouched};
    EXPECT_EQ(std::vector<uint8_t>(wide.begin() + 48, wide.begin() + 64),
              std::vector<uint8_t>(row1, row1 + 16));
    EXPECT_EQ(wide[32], kUntouched);

    std::vector<uint8_t> half = new_form(2, 4, 2, 16);
    gfx_pset(half.data(), 1, 1, 0xFF8040, RELATIVE_POINT_ABSOLUTE, 0);
    EXPECT_EQ(half[32 + 16 + 2], 0x08);
    EXPECT_EQ(half[32 + 16 + 3], 0xFC);
    EXPECT_EQ(half[32 + 16 + 4], kUntouched);
    EXPECT_TRUE(lit(*screen).empty());
}

TEST_F(DrawImageTarget, OldFormTakesTheScreensPixelSize) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    std::vector<uint8_t> image = old_form(6, 3, 1);
    gfx_line(image.data(), 0, 1, 10, 1, 4, LINE_PLAIN, STYLE_SOLID, 0);
    for (size_t i = 0; i < image.size(); ++i) {
        const bool pixel = i >= 4 + 6 && i < 4 + 12;
        ASSERT_EQ(image[i], pixel ? 4 : (i < 4 ? image[i] : kUntouched)) << i;
    }

    screen = open_screen(18, 16);
    ASSERT_NE(screen, nullptr);
    std::vector<uint8_t> deep = old_form(3, 2, 2);
    fill_everything(deep.data(), 0x0000FF);
    for (size_t i = 4; i < deep.size(); ++i) {
        const uint8_t expected = i >= 4 + 12 ? kUntouched : (i % 2 == 0 ? 0x1F : 0x00);
        ASSERT_EQ(deep[i], expected) << i;
    }
}

// Switching straight from a block of 4-byte pixels to an old-form block on a
// one-byte screen must not keep writing 4 bytes per pixel.
TEST_F(DrawImageTarget, OldFormAfterAWiderBlockWritesItsOwnSize) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    std::vector<uint8_t> wide = new_form(4, 4, 4, 16);
    fill_everything(wide.data(), 0x01020304);
    std::vector<uint8_t> image = old_form(6, 2, 1, 32);
    fill_everything(image.data(), 7);
    for (size_t i = 4; i < image.size(); ++i)
        ASSERT_EQ(image[i], i < 16 ? 7 : kUntouched) << i;
    gfx_line(image.data(), 0, 0, 5, 0, 8, LINE_PLAIN, 0xAAAA, 0);
    EXPECT_EQ(image[4], 8);
    EXPECT_EQ(image[5], 7);
    EXPECT_EQ(image[16], kUntouched);
}

// The same memory may hold a smaller block by the next call.
TEST_F(DrawImageTarget, HeaderIsReadAgainForTheSameBlock) {
    ASSERT_NE(open_screen(), nullptr);
    std::vector<uint8_t> image = new_form(1, 10, 5, 16);
    fill_everything(image.data(), 9);
    std::fill(image.begin() + IMAGE_HEADER_SIZE, image.end(), kUntouched);
    const int32_t smaller[5] = {IMAGE_HEADER_NEW, 1, 4, 2, 4};
    std::memcpy(image.data(), smaller, sizeof(smaller));
    fill_everything(image.data(), 5);
    for (size_t i = IMAGE_HEADER_SIZE; i < image.size(); ++i) {
        ASSERT_EQ(image[i], i < IMAGE_HEADER_SIZE + 8 ? 5 : kUntouched) << i;
    }
}

TEST_F(DrawImageTarget, MalformedHeadersWriteNothingOutsideTheBlock) {
    ScreenContext* screen = open_screen();
    ASSERT_NE(screen, nullptr);
    struct Case {
        int32_t bytes_per_pixel, width, height, pitch;
        size_t writable;  // bytes of pixels the block may have changed
    };
    const Case cases[] = {
        {3, 4, 4, 16, 0},
        {0, 4, 4, 16, 0},
        {-4, 4, 4, 16, 0},
        {1, -4, 4, 16, 0},
        {1, 4, -4, 16, 0},
        {1, 4, 4, -16, 0},
        {4, 8, 2, 8, 16},  // rows narrower than the width: two pixels a row
        {1, INT32_MIN, INT32_MIN, INT32_MIN, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image = new_form(1, 0, 0, 0, 64);
        const int32_t header[5] = {IMAGE_HEADER_NEW, c.bytes_per_pixel, c.width, c.height, c.pitch};
        std::memcpy(image.data(), header, sizeof(header));
        fill_everything(image.data(), 0x01010101);
        gfx_line(image.data(), 0, 0, 30, 1, 0x01010101, LINE_PLAIN, STYLE_SOLID, 0);
        gfx_pset(image.data(), 1, 1, 0x01010101, RELATIVE_POINT_ABSOLUTE, 0);
        for (size_t i = IMAGE_HEADER_SIZE + c.writable; i < image.size(); ++i) {
            ASSERT_EQ(image[i], kUntouched) << c.bytes_per_pixel << "/" << c.width << " " << i;
        }
    }
    EXPECT_TRUE(lit(*screen).empty());
}

}  // namespace

namespace {

long resident_bytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// A header's row count sizes nothing: a block that claims a quarter of a
// billion rows costs no more than the bytes it really has.
TEST_F(DrawImageTarget, ClaimedRowsAllocateNothing) {
    ASSERT_EQ(gfx_screen(12, 0, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    struct Case {
        const char* what;
        int32_t width, pitch;
        uint8_t expected;
    };
    const Case cases[] = {{"empty block", 0, 0, kUntouched}, {"one pixel wide", 1, 1, 9}};
    for (const Case& c : cases) {
        std::vector<uint8_t> image = new_form(1, c.width, 0, c.pitch);
        const int32_t height = 0x0FFFFFFF;
        std::memcpy(image.data() + 12, &height, sizeof(height));
        const long before = resident_bytes();
        gfx_pset(image.data(), 0, 0, 9, RELATIVE_POINT_ABSOLUTE, 0);
        gfx_pset(nullptr, 0, 0, 9, RELATIVE_POINT_ABSOLUTE, 0);
        EXPECT_LT(resident_bytes() - before, 64L << 20) << c.what;
        EXPECT_EQ(image[IMAGE_HEADER_SIZE], c.expected) << c.what;
    }
}

}  // namespace
