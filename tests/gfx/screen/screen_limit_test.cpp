#include <gtest/gtest.h>
#include <stdlib.h>

#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"
#include "tests/support/gfx_state.h"

namespace {

using ScreenLimit = test_support::GfxTest;

// The limit counts what is really allocated: the depth after the flags have
// raised it, and the text cells of every page besides the pixels. Refused
// requests allocate nothing, so these cases are cheap.
TEST_F(ScreenLimit, RefusesWhatWouldPassOneGiBOnceAllocated) {
    setenv("QXGFX", "null", 1);
    struct Case {
        const char* what;
        int32_t mode, depth, pages, flags;
    };
    const Case cases[] = {
        {"depth raised to 16 by the OpenGL bit", 13, 0, 16777, SCREEN_FLAG_OPENGL},
        {"text cells on top of the pixels", 13, 0, 15000, SCREEN_FLAG_NULL_DRIVER},
        {"32 bits on an 8-bit mode", 21, 32, 205, SCREEN_FLAG_NULL_DRIVER},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gfx_screen(c.mode, c.depth, c.pages, c.flags, 0), 1) << c.what;
        EXPECT_EQ(last_error, ERROR_ILLEGAL_ARGUMENT) << c.what;
        EXPECT_EQ(active_screen(), nullptr) << c.what;
    }
    EXPECT_EQ(gfx_screen_size(320, 200, 8, 16777, SCREEN_FLAG_OPENGL, 0), 1);
}

TEST_F(ScreenLimit, EightBitModesCountOneBytePerPixel) {
    // 210 pages of 1280 x 1024 at one byte: 275 MB of pixels.
    ASSERT_EQ(gfx_screen(21, 8, 210, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    EXPECT_EQ(active_screen()->page_count, 210);
    EXPECT_EQ(active_screen()->bytes_per_pixel, 1);
}

}  // namespace
