#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "app/typed_frames.h"
#include "gfx/screen/screen.h"
#include "sim/sim.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

class LabViewTwice : public LessonTest {
protected:
    void TearDown() override {
        type_keys({});
        LessonTest::TearDown();
    }
    // The picture and palette after the frames, with the keys typed one a
    // frame from a fresh start, as the snapshot tool types them.
    static std::vector<uint8_t> after(const std::string& typed) {
        gfx_palette(-1, -1, -1, -1);
        simulation_start();
        std::vector<std::string> keys;
        EXPECT_EQ(split_keys(typed, &keys), "");
        type_keys(keys);
        for (size_t i = 0; i < keys.size() + 10; ++i)
            run_typed_frame();
        const ScreenContext& screen = *active_screen();
        std::vector<uint8_t> state(screen.framebuffer,
                                   screen.framebuffer + screen.pitch * screen.height);
        const auto* colours = reinterpret_cast<const uint8_t*>(screen.palette.get());
        state.insert(state.end(), colours, colours + 16 * sizeof(uint32_t));
        return state;
    }
};

// "u" twice leaves the pixel view's frames as if it had never been pressed:
// with the curve on, the detector moved, a wider slit, the far field, the
// wave picture. (Each begins with a key that draws the scene anew: the first
// frames after the start leave a white pixel in the heading's corner that
// any redraw takes away, "m" twice as much as "u" twice.)
TEST_F(LabViewTwice, LeavesThePixelViewsFramesAsTheyWere) {
    for (const std::string keys : {"i{up}{up}", "gbbt", "fr", "cgi"}) {
        SCOPED_TRACE(keys);
        const std::string quiet(10, ' ');
        EXPECT_TRUE(after(keys + quiet + "uu") == after(keys + quiet + "  "));
    }
}

}  // namespace
